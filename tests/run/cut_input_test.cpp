// A WW3 file cut short at every kind of place, end to end in every mode: inside the
// header line, the frequency list, the direction list, a time line, a point line, a
// spectrum block and a value. The run ends with the diagnostic naming the file and the
// line where reading stopped (or, where the file may end, in order: silently, or with
// status 1 and a warning when the cut falls inside a time line), and the output files hold
// exactly what a run on the records before the cut writes; none is left empty.

#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/program_run.hpp"
#include "support/run_files.hpp"
#include "support/temp_folder.hpp"
#include "support/ww3_text.hpp"

namespace ww3b {
namespace {

using namespace ww3b::testing;

// 9 frequencies (lines 2-3), 10 directions (lines 4-5), then 15 lines a record: the time
// line, the point line and 13 lines of 90 densities (lines 6-20, 21-35, 36-50).
std::string records(int count) {
    Ww3Text file = Ww3Text::withGrid(9, 10);
    for (int k = 0; k < count; ++k) file.step(20100603, (12 + k) * 10000, 46.6f - static_cast<float>(k));
    return file.text;
}

std::size_t lineStart(const std::string& text, int line) {
    std::size_t at = 0;
    for (int n = 1; n < line; ++n) at = text.find('\n', at) + 1;
    return at;
}

struct Cut {
    std::string name;
    int line;      // the line the file ends in
    int keep;      // characters of it that are kept; -1: the whole line and its end
    int status;
    std::string condition;  // empty: the run ends in order; "{value}": the cut value
    int recordsBefore;      // complete records before the cut
};

class InputCutShort : public ::testing::TestWithParam<std::tuple<Cut, int>> {};

TEST_P(InputCutShort, NamesTheLineAndKeepsTheEarlierRecords) {
    const auto& [c, mode] = GetParam();
    const std::string whole = records(3);
    const std::size_t start = lineStart(whole, c.line);
    const std::string cut =
        c.keep < 0 ? whole.substr(0, lineStart(whole, c.line + 1)) : whole.substr(0, start + static_cast<std::size_t>(c.keep));
    TempFolder folder;
    writeFile(folder / "in.spec", cut);
    const ProgramRun run = runProgram(folder.path(), answerLines(standardAnswers(mode)), RunSettings{20, {}, {}});
    ASSERT_FALSE(run.timedOut);
    EXPECT_EQ(run.status, c.status);
    std::string condition = c.condition;
    if (const auto at = condition.find("{value}"); at != std::string::npos) {
        const std::string lastLine = cut.substr(start);
        condition.replace(at, 7, lastLine.substr(lastLine.find_last_of(' ') + 1));
    }
    // A condition "warning: ..." is a warning of a run that ends in order.
    const std::string kind = condition.rfind("warning: ", 0) == 0 ? "ww3-brevolan: " : "ww3-brevolan: error: ";
    // A run that ends in order before its first record also says that it wrote nothing.
    const std::string nothingWritten = c.status != 2 && c.recordsBefore == 0
                                           ? "ww3-brevolan: warning: no time step was written: \"in.spec\" holds no time "
                                             "step; check that it is the file meant\r\n"
                                           : "";
    EXPECT_EQ(run.errors, (condition.empty() ? "" : kind + condition + "\r\n") + nothingWritten);
    // Before the first record no line is written: the files the run made are gone.
    std::map<std::string, std::string> expected;
    if (c.recordsBefore > 0) expected = cleanRunOutputs(records(c.recordsBefore), mode);
    const auto after = outputsIn(folder.path(), mode);
    ASSERT_EQ(after.size(), expected.size());
    for (const auto& [name, contents] : expected) {
        EXPECT_TRUE(after.at(name) == contents) << name << ": " << after.at(name).size() << " bytes, expected "
                                                << contents.size();
    }
}

std::string endOfFileAfter(int line) {
    return "end of file reached during a read (unit 11, file \"in.spec\", after line " + std::to_string(line) + ")";
}

const std::string kCutTimeLine =
    "warning: the WW3 file ends inside a time line: it was cut short (an interrupted download or copy); the time "
    "steps before the cut were converted, the rest is missing: fetch the whole file again (unit 11, file "
    "\"in.spec\", line ";

const std::vector<Cut> kCuts = {
    {"HeaderTitle", 1, 20, 2, "the header gives 0 frequencies; 3 to 50 can be read (unit 11, file \"in.spec\", line 1)", 0},
    {"HeaderAfterTheFrequencyCount", 1, 30, 2,
     "the header gives 0 directions; 1 to 50 can be read (unit 11, file \"in.spec\", line 1)", 0},
    {"AfterTheHeaderLine", 1, -1, 2, endOfFileAfter(1), 0},
    {"FrequencyListAfterItsFirstLine", 2, -1, 2, endOfFileAfter(2), 0},
    {"InsideAFrequencyLine", 2, 35, 2, endOfFileAfter(2), 0},
    {"DirectionListAfterItsFirstLine", 4, -1, 2, endOfFileAfter(4), 0},
    // A short last direction line reads as padded with blanks; the file then ends where
    // a time line may end it: in order.
    {"InsideTheLastDirectionLine", 5, 15, 1,
     "warning: the direction list of the WW3 file is not as WW3 writes it: the list is not a regular grid of "
     "36-degree steps in WW3's order (bearings of travel decreasing by 36 degrees from one direction to the next); "
     "the list reads 1.57, 0.942, 0.314, ... radians, that is bearings of travel 90, 54, 18, ... degrees. The "
     "converter places direction j at (j - 1) x 36 degrees counter-clockwise from east whatever the list says, so "
     "its mean directions and its half plane follow that grid; --header-directions refuses such a list (unit 11, "
     "file \"in.spec\", line 4)",
     0},
    {"InsideTheFirstTimeLine", 6, 8, 1, kCutTimeLine + "6)", 0},
    {"BeforeAPointLine", 21, -1, 2, endOfFileAfter(21), 1},
    {"InsideAPointLine", 22, 20, 2, endOfFileAfter(22), 1},
    {"SpectrumBlockAtALineEnd", 27, -1, 2, endOfFileAfter(27), 1},
    {"InsideASpectrumValue", 28, 27, 2, endOfFileAfter(28), 1},
    {"InsideTheExponentOfASpectrumValue", 28, 30, 2,
     "syntax error in free-form input: \"{value}\" (unit 11, file \"in.spec\", line 28)", 1},
    {"LastLineOfTheLastBlock", 50, 25, 2, endOfFileAfter(50), 2},
    {"InsideTheLastTimeLine", 36, 8, 1, kCutTimeLine + "36)", 2},
};

INSTANTIATE_TEST_SUITE_P(Cases, InputCutShort, ::testing::Combine(::testing::ValuesIn(kCuts), ::testing::Values(0, 1, 2)),
                         [](const ::testing::TestParamInfo<std::tuple<Cut, int>>& info) {
                             return std::get<0>(info.param).name + "_Mode" + std::to_string(std::get<1>(info.param));
                         });

}  // namespace
}  // namespace ww3b
