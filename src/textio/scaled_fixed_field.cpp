#include "scaled_fixed_field.hpp"

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

namespace ww3b {

namespace {

constexpr std::uint64_t kPowersOfTen[] = {1,      10,      100,      1000,      10000,
                                          100000, 1000000, 10000000, 100000000, 1000000000};
constexpr int kMostDecimals = 9;
constexpr int kMostBinaryExponent = 7;  // m * 2^7 < 2^31

constexpr std::array<char, 200> makeDigitPairs() {
    std::array<char, 200> pairs{};
    for (int i = 0; i < 100; ++i) {
        pairs[static_cast<std::size_t>(2 * i)] = static_cast<char>('0' + i / 10);
        pairs[static_cast<std::size_t>(2 * i + 1)] = static_cast<char>('0' + i % 10);
    }
    return pairs;
}
constexpr std::array<char, 200> kDigitPairs = makeDigitPairs();

// |value| * 10^decimals rounded to a whole number, half to even; false outside the road.
// Free of data-dependent branches: zeros, small and large values mix in every block.
bool scaledWhole(float value, int decimals, std::uint64_t& whole) {
    const std::uint32_t bits = std::bit_cast<std::uint32_t>(value);
    const int biased = static_cast<int>((bits >> 23) & 0xffu);
    const std::uint64_t mantissa = (bits & 0x7fffffu) | (biased != 0 ? 0x800000u : 0u);
    // Subnormals share the exponent of the smallest normals; infinities and NaNs land far
    // above the road.
    const int exponent = (biased != 0 ? biased : 1) - 150;
    if (decimals < 0 || decimals > kMostDecimals || exponent > kMostBinaryExponent) return false;
    const std::uint64_t scaled = mantissa * kPowersOfTen[decimals];  // < 2^54
    // A shift right by 63 leaves 0 and a rest below half of 2^63, as any longer shift would.
    const int right = exponent < 0 ? (-exponent < 63 ? -exponent : 63) : 0;
    const int left = exponent > 0 ? exponent : 0;
    const std::uint64_t shifted = (scaled << left) >> right;
    const std::uint64_t rest = scaled & ((std::uint64_t{1} << right) - 1);
    const std::uint64_t half = (std::uint64_t{1} << right) >> 1;
    const bool roundUp = (rest > half) | ((rest == half) & (rest != 0) & ((shifted & 1) != 0));
    whole = shifted + (roundUp ? 1 : 0);
    return true;
}

// Exactly `count` digits of `value` (< 10^count) at `out`.
template <int Count>
void fixedDigits(char* out, std::uint32_t value) {
    // Every pair is cut from the value on its own, so that no digit waits for the next.
    for (int k = 0; k < Count / 2; ++k) {
        const std::uint32_t pair = value / static_cast<std::uint32_t>(kPowersOfTen[Count - 2 - 2 * k]) % 100;
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
void renderWhole(char* field, int width, std::uint64_t whole, bool signBit) {
    constexpr std::uint64_t kScale = kPowersOfTen[Decimals];
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
