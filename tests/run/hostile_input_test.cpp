// Hostile input, end to end: NUL bytes, a 10 MB line, bytes beyond ASCII, numbers beyond
// the float and integer ranges, impossible header counts, an empty file, a directory as
// the WW3 file, and a console that ends or answers with letters at every prompt. Each has
// one exact outcome, and every run finishes within seconds.

#include <algorithm>
#include <filesystem>
#include <functional>
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

constexpr std::size_t kTenMegabytes = 10u << 20;

// 3 frequencies (line 2), 4 directions (line 3) and a first record on lines 4 to 7; a
// second record then has its time line on line 8, its point line on 9, its block from 10.
std::string oneRecord() { return Ww3Text::withGrid(3, 4).step(20100603, 120000).text; }
std::string twoRecords() { return Ww3Text::withGrid(3, 4).step(20100603, 120000).step(20100603, 130000).text; }
std::string goodPointLine() { return pointLine(46.6f, 5.2f, 180.0f) + "\n"; }
std::string goodBlock() { return "  0.1 0.2 0.3 0.4 0.5 0.6 0.7\n  0.8 0.9 1.0 1.1 1.2\n"; }

std::string secondRecord(const std::string& timeLine, const std::string& point, const std::string& block) {
    return oneRecord() + timeLine + point + block;
}

// A header line with the three count fields as given (6 columns each, from column 25).
std::string withHeader(const std::string& counts) {
    const std::string file = twoRecords();
    return "'WAVEWATCH III SPECTRA' " + counts + " 'spectral resolution for points'" + file.substr(file.find('\n'));
}

std::string replaced(std::string text, std::size_t at, const std::string& with) { return text.replace(at, with.size(), with); }

std::string error(const std::string& text) { return "ww3-brevolan: error: " + text + "\r\n"; }
std::string warning(const std::string& text) { return "ww3-brevolan: warning: " + text + "\r\n"; }
std::string inFile(int line) { return " (unit 11, file \"in.spec\", line " + std::to_string(line) + ")"; }
std::string onConsole(int line) { return " (unit 5, standard input, line " + std::to_string(line) + ")"; }

struct Hostile {
    std::string name;
    std::function<std::string()> spectra;
    std::vector<std::string> answers;
    int status;
    std::string errors;
    // The output files with the lines each holds (a file of no lines is one the run made
    // and removed again).
    std::map<std::string, long> linesIn;
};

// How the warning of a time line that cannot be read ends (the run then ends with status 1).
const std::string kNotConverted = " and the time steps after it are not converted: mend the line or fetch the file again";

const std::vector<std::string> kModeZero = {"in.spec", "0", "99999999", "0", "0", "p.out"};

class HostileWw3File : public ::testing::TestWithParam<Hostile> {};

TEST_P(HostileWw3File, HasItsOneOutcomeWithinSeconds) {
    const Hostile& c = GetParam();
    TempFolder folder;
    writeFile(folder / "in.spec", c.spectra());
    const ProgramRun run = runProgram(folder.path(), answerLines(c.answers), RunSettings{20, {}, {}});
    ASSERT_FALSE(run.timedOut);
    EXPECT_EQ(run.status, c.status);
    EXPECT_EQ(run.errors, c.errors);
    std::vector<std::string> expected{"in.spec"};
    for (const auto& [name, lines] : c.linesIn) {
        if (lines > 0) expected.push_back(name);
    }
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(filesIn(folder.path()), expected);
    for (const auto& [name, lines] : c.linesIn) {
        if (!std::filesystem::is_regular_file(folder / name)) continue;
        const std::string contents = readFile(folder / name);
        EXPECT_TRUE(holdsWholeLinesOnly(contents)) << name;
        EXPECT_EQ(std::count(contents.begin(), contents.end(), '\n'), lines) << name;
    }
}

