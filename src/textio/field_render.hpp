#pragma once
// Rendering of one value into a fixed number of columns. Reals are rendered from the
// exact binary value of the float, rounded half to even; a value whose text does not
// fit fills its field with asterisks.

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "scaled_fixed_field.hpp"

namespace ww3b {

// The shortest text that reads back as the same float (0.035, not 0.0350000001), for
// messages and listings: no field, no fixed width.
std::string shortestText(float value);

// Decimal digits right-aligned, no leading zeros, a minus sign when negative.
void renderInteger(char* field, int width, std::int32_t value);

// The most decimals a fixed-point field may have.
inline constexpr int kMostFixedDecimals = 20;

// `decimals` digits after the point (none, and the point last, when 0); no minus sign on
// a value that rounds to zero; the 0 before the point only when a column is free for it.
// Through std::to_chars of the value widened to double (exact): the reference, and the
// fallback of the fast road beyond that road's range.
void renderFixedByToChars(char* field, int width, int decimals, float value);
// The same, by the exact road of scaled_fixed_field.hpp where it reaches.
inline void renderFixed(char* field, int width, int decimals, float value) {
    if (!renderScaledFixedField(field, width, decimals, value)) renderFixedByToChars(field, width, decimals, value);
}

// renderFixed(field, 10, 5, value), the field of every spectral density.
inline void renderFixed10x5(char* field, float value) {
    if (!renderScaledFixedField10x5(field, value)) renderFixedByToChars(field, 10, 5, value);
}

// A blank and then renderFixed10x5(value): the 11 columns of each density of a spectral line.
inline void renderBlankAndFixed10x5(char* columns, float value) {
    const std::uint64_t whole = scaledBy10To5(value);
    if (whole == 0) {
        // Nearly half the densities of a spectrum, in runs along its tails.
        std::memcpy(columns, "    0.00000", 11);
        return;
    }
    if (whole < 100000) {
        renderSmallDensityColumns(columns, static_cast<std::uint32_t>(whole));
        return;
    }
    columns[0] = ' ';
    renderFixed10x5(columns + 1, value);
}

// Right-aligned when shorter than the field, its leftmost `width` characters when longer.
void renderText(char* field, int width, std::string_view text);

// The 15-column real of a free-form console line: 7 significant digits in fixed form
// for magnitudes from 0.1 to below 10 000 000 (four blanks after), else the exponent
// form with 8 significant digits ("5.0000001E-02"), right-aligned.
inline constexpr int kFreeFormRealWidth = 15;
void renderFreeFormReal(char* field, float value);

}  // namespace ww3b
