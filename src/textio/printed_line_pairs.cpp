#include "printed_line_pairs.hpp"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace ww3b {

namespace {

constexpr std::ptrdiff_t kGroupBytes = 11;
constexpr std::ptrdiff_t kLineGroups = 7;
constexpr std::ptrdiff_t kExponentSignAt = 8;  // in a group: "  0.ddd" 'E', then sign, tens, units

// The range of every byte of a pair: its least value and how far above it the byte may
// go, once the bits that `keep` clears are cleared from that distance. The exponent's
// sign, '+' or '-', is 0 or 2 above '+' and must not be the comma between them: its
// distance with bit 1 cleared must be 0. The strict spans let an exponent's tens digit go to 2 only, so that no value can
// leave a float's range whatever its sign; the loose ones let it go to 9, for the tiny
// values of spectral tails (down to "0.100E-99"), which largeExponentsNegative then holds
// to negative exponents.
struct PairRanges {
    alignas(32) unsigned char least[kPrintedPairLoad];
    alignas(32) unsigned char keep[kPrintedPairLoad];
    alignas(32) unsigned char strictSpan[kPrintedPairLoad];
    alignas(32) unsigned char looseSpan[kPrintedPairLoad];
};

constexpr PairRanges makePairRanges() {
    constexpr char kLeast[] = "  0.000E+00";
    constexpr char kStrictMost[] = "  0.999E-29";
    constexpr char kLooseMost[] = "  0.999E-99";
    PairRanges ranges{};
    for (std::ptrdiff_t i = 0; i < kPrintedPairLoad; ++i) {
        const std::ptrdiff_t inLine = i % kPrintedPairLineBytes;
        const std::ptrdiff_t inGroup = inLine % kGroupBytes;
        ranges.keep[i] = 0xFF;
        if (i >= kPrintedPairBytes) {
            ranges.least[i] = 0;
            ranges.strictSpan[i] = ranges.looseSpan[i] = 255;
        } else if (inLine == kPrintedPairLineBytes - 1) {
            ranges.least[i] = '\n';
            ranges.strictSpan[i] = ranges.looseSpan[i] = 0;
        } else if (inGroup == kExponentSignAt) {
            ranges.least[i] = '+';
            ranges.keep[i] = 0xFD;
            ranges.strictSpan[i] = ranges.looseSpan[i] = 0;
        } else {
            ranges.least[i] = static_cast<unsigned char>(kLeast[inGroup]);
            ranges.strictSpan[i] = static_cast<unsigned char>(kStrictMost[inGroup] - kLeast[inGroup]);
            ranges.looseSpan[i] = static_cast<unsigned char>(kLooseMost[inGroup] - kLeast[inGroup]);
        }
    }
    return ranges;
}

constexpr PairRanges kPairRanges = makePairRanges();

// Whether every exponent of a pair in the loose ranges whose tens digit is above 2 is
// negative: "0.999E+30" and beyond are left to the exact reading, which tells the values
// past a float's largest apart.
inline bool largeExponentsNegative(const char* g) {
    for (std::ptrdiff_t line = 0; line < 2; ++line) {
        for (std::ptrdiff_t k = 0; k < kLineGroups; ++k) {
            const char* sign = g + line * kPrintedPairLineBytes + k * kGroupBytes + kExponentSignAt;
            if (sign[1] > '2' && sign[0] != '-') return false;
        }
    }
    return true;
}

#if defined(__x86_64__)

// A byte is out of its range when its distance above the least value (wrapping round
// below it), kept bits only, is more than the span: the saturating difference is then
// not zero.
inline bool inRangesSse2(const char* g, const unsigned char* spans) {
    __m128i bad = _mm_setzero_si128();
    for (std::ptrdiff_t at = 0; at < kPrintedPairLoad; at += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(g + at));
        const __m128i least = _mm_load_si128(reinterpret_cast<const __m128i*>(kPairRanges.least + at));
        const __m128i keep = _mm_load_si128(reinterpret_cast<const __m128i*>(kPairRanges.keep + at));
        const __m128i span = _mm_load_si128(reinterpret_cast<const __m128i*>(spans + at));
        bad = _mm_or_si128(bad, _mm_subs_epu8(_mm_and_si128(_mm_sub_epi8(bytes, least), keep), span));
    }
    return _mm_movemask_epi8(_mm_cmpeq_epi8(bad, _mm_setzero_si128())) == 0xFFFF;
}

__attribute__((target("avx2"))) inline bool inRangesAvx2(const char* g, const unsigned char* spans) {
    __m256i bad = _mm256_setzero_si256();
    for (std::ptrdiff_t at = 0; at < kPrintedPairLoad; at += 32) {
        const __m256i bytes = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(g + at));
        const __m256i least = _mm256_load_si256(reinterpret_cast<const __m256i*>(kPairRanges.least + at));
        const __m256i keep = _mm256_load_si256(reinterpret_cast<const __m256i*>(kPairRanges.keep + at));
        const __m256i span = _mm256_load_si256(reinterpret_cast<const __m256i*>(spans + at));
        bad = _mm256_or_si256(bad, _mm256_subs_epu8(_mm256_and_si256(_mm256_sub_epi8(bytes, least), keep), span));
    }
    return _mm256_testz_si256(bad, bad) != 0;
}

// A pair in the strict ranges, the common case; otherwise one in the loose ranges whose
// exponents past 29 are negative.
inline bool pairAtSse2(const char* g) {
    return inRangesSse2(g, kPairRanges.strictSpan) ||
           (inRangesSse2(g, kPairRanges.looseSpan) && largeExponentsNegative(g));
}

__attribute__((target("avx2"))) inline bool pairAtAvx2(const char* g) {
    return inRangesAvx2(g, kPairRanges.strictSpan) ||
           (inRangesAvx2(g, kPairRanges.looseSpan) && largeExponentsNegative(g));
}

std::size_t countSse2(const char* g, const char* end, std::size_t most) {
    std::size_t pairs = 0;
    while (pairs < most && end - g >= kPrintedPairLoad && pairAtSse2(g)) {
        g += kPrintedPairBytes;
        ++pairs;
    }
    return pairs;
}

__attribute__((target("avx2"))) std::size_t countAvx2(const char* g, const char* end, std::size_t most) {
    std::size_t pairs = 0;
    while (pairs < most && end - g >= kPrintedPairLoad && pairAtAvx2(g)) {
        g += kPrintedPairBytes;
        ++pairs;
    }
    return pairs;
}

#endif

}  // namespace

std::size_t countPrintedLinePairs(const char* begin, const char* end, std::size_t most) {
#if defined(__x86_64__)
    static const bool wide = __builtin_cpu_supports("avx2");
    return wide ? countAvx2(begin, end, most) : countSse2(begin, end, most);
#else
    return printed_pair_detail::countBy16Bytes(begin, end, most);
#endif
}

namespace printed_pair_detail {

#if defined(__x86_64__)
std::size_t countBy16Bytes(const char* begin, const char* end, std::size_t most) {
    return countSse2(begin, end, most);
}
std::size_t countBy32Bytes(const char* begin, const char* end, std::size_t most) {
    return countAvx2(begin, end, most);
}
#else
std::size_t countBy16Bytes(const char*, const char*, std::size_t) { return 0; }
std::size_t countBy32Bytes(const char*, const char*, std::size_t) { return 0; }
#endif

}  // namespace printed_pair_detail

}  // namespace ww3b
