#pragma once
// The fast road of fixed-point fields: exact arithmetic instead of a decimal conversion
// library. A float has 24 significant bits and 10^d = 2^d * 5^d with 5^d < 2^21 for
// d <= 9, so |value| * 10^d is exact in double. Below 2^52 it is rounded to the nearest
// whole number N, ties to even, by adding and subtracting 2^52, and N holds the digits of
// the field: N / 10^d before the point, N mod 10^d after it. renderFixedByToChars is the
// reference.

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace ww3b {

// Renders the field as renderFixed does and returns true, or writes nothing and returns
// false when decimals > 9, or |value| * 10^decimals is not below 2^52 (or not a number).
bool renderScaledFixedField(char* field, int width, int decimals, float value);

// The same for the 10-column field with 5 decimals that carries every spectral density,
// with the width and decimals fixed when compiling (no choice among field shapes per value).
bool renderScaledFixedField10x5(char* field, float value);

// |value| * 10^5 rounded half to even, as the rounding above does it, read from the bits of
// the sum: while the product is below 2^52 the sum lies in [2^52, 2^53] and its bits less
// those of 2^52 are the rounded product. Whatever is not below 10^5 here (a product too
// large, infinite or not a number, or a sum of 2^53) is not a small density.
inline std::uint64_t scaledBy10To5(float value) {
    constexpr std::uint64_t kBitsOfTwoTo52 = 0x4330000000000000;
    const double scaled = std::fabs(static_cast<double>(value)) * 1e5;
    return std::bit_cast<std::uint64_t>(scaled + 0x1p52) - kBitsOfTwoTo52;
}

// The commonest density columns: a blank, then the 10.5 field "   0.ddddd" (or "  -0.ddddd")
// of a value whose scaledBy10To5 is `whole` < 10^5, in two stores of a whole word. The four
// last digits come two pairs at a time: each pair in a 16-bit lane, its tens as
// (pair * 103) >> 10 (exact below 100; the lanes do not reach each other).
inline void renderSmallDensityColumns(char* columns, std::uint32_t whole, bool minus) {
    static_assert(std::endian::native == std::endian::little, "the words are built byte 0 first");
    const std::uint32_t first = whole / 10000;
    const std::uint32_t rest = whole - first * 10000;
    const std::uint32_t high = rest / 100;
    const std::uint32_t pairs = high | ((rest - high * 100) << 16);
    const std::uint32_t tens = ((pairs * 103) >> 10) & 0x000F000Fu;
    const std::uint32_t digits = (tens | ((pairs - tens * 10) << 8)) + 0x30303030u;
    // "    0." and the first digit; the word's last byte is the next store's first.
    constexpr std::uint64_t kBlanksZeroPoint = 0x00002E3020202020u;
    constexpr std::uint64_t kMinusInstead = std::uint64_t{' ' ^ '-'} << 24;
    const std::uint64_t head = (kBlanksZeroPoint ^ (minus ? kMinusInstead : 0)) | (std::uint64_t{'0' + first} << 48);
    std::memcpy(columns, &head, 8);
    std::memcpy(columns + 7, &digits, 4);
}

}  // namespace ww3b
