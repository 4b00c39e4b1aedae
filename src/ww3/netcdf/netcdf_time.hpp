#pragma once
// The time axis of a netCDF file: "UNIT since REFERENCE" units and the stamp of a value.

#include <cstdint>
#include <optional>
#include <string_view>

namespace ww3b {

struct NetcdfTimeUnits {
    std::int64_t secondsPerUnit = 0;  // 86400, 3600, 60 or 1
    std::int64_t referenceSeconds = 0;  // the reference instant, seconds since 1970-01-01 UTC
};

// Reads "days since 1990-01-01 00:00:00" and its kin: days, hours, minutes or seconds
// (singular or the usual short forms, any case); a date of year-month-day, optionally a
// time of hh:mm or hh:mm:ss after a blank or a "T", optionally "Z", "UTC" or "GMT". Any
// other text (another unit, another time zone, trailing words) gives nothing.
std::optional<NetcdfTimeUnits> parseNetcdfTimeUnits(std::string_view text);

// A date and time as the WW3 text files write them.
struct NetcdfStamp {
    std::int32_t date = 0;  // yyyymmdd
    std::int32_t time = 0;  // hhmmss
};

// The stamp of a time value, rounded to the nearest second (values in days are rarely exact
// in binary). Nothing for a value that is not finite or lies outside the years 1 to 9999.
std::optional<NetcdfStamp> netcdfStampAt(const NetcdfTimeUnits& units, double value);

}  // namespace ww3b
