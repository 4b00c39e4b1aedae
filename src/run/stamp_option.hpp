#pragma once
// A time stamp given on the command line: yymmddhh as the dialogue takes it, or an ISO
// 8601 date (YYYY-MM-DD) or date and hour (YYYY-MM-DDTHH, optionally :00 minutes and
// seconds and a closing Z; the stamps carry no minutes).

#include <string>
#include <string_view>

#include "model/record_time.hpp"

namespace ww3b {

// Which end of the time window a date without an hour stands for: the start takes its
// first hour, the end its last, so that "--end 2019-01-31" keeps the whole of that day.
enum class WindowEnd { Start, End };

// The stamp, or the reason the text is none (empty when it is one).
struct StampOption {
    RecordStamp stamp = 0;
    std::string problem;
};

StampOption parseStampOption(std::string_view text, WindowEnd end);

}  // namespace ww3b
