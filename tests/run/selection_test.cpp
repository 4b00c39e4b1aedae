// Time selection end to end: the interval test on the hour of day, the start and end
// stamps, and the end of the run.

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/program_run.hpp"
#include "support/temp_folder.hpp"
#include "support/ww3_text.hpp"

namespace ww3b {
namespace {

using namespace ww3b::testing;

// Hourly records from `firstDate` `firstHour` on, `count` of them, within one month.
Ww3Text hourly(int firstDate, int firstHour, int count) {
    Ww3Text file = Ww3Text::withGrid(3, 4);
    for (int k = 0; k < count; ++k) {
        const int hour = firstHour + k;
        file.step(firstDate + hour / 24, (hour % 24) * 10000);
    }
    return file;
}

// "yy mm dd hh.h" of every line of a parameter file.
std::vector<std::string> writtenTimes(const std::string& parameterFile) {
    std::vector<std::string> times;
    for (std::size_t start = 0; start < parameterFile.size();) {
        const std::size_t end = parameterFile.find("\r\n", start);
        times.push_back(parameterFile.substr(start + 5, 13));
        start = end + 2;
    }
    return times;
}

struct Selection {
    std::string start, end, interval;
    std::vector<std::string> written;
};

// The times written; a run that writes something ends with `status` and `errors`.
std::vector<std::string> runMode0(const std::string& spectra, const std::string& start, const std::string& end,
                                  const std::string& interval, int status = 0, const std::string& errors = "") {
    TempFolder folder;
    writeFile(folder / "in.spec", spectra);
    const ProgramRun run = runProgram(folder.path(), answerLines({"in.spec", start, end, interval, "0", "p.out"}));
    const bool made = std::filesystem::exists(folder / "p.out");
    const auto times = made ? writtenTimes(readFile(folder / "p.out")) : std::vector<std::string>{};
    // A run that writes nothing ends with status 1, says so and nothing else, and leaves
    // no file.
    if (times.empty()) {
        EXPECT_EQ(run.status, 1);
        EXPECT_FALSE(made);
        EXPECT_EQ(run.errors.rfind("ww3-brevolan: warning: no time step was written: ", 0), 0u) << run.errors;
        EXPECT_EQ(std::count(run.errors.begin(), run.errors.end(), '\n'), 1) << run.errors;
    } else {
        EXPECT_EQ(run.status, status) << run.errors;
        EXPECT_EQ(run.errors, errors);
    }
    return times;
}

class TimeSelection : public ::testing::TestWithParam<Selection> {};

// Hourly records from 3 June 2010, 20:00 to 4 June, 23:00.
TEST_P(TimeSelection, WritesExactlyTheSelectedRecords) {
    const Selection& c = GetParam();
    EXPECT_EQ(runMode0(hourly(20100603, 20, 28).text, c.start, c.end, c.interval), c.written);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TimeSelection,
    ::testing::Values(
        // Interval 3 on hourly records: hours 0, 3, ..., 21 of every day.
        Selection{"0", "99999999", "3",
                  {"10  6  3 21.0", "10  6  4  0.0", "10  6  4  3.0", "10  6  4  6.0", "10  6  4  9.0",
                   "10  6  4 12.0", "10  6  4 15.0", "10  6  4 18.0", "10  6  4 21.0"}},
        Selection{"0", "99999999", "5",
                  {"10  6  3 20.0", "10  6  4  0.0", "10  6  4  5.0", "10  6  4 10.0", "10  6  4 15.0", "10  6  4 20.0"}},
        Selection{"0", "99999999", "24", {"10  6  4  0.0"}},
        Selection{"0", "99999999", "36", {"10  6  4  0.0"}},
        Selection{"0", "99999999", "-3",
                  {"10  6  3 21.0", "10  6  4  0.0", "10  6  4  3.0", "10  6  4  6.0", "10  6  4  9.0",
                   "10  6  4 12.0", "10  6  4 15.0", "10  6  4 18.0", "10  6  4 21.0"}},
        // Both ends of the window are included; one hour outside is not.
        Selection{"10060402", "10060404", "0", {"10  6  4  2.0", "10  6  4  3.0", "10  6  4  4.0"}},
        Selection{"10060401", "10060401", "0", {"10  6  4  1.0"}},
        // A window that the interval does not meet.
        Selection{"10060401", "10060402", "3", {}},
        // The end stamp below the first record, and a start above every record.
        Selection{"0", "10060300", "0", {}}, Selection{"10060500", "99999999", "0", {}}));

TEST(TimeSelection, EveryRecordWithTheWidestWindow) {
    EXPECT_EQ(runMode0(hourly(20100603, 20, 28).text, "0", "99999999", "0").size(), 28u);
}

TEST(TimeSelection, TheYear2000StampsFallBelowThoseOf1999) {
    Ww3Text file = Ww3Text::withGrid(3, 4);
    file.step(19991130, 230000).step(19991201, 0).step(19991231, 230000).step(20000101, 0).step(20000101, 10000);
    EXPECT_EQ(runMode0(file.text, "99120100", "99123123", "0"),
              (std::vector<std::string>{"99 12  1  0.0", "99 12 31 23.0"}));
    // The first record's stamp lies beyond an end stamp of the year 2000: nothing is read on.
    EXPECT_EQ(runMode0(file.text, "10100", "10100", "0"), (std::vector<std::string>{}));
    EXPECT_EQ(runMode0(hourly(20000101, 0, 2).text, "10100", "10100", "0"),
              (std::vector<std::string>{" 0  1  1  0.0"}));
}

TEST(TimeSelection, AnEndStampReachedStopsReadingTheFile) {
    // The record after the end stamp is never read, so a broken block there does no harm.
    Ww3Text file = hourly(20100603, 20, 3);
    file.text += "20100603 230000\n" + pointLine(46.6f, 5.2f, 180.0f) + "\nnot a spectrum\n";
    EXPECT_EQ(runMode0(file.text, "0", "10060322", "0").size(), 3u);
}

TEST(TimeSelection, RecordsPassedOverAreStillReadInFull) {
    // An interval that passes over a record still reads its block: a bad value there ends
    // the run with a diagnostic, even though the record would not be written.
    Ww3Text file = hourly(20100603, 20, 1);
    file.text += "20100603 210000\n" + pointLine(46.6f, 5.2f, 180.0f) + "\n 0.1 0.2 oops\n";
    TempFolder folder;
    writeFile(folder / "in.spec", file.text);
    const ProgramRun run = runProgram(folder.path(), answerLines({"in.spec", "0", "99999999", "2", "0", "p.out"}));
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.errors.find("syntax error in free-form input: \"oops\" (unit 11, file \"in.spec\", line 10)"),
              std::string::npos)
        << run.errors;
    EXPECT_EQ(writtenTimes(readFile(folder / "p.out")), (std::vector<std::string>{"10  6  3 20.0"}));
}

TEST(TimeSelection, TheRunReadsAtMost999999TimeSteps) {
    // Minimal time steps: a time line, an empty point line and a block given as a repeat.
    // Steps 1 to 999998 fall below the start stamp, step 999999 is written, and step
    // 1000000 is never converted: the run did not deliver all that was asked.
    std::string text = Ww3Text::withGrid(3, 1).text;
    const std::string below = "1 0\n\n3*0\n";
    text.reserve(text.size() + 1000000 * below.size());
    for (int k = 1; k <= 999998; ++k) text += below;
    text += "2 0\n\n3*1\n3 0\n\n3*0\n";
    EXPECT_EQ(runMode0(text, "200", "99999999", "0", 1,
                       "ww3-brevolan: warning: the run stopped after its last allowed pass (999999 time steps read) "
                       "with more of the WW3 file left, from 300 on: split the file or narrow the window (unit 11, "
                       "file \"in.spec\")\r\n"),
              (std::vector<std::string>{" 0  0  2  0.0"}));
}

}  // namespace
}  // namespace ww3b