const Hostile kHostileFiles[] = {
    // NUL bytes.
    {"NulInASpectrumValue", [] { return secondRecord("20100603 130000\n", goodPointLine(), std::string("  0.1\0\n", 7)); },
     kModeZero, 2, error("syntax error in free-form input: \"0.1?\"" + inFile(10)), {{"p.out", 1}}},
    {"NulInATimeLine",
     [] { return secondRecord(std::string("20100603\0 130000\n", 17), goodPointLine(), goodBlock()); }, kModeZero, 1,
     warning("the time line at line 8 of \"in.spec\" cannot be read (syntax error in free-form input: "
             "\"20100603?\"); the run ends there" + kNotConverted),
     {{"p.out", 1}}},
    {"NulInThePointLine",
     [] { return secondRecord("20100603 130000\n", replaced(goodPointLine(), 33, std::string(1, '\0')), goodBlock()); },
     kModeZero, 2, error("invalid number \"   4?.6\" at column 30" + inFile(9)), {{"p.out", 1}}},
    {"NulInTheHeaderTitle", [] { return replaced(twoRecords(), 5, std::string(3, '\0')); }, kModeZero, 0, "",
     {{"p.out", 2}}},
    {"NulInAHeaderCount", [] { return replaced(twoRecords(), 28, std::string(1, '\0')); }, kModeZero, 2,
     error("invalid number \"    ? \" at column 25" + inFile(1)), {{"p.out", 0}}},
    // A 10 MB line, wherever it stands.
    {"TenMegabyteHeaderLine",
     [] { const std::string file = twoRecords(); return replaced(file, file.find('\n'), std::string(kTenMegabytes, 'x') + "\n") + file.substr(file.find('\n') + 1); },
     kModeZero, 0, "", {{"p.out", 2}}},
    {"TenMegabyteBlankLineBeforeATimeLine",
     [] { return oneRecord() + std::string(kTenMegabytes, ' ') + "\n20100603 130000\n" + goodPointLine() + goodBlock(); },
     kModeZero, 0, "", {{"p.out", 2}}},
    {"TenMegabytePointLine",
     [] { return secondRecord("20100603 130000\n", pointLine(46.6f, 5.2f, 180.0f) + std::string(kTenMegabytes, '9') + "\n", goodBlock()); },
     kModeZero, 0, "", {{"p.out", 2}}},
    {"TenMegabyteValueInASpectrumBlock",
     [] { return secondRecord("20100603 130000\n", goodPointLine(), std::string(kTenMegabytes, '1') + "\n"); }, kModeZero,
     2, error("syntax error in free-form input: a value of more than 4096 characters" + inFile(10)), {{"p.out", 1}}},
    {"TenMegabyteValueAsATimeLine", [] { return oneRecord() + std::string(kTenMegabytes, '2') + "\n"; }, kModeZero, 1,
     warning("the time line at line 8 of \"in.spec\" cannot be read (syntax error in free-form input: a value of "
             "more than 4096 characters); the run ends there" + kNotConverted),
     {{"p.out", 1}}},
    // Bytes beyond ASCII: data in a value, passed over where the reader skips columns.
    {"NonAsciiInASpectrumValue", [] { return secondRecord("20100603 130000\n", goodPointLine(), "  0.1\xC3\xA9\n"); },
     kModeZero, 2, error("syntax error in free-form input: \"0.1??\"" + inFile(10)), {{"p.out", 1}}},
    {"NonAsciiInTheStationNameAndTitle",
     [] { return replaced(secondRecord("20100603 130000\n", replaced(goodPointLine(), 1, "\xD8\xFF\x80"), goodBlock()), 1, "\xE2\x89\x88"); },
     kModeZero, 0, "", {{"p.out", 2}}},
    // Numbers beyond the ranges.
    {"FloatOverflowInASpectrum", [] { return secondRecord("20100603 130000\n", goodPointLine(), "  0.1 1e39\n"); },
     kModeZero, 2, error("number out of range: \"1e39\"" + inFile(10)), {{"p.out", 1}}},
    {"NegativeFloatOverflowInASpectrum",
     [] { return secondRecord("20100603 130000\n", goodPointLine(), "  0.1 -1e39\n"); }, kModeZero, 2,
     error("number out of range: \"-1e39\"" + inFile(10)), {{"p.out", 1}}},
    {"FloatUnderflowReadsAsZero",
     [] { return secondRecord("20100603 130000\n", goodPointLine(), "  0.1 1e-50 12*1e-50\n"); }, kModeZero, 0, "",
     {{"p.out", 2}}},
    {"FloatOverflowInThePointLine",
     [] { return secondRecord("20100603 130000\n", replaced(goodPointLine(), 29, "   1e39"), goodBlock()); }, kModeZero,
     2, error("number out of range \"   1e39\" at column 30" + inFile(9)), {{"p.out", 1}}},
    {"FloatOverflowInAFrequency", [] { return replaced(twoRecords(), twoRecords().find('\n') + 1, "   1.0E+39"); },
     kModeZero, 2, error("number out of range \"   1.0E+39\" at column 1" + inFile(2)), {{"p.out", 0}}},
    {"IntegerOverflowInATimeLine", [] { return secondRecord("2147483648 130000\n", goodPointLine(), goodBlock()); },
     kModeZero, 1,
     warning("the time line at line 8 of \"in.spec\" cannot be read (number out of range: \"2147483648\"); the run "
             "ends there" + kNotConverted),
     {{"p.out", 1}}},
    // Header counts: 3 to 50 frequencies and 1 to 50 directions; the point count is unused.
    // (51 of either, and no directions, are among the refusal tests.)
    {"NoFrequencies", [] { return withHeader("     0     4     1"); }, kModeZero, 2,
     error("the header gives 0 frequencies; 3 to 50 can be read" + inFile(1)), {{"p.out", 0}}},
    {"NegativeFrequencies", [] { return withHeader("    -1     4     1"); }, kModeZero, 2,
     error("the header gives -1 frequencies; 3 to 50 can be read" + inFile(1)), {{"p.out", 0}}},
    {"AMillionFrequencies", [] { return withHeader("999999     4     1"); }, kModeZero, 2,
     error("the header gives 999999 frequencies; 3 to 50 can be read" + inFile(1)), {{"p.out", 0}}},
    {"NegativeDirections", [] { return withHeader("     3    -1     1"); }, kModeZero, 2,
     error("the header gives -1 directions; 1 to 50 can be read" + inFile(1)), {{"p.out", 0}}},
    {"AMillionDirections", [] { return withHeader("     3999999     1"); }, kModeZero, 2,
     error("the header gives 999999 directions; 1 to 50 can be read" + inFile(1)), {{"p.out", 0}}},
    // The points are told apart by their lines: the count only earns a warning.
    {"AMillionPointsAreNotRead", [] { return withHeader("     3     4999999"); }, kModeZero, 0,
     warning("the header of \"in.spec\" gives 999999 points, but its first time step (line 4) holds 1; the points "
             "are told apart by their point lines, not by that count"),
     {{"p.out", 2}}},
    {"IntegerOverflowInAHeaderCount", [] { return withHeader("     3 2e+99     1"); }, kModeZero, 2,
     error("invalid number \" 2e+99\" at column 31" + inFile(1)), {{"p.out", 0}}},
    // Nothing to read.
    {"EmptyFile", [] { return std::string(); }, kModeZero, 2,
     error("the WW3 directional data file: holds no bytes (an empty file) (unit 11, file \"in.spec\")"), {}},
    {"BlankHeaderLine", [] { return "\n" + twoRecords(); }, kModeZero, 2,
     error("the header gives 0 frequencies; 3 to 50 can be read" + inFile(1)), {{"p.out", 0}}},
};

