#include "run/stamp_option.hpp"

#include <cctype>

#include "textio/number_syntax.hpp"

namespace ww3b {

namespace {

bool isLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int daysIn(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : kDays[month - 1];
}

// `count` digits at `at`, as a number; -1 when they are not all there.
int digitsAt(std::string_view text, std::size_t at, std::size_t count) {
    if (at + count > text.size()) return -1;
    int value = 0;
    for (std::size_t k = at; k < at + count; ++k) {
        if (std::isdigit(static_cast<unsigned char>(text[k])) == 0) return -1;
        value = value * 10 + (text[k] - '0');
    }
    return value;
}

StampOption refused(std::string_view text, std::string_view why) {
    StampOption result;
    result.problem.reserve(text.size() + why.size() + 3);
    result.problem.append(1, '"').append(text).append("\" ").append(why);
    return result;
}

}  // namespace

StampOption parseStampOption(std::string_view text, WindowEnd end) {
    std::int32_t plain = 0;
    if (parseWholeNumber(text, plain) == NumberStatus::Ok) return {plain, {}};
    constexpr std::string_view expected = "is no time stamp: write yymmddhh, YYYY-MM-DD or YYYY-MM-DDTHH";
    const int year = digitsAt(text, 0, 4);
    const int month = digitsAt(text, 5, 2);
    const int day = digitsAt(text, 8, 2);
    if (year < 0 || month < 0 || day < 0 || text[4] != '-' || text[7] != '-') {
        return refused(text, expected);
    }
    std::string_view rest = text.substr(10);
    int hour = end == WindowEnd::End ? 23 : 0;
    if (!rest.empty()) {
        hour = rest[0] == 'T' ? digitsAt(rest, 1, 2) : -1;
        if (hour < 0) return refused(text, expected);
        rest.remove_prefix(3);
        // Minutes and seconds may be written, but only as zeros: a stamp names whole hours.
        for (int part = 0; part < 2 && !rest.empty() && rest[0] == ':'; ++part) {
            const int value = digitsAt(rest, 1, 2);
            if (value < 0) return refused(text, expected);
            if (value != 0) return refused(text, "names a time within an hour; the stamps name whole hours (:00)");
            rest.remove_prefix(3);
        }
        if (rest == "Z") rest.remove_prefix(1);
        if (!rest.empty()) return refused(text, expected);
    }
    if (month < 1 || month > 12) return refused(text, "has no month " + std::to_string(month));
    if (day < 1 || day > daysIn(year, month)) {
        return refused(text, "has no day " + std::to_string(day) + " in its month");
    }
    if (hour > 23) return refused(text, "has no hour " + std::to_string(hour));
    return {((year % 100) * 10000 + month * 100 + day) * 100 + hour, {}};
}

}  // namespace ww3b
