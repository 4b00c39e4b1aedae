#include "ww3/netcdf/netcdf_time.hpp"

#include <array>
#include <cctype>
#include <chrono>
#include <cmath>
#include <string>

namespace ww3b {

namespace {

// Moves past blanks; true when something is left.
bool skipBlanks(std::string_view& text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    return !text.empty();
}

std::string lowered(std::string_view text) {
    std::string result(text);
    for (char& c : result) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return result;
}

// Takes an unsigned decimal number of 1 to maxDigits digits.
std::optional<int> takeNumber(std::string_view& text, std::size_t maxDigits) {
    std::size_t n = 0;
    int value = 0;
    while (n < text.size() && n < maxDigits && std::isdigit(static_cast<unsigned char>(text[n]))) {
        value = value * 10 + (text[n] - '0');
        ++n;
    }
    if (n == 0 || (n < text.size() && std::isdigit(static_cast<unsigned char>(text[n])))) return std::nullopt;
    text.remove_prefix(n);
    return value;
}

bool takeChar(std::string_view& text, char c) {
    if (text.empty() || text.front() != c) return false;
    text.remove_prefix(1);
    return true;
}

std::optional<std::int64_t> secondsPerUnit(std::string_view unit) {
    const std::string u = lowered(unit);
    if (u == "days" || u == "day" || u == "d") return 86400;
    if (u == "hours" || u == "hour" || u == "hrs" || u == "hr" || u == "h") return 3600;
    if (u == "minutes" || u == "minute" || u == "mins" || u == "min") return 60;
    if (u == "seconds" || u == "second" || u == "secs" || u == "sec" || u == "s") return 1;
    return std::nullopt;
}

// "hh:mm" or "hh:mm:ss", the seconds possibly with a fraction of zeros ("00:00:00.0").
std::optional<std::int64_t> takeTimeOfDay(std::string_view& text) {
    const auto hour = takeNumber(text, 2);
    if (!hour || !takeChar(text, ':')) return std::nullopt;
    const auto minute = takeNumber(text, 2);
    if (!minute) return std::nullopt;
    int second = 0;
    if (takeChar(text, ':')) {
        const auto s = takeNumber(text, 2);
        if (!s) return std::nullopt;
        second = *s;
        if (takeChar(text, '.')) {
            while (takeChar(text, '0')) {
            }
        }
    }
    if (*hour > 23 || *minute > 59 || second > 59) return std::nullopt;
    return std::int64_t{*hour} * 3600 + *minute * 60 + second;
}

}  // namespace

std::optional<NetcdfTimeUnits> parseNetcdfTimeUnits(std::string_view text) {
    if (!skipBlanks(text)) return std::nullopt;
    const std::size_t unitEnd = text.find(' ');
    if (unitEnd == std::string_view::npos) return std::nullopt;
    const auto perUnit = secondsPerUnit(text.substr(0, unitEnd));
    text.remove_prefix(unitEnd);
    if (!perUnit || !skipBlanks(text) || lowered(text.substr(0, 6)) != "since ") return std::nullopt;
    text.remove_prefix(6);
    if (!skipBlanks(text)) return std::nullopt;

    const auto year = takeNumber(text, 4);
    if (!year || !takeChar(text, '-')) return std::nullopt;
    const auto month = takeNumber(text, 2);
    if (!month || !takeChar(text, '-')) return std::nullopt;
    const auto day = takeNumber(text, 2);
    if (!day) return std::nullopt;
    using namespace std::chrono;
    const year_month_day date{std::chrono::year{*year}, std::chrono::month{static_cast<unsigned>(*month)},
                              std::chrono::day{static_cast<unsigned>(*day)}};
    if (!date.ok()) return std::nullopt;

    std::int64_t timeOfDay = 0;
    if (!text.empty() && (text.front() == 'T' || text.front() == ' ')) {
        const bool t = text.front() == 'T';
        text.remove_prefix(1);
        if (t || (skipBlanks(text) && std::isdigit(static_cast<unsigned char>(text.front())))) {
            const auto seconds = takeTimeOfDay(text);
            if (!seconds) return std::nullopt;
            timeOfDay = *seconds;
        }
    }
    // Only universal time: a "Z" right after the time, or a UTC/GMT word after a blank.
    if (!takeChar(text, 'Z') && skipBlanks(text)) {
        const std::string zone = lowered(text);
        if (zone != "utc" && zone != "gmt" && zone != "z") return std::nullopt;
        text = {};
    }
    if (skipBlanks(text)) return std::nullopt;

    const std::int64_t days = sys_days{date}.time_since_epoch().count();
    return NetcdfTimeUnits{*perUnit, days * 86400 + timeOfDay};
}

std::optional<NetcdfStamp> netcdfStampAt(const NetcdfTimeUnits& units, double value) {
    // Seconds from the reference, rounded once; beyond 1e13 s (300 000 years) no valid year remains.
    const double offset = std::round(value * static_cast<double>(units.secondsPerUnit));
    if (!(std::fabs(offset) < 1e13)) return std::nullopt;
    const std::int64_t seconds = units.referenceSeconds + static_cast<std::int64_t>(offset);
    using namespace std::chrono;
    const sys_seconds instant{std::chrono::seconds{seconds}};
    const sys_days midnight = floor<days>(instant);
    const year_month_day date{midnight};
    const int y = static_cast<int>(date.year());
    if (y < 1 || y > 9999) return std::nullopt;
    const std::int64_t ofDay = (instant - midnight).count();
    NetcdfStamp stamp;
    stamp.date = y * 10000 + static_cast<std::int32_t>(static_cast<unsigned>(date.month()) * 100 +
                                                        static_cast<unsigned>(date.day()));
    stamp.time = static_cast<std::int32_t>(ofDay / 3600 * 10000 + ofDay % 3600 / 60 * 100 + ofDay % 60);
    return stamp;
}

}  // namespace ww3b
