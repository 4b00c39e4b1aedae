#pragma once
// The fast road for the shape that fills WW3 spectrum blocks: an optionally signed
// mantissa of digits with an optional point, and an optional exponent written with E
// ("0.123E-01", "-3.5", "12"). When the mantissa's digits form a whole number w of at
// most 2^24 and the value is w times 10^q with |q| <= 10, the float is one correctly
// rounded IEEE multiplication or division of two exactly represented floats, so it is
// the nearest float to the decimal value: what parseReal gives, bit for bit. Anything
// else (a longer mantissa, a larger exponent, another shape) is left to parseReal.

namespace ww3b {

// Scans a number of the plain shape from `p` (not beyond `end`) and converts it when the
// fast road applies. Returns the position right after the number, or nullptr when the
// text there is something else or needs the general road. Does not look at what follows
// the number: the caller decides whether it ends the value.
const char* scanPlainReal(const char* p, const char* end, float& value);

}  // namespace ww3b
