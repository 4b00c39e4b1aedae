// What a run refuses, and how: the diagnostic (condition, unit, file, line), exit status
// 2, and the user's files left as they were.

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/program_run.hpp"
#include "support/temp_folder.hpp"
#include "support/ww3_text.hpp"

namespace ww3b {
namespace {

using namespace ww3b::testing;

std::string oneStep() { return Ww3Text::withGrid(3, 4).step(20100603, 120000).text; }

struct Refusal {
    std::string name;
    std::vector<std::string> answers;
    std::string spectra;
    std::string diagnostic;
    // The output files opened before the refusal: the run made them and wrote nothing to
    // them, so they are gone again (the WW3 file is always there and unchanged).
    std::vector<std::string> filesOpened;
    std::string input = "in.spec";        // the name the WW3 file is written under
};

class RunRefusal : public ::testing::TestWithParam<Refusal> {};

TEST_P(RunRefusal, EndsWithADiagnosticAndLeavesTheFilesAlone) {
    const Refusal& c = GetParam();
    TempFolder folder;
    writeFile(folder / c.input, c.spectra);
    const ProgramRun run = runProgram(folder.path(), answerLines(c.answers));
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.errors, "ww3-brevolan: error: " + c.diagnostic + "\r\n");
    EXPECT_EQ(filesIn(folder.path()), std::vector<std::string>{c.input});
    EXPECT_EQ(readFile(folder / c.input), c.spectra);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RunRefusal,
    ::testing::Values(
        Refusal{"NoDotForTheSuffix",
                {"in.spec", "0", "99999999", "0", "1", "bayeng"},
                oneStep(),
                "the output spectrum file name (*.eng): \"bayeng\" needs a \".\" within its first 27 characters (after any \"/\"), so that the names of "
                "the other output files can be derived from it (unit 5, standard input, line 6)",
                {}},
        Refusal{"DotTooLate",
                {"in.spec", "0", "99999999", "0", "2", "abcdefghijklmnopqrstuvwxyz0.en"},
                oneStep(),
                "the output spectrum file name (*.eng): \"abcdefghijklmnopqrstuvwxyz0.en\" needs a \".\" within its first 27 characters (after any "
                "\"/\"), so that the names of the other output files can be derived from it (unit 5, standard input, "
                "line 6)",
                {}},
        Refusal{"SpectrumNamedLikeTheParameterFile",
                {"in.spec", "0", "99999999", "0", "1", "bay.out"},
                oneStep(),
                "the output spectrum file name (*.eng): output names clash: the full-plane parameter file and the 2-D spectral file would both be "
                "\"bay.out\" (unit 5, standard input, line 6)",
                {}},
        Refusal{"SpectrumNamedLikeTheHalfPlaneFile",
                {"in.spec", "0", "99999999", "0", "2", "bay.dat"},
                oneStep(),
                "the output spectrum file name (*.eng): output names clash: the Brevolan spectrum file and the half-plane parameter file would both be "
                "\"bay.dat\" (unit 5, standard input, line 6)",
                {}},
        Refusal{"OutputOverTheInput",
                {"in.spec", "0", "99999999", "0", "0", "in.spec"},
                oneStep(),
                "the output full-plane wave file name (*.out): output names clash: the full-plane parameter file \"in.spec\" would overwrite the WW3 spectral "
                "file \"in.spec\" (unit 5, standard input, line 6)",
                {}},
        Refusal{"OutputOverTheInputByAnotherPath",
                {"in.spec", "0", "99999999", "0", "0", "./in.spec"},
                oneStep(),
                "the output full-plane wave file name (*.out): output names clash: the full-plane parameter file \"./in.spec\" would overwrite the WW3 spectral "
                "file \"in.spec\" (unit 5, standard input, line 6)",
                {}},
        Refusal{"DerivedNameOverTheInput",
                {"in.out", "0", "99999999", "0", "1", "in.eng"},
                oneStep(),
                "the output spectrum file name (*.eng): output names clash: the full-plane parameter file \"in.out\" would overwrite the WW3 "
                "spectral file \"in.out\" (unit 5, standard input, line 6)",
                {},
                "in.out"},
        Refusal{"BlankParameterName",
                {"in.spec", "0", "99999999", "0", "0", ""},
                oneStep(),
                "the output full-plane wave file name (*.out): no name was given (unit 5, standard input, line 6)",
                {}},
        Refusal{"BlankSpectrumName",
                {"in.spec", "0", "99999999", "0", "1", "   "},
                oneStep(),
                "the output spectrum file name (*.eng): no name was given (unit 5, standard input, line 6)",
                {}},
        Refusal{"BlankInputName",
                {"", "0", "99999999", "0", "0", "p.out"},
                oneStep(),
                "the WW3 directional data file: no name was given (unit 5, standard input, line 1)",
                {}},
        Refusal{"MissingInput",
                {"none.spec", "0", "99999999", "0", "2", "bay.eng", "180"},
                oneStep(),
                "the WW3 directional data file: file not found (unit 11, file \"none.spec\")",
                {}},
        Refusal{"LettersAtANumericPrompt",
                {"in.spec", "0", "abc"},
                oneStep(),
                "the ending time stamp (yymmddhh or 99999999): \"abc\" is not a whole number (unit 5, standard input, line 3)",
                {}},
        Refusal{"ConsoleInputEnds",
                {"in.spec", "0", "99999999"},
                oneStep(),
                "the output interval (0, or n hours): no answer, the input ended (unit 5, standard input, after line 3)",
                {}},
        Refusal{"OrientationTooLarge",
                {"in.spec", "0", "99999999", "0", "2", "bay.eng", "1e7"},
                oneStep(),
                "the local shoreline orientation (degrees): must lie within 1000000 degrees either way (unit 5, standard "
                "input, line 7)",
                {"bay.dat", "bay.eng", "bay.out", "bay.txt"}},
        Refusal{"OrientationBeyondTheFloats",
                {"in.spec", "0", "99999999", "0", "2", "bay.eng", "1e39"},
                oneStep(),
                "the local shoreline orientation (degrees): \"1e39\" is too large for a number (unit 5, standard input, "
                "line 7)",
                {"bay.dat", "bay.eng", "bay.out", "bay.txt"}},
        Refusal{"TooFewFrequencies",
                {"in.spec", "0", "99999999", "0", "0", "p.out"},
                Ww3Text::withGrid(2, 4).step(20100603, 120000).text,
                "the header gives 2 frequencies; 3 to 50 can be read (unit 11, file \"in.spec\", line 1)",
                {"p.out"}},
        Refusal{"TooManyFrequencies",
                {"in.spec", "0", "99999999", "0", "0", "p.out"},
                Ww3Text::withGrid(51, 4).text,
                "the header gives 51 frequencies; 3 to 50 can be read (unit 11, file \"in.spec\", line 1)",
                {"p.out"}},
        Refusal{"NoDirections",
                {"in.spec", "0", "99999999", "0", "0", "p.out"},
                Ww3Text::withGrid(3, 0).text,
                "the header gives 0 directions; 1 to 50 can be read (unit 11, file \"in.spec\", line 1)",
                {"p.out"}},
        Refusal{"TooManyDirections",
                {"in.spec", "0", "99999999", "0", "0", "p.out"},
                Ww3Text::withGrid(3, 51).text,
                "the header gives 51 directions; 1 to 50 can be read (unit 11, file \"in.spec\", line 1)",
                {"p.out"}},
        Refusal{"SpectrumCutShort",
                {"in.spec", "0", "99999999", "0", "0", "p.out"},
                oneStep().substr(0, oneStep().rfind('\n', oneStep().size() - 2) + 1),
                "end of file reached during a read (unit 11, file \"in.spec\", after line 6)",
                {"p.out"}},
        Refusal{"BadPointLine",
                {"in.spec", "0", "99999999", "0", "0", "p.out"},
                Ww3Text::withGrid(3, 4).text + "20100603 120000\n'44097     '  40.98 -71.12      4x.6\n",
                "invalid number \"   4x.6\" at column 30 (unit 11, file \"in.spec\", line 5)",
                {"p.out"}}),
    [](const ::testing::TestParamInfo<Refusal>& info) { return info.param.name; });

TEST(RunRefusal, ExistingOutputsKeepTheirContentsWhenNoLineReachesThem) {
    TempFolder folder;
    writeFile(folder / "in.spec", Ww3Text::withGrid(60, 4).text);
    writeFile(folder / "p.out", "earlier run\r\n");
    const ProgramRun run = runProgram(folder.path(), answerLines({"in.spec", "0", "99999999", "0", "0", "p.out"}));
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(readFile(folder / "p.out"), "earlier run\r\n");
}

TEST(TimeLineWarning, AnUnreadableTimeLineEndsTheRunIncompleteWithAWarning) {
    TempFolder folder;
    writeFile(folder / "in.spec", Ww3Text::withGrid(3, 4).step(20100603, 120000).text + "2010O603 130000\n");
    const ProgramRun run = runProgram(folder.path(), answerLines({"in.spec", "0", "99999999", "0", "0", "p.out"}));
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.errors,
              "ww3-brevolan: warning: the time line at line 8 of \"in.spec\" cannot be read (syntax error in "
              "free-form input: \"2010O603\"); the run ends there and the time steps after it are not converted: "
              "mend the line or fetch the file again\r\n");
    const std::string written = readFile(folder / "p.out");
    EXPECT_EQ(std::count(written.begin(), written.end(), '\n'), 1);
}

