#include "number_syntax.hpp"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>

namespace ww3b {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The parts of a number in real syntax, as positions in its text.
struct RealParts {
    bool negative = false;
    std::size_t mantissaBegin = 0;  // after the sign
    std::size_t mantissaEnd = 0;    // the exponent mark, or the sign-only exponent, or the end
    std::size_t integerDigits = 0;  // digits before the point
    std::size_t fractionDigits = 0;
    bool hasPoint = false;
    bool hasExponent = false;
    bool exponentMarkIsE = true;    // 'E' or 'e' (else 'D', 'd' or sign-only)
    long long exponent = 0;         // saturated far beyond any float's range
    bool leadingPlus = false;
};

bool splitReal(std::string_view text, bool signOnlyExponent, RealParts& parts) {
    std::size_t i = 0;
    const std::size_t n = text.size();
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        parts.negative = text[i] == '-';
        parts.leadingPlus = text[i] == '+';
        ++i;
    }
    parts.mantissaBegin = i;
    while (i < n && isDigit(text[i])) ++i;
    parts.integerDigits = i - parts.mantissaBegin;
    if (i < n && text[i] == '.') {
        parts.hasPoint = true;
        const std::size_t fractionBegin = ++i;
        while (i < n && isDigit(text[i])) ++i;
        parts.fractionDigits = i - fractionBegin;
    }
    if (parts.integerDigits + parts.fractionDigits == 0) return false;
    parts.mantissaEnd = i;
    if (i == n) return true;

    const char mark = text[i];
    if (mark == 'E' || mark == 'e' || mark == 'D' || mark == 'd') {
        parts.exponentMarkIsE = mark == 'E' || mark == 'e';
        ++i;
    } else if (signOnlyExponent && (mark == '+' || mark == '-')) {
        parts.exponentMarkIsE = false;
    } else {
        return false;
    }
    parts.hasExponent = true;
    bool exponentNegative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        exponentNegative = text[i] == '-';
        ++i;
    }
    const std::size_t exponentBegin = i;
    long long exponent = 0;
    while (i < n && isDigit(text[i])) {
        if (exponent < 1000000000LL) exponent = exponent * 10 + (text[i] - '0');
        ++i;
    }
    if (i == exponentBegin || i != n) return false;
    parts.exponent = exponentNegative ? -exponent : exponent;
    return true;
}

// Decimal place of the first non-zero digit (0 for the units); false when all are zero.
bool leadingPlace(std::string_view text, const RealParts& parts, long long& place) {
    std::size_t digitIndex = 0;
    for (std::size_t i = parts.mantissaBegin; i < parts.mantissaEnd; ++i) {
        if (text[i] == '.') continue;
        if (text[i] != '0') {
            place = static_cast<long long>(parts.integerDigits) - 1 - static_cast<long long>(digitIndex) +
                    parts.exponent;
            return true;
        }
        ++digitIndex;
    }
    return false;
}

}  // namespace

NumberStatus parseReal(std::string_view text, float& value, RealSyntax syntax) {
    RealParts parts;
    if (!splitReal(text, syntax.signOnlyExponent, parts)) return NumberStatus::Invalid;

    const bool scaled = !parts.hasPoint && syntax.impliedDecimals > 0;
    std::from_chars_result result{};
    float parsed = 0;
    if (!parts.leadingPlus && parts.exponentMarkIsE && !scaled) {
        // The common shape ("0.123E-01", "-3.5", "12"): from_chars reads it as it stands.
        result = std::from_chars(text.data(), text.data() + text.size(), parsed);
        if (result.ec == std::errc{} && result.ptr != text.data() + text.size()) return NumberStatus::Invalid;
    } else {
        // Rewrite as sign, mantissa, 'e', exponent; implied decimals move the exponent.
        if (scaled) parts.exponent -= syntax.impliedDecimals;
        std::string canonical;
        canonical.reserve(text.size() + 24);
        if (parts.negative) canonical += '-';
        canonical.append(text.substr(parts.mantissaBegin, parts.mantissaEnd - parts.mantissaBegin));
        canonical += 'e';
        canonical += std::to_string(parts.exponent);
        result = std::from_chars(canonical.data(), canonical.data() + canonical.size(), parsed);
    }
    if (result.ec == std::errc{}) {
        value = parsed;
        return NumberStatus::Ok;
    }
    if (result.ec != std::errc::result_out_of_range) return NumberStatus::Invalid;
    // from_chars answers "out of range" for both ends: a value whose nearest float is
    // zero reads as zero; one whose nearest float is infinite is refused.
    long long place = 0;
    if (leadingPlace(text, parts, place) && place >= 0) return NumberStatus::OutOfRange;
    value = parts.negative ? -0.0f : 0.0f;
    return NumberStatus::Ok;
}

NumberStatus parseWholeNumber(std::string_view text, std::int32_t& value) {
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) return NumberStatus::Invalid;
    long long magnitude = 0;
    for (const char c : text) {
        if (!isDigit(c)) return NumberStatus::Invalid;
        if (magnitude <= 2147483648LL) magnitude = magnitude * 10 + (c - '0');
    }
    const long long signedValue = negative ? -magnitude : magnitude;
    if (signedValue < std::numeric_limits<std::int32_t>::min() ||
        signedValue > std::numeric_limits<std::int32_t>::max()) {
        return NumberStatus::OutOfRange;
    }
    value = static_cast<std::int32_t>(signedValue);
    return NumberStatus::Ok;
}

NumberStatus parseTruncatedInteger(std::string_view text, std::int32_t& value) {
    RealParts parts;
    if (!splitReal(text, false, parts)) return NumberStatus::Invalid;
    if (!parts.hasExponent) {
        // Truncation keeps the digits before the point, exactly.
        const std::string_view integerPart = text.substr(parts.mantissaBegin, parts.integerDigits);
        if (integerPart.empty()) {
            value = 0;
            return NumberStatus::Ok;
        }
        std::string digits = parts.negative ? "-" : "";
        digits.append(integerPart);
        std::int32_t parsed = 0;
        const NumberStatus status = parseWholeNumber(digits, parsed);
        if (status == NumberStatus::Ok) value = parsed;
        return status;
    }
    std::string canonical = parts.negative ? "-" : "";
    canonical.append(text.substr(parts.mantissaBegin, parts.mantissaEnd - parts.mantissaBegin));
    canonical += 'e';
    canonical += std::to_string(parts.exponent);
    double parsed = 0;
    const auto result = std::from_chars(canonical.data(), canonical.data() + canonical.size(), parsed);
    if (result.ec == std::errc::result_out_of_range) {
        long long place = 0;
        if (leadingPlace(text, parts, place) && place >= 0) return NumberStatus::OutOfRange;
        value = 0;
        return NumberStatus::Ok;
    }
    if (result.ec != std::errc{}) return NumberStatus::Invalid;
    const double truncated = std::trunc(parsed);
    if (truncated < -2147483648.0 || truncated > 2147483647.0) return NumberStatus::OutOfRange;
    value = static_cast<std::int32_t>(truncated);
    return NumberStatus::Ok;
}

}  // namespace ww3b
