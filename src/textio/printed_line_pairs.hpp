#pragma once
// Counting whole lines of a spectrum block that are passed over, two lines at a time,
// without taking their values apart.

#include <cstddef>

#include "plain_real.hpp"

namespace ww3b {

// Two lines as the wave model prints a spectrum block: each of seven groups of two blanks
// and an unsigned "0.dddE+dd" or "0.dddE-dd" with an exponent from -99 to +29, then a line
// feed (156 bytes). Every value of such a pair is a real in a float's range (the tiniest
// round to subnormals or zero, as the exact reading rounds them), so the pair reads as
// fourteen values and two lines.
inline constexpr std::ptrdiff_t kPrintedPairGroups = 14;
inline constexpr std::ptrdiff_t kPrintedPairLineBytes = 78;  // seven groups of 11 and the line feed
inline constexpr std::ptrdiff_t kPrintedPairBytes = 2 * kPrintedPairLineBytes;
// The bytes a test reads: 160 (the last four take any value).
inline constexpr std::ptrdiff_t kPrintedPairLoad = 160;

// How many such pairs follow one another from `begin`, at most `most`, each with its 160
// bytes before `end`. Uses 32-byte vectors where the processor has them, 16-byte ones
// elsewhere on x86-64; other processors count none (the exact reading takes the lines).
std::size_t countPrintedLinePairs(const char* begin, const char* end, std::size_t most);

// The fourteen values of each of `pairs` pairs from `begin`, pairs that
// countPrintedLinePairs counted, in file order into `out` (14 * pairs floats, no more):
// each the three digits as a whole number times the nearest double to its power of ten,
// rounded once to float, as the exact reading works out the wave model's shape. Four
// values at a time where the processor has AVX2.
void readPrintedLinePairs(const char* begin, std::size_t pairs, float* out);

// The value of one group "  0.dddE+dd" or "  0.dddE-dd" (exponent from -99 to +38), as
// readPrintedLinePairs works it out, and scanWaveModelReal.
inline float printedGroupValue(const char* g) {
    const int whole = (g[4] - '0') * 100 + (g[5] - '0') * 10 + (g[6] - '0');
    const int magnitude = (g[9] - '0') * 10 + (g[10] - '0');
    const int exponent = g[8] == '-' ? -magnitude : magnitude;
    const double power = plain_real_detail::kDoublePowersOfTen[exponent - plain_real_detail::kLowestModelExponent];
    return static_cast<float>(static_cast<double>(whole) * power);
}

namespace printed_pair_detail {
// The two ways of counting on x86-64, each on its own (the 32-byte one needs a processor
// with AVX2); elsewhere both count none.
std::size_t countBy16Bytes(const char* begin, const char* end, std::size_t most);
std::size_t countBy32Bytes(const char* begin, const char* end, std::size_t most);
// The values of pairs one by one, and four at a time (AVX2; elsewhere one by one).
void readOneByOne(const char* begin, std::size_t pairs, float* out);
void readFourAtATime(const char* begin, std::size_t pairs, float* out);
}  // namespace printed_pair_detail

}  // namespace ww3b
