// The texts of command-line answers: time stamps in both forms, with the calendar checked,
// and the suggestion for a misspelt option.

#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "run/option_suggestion.hpp"
#include "run/stamp_option.hpp"

namespace ww3b {
namespace {

TEST(StampOption, TakesYymmddhhAndIsoDatesAndRefusesWhatNoCalendarHolds) {
    struct Row {
        const char* text;
        WindowEnd end;
        RecordStamp stamp;  // -1: refused
    };
    for (const Row& row : {Row{"10060318", WindowEnd::Start, 10060318}, Row{"0", WindowEnd::Start, 0},
                           Row{"99999999", WindowEnd::End, 99999999}, Row{"2010-06-03", WindowEnd::Start, 10060300},
                           Row{"2010-06-03", WindowEnd::End, 10060323}, Row{"2010-06-03T18", WindowEnd::End, 10060318},
                           Row{"2001-01-02T05:00", WindowEnd::Start, 1010205},
                           Row{"2012-02-29T23:00:00Z", WindowEnd::Start, 12022923},
                           Row{"2000-02-29", WindowEnd::Start, 22900}, Row{"2010-02-29", WindowEnd::Start, -1},
                           Row{"1900-02-29", WindowEnd::Start, -1}, Row{"2010-04-31", WindowEnd::Start, -1},
                           Row{"2010-13-01", WindowEnd::Start, -1}, Row{"2010-06-03T24", WindowEnd::Start, -1},
                           Row{"2010-06-03T12:30", WindowEnd::Start, -1}, Row{"2010-06-03 12", WindowEnd::Start, -1},
                           Row{"2010-6-3", WindowEnd::Start, -1}, Row{"2010-06-03T1", WindowEnd::Start, -1},
                           Row{"2010-06-03T12:00Zx", WindowEnd::Start, -1}, Row{"", WindowEnd::Start, -1},
                           Row{"yesterday", WindowEnd::Start, -1}}) {
        const StampOption parsed = parseStampOption(row.text, row.end);
        if (row.stamp < 0) {
            EXPECT_NE(parsed.problem, "") << row.text;
            EXPECT_NE(parsed.problem.find(row.text), std::string::npos) << parsed.problem;
        } else {
            EXPECT_EQ(parsed.problem, "") << row.text;
            EXPECT_EQ(parsed.stamp, row.stamp) << row.text;
        }
    }
}

TEST(OptionSuggestion, NamesTheNearestOptionOnlyWhenItIsASlip) {
    constexpr std::string_view known[] = {"--orientation", "--output", "--end", "--mode", "--boundary-depth"};
    for (const auto& [given, nearest] : {std::pair{"--orientaton", "--orientation"}, {"--oreintation", "--orientation"},
                                         {"--outptu", "--output"}, {"--ned", "--end"}, {"--mdoe=2", "--mode"},
                                         {"--boundary_depth", "--boundary-depth"}, {"--verbose", ""},
                                         {"--depth", ""}, {"--x", ""}}) {
        EXPECT_EQ(nearestOption(given, known), nearest) << given;
    }
}

}  // namespace
}  // namespace ww3b
