#include "field_render.hpp"

#include <charconv>
#include <cmath>
#include <cstring>


namespace ww3b {

namespace {

void fillAsterisks(char* field, int width) { std::memset(field, '*', static_cast<std::size_t>(width)); }

// Right-aligns `text` in the field when it fits, else fills the field with asterisks.
void placeRight(char* field, int width, const char* text, int length) {
    if (length > width) {
        fillAsterisks(field, width);
        return;
    }
    std::memset(field, ' ', static_cast<std::size_t>(width - length));
    std::memcpy(field + (width - length), text, static_cast<std::size_t>(length));
}

// "NaN", "Infinity" or "-Infinity"; returns false for a finite value.
bool renderNonFinite(char* field, int width, float value) {
    if (std::isnan(value)) {
        placeRight(field, width, "NaN", 3);
        return true;
    }
    if (std::isinf(value)) {
        if (value < 0) {
            placeRight(field, width, "-Infinity", 9);
        } else {
            placeRight(field, width, "Infinity", 8);
        }
        return true;
    }
    return false;
}

}  // namespace

std::string shortestText(float value) {
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

void renderInteger(char* field, int width, std::int32_t value) {
    char text[16];
    const auto result = std::to_chars(text, text + sizeof text, value);
    placeRight(field, width, text, static_cast<int>(result.ptr - text));
}

void renderFixedByToChars(char* field, int width, int decimals, float value) {
    if (renderNonFinite(field, width, value)) return;
    // The magnitude, rounded to `decimals` places from the exact value of the float
    // (widening to double is exact; to_chars rounds half to even like printf).
    char digits[64];
    const auto result = std::to_chars(digits, digits + sizeof digits, std::fabs(static_cast<double>(value)),
                                      std::chars_format::fixed, decimals);
    const int length = static_cast<int>(result.ptr - digits);
    const int integerDigits = decimals > 0 ? length - decimals - 1 : length;

    bool roundsToZero = true;
    for (int i = 0; i < length; ++i) {
        if (digits[i] >= '1' && digits[i] <= '9') {
            roundsToZero = false;
            break;
        }
    }
    const bool negative = std::signbit(value) && !roundsToZero;
    const bool integerPartZero = integerDigits == 1 && digits[0] == '0';

    // Sign, integer digits (none when the integer part is zero), point, decimals.
    const int needed = (negative ? 1 : 0) + (integerPartZero ? 0 : integerDigits) + 1 + decimals;
    if (needed > width) {
        fillAsterisks(field, width);
        return;
    }
    const bool leadingZero = integerPartZero && needed < width;
    const int total = needed + (leadingZero ? 1 : 0);
    char* out = field;
    std::memset(out, ' ', static_cast<std::size_t>(width - total));
    out += width - total;
    if (negative) *out++ = '-';
    if (!integerPartZero || leadingZero) {
        std::memcpy(out, digits, static_cast<std::size_t>(integerDigits));
        out += integerDigits;
    }
    *out++ = '.';
    if (decimals > 0) std::memcpy(out, digits + integerDigits + 1, static_cast<std::size_t>(decimals));
}

void renderText(char* field, int width, std::string_view text) {
    if (static_cast<int>(text.size()) >= width) {
        std::memcpy(field, text.data(), static_cast<std::size_t>(width));
        return;
    }
    placeRight(field, width, text.data(), static_cast<int>(text.size()));
}

void renderFreeFormReal(char* field, float value) {
    constexpr int width = kFreeFormRealWidth;
    if (renderNonFinite(field, width, value)) return;
    const double exact = value == 0.0f ? 0.0 : static_cast<double>(value);  // no minus sign on a zero
    // The decimal exponent of the value rounded to 7 significant digits.
    char text[32];
    auto result = std::to_chars(text, text + sizeof text, exact, std::chars_format::scientific, 6);
    const char* exponentMark = static_cast<const char*>(std::memchr(text, 'e', static_cast<std::size_t>(result.ptr - text)));
    int exponent = 0;
    std::from_chars(exponentMark + (exponentMark[1] == '+' ? 2 : 1), result.ptr, exponent);

    if (value != 0 && exponent >= -1 && exponent <= 6) {
        // Fixed form, 7 significant digits: m digits before the point, 7 - m after.
        const int digitsBeforePoint = exponent >= 0 ? exponent + 1 : 0;
        renderFixed(field, 11, 7 - digitsBeforePoint, value);
        std::memset(field + 11, ' ', 4);
        return;
    }
    // Exponent form: d.dddddddE+xx, rounded to 8 significant digits.
    result = std::to_chars(text, text + sizeof text, exact, std::chars_format::scientific, 7);
    char* mark = static_cast<char*>(std::memchr(text, 'e', static_cast<std::size_t>(result.ptr - text)));
    *mark = 'E';
    placeRight(field, width, text, static_cast<int>(result.ptr - text));
}

}  // namespace ww3b
