#pragma once
// The fast road of fixed-point fields: exact integer arithmetic instead of a decimal
// conversion library. A finite float is m * 2^e with a whole number m < 2^24, so
// |value| * 10^d is m * 10^d shifted by e; rounding it to a whole number N is a shift
// with a half-to-even test on the bits shifted out. For d <= 9 and |value| < 2^31 all of
// this stays within 64 bits (m * 10^9 * 2^7 < 2^61), and N holds the digits of the field:
// N / 10^d before the point, N mod 10^d after it. renderFixedByToChars is the reference.

namespace ww3b {

// Renders the field as renderFixed does and returns true, or writes nothing and returns
// false when the value is not finite, |value| >= 2^31 or decimals > 9.
bool renderScaledFixedField(char* field, int width, int decimals, float value);

}  // namespace ww3b