INSTANTIATE_TEST_SUITE_P(Files, HostileWw3File, ::testing::ValuesIn(kHostileFiles),
                         [](const ::testing::TestParamInfo<Hostile>& info) { return info.param.name; });

std::vector<std::string> modeTwoWith(std::size_t index, const std::string& answer) {
    std::vector<std::string> answers = standardAnswers(2);
    answers.resize(index);
    answers.push_back(answer);
    return answers;
}

const std::map<std::string, long> kModeTwoFilesEmpty = {{"bay.dat", 0}, {"bay.eng", 0}, {"bay.out", 0}, {"bay.txt", 0}};
// The depth question comes after the first selected record's full-plane line.
const std::map<std::string, long> kAtTheDepthQuestion = {{"bay.dat", 0}, {"bay.eng", 0}, {"bay.out", 1}, {"bay.txt", 0}};

// Letters for the end stamp are among the refusal tests.
const Hostile kHostileAnswers[] = {
    {"LettersForTheStartStamp", twoRecords, modeTwoWith(1, "abc"), 2,
     error("the starting time stamp (yymmddhh or 0): \"abc\" is not a whole number" + onConsole(2)), {}},
    {"LettersForTheInterval", twoRecords, modeTwoWith(3, "abc"), 2,
     error("the output interval (0, or n hours): \"abc\" is not a whole number" + onConsole(4)), {}},
    {"LettersForTheMode", twoRecords, modeTwoWith(4, "abc"), 2,
     error("the output mode (1, 2 or 0): \"abc\" is not a whole number" + onConsole(5)), {}},
    {"LettersForTheShoreline", twoRecords, modeTwoWith(6, "abc"), 2,
     error("the local shoreline orientation (degrees): \"abc\" is not a number" + onConsole(7)), kModeTwoFilesEmpty},
    {"LettersForTheDepth", twoRecords, modeTwoWith(7, "abc"), 2,
     error("the seaward grid boundary depth (m): \"abc\" is not a number" + onConsole(8)), kAtTheDepthQuestion},
    {"IntegerOverflowForTheStartStamp", twoRecords, modeTwoWith(1, "2147483648"), 2,
     error("the starting time stamp (yymmddhh or 0): \"2147483648\" is not a whole number from -2147483648 to 2147483647" + onConsole(2)), {}},
    {"FloatOverflowForTheShoreline", twoRecords, modeTwoWith(6, "-1e39"), 2,
     error("the local shoreline orientation (degrees): \"-1e39\" is too large for a number" + onConsole(7)), kModeTwoFilesEmpty},
    {"FloatOverflowForTheDepth", twoRecords, modeTwoWith(7, "1e39"), 2,
     error("the seaward grid boundary depth (m): \"1e39\" is too large for a number" + onConsole(8)), kAtTheDepthQuestion},
    {"NulInTheNumberForTheInterval", twoRecords, modeTwoWith(3, std::string("3\0", 2)), 2,
     error("the output interval (0, or n hours): \"3?\" is not a whole number" + onConsole(4)), {}},
    // Found while hardening: the system ends a file name at a NUL, so every name derived
    // from "bay\0.eng" named the one file "bay" and the four outputs were written over
    // each other while the run reported success.
    {"NulInTheSpectrumName", twoRecords, modeTwoWith(5, std::string("bay\0.eng", 8)), 2,
     error("the file name holds a NUL character (unit 12, file \"bay?.out\")"), {}},
    {"NulInTheWw3Name", twoRecords, [] { auto a = standardAnswers(2); a[0] = std::string("in.spec\0x", 9); return a; }(), 2,
     error("the WW3 directional data file: the name holds a NUL character" + onConsole(1)), {}},
    {"TenMegabyteNameLine", twoRecords, {"in.spec", "0", "99999999", "0", "0", std::string(kTenMegabytes, 'n')}, 2,
     error("the output full-plane wave file name (*.out): \"" + std::string(40, 'n') +
           "...\" is longer than the 30 characters a name may hold" + onConsole(6)),
     {}},
    {"TenMegabyteAnswerLine", twoRecords,
     {"in.spec", "0" + std::string(kTenMegabytes, ' ') + "x", "99999999", "0", "0", "p.out"}, 0, "", {{"p.out", 2}}},
    {"NonAsciiName", twoRecords, {"in.spec", "0", "99999999", "0", "0", "b\xC3\xA4y.out"}, 0, "", {{"b\xC3\xA4y.out", 2}}},
};

