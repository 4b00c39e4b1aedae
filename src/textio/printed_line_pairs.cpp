#include "printed_line_pairs.hpp"

#include <cstring>

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

// Four groups' values: per 64-bit lane the eight bytes from a group's first digit,
// "ddd" 'E' sign tens units and one more. The digits make the whole number and the
// exponent's magnitude by two multiply-adds of exact small integers; the sign turns the
// magnitude into the index of the power of ten; the product of the whole number (exact
// in double) and that power is rounded once to float: printedGroupValue's operations.
__attribute__((target("avx2"))) inline __m128 fourValues(const char* first, const char* second, const char* third,
                                                         const char* fourth) {
    auto word = [](const char* group) {
        long long bytes;
        std::memcpy(&bytes, group + 4, 8);
        return bytes;
    };
    const __m256i bytes = _mm256_set_epi64x(word(fourth), word(third), word(second), word(first));
    const __m256i digits = _mm256_sub_epi8(bytes, _mm256_set1_epi8('0'));
    // Bytes d1 d2 d3 E s t u x weighed 100 10, 1 0, 0 10, 1 0, then the 16-bit pairs added:
    // per lane the whole number in the low 32 bits, the exponent's magnitude in the high.
    const __m256i weights = _mm256_set1_epi64x(0x00010A00'00010A64LL);
    const __m256i parts = _mm256_madd_epi16(_mm256_maddubs_epi16(digits, weights), _mm256_set1_epi16(1));
    const __m256i sign = _mm256_and_si256(bytes, _mm256_set1_epi64x(0xFFLL << 32));
    // (The low half of the constant never matches the zeros of `sign`'s.)
    const __m256i negative =
        _mm256_cmpeq_epi32(sign, _mm256_set1_epi64x((static_cast<long long>('-') << 32) | 0xFFFFFFFFLL));
    // Negated where negative (x ^ -1) - (-1) = -x; then the index from the lowest exponent.
    const __m256i signed_ = _mm256_sub_epi32(_mm256_xor_si256(parts, negative), negative);
    const __m256i indexed = _mm256_add_epi32(
        signed_, _mm256_set1_epi64x(static_cast<long long>(-plain_real_detail::kLowestModelExponent) << 32));
    const __m256i split = _mm256_permutevar8x32_epi32(indexed, _mm256_setr_epi32(0, 2, 4, 6, 1, 3, 5, 7));
    const __m256d wholes = _mm256_cvtepi32_pd(_mm256_castsi256_si128(split));
    // (The masked gather, every lane on: the plain one leaves its source unset.)
    const __m256d powers = _mm256_mask_i32gather_pd(_mm256_setzero_pd(), plain_real_detail::kDoublePowersOfTen,
                                                    _mm256_extracti128_si256(split, 1),
                                                    _mm256_castsi256_pd(_mm256_set1_epi64x(-1)), 8);
    return _mm256_cvtpd_ps(_mm256_mul_pd(wholes, powers));
}

// Each line's seven values as groups 0 to 3 and 3 to 6 (group 3 written twice, alike).
__attribute__((target("avx2"))) void readAvx2(const char* g, std::size_t pairs, float* out) {
    constexpr std::ptrdiff_t b = kGroupBytes;
    for (std::size_t line = 0; line < 2 * pairs; ++line, g += kPrintedPairLineBytes, out += kLineGroups) {
        _mm_storeu_ps(out, fourValues(g, g + b, g + 2 * b, g + 3 * b));
        _mm_storeu_ps(out + 3, fourValues(g + 3 * b, g + 4 * b, g + 5 * b, g + 6 * b));
    }
}

#endif

void readScalar(const char* g, std::size_t pairs, float* out) {
    for (std::size_t line = 0; line < 2 * pairs; ++line, g += kPrintedPairLineBytes) {
        for (std::ptrdiff_t k = 0; k < kLineGroups; ++k) *out++ = printedGroupValue(g + k * kGroupBytes);
    }
}

}  // namespace

void readPrintedLinePairs(const char* begin, std::size_t pairs, float* out) {
#if defined(__x86_64__)
    static const bool wide = __builtin_cpu_supports("avx2");
    if (wide) return readAvx2(begin, pairs, out);
#endif
    readScalar(begin, pairs, out);
}

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
void readFourAtATime(const char* begin, std::size_t pairs, float* out) { readAvx2(begin, pairs, out); }
#else
void readFourAtATime(const char* begin, std::size_t pairs, float* out) { readScalar(begin, pairs, out); }
std::size_t countBy16Bytes(const char*, const char*, std::size_t) { return 0; }
std::size_t countBy32Bytes(const char*, const char*, std::size_t) { return 0; }
#endif

void readOneByOne(const char* begin, std::size_t pairs, float* out) { readScalar(begin, pairs, out); }

}  // namespace printed_pair_detail

}  // namespace ww3b
