// The user's files: an existing output file that a run never writes to keeps its
// contents, whatever ends the run; a file the run writes to holds exactly the run's lines.
// (Every end-to-end run also checks that the WW3 file is left as it was, and the refusal
// tests that a refused run creates no file.)

#include <filesystem>
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

std::string twoRecords() { return Ww3Text::withGrid(3, 4).step(20100603, 120000).step(20100603, 130000).text; }

std::string earlierRun(const std::string& name) { return "an earlier run's " + name + "\r\nsecond line\r\n"; }

struct Untouched {
    std::string name;
    std::function<std::string()> spectra;
    std::vector<std::string> answers;  // a mode-2 run writing bay.*
    int status;
    std::vector<std::string> written;  // outputs that receive a line
    std::string setUp;                 // "" or the name of an output made a directory
};

class ExistingOutputs : public ::testing::TestWithParam<Untouched> {};

TEST_P(ExistingOutputs, KeepTheirContentsUnlessTheRunWritesThem) {
    const Untouched& c = GetParam();
    TempFolder folder;
    writeFile(folder / "in.spec", c.spectra());
    for (const auto& name : outputNames(2)) {
        if (name == c.setUp) {
            std::filesystem::create_directory(folder / name);
        } else {
            writeFile(folder / name, earlierRun(name));
        }
    }
    const ProgramRun run = runProgram(folder.path(), answerLines(c.answers), RunSettings{20, {}, {}});
    EXPECT_EQ(run.status, c.status) << run.errors;
    for (const auto& name : outputNames(2)) {
        if (name == c.setUp) continue;
        const std::string contents = readFile(folder / name);
        const bool written = std::find(c.written.begin(), c.written.end(), name) != c.written.end();
        if (written) {
            EXPECT_EQ(contents.find("an earlier run's"), std::string::npos) << name;
            EXPECT_TRUE(holdsWholeLinesOnly(contents) && !contents.empty()) << name;
        } else {
            EXPECT_EQ(contents, earlierRun(name)) << name;
        }
    }
}

std::vector<std::string> modeTwo(std::size_t index, const std::string& answer) {
    std::vector<std::string> answers = standardAnswers(2);
    answers.at(index) = answer;
    return answers;
}

std::vector<std::string> modeTwoUpTo(std::size_t count) {
    std::vector<std::string> answers = standardAnswers(2);
    answers.resize(count);
    return answers;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ExistingOutputs,
    ::testing::Values(
        Untouched{"EndStampBeforeTheFirstRecord", twoRecords, modeTwo(2, "10060100"), 1, {}, ""},
        Untouched{"StartStampAfterTheLastRecord", twoRecords, modeTwo(1, "10060400"), 1, {}, ""},
        Untouched{"NoHourPassesTheInterval", twoRecords, modeTwo(3, "5"), 1, {}, ""},
        Untouched{"EmptyWw3File", [] { return std::string(); }, standardAnswers(2), 2, {}, ""},
        Untouched{"HeaderOnly", [] { return Ww3Text::withGrid(3, 4).text; }, standardAnswers(2), 1, {}, ""},
        Untouched{"MissingWw3File", twoRecords, modeTwo(0, "none.spec"), 2, {}, ""},
        Untouched{"RefusedHeader", [] { return Ww3Text::withGrid(51, 4).text; }, standardAnswers(2), 2, {}, ""},
        Untouched{"FirstSpectrumBlockCutShort", [] { const std::string t = twoRecords(); return t.substr(0, t.find("20100603 130000") - 12); },
                  standardAnswers(2), 2, {}, ""},
        Untouched{"ConsoleEndsAtTheShoreline", twoRecords, modeTwoUpTo(6), 2, {}, ""},
        Untouched{"LettersForTheShoreline", twoRecords, modeTwo(6, "north"), 2, {}, ""},
        // The full-plane line of the first selected record comes before the depth question.
        Untouched{"ConsoleEndsAtTheDepth", twoRecords, modeTwoUpTo(7), 2, {"bay.out"}, ""},
        Untouched{"HalfPlaneFileIsADirectory", twoRecords, standardAnswers(2), 2, {}, "bay.dat"},
        Untouched{"NameClash", twoRecords, modeTwo(5, "bay.txt"), 2, {}, ""},
        Untouched{"AllWritten", twoRecords, standardAnswers(2), 0, {"bay.dat", "bay.eng", "bay.out", "bay.txt"}, "" }),
    [](const ::testing::TestParamInfo<Untouched>& info) { return info.param.name; });

}  // namespace
}  // namespace ww3b
