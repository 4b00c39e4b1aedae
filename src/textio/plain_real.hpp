#pragma once
// The fast road for the shape that fills WW3 spectrum blocks: an optionally signed
// mantissa of digits with an optional point, and an optional exponent written with E
// ("0.123E-01", "-3.5", "12"). When the mantissa's digits form a whole number w of at
// most 2^24 and the value is w times 10^q with |q| <= 10, the float is one correctly
// rounded IEEE multiplication or division of two exactly represented floats, so it is
// the nearest float to the decimal value: what parseReal gives, bit for bit. Anything
// else (a longer mantissa, a larger exponent, another shape) is left to parseReal.

#include <cfloat>
#include <cstdint>
#include <cstring>

namespace ww3b {

// Float arithmetic must be carried out in single precision for one rounding per operation.
static_assert(FLT_EVAL_METHOD == 0, "float expressions must be evaluated in float");

namespace plain_real_detail {

// 10^0 to 10^10 are exact floats: 10^10 = 2^10 * 9765625, and 9765625 < 2^24.
inline constexpr float kPowersOfTen[] = {1e0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f, 1e6f, 1e7f, 1e8f, 1e9f, 1e10f};
inline constexpr int kLargestPower = 10;
inline constexpr std::uint64_t kLargestExactWhole = std::uint64_t{1} << 24;
// Longer mantissas and exponents leave the fast road (they would not pass its tests, or
// only with leading zeros, which the general road reads as well).
inline constexpr int kMostMantissaDigits = 19;
inline constexpr int kMostExponentDigits = 3;

inline bool isDigit(char c) { return static_cast<unsigned char>(c - '0') < 10; }

// The nearest float to whole * 10^scale, when the road takes it.
inline bool nearestFloat(std::uint64_t whole, int scale, bool negative, float& value) {
    // Zero is zero whatever the exponent; without a branch, as zeros and other values mix.
    scale = whole == 0 ? 0 : scale;
    if (whole > kLargestExactWhole || scale > kLargestPower || scale < -kLargestPower) return false;
    const float magnitude = static_cast<float>(whole);  // exact
    const float rounded = scale >= 0 ? magnitude * kPowersOfTen[scale] : magnitude / kPowersOfTen[-scale];
    value = negative ? -rounded : rounded;
    return true;
}

// "0.dddE+dd" or "0.dddE-dd", the shape in which the wave model writes every density,
// tested as one 8-byte word and a ninth byte. Returns false for anything else.
inline bool waveModelShape(const char* p, std::uint64_t& whole, int& scale) {
    std::uint64_t word;
    std::memcpy(&word, p, 8);  // bytes in memory order from the lowest
    // Bytes 0, 1 and 5 must be '0', '.' and 'E'; byte 6 is the exponent's sign; the
    // others digits (byte 8 too).
    constexpr std::uint64_t kFixedBytes = 0x0000FF000000FFFFull;
    constexpr std::uint64_t kFixedText = 0x0000450000002E30ull;  // 'E' .. '.' '0'
    constexpr std::uint64_t kDigitBytes = 0xFF0000FFFFFF0000ull;
    if ((word & kFixedBytes) != kFixedText) return false;
    // A byte is a digit when its high nibble is 3 and adding 6 leaves it so.
    const std::uint64_t digits = (word & kDigitBytes) | (0x3030303030303030ull & ~kDigitBytes);
    if (((digits & 0xF0F0F0F0F0F0F0F0ull) | (((digits + 0x0606060606060606ull) & 0xF0F0F0F0F0F0F0F0ull) >> 4)) !=
        0x3333333333333333ull)
        return false;
    const char sign = p[6];
    if ((sign != '-' && sign != '+') || !isDigit(p[8])) return false;
    whole = static_cast<std::uint64_t>((p[2] - '0') * 100 + (p[3] - '0') * 10 + (p[4] - '0'));
    const int exponent = (p[7] - '0') * 10 + (p[8] - '0');
    scale = (sign == '-' ? -exponent : exponent) - 3;
    return true;
}

}  // namespace plain_real_detail

// Scans a number of the plain shape from `p` (not beyond `end`) and converts it when the
// fast road applies. Returns the position right after the number, or nullptr when the
// text there is something else or needs the general road. Does not look at what follows
// the number: the caller decides whether it ends the value. (Inline: the reader calls it
// for every value of a spectrum block.)
inline const char* scanPlainReal(const char* p, const char* end, float& value) {
    bool negative = false;
    if (p < end && (*p == '-' || *p == '+')) {
        negative = *p == '-';
        ++p;
    }
    std::uint64_t whole = 0;
    int scale = 0;  // the power of ten of the last mantissa digit
    if (end - p >= 9 && plain_real_detail::waveModelShape(p, whole, scale)) {
        return plain_real_detail::nearestFloat(whole, scale, negative, value) ? p + 9 : nullptr;
    }
    const char* digitsBegin = p;
    while (p < end && plain_real_detail::isDigit(*p)) whole = whole * 10 + static_cast<unsigned>(*p++ - '0');
    int digits = static_cast<int>(p - digitsBegin);
    if (p < end && *p == '.') {
        const char* fractionBegin = ++p;
        while (p < end && plain_real_detail::isDigit(*p)) whole = whole * 10 + static_cast<unsigned>(*p++ - '0');
        scale = -static_cast<int>(p - fractionBegin);
        digits -= scale;
    }
    // More digits could overflow the whole number (and could not pass the tests below).
    if (digits == 0 || digits > plain_real_detail::kMostMantissaDigits) return nullptr;
    if (p < end && (*p == 'E' || *p == 'e')) {
        ++p;
        bool exponentNegative = false;
        if (p < end && (*p == '-' || *p == '+')) {
            exponentNegative = *p == '-';
            ++p;
        }
        const char* exponentBegin = p;
        int exponent = 0;
        while (p < end && plain_real_detail::isDigit(*p)) {
            // Digits beyond the most the road takes are only counted: they would overflow.
            if (p - exponentBegin < plain_real_detail::kMostExponentDigits) exponent = exponent * 10 + (*p - '0');
            ++p;
        }
        const auto exponentDigits = p - exponentBegin;
        if (exponentDigits == 0 || exponentDigits > plain_real_detail::kMostExponentDigits) return nullptr;
        scale += exponentNegative ? -exponent : exponent;
    }
    return plain_real_detail::nearestFloat(whole, scale, negative, value) ? p : nullptr;
}

}  // namespace ww3b
