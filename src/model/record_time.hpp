#pragma once
// The time fields of a time step, and its stamp yymmddhh that drives the selection.

#include <cstdint>

namespace ww3b {

// yymmddhh: two-digit year, month, day and hour.
using RecordStamp = std::int32_t;

struct RecordTime {
    std::int32_t year2 = 0;  // the year of the century
    std::int32_t month = 0;
    std::int32_t day = 0;
    std::int32_t hour = 0;
    std::int32_t minute = 0;
    float decimalHour = 0;   // hour + minute / 60; the seconds do not enter
    RecordStamp stamp = 0;
};

// From the date yyyymmdd and the time hhmmss of a time line (integer divisions truncate).
RecordTime splitRecordTime(std::int32_t date, std::int32_t time);

}  // namespace ww3b
