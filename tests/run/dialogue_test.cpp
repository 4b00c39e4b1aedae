// The console dialogue end to end: the real binary, answers piped in, in a fresh folder.

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

std::string consoleLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) text += line + "\r\n";
    return text;
}

long lineCount(const std::string& text) { return std::count(text.begin(), text.end(), '\n'); }

std::string nameLine(const std::string& name) { return "     " + name + std::string(30 - name.size(), ' '); }

const std::vector<std::string> kCommonPrompts = {
    " Type in an WW3 directional data filename",
    "         (e.g., enp.eka65.spec)",
    "  ",
    " input starting time stamp (yymmddhh or 0)",
    " input ending time stamp (yymmddhh or 99999999)",
    "  ",
    " Type 0 to output all available results",
    "   or n to output exact every n-hr data",
    "  ",
    " Type 1 to write a full 2-D spectral file",
    "   or 2 to write a Brevolan spectral file",
    "   or 0 to skip:",
    "  "};

std::vector<std::string> promptsThen(std::vector<std::string> rest) {
    std::vector<std::string> all = kCommonPrompts;
    all.insert(all.end(), rest.begin(), rest.end());
    return all;
}

struct DialogueRun {
    TempFolder folder;
    ProgramRun result;
    DialogueRun(const std::vector<std::string>& answers, const std::string& spectra) {
        writeFile(folder / "in.spec", spectra);
        result = runProgram(folder.path(), answerLines(answers));
    }
    std::vector<std::string> files() const { return filesIn(folder.path()); }
    std::string file(const std::string& name) const { return readFile(folder / name); }
};

std::string twoSteps() { return Ww3Text::withGrid(3, 4).step(20100603, 120000).step(20100603, 130000).text; }

TEST(Dialogue, ModeZeroAsksForTheParameterFileOnly) {
    DialogueRun run({"in.spec", "0", "99999999", "0", "0", "bay.out"}, twoSteps());
    EXPECT_EQ(run.result.status, 0) << run.result.errors;
    EXPECT_EQ(run.result.errors, "");
    EXPECT_EQ(run.result.output,
              consoleLines(promptsThen({" Type output full-plane wave filename (*.out)", "  ",
                                        " *** Output WW3 full-plane wave parameter file", nameLine("bay.out")})));
    EXPECT_EQ(run.files(), (std::vector<std::string>{"bay.out", "in.spec"}));
}

TEST(Dialogue, ModeOneDerivesTheParameterFileFromTheSpectrumName) {
    DialogueRun run({"in.spec", "0", "99999999", "0", "1", "bay.eng"}, twoSteps());
    EXPECT_EQ(run.result.status, 0) << run.result.errors;
    EXPECT_EQ(run.result.output,
              consoleLines(promptsThen({" Type output spectrum filename (*.eng)", "  ",
                                        " *** Output WW3 full-plane wave parameter file", nameLine("bay.out"),
                                        " *** Output full-plane 2-D wave spectral file", nameLine("bay.eng")})));
    EXPECT_EQ(run.files(), (std::vector<std::string>{"bay.eng", "bay.out", "in.spec"}));
}

TEST(Dialogue, ModeTwoOpensFourFilesAsksTheShorelineAndTheDepthOnce) {
    DialogueRun run({"in.spec", "0", "99999999", "0", "2", "bay.eng", "180", "12.0"}, twoSteps());
    EXPECT_EQ(run.result.status, 0) << run.result.errors;
    EXPECT_EQ(run.result.output,
              consoleLines(promptsThen({" Type output spectrum filename (*.eng)", "  ",
                                        " *** Output WW3 full-plane wave parameter file", nameLine("bay.out"),
                                        " *** Output Brevolan parameter file", nameLine("bay.txt"),
                                        "     Output Brevolan spectrum file", nameLine("bay.eng"),
                                        "     Output half-plane parameter file", nameLine("bay.dat"), "  ",
                                        " *** Type the local shoreline orientation (y-axis)",
                                        "     in polar coordinates (deg, positive from North",
                                        "     covering the sea, e.g., 180 deg for St Marys,", "     Entrance, FL/GA)",
                                        "  ", " WW3 save location depth (m) =   46.60000    ", "  ",
                                        " Type the seaward grid boundary depth (m)"})));
    EXPECT_EQ(run.files(), (std::vector<std::string>{"bay.dat", "bay.eng", "bay.out", "bay.txt", "in.spec"}));
}

struct Derivation {
    std::string mode;
    std::string typed;
    std::vector<std::string> files;
};

class OutputNames : public ::testing::TestWithParam<Derivation> {};

TEST_P(OutputNames, FollowTheFirstDotOfTheTypedName) {
    const Derivation& c = GetParam();
    DialogueRun run({"in.spec", "0", "99999999", "0", c.mode, c.typed, "180", "12"}, twoSteps());
    EXPECT_EQ(run.result.status, 0) << run.result.errors;
    EXPECT_EQ(run.files(), c.files);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OutputNames,
    ::testing::Values(Derivation{"2", "bay.spec", {"bay.datc", "bay.outc", "bay.spec", "bay.txtc", "in.spec"}},
                      Derivation{"2", "a.b.eng", {"a.b.eng", "a.datng", "a.outng", "a.txtng", "in.spec"}},
                      Derivation{"2", "bay.", {"bay.", "bay.dat", "bay.out", "bay.txt", "in.spec"}},
                      // Any other mode: the spectrum prompt, the derived parameter file only.
                      Derivation{"3", "bay.eng", {"bay.out", "in.spec"}},
                      Derivation{"-1", "bay.eng", {"bay.out", "in.spec"}},
                      // Mode 0 takes the name as typed, with or without a dot, blanks around it dropped.
                      Derivation{"0", "results", {"in.spec", "results"}},
                      Derivation{"0", "   lead.out   ", {"in.spec", "lead.out"}},
                      // A name keeps its first 30 characters; what follows a blank after them is a comment.
                      Derivation{"0", "abcdefghijklmnopqrstuvwxyz0123 6789.out",
                                 {"abcdefghijklmnopqrstuvwxyz0123", "in.spec"}}));

TEST(Dialogue, OtherModesAskNoMoreAndRunAsModeZero) {
    DialogueRun run({"in.spec", "0", "99999999", "0", "3", "bay.eng"}, twoSteps());
    EXPECT_EQ(run.result.output,
              consoleLines(promptsThen({" Type output spectrum filename (*.eng)", "  ",
                                        " *** Output WW3 full-plane wave parameter file", nameLine("bay.out")})));
    EXPECT_EQ(lineCount(run.file("bay.out")), 2);
}

TEST(Dialogue, NameLinesShowTheWholeFieldAsTyped) {
    DialogueRun run({"in.spec", "0", "99999999", "0", "0", "  lead.out"}, twoSteps());
    EXPECT_NE(run.result.output.find("\r\n" + nameLine("  lead.out") + "\r\n"), std::string::npos);
}

TEST(Dialogue, AnswersParsedByTheFreeFormRules) {
    // An empty line is passed over, a second value on the line is ignored, 2*3 gives 3.
    DialogueRun run({"in.spec", "", "0 5", "99999999", "2*3", "0", "bay.out"},
            Ww3Text::withGrid(3, 4).step(20100603, 120000).step(20100603, 130000).step(20100603, 150000).text);
    EXPECT_EQ(run.result.status, 0) << run.result.errors;
    // Interval 3: hours 12 and 15 are written, 13 is not.
    EXPECT_EQ(lineCount(run.file("bay.out")), 2);
}

}  // namespace
}  // namespace ww3b
