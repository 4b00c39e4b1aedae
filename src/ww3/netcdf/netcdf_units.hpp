#pragma once
// What the attributes of a WW3 netCDF point file say about its values: how the densities
// are coded, and which units of frequency, direction, position and which calendars can be
// read. Units are compared as written, without case; no other unit is converted.

#include <optional>
#include <string_view>

namespace ww3b {

enum class DensityCoding {
    Linear,  // square metres per hertz per radian
    Log10,   // log10(E + 1e-12), as WW3 packs the densities into 16-bit integers
};

// The coding of efth from its units and standard name (each absent when not given).
// Nothing when they name another quantity or unit, or contradict each other. Absent units
// read as linear unless the standard name says logarithms.
std::optional<DensityCoding> densityCodingOf(std::optional<std::string_view> units,
                                             std::optional<std::string_view> standardName);

bool isFrequencyUnit(std::string_view units);  // "s-1", "Hz"
bool isDirectionUnit(std::string_view units);  // "degree", "degrees", "degrees_true"
bool isMetreUnit(std::string_view units);      // "m", "metre(s)", "meter(s)"
// Absent, "standard", "gregorian" or "proleptic_gregorian": the calendar the time stamps use.
bool isReadableCalendar(std::optional<std::string_view> calendar);

// A density from its base-ten logarithm as coded: 10^v - 1e-12, never below 0, in double
// and then rounded to float.
float decodeLog10Density(double logarithm);

}  // namespace ww3b
