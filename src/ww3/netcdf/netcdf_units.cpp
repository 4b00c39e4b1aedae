#include "ww3/netcdf/netcdf_units.hpp"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <string>

namespace ww3b {

namespace {

constexpr std::string_view kLogStandardName =
    "base_ten_logarithm_of_sea_surface_wave_directional_variance_spectral_density";

// Lower case, "^" and "**" dropped (m^2 is m2), blanks, dots and stars between factors made
// one blank, no blank at either end.
std::string normalized(std::string_view units) {
    std::string text;
    for (std::size_t k = 0; k < units.size(); ++k) {
        const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(units[k])));
        if (c == '^') continue;
        if (c == '*' && k + 1 < units.size() && units[k + 1] == '*') {
            ++k;
            continue;
        }
        if (c == ' ' || c == '.' || c == '*' || c == '\t') {
            if (!text.empty() && text.back() != ' ') text += ' ';
            continue;
        }
        text += c;
    }
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}

bool isLinearDensityUnit(std::string_view units) {
    static const std::array<std::string_view, 7> kSpellings = {
        "m2 s rad-1", "m2/hz/rad", "m2 hz-1 rad-1", "m2/(hz rad)", "m2 s/rad", "m2/rad/hz", "m2 rad-1 s",
    };
    const std::string text = normalized(units);
    return std::find(kSpellings.begin(), kSpellings.end(), text) != kSpellings.end();
}

// "log10(m2 s rad-1 +1E-12)" and its spellings: the linear unit inside, plus 1e-12.
bool isLogDensityUnit(std::string_view units) {
    std::string text = normalized(units);
    if (!text.starts_with("log10(") || !text.ends_with(")")) return false;
    text = text.substr(6, text.size() - 7);
    for (const std::string_view term : {"+ 1e-12", "+1e-12"}) {
        const std::size_t at = text.rfind(term);
        if (at != std::string::npos && at + term.size() == text.size()) {
            return isLinearDensityUnit(std::string_view(text).substr(0, at));
        }
    }
    return false;
}

bool equalsWithoutCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

bool isOneOf(std::string_view text, std::initializer_list<std::string_view> choices) {
    return std::any_of(choices.begin(), choices.end(), [&](std::string_view c) { return equalsWithoutCase(text, c); });
}

}  // namespace

std::optional<DensityCoding> densityCodingOf(std::optional<std::string_view> units,
                                             std::optional<std::string_view> standardName) {
    const bool logName = standardName && equalsWithoutCase(*standardName, kLogStandardName);
    if (!units) return logName ? DensityCoding::Log10 : DensityCoding::Linear;
    if (isLogDensityUnit(*units)) return DensityCoding::Log10;
    if (isLinearDensityUnit(*units) && !logName) return DensityCoding::Linear;
    return std::nullopt;
}

bool isFrequencyUnit(std::string_view units) { return isOneOf(units, {"s-1", "Hz", "s^-1", "1/s"}); }

bool isDirectionUnit(std::string_view units) { return isOneOf(units, {"degree", "degrees", "degrees_true"}); }

bool isMetreUnit(std::string_view units) { return isOneOf(units, {"m", "metre", "metres", "meter", "meters"}); }

bool isReadableCalendar(std::optional<std::string_view> calendar) {
    return !calendar || isOneOf(*calendar, {"standard", "gregorian", "proleptic_gregorian"});
}

float decodeLog10Density(double logarithm) {
    const double density = std::pow(10.0, logarithm) - 1e-12;
    return static_cast<float>(density > 0 ? density : 0.0);
}

}  // namespace ww3b