TEST(TimeLineWarning, ASecondPointIsReadAsAPointNotAsATimeLine) {
    TempFolder folder;
    Ww3Text file = Ww3Text::withGrid(3, 4).step(20100603, 120000);
    // A second point's line and a block cut short where the next time line would be.
    file.text += pointLine(20.0f, 1.0f, 90.0f) + "\n" + std::string(" 0.1 0.2 0.3\n");
    writeFile(folder / "in.spec", file.text);
    const ProgramRun run = runProgram(folder.path(), answerLines({"in.spec", "0", "99999999", "0", "0", "p.out"}));
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.errors.find("cannot be read"), std::string::npos) << run.errors;
    EXPECT_NE(run.errors.find("error: point 2 \"44097\": "), std::string::npos) << run.errors;
}

TEST(RunRefusal, AWriteThatFailsStopsTheRunBeforeTheNextStep) {
    // The full-plane file lies on a full device: the run stops at its first line, before
    // the depth question, and the mode-2 files receive nothing.
    TempFolder folder;
    writeFile(folder / "in.spec", oneStep());
    std::filesystem::create_symlink("/dev/full", folder / "bay.out");
    const ProgramRun run =
        runProgram(folder.path(), answerLines({"in.spec", "0", "99999999", "0", "2", "bay.eng", "180", "12"}));
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.errors, "ww3-brevolan: error: write failed: No space left on device (unit 12, file \"bay.out\")\r\n");
    EXPECT_EQ(run.output.find("Type the seaward grid boundary depth"), std::string::npos);
    for (const char* name : {"bay.txt", "bay.eng", "bay.dat"}) EXPECT_FALSE(std::filesystem::exists(folder / name)) << name;
}

TEST(DepthQuestion, ASlashLeavesTheBoundaryDepthAtZero) {
    // A zero boundary depth makes the depth ratio infinite; the exponent is capped at 30.
    TempFolder folder;
    writeFile(folder / "in.spec", oneStep());
    const ProgramRun run =
        runProgram(folder.path(), answerLines({"in.spec", "0", "99999999", "0", "2", "bay.eng", "180", "/"}));
    EXPECT_EQ(run.status, 0) << run.errors;
    const std::string table = readFile(folder / "bay.txt");
    EXPECT_EQ(table.substr(table.size() - 14), "      0.0000\r\n");
}

}  // namespace
}  // namespace ww3b
