#pragma once
// The fast road of fixed-point fields: exact arithmetic instead of a decimal conversion
// library. A float has 24 significant bits and 10^d = 2^d * 5^d with 5^d < 2^21 for
// d <= 9, so |value| * 10^d is exact in double. Below 2^52 it is rounded to the nearest
// whole number N, ties to even, by adding and subtracting 2^52, and N holds the digits of
// the field: N / 10^d before the point, N mod 10^d after it. renderFixedByToChars is the
// reference.

namespace ww3b {

// Renders the field as renderFixed does and returns true, or writes nothing and returns
// false when decimals > 9, or |value| * 10^decimals is not below 2^52 (or not a number).
bool renderScaledFixedField(char* field, int width, int decimals, float value);

// The same for the 10-column field with 5 decimals that carries every spectral density,
// with the width and decimals fixed when compiling (no choice among field shapes per value).
bool renderScaledFixedField10x5(char* field, float value);

}  // namespace ww3b
