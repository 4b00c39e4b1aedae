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
#include <iterator>

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

// 10^-102 to 10^35, each the nearest double (the compiler rounds the literals correctly):
// the powers that "0.dddE-99" to "0.dddE+38" need.
inline constexpr int kLowestModelExponent = -99;
inline constexpr int kHighestModelExponent = 38;
inline constexpr double kDoublePowersOfTen[] = {
    1e-102, 1e-101, 1e-100, 1e-99, 1e-98, 1e-97, 1e-96, 1e-95, 1e-94, 1e-93,
    1e-92, 1e-91, 1e-90, 1e-89, 1e-88, 1e-87, 1e-86, 1e-85, 1e-84, 1e-83,
    1e-82, 1e-81, 1e-80, 1e-79, 1e-78, 1e-77, 1e-76, 1e-75, 1e-74, 1e-73,
    1e-72, 1e-71, 1e-70, 1e-69, 1e-68, 1e-67, 1e-66, 1e-65, 1e-64, 1e-63,
    1e-62, 1e-61, 1e-60, 1e-59, 1e-58, 1e-57, 1e-56, 1e-55, 1e-54, 1e-53,
    1e-52, 1e-51, 1e-50, 1e-49, 1e-48, 1e-47, 1e-46, 1e-45, 1e-44, 1e-43,
    1e-42, 1e-41, 1e-40, 1e-39, 1e-38, 1e-37, 1e-36, 1e-35, 1e-34, 1e-33,
    1e-32, 1e-31, 1e-30, 1e-29, 1e-28, 1e-27, 1e-26, 1e-25, 1e-24, 1e-23,
    1e-22, 1e-21, 1e-20, 1e-19, 1e-18, 1e-17, 1e-16, 1e-15, 1e-14, 1e-13,
    1e-12, 1e-11, 1e-10, 1e-9, 1e-8, 1e-7, 1e-6, 1e-5, 1e-4, 1e-3,
    1e-2, 1e-1, 1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7,
    1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15, 1e16, 1e17,
    1e18, 1e19, 1e20, 1e21, 1e22, 1e23, 1e24, 1e25, 1e26, 1e27,
    1e28, 1e29, 1e30, 1e31, 1e32, 1e33, 1e34, 1e35,
};
static_assert(std::size(kDoublePowersOfTen) == kHighestModelExponent - kLowestModelExponent + 1);

}  // namespace plain_real_detail

// The wave model's own shape, "0.dddE+dd" or "0.dddE-dd" with an optional minus sign, with
// any two-digit exponent up to +38 (a larger one is left to parseReal, which refuses what
// a float cannot hold). Method: the value is w * 10^(e - 3) with w = ddd <= 999. The
// double product of w (exact) and the nearest double to 10^(e - 3) is rounded once more,
// to float; two roundings could in principle differ from one, but for three-digit
// mantissas they never do: a test compares every mantissa with every exponent, both
// signs, against parseReal (std::from_chars), subnormal results and zeros included (below
// 10^-46 the product rounds to a zero of the value's sign, as parseReal reads it).
// Needs 10 bytes at hand when the value is signed, 9 otherwise; returns the position
// right after the value, or nullptr for anything else. Does not look at what follows.
inline const char* scanWaveModelReal(const char* p, const char* end, float& value) {
    const bool negative = *p == '-';
    p += negative ? 1 : 0;
    std::uint64_t whole = 0;
    int scale = 0;
    if (end - p < 9 || !plain_real_detail::waveModelShape(p, whole, scale)) return nullptr;
    const int exponent = scale + 3;
    if (exponent > plain_real_detail::kHighestModelExponent) return nullptr;
    const double power = plain_real_detail::kDoublePowersOfTen[exponent - plain_real_detail::kLowestModelExponent];
    // (whole <= 999: converted as a 32-bit integer, one instruction.)
    const auto magnitude = static_cast<float>(static_cast<double>(static_cast<std::int32_t>(whole)) * power);
    value = negative ? -magnitude : magnitude;
    return p + 9;
}

// Whether the text at `p` is a value that scanWaveModelReal takes, without converting
// it: the position right after it, or nullptr.
inline const char* skipWaveModelReal(const char* p, const char* end) {
    p += *p == '-' ? 1 : 0;
    std::uint64_t whole = 0;
    int scale = 0;
    if (end - p < 9 || !plain_real_detail::waveModelShape(p, whole, scale) ||
        scale + 3 > plain_real_detail::kHighestModelExponent)
        return nullptr;
    return p + 9;
}

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
