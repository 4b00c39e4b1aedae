// Golden runs on the bundled example: every output file and the console transcript
// byte for byte. The golden files were made by this program and checked against
// golden/independent_check.py, a separate implementation of the computations and
// layouts (run by CTest as golden_independent_check).

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/program_run.hpp"
#include "support/temp_folder.hpp"

namespace ww3b {
namespace {

using namespace ww3b::testing;

const std::filesystem::path kSource = WW3B_SOURCE_DIR;

struct GoldenRun {
    TempFolder folder;
    ProgramRun result;
    explicit GoldenRun(const std::string& answers) {
        writeFile(folder / "station.spec", readFile(kSource / "examples/station.spec"));
        result = runProgram(folder.path(), answers);
    }
};

class Golden : public ::testing::TestWithParam<int> {};

TEST_P(Golden, EveryFileAndTheConsoleByteForByte) {
    const std::string mode = std::to_string(GetParam());
    const auto golden = kSource / "tests/run/golden" / ("mode" + mode);
    GoldenRun run(readFile(kSource / "examples" / ("mode" + mode + ".answers")));
    EXPECT_EQ(run.result.status, 0);
    EXPECT_EQ(run.result.errors, "");
    EXPECT_EQ(run.result.output, readFile(golden / "console.txt"));
    std::vector<std::string> expected{"station.spec"};
    for (const auto& name : filesIn(golden)) {
        if (name == "console.txt") continue;
        expected.push_back(name);
        EXPECT_EQ(readFile(run.folder / name), readFile(golden / name)) << name;
    }
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(filesIn(run.folder.path()), expected);
    EXPECT_EQ(readFile(run.folder / "station.spec"), readFile(kSource / "examples/station.spec"));
}

INSTANTIATE_TEST_SUITE_P(Modes, Golden, ::testing::Values(0, 1, 2));

TEST(Golden, ModeOneWritesItsHeaderWithTheFirstSelectedRecord) {
    GoldenRun run(answerLines({"station.spec", "10060400", "99999999", "0", "1", "station.eng"}));
    const std::string all = readFile(kSource / "tests/run/golden/mode1/station.eng");
    const std::string header = all.substr(0, all.find("10060318"));
    const std::string fromMidnight = all.substr(all.find("10060400"));
    EXPECT_EQ(readFile(run.folder / "station.eng"), header + fromMidnight);
}

TEST(Golden, TheDepthQuestionComesAfterTheFirstParameterLine) {
    // Without an answer to the depth question the run ends there: the full-plane line of
    // the first record is already written, nothing of mode 2 is.
    GoldenRun run(answerLines({"station.spec", "0", "99999999", "0", "2", "station.eng", "270"}));
    EXPECT_EQ(run.result.status, 2);
    const std::string lines = readFile(kSource / "tests/run/golden/mode2/station.out");
    EXPECT_EQ(readFile(run.folder / "station.out"), lines.substr(0, lines.find('\n') + 1));
    for (const char* name : {"station.txt", "station.eng", "station.dat"}) {
        EXPECT_FALSE(std::filesystem::exists(run.folder / name)) << name;  // made, never written, removed
    }
    const std::string console = readFile(kSource / "tests/run/golden/mode2/console.txt");
    EXPECT_EQ(run.result.output, console);
}

TEST(Golden, TheDepthsMustGiveAFiniteExponent) {
    GoldenRun run(answerLines({"station.spec", "0", "99999999", "0", "2", "station.eng", "270", "-12"}));
    EXPECT_EQ(run.result.status, 2);
    EXPECT_EQ(run.result.errors,
              "ww3-brevolan: error: the seaward grid boundary depth (m): -12 m gives no direction factor with the WW3 "
              "point's depth of 46.6 m (a depth is above 0) (unit 5, standard input, line 8)\r\n");
    const std::string lines = readFile(kSource / "tests/run/golden/mode2/station.out");
    EXPECT_EQ(readFile(run.folder / "station.out"), lines.substr(0, lines.find('\n') + 1));
    EXPECT_FALSE(std::filesystem::exists(run.folder / "station.dat"));
}

}  // namespace
}  // namespace ww3b
