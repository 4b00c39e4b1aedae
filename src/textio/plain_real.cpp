#include "plain_real.hpp"

#include <cfloat>
#include <cstdint>

namespace ww3b {

// Float arithmetic must be carried out in single precision for one rounding per operation.
static_assert(FLT_EVAL_METHOD == 0, "float expressions must be evaluated in float");

namespace {

// 10^0 to 10^10 are exact floats: 10^10 = 2^10 * 9765625, and 9765625 < 2^24.
constexpr float kPowersOfTen[] = {1e0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f, 1e6f, 1e7f, 1e8f, 1e9f, 1e10f};
constexpr int kLargestPower = 10;
constexpr std::uint64_t kLargestExactWhole = std::uint64_t{1} << 24;
// Longer mantissas and exponents leave the fast road (they would not pass its tests, or
// only with leading zeros, which the general road reads as well).
constexpr int kMostMantissaDigits = 19;
constexpr int kMostExponentDigits = 3;

inline bool isDigit(char c) { return static_cast<unsigned char>(c - '0') < 10; }

}  // namespace

const char* scanPlainReal(const char* p, const char* end, float& value) {
    bool negative = false;
    if (p < end && (*p == '-' || *p == '+')) {
        negative = *p == '-';
        ++p;
    }
    std::uint64_t whole = 0;
    const char* digitsBegin = p;
    while (p < end && isDigit(*p)) whole = whole * 10 + static_cast<unsigned>(*p++ - '0');
    int scale = 0;  // the power of ten of the last mantissa digit
    int digits = static_cast<int>(p - digitsBegin);
    if (p < end && *p == '.') {
        const char* fractionBegin = ++p;
        while (p < end && isDigit(*p)) whole = whole * 10 + static_cast<unsigned>(*p++ - '0');
        scale = -static_cast<int>(p - fractionBegin);
        digits -= scale;
    }
    // More digits could overflow the whole number (and could not pass the tests below).
    if (digits == 0 || digits > kMostMantissaDigits) return nullptr;
    if (p < end && (*p == 'E' || *p == 'e')) {
        ++p;
        bool exponentNegative = false;
        if (p < end && (*p == '-' || *p == '+')) {
            exponentNegative = *p == '-';
            ++p;
        }
        const char* exponentBegin = p;
        int exponent = 0;
        while (p < end && isDigit(*p)) exponent = exponent * 10 + (*p++ - '0');
        const auto exponentDigits = p - exponentBegin;
        if (exponentDigits == 0 || exponentDigits > kMostExponentDigits) return nullptr;
        scale += exponentNegative ? -exponent : exponent;
    }
    if (whole == 0) {
        value = negative ? -0.0f : 0.0f;
        return p;
    }
    if (whole > kLargestExactWhole || scale > kLargestPower || scale < -kLargestPower) return nullptr;
    const float magnitude = static_cast<float>(whole);  // exact
    const float rounded = scale >= 0 ? magnitude * kPowersOfTen[scale] : magnitude / kPowersOfTen[-scale];
    value = negative ? -rounded : rounded;
    return p;
}

}  // namespace ww3b
