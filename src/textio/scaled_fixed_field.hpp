#pragma once
// The fast road of fixed-point fields: exact arithmetic instead of a decimal conversion
// library. A float has 24 significant bits and 10^d = 2^d * 5^d with 5^d < 2^21 for
// d <= 9, so |value| * 10^d is exact in double. Below 2^52 it is rounded to the nearest
// whole number N, ties to even, by adding and subtracting 2^52, and N holds the digits of
// the field: N / 10^d before the point, N mod 10^d after it. renderFixedByToChars is the
// reference.

#include <array>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace ww3b {

// Renders the field as renderFixed does and returns true, or writes nothing and returns
// false when decimals > 9, or |value| * 10^decimals is not below 2^52 (or not a number).
bool renderScaledFixedField(char* field, int width, int decimals, float value);

// The same for the 10-column field with 5 decimals that carries every spectral density,
// with the width and decimals fixed when compiling (no choice among field shapes per value).
bool renderScaledFixedField10x5(char* field, float value);

// The two digits of every number below 100, side by side.
inline constexpr std::array<char, 200> kDigitPairs = [] {
    std::array<char, 200> pairs{};
    for (int i = 0; i < 100; ++i) {
        pairs[static_cast<std::size_t>(2 * i)] = static_cast<char>('0' + i / 10);
        pairs[static_cast<std::size_t>(2 * i + 1)] = static_cast<char>('0' + i % 10);
    }
    return pairs;
}();

// value * 10^5 rounded half to even, as the rounding above does it, read from the bits of
// the sum: while the product lies in [0, 2^52) the sum lies in [2^52, 2^53] and its bits
// less those of 2^52 are the rounded product. Whatever is not below 10^5 here is not a
// small density: a product too large, infinite or not a number, a sum of 2^53, and a
// negative value, whose sum lies below 2^52 so that the subtraction wraps around, unless
// it rounds to zero (and then its field is that of zero, without a minus sign).
inline std::uint64_t scaledBy10To5(float value) {
    constexpr std::uint64_t kBitsOfTwoTo52 = 0x4330000000000000;
    const double scaled = static_cast<double>(value) * 1e5;
    return std::bit_cast<std::uint64_t>(scaled + 0x1p52) - kBitsOfTwoTo52;
}

// The commonest density columns: a blank, then the 10.5 field "   0.ddddd" of a value whose
// scaledBy10To5 is `whole` < 10^5, in two stores of a whole word. The product of `whole`
// and 2^32 / 10^4 rounded up holds the first digit above its low 32 bits and the other
// four as a fraction below them, a little too large (by less than 10^-5 of the last
// digit), so that multiplying that fraction by 100 twice brings up each pair whole; a
// test checks every whole number below 10^5.
inline void renderSmallDensityColumns(char* columns, std::uint32_t whole) {
    static_assert(std::endian::native == std::endian::little, "the words are built byte 0 first");
    constexpr std::uint64_t kTenThousandth = 429497;  // 2^32 / 10^4 rounded up
    constexpr std::uint64_t kLow32 = 0xFFFFFFFFu;
    const std::uint64_t scaled = whole * kTenThousandth;
    const std::uint64_t firstPair = (scaled & kLow32) * 100;
    const std::uint64_t secondPair = (firstPair & kLow32) * 100;
    std::uint16_t pairs[2];
    std::memcpy(&pairs[0], &kDigitPairs[2 * (firstPair >> 32)], 2);
    std::memcpy(&pairs[1], &kDigitPairs[2 * (secondPair >> 32)], 2);
    // "    0." and the first digit; the word's last byte is the next store's first.
    constexpr std::uint64_t kBlanksZeroPoint = 0x00002E3020202020u;
    const std::uint64_t head = kBlanksZeroPoint | (('0' + (scaled >> 32)) << 48);
    std::memcpy(columns, &head, 8);
    std::memcpy(columns + 7, pairs, 4);
}

}  // namespace ww3b
