#pragma once
// Reading numbers as they stand in fixed fields and free-form text: an optionally signed
// mantissa with an optional point and an optional exponent (E or D in either case). The
// result is the nearest float or the exact integer; a value beyond the range of its type
// is refused, a real too small for a float reads as zero.

#include <cstdint>
#include <string_view>

namespace ww3b {

enum class NumberStatus { Ok, Invalid, OutOfRange };

struct RealSyntax {
    // Digits without a point are scaled by 10^-impliedDecimals.
    int impliedDecimals = 0;
    // Accept an exponent written as a sign and digits right after the mantissa ("1.5+3").
    bool signOnlyExponent = false;
};

NumberStatus parseReal(std::string_view text, float& value, RealSyntax syntax = {});

// An optionally signed whole number ("+12", "-3").
NumberStatus parseWholeNumber(std::string_view text, std::int32_t& value);

// A number in real syntax truncated toward zero ("3.7" gives 3, "-2.9" gives -2).
NumberStatus parseTruncatedInteger(std::string_view text, std::int32_t& value);

}  // namespace ww3b
