#include "model/record_time.hpp"

namespace ww3b {

RecordTime splitRecordTime(std::int32_t date, std::int32_t time) {
    RecordTime t;
    t.year2 = (date - (date / 1000000) * 1000000) / 10000;
    t.month = (date - (date / 10000) * 10000) / 100;
    t.day = date - (date / 100) * 100;
    t.hour = time / 10000;
    t.minute = (time - t.hour * 10000) / 100;
    t.decimalHour = static_cast<float>(static_cast<double>(t.hour) + static_cast<double>(t.minute) / 60.0);
    t.stamp = t.year2 * 1000000 + t.month * 10000 + t.day * 100 + t.hour;
    return t;
}

}  // namespace ww3b