INSTANTIATE_TEST_SUITE_P(Answers, HostileWw3File, ::testing::ValuesIn(kHostileAnswers),
                         [](const ::testing::TestParamInfo<Hostile>& info) { return info.param.name; });

// The console ends before each answer of a mode-2 run in turn.
class ConsoleInputEnds : public ::testing::TestWithParam<int> {};

TEST_P(ConsoleInputEnds, BeforeEveryAnswer) {
    const int given = GetParam();
    std::vector<std::string> answers = standardAnswers(2);
    answers.resize(static_cast<std::size_t>(given));
    TempFolder folder;
    writeFile(folder / "in.spec", twoRecords());
    const ProgramRun run = runProgram(folder.path(), answerLines(answers), RunSettings{20, {}, {}});
    ASSERT_FALSE(run.timedOut);
    EXPECT_EQ(run.status, 2);
    const char* questions[] = {"the WW3 directional data file", "the starting time stamp (yymmddhh or 0)",
                               "the ending time stamp (yymmddhh or 99999999)", "the output interval (0, or n hours)",
                               "the output mode (1, 2 or 0)", "the output spectrum file name (*.eng)",
                               "the local shoreline orientation (degrees)", "the seaward grid boundary depth (m)"};
    EXPECT_EQ(run.errors, error(std::string(questions[given]) + ": no answer, the input ended (unit 5, standard input" +
                                (given == 0 ? std::string() : ", after line " + std::to_string(given)) + ")"));
    // The files the run made and wrote nothing to are gone: only the full-plane line
    // written before the depth question stays.
    std::vector<std::string> files{"in.spec"};
    if (given == 7) files = {"bay.out", "in.spec"};
    EXPECT_EQ(filesIn(folder.path()), files);
    if (given == 7) {
        const std::string parameters = readFile(folder / "bay.out");
        EXPECT_EQ(std::count(parameters.begin(), parameters.end(), '\n'), 1);
    }
}

