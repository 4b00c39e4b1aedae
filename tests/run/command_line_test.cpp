// The program's arguments: --help (-h) and --version answer and end at once; an unknown
// option, a stray argument or an option without its value is a usage error that touches
// no file. Without arguments the run is the dialogue (see the
// golden runs).

#include <regex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/program_run.hpp"
#include "support/temp_folder.hpp"
#include "support/ww3_text.hpp"

namespace ww3b {
namespace {

using namespace ww3b::testing;

// Every line ends in CR LF, and there is no text after the last line end.
bool allLinesEndInCrLf(const std::string& text) {
    if (text.empty() || text.back() != '\n') return false;
    for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 1)) {
        if (at == 0 || text[at - 1] != '\r') return false;
    }
    return true;
}

// A folder with a WW3 file and the answers of a mode-0 run piped in: an argument that
// started the dialogue would read them and write bay.out.
struct ArgumentRun {
    TempFolder folder;
    ProgramRun result;
    explicit ArgumentRun(const std::vector<std::string>& arguments) {
        writeFile(folder / "in.spec", Ww3Text::withGrid(3, 4).step(20100603, 120000).text);
        result = runProgram(folder.path(), answerLines({"in.spec", "0", "99999999", "0", "0", "bay.out"}), arguments);
    }
    bool untouched() const { return filesIn(folder.path()) == std::vector<std::string>{"in.spec"}; }
};

class Help : public ::testing::TestWithParam<std::vector<std::string>> {};

TEST_P(Help, TellsTheQuestionsTheOptionsThePipeAndTheGuide) {
    ArgumentRun run(GetParam());
    EXPECT_EQ(run.result.status, 0);
    EXPECT_EQ(run.result.errors, "");
    EXPECT_TRUE(run.untouched());
    const std::string& help = run.result.output;
    EXPECT_TRUE(allLinesEndInCrLf(help));
    EXPECT_EQ(help.rfind("Usage: ww3-brevolan [options] < answers\r\n", 0), 0u) << help;
    for (const char* part : {"WW3 spectral file name", "starting time stamp", "ending time stamp", "interval",
                             "output mode", "shoreline orientation", "boundary depth", "< bay.answers", "--point",
                             "--list", "--header-directions", "--quiet", "UTC",
                             "Exit status: 0", "README.md", "ww3-brevolan(1)"}) {
        EXPECT_NE(help.find(part), std::string::npos) << part;
    }
    for (std::size_t start = 0, end; (end = help.find("\r\n", start)) != std::string::npos; start = end + 2) {
        EXPECT_LE(end - start, 80u) << help.substr(start, end - start);
    }
}

INSTANTIATE_TEST_SUITE_P(Arguments, Help,
                         ::testing::Values(std::vector<std::string>{"--help"}, std::vector<std::string>{"-h"},
                                           std::vector<std::string>{"-q", "--help", "--version"}));

TEST(CommandLine, VersionIsTheProjectVersion) {
    ArgumentRun run({"--version"});
    EXPECT_EQ(run.result.status, 0);
    EXPECT_EQ(run.result.errors, "");
    EXPECT_EQ(run.result.output, "ww3-brevolan " WW3B_VERSION "\r\n");
    EXPECT_TRUE(std::regex_match(std::string(WW3B_VERSION), std::regex("[0-9]+\\.[0-9]+\\.[0-9]+")));
    EXPECT_TRUE(run.untouched());
}

class UsageError : public ::testing::TestWithParam<std::vector<std::string>> {};

TEST_P(UsageError, GoesToStandardErrorWithStatusTwoAndNoFile) {
    ArgumentRun run(GetParam());
    EXPECT_EQ(run.result.status, 2);
    EXPECT_EQ(run.result.output, "");
    EXPECT_TRUE(run.untouched());
    const std::string& errors = run.result.errors;
    EXPECT_TRUE(allLinesEndInCrLf(errors)) << errors;
    EXPECT_EQ(errors.rfind("ww3-brevolan: usage error: ", 0), 0u) << errors;
    EXPECT_NE(errors.find("Usage: ww3-brevolan [options] < answers"), std::string::npos) << errors;
    if (GetParam().size() == 1) {
        EXPECT_NE(errors.find("\"" + GetParam()[0] + "\""), std::string::npos) << errors;
    }
}

INSTANTIATE_TEST_SUITE_P(Arguments, UsageError,
                         ::testing::Values(std::vector<std::string>{"--verbose"}, std::vector<std::string>{"-x"},
                                           std::vector<std::string>{"in.spec"}, std::vector<std::string>{""},
                                           std::vector<std::string>{"--point"},
                                           std::vector<std::string>{"--point", ""}, std::vector<std::string>{"--list", ""},
                                           std::vector<std::string>{"--version", "extra"}));

}  // namespace
}  // namespace ww3b
