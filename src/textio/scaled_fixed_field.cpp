#include "scaled_fixed_field.hpp"

#include <array>
#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace ww3b {

// Double arithmetic must be carried out in double, with one rounding per operation.
static_assert(FLT_EVAL_METHOD == 0, "double expressions must be evaluated in double");

namespace {

constexpr std::uint64_t kWholePowersOfTen[] = {1,      10,      100,      1000,      10000,
                                               100000, 1000000, 10000000, 100000000, 1000000000};
constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};
constexpr int kMostDecimals = 9;


// |value| * 10^decimals rounded to a whole number, half to even; false outside the road.
// The float has 24 significant bits and 10^d = 2^d * 5^d with 5^d below 2^21, so the
// product in double (53 bits) is exact. Below 2^52, adding 2^52 leaves a double whose
// last bit is worth 1: the addition rounds the product to the nearest whole number,
// ties to even, and subtracting 2^52 again is exact.
bool scaledWhole(float value, int decimals, std::uint64_t& whole) {
    if (decimals < 0 || decimals > kMostDecimals) return false;
    const double scaled = std::fabs(static_cast<double>(value)) * kPowersOfTen[decimals];
    if (!(scaled < 0x1p52)) return false;  // too large, infinite or not a number
    const double rounded = (scaled + 0x1p52) - 0x1p52;
    whole = static_cast<std::uint64_t>(static_cast<std::int64_t>(rounded));  // one conversion instruction
    return true;
}

// Exactly `count` digits of `value` (< 10^count) at `out`.
template <int Count>
void fixedDigits(char* out, std::uint32_t value) {
    // Every pair is cut from the value on its own, so that no digit waits for the next.
    for (int k = 0; k < Count / 2; ++k) {
        const std::uint32_t pair = value / static_cast<std::uint32_t>(kWholePowersOfTen[Count - 2 - 2 * k]) % 100;
        std::memcpy(out + 2 * k, &kDigitPairs[2 * pair], 2);
    }
    if (Count % 2 != 0) out[Count - 1] = static_cast<char>('0' + value % 10);
}

// The digits of `value` ending just before `end`; returns where they begin.
char* digitsBefore(char* end, std::uint64_t value) {
    while (value >= 100) {
        end -= 2;
        std::memcpy(end, &kDigitPairs[2 * (value % 100)], 2);
        value /= 100;
    }
    if (value >= 10) {
        end -= 2;
        std::memcpy(end, &kDigitPairs[2 * value], 2);
    } else {
        *--end = static_cast<char>('0' + value);
    }
    return end;
}

int digitCount(std::uint64_t value) {
    int count = 1;
    for (std::uint64_t limit = 10; value >= limit && count < 19; limit *= 10) ++count;
    return count;
}

// Blanks over the whole field, with whole-word stores for the usual widths.
void blankField(char* field, int width) {
    static constexpr char kBlanks[8] = {' ', ' ', ' ', ' ', ' ', ' ', ' ', ' '};
    if (width >= 8 && width <= 16) {
        std::memcpy(field, kBlanks, 8);
        std::memcpy(field + width - 8, kBlanks, 8);
    } else if (width >= 4 && width < 8) {
        std::memcpy(field, kBlanks, 4);
        std::memcpy(field + width - 4, kBlanks, 4);
    } else {
        std::memset(field, ' ', static_cast<std::size_t>(width));
    }
}

template <int Decimals>
[[gnu::always_inline]] inline void renderWhole(char* field, int width, std::uint64_t whole, bool signBit) {
    if (whole == 0 && Decimals + 2 <= width) {
        // The commonest field of a spectrum (a density below half a unit of the last
        // decimal): blanks, then "0." and zeros.
        blankField(field, width);
        std::memcpy(field + width - Decimals - 2, "0.000000000", Decimals + 2);
        return;
    }
    constexpr std::uint64_t kScale = kWholePowersOfTen[Decimals];
    const std::uint64_t integerPart = whole / kScale;  // a constant divisor: a multiplication
    const auto fraction = static_cast<std::uint32_t>(whole % kScale);
    // No minus sign on a value that rounds to zero.
    const bool negative = signBit && whole != 0;
    const int integerDigits = integerPart == 0 ? 0 : digitCount(integerPart);
    const int needed = (negative ? 1 : 0) + integerDigits + 1 + Decimals;
    if (needed > width) {
        std::memset(field, '*', static_cast<std::size_t>(width));
        return;
    }
    blankField(field, width);
    // From the right: decimals, point, integer digits (or a 0 when a column is free).
    char* p = field + width - Decimals;
    fixedDigits<Decimals>(p, fraction);
    *--p = '.';
    if (integerDigits > 0) {
        p = digitsBefore(p, integerPart);
    } else if (needed < width) {
        *--p = '0';
    }
    if (negative) *--p = '-';
}

}  // namespace

bool renderScaledFixedField10x5(char* field, float value) {
    std::uint64_t whole = 0;
    if (!scaledWhole(value, 5, whole)) return false;
    const bool signBit = (std::bit_cast<std::uint32_t>(value) >> 31) != 0;
    if (whole < 100000) {
        // Below one in the last place's units times 10^5: "   0.ddddd", or "  -0.ddddd" (no
        // minus sign on a value that rounds to zero).
        std::memcpy(field, "   0.", 5);
        if (signBit && whole != 0) field[2] = '-';
        fixedDigits<5>(field + 5, static_cast<std::uint32_t>(whole));
        return true;
    }
    // The width is a constant here: the blanks, the asterisk limit and the digit count fold.
    renderWhole<5>(field, 10, whole, signBit);
    return true;
}

bool renderScaledFixedField(char* field, int width, int decimals, float value) {
    std::uint64_t whole = 0;
    if (!scaledWhole(value, decimals, whole)) return false;
    const bool signBit = (std::bit_cast<std::uint32_t>(value) >> 31) != 0;
    switch (decimals) {
        case 0: renderWhole<0>(field, width, whole, signBit); break;
        case 1: renderWhole<1>(field, width, whole, signBit); break;
        case 2: renderWhole<2>(field, width, whole, signBit); break;
        case 3: renderWhole<3>(field, width, whole, signBit); break;
        case 4: renderWhole<4>(field, width, whole, signBit); break;
        case 5: renderWhole<5>(field, width, whole, signBit); break;
        case 6: renderWhole<6>(field, width, whole, signBit); break;
        case 7: renderWhole<7>(field, width, whole, signBit); break;
        case 8: renderWhole<8>(field, width, whole, signBit); break;
        default: renderWhole<9>(field, width, whole, signBit); break;
    }
    return true;
}

}  // namespace ww3b