INSTANTIATE_TEST_SUITE_P(Prompts, ConsoleInputEnds, ::testing::Range(0, 8));

TEST(HostileWw3File, ADirectoryGivenAsTheWw3File) {
    TempFolder folder;
    std::filesystem::create_directory(folder / "in.spec");
    const ProgramRun run = runProgram(folder.path(), answerLines(kModeZero), RunSettings{20, {}, {}});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.errors, error("the WW3 directional data file: is a directory, not a file (unit 11, file \"in.spec\")"));
    EXPECT_FALSE(std::filesystem::exists(folder / "p.out"));
}

// Random bytes as the WW3 file: whatever they hold, one outcome among the three, a
// diagnostic or warning of one line at most, and whole lines only in the output.
TEST(HostileWw3File, RandomBytes) {
    std::uint64_t state = 20100603;
    for (int trial = 0; trial < 12; ++trial) {
        std::string bytes = trial % 2 ? twoRecords() : std::string();
        const std::size_t length = 1000u + 4000u * static_cast<std::size_t>(trial);
        for (std::size_t k = 0; k < length; ++k) {
            state = state * 6364136223846793005ULL + 1442695040888963407ULL;
            const char c = static_cast<char>(state >> 56);
            // Odd trials keep a valid header and spoil the records after it.
            if (trial % 2 == 0 || k > 300) bytes.push_back(c);
        }
        TempFolder folder;
        writeFile(folder / "in.spec", bytes);
        const ProgramRun run = runProgram(folder.path(), answerLines(standardAnswers(trial % 3)), RunSettings{20, {}, {}});
        ASSERT_FALSE(run.timedOut) << trial;
        EXPECT_TRUE(run.status >= 0 && run.status <= 2) << trial;
        // A run that ends in order without writing says so, and may say why it ended.
        EXPECT_LE(std::count(run.errors.begin(), run.errors.end(), '\n'), run.status == 1 ? 2 : 1) << trial << run.errors;
        for (const auto& [name, contents] : outputsIn(folder.path(), trial % 3)) {
            EXPECT_TRUE(holdsWholeLinesOnly(contents)) << trial << name;
            EXPECT_FALSE(contents.empty()) << trial << name;
        }
    }
}

}  // namespace
}  // namespace ww3b
