// The direction list of the WW3 header is never used; a list that is not the assumed grid
// gets one warning on standard error and changes nothing else.

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/program_run.hpp"
#include "support/temp_folder.hpp"

namespace ww3b {
namespace {

using namespace ww3b::testing;

const std::filesystem::path kSource = WW3B_SOURCE_DIR;
constexpr double kTurn = 6.283185307179586;

// The example has 25 frequencies (4 lines) and 24 directions (4 lines of up to 7).
constexpr int kDirections = 24;
constexpr std::size_t kFirstDirectionLine = 5;
constexpr std::size_t kDirectionLines = 4;

// Fields of 11 columns, seven to a line, as the wave model writes its direction list.
std::string directionLines(const std::vector<std::string>& fields) {
    std::string text;
    for (std::size_t k = 0; k < fields.size(); ++k) {
        text += std::string(11 - fields[k].size(), ' ') + fields[k];
        if ((k + 1) % 7 == 0 || k + 1 == fields.size()) text += "\n";
    }
    return text;
}

// The example file with its direction lines replaced.
std::string exampleListing(const std::string& lines) {
    const std::string example = readFile(kSource / "examples/station.spec");
    std::size_t begin = 0;
    for (std::size_t n = 0; n < kFirstDirectionLine; ++n) begin = example.find('\n', begin) + 1;
    std::size_t end = begin;
    for (std::size_t n = 0; n < kDirectionLines; ++n) end = example.find('\n', end) + 1;
    return example.substr(0, begin) + lines + example.substr(end);
}

struct ModeTwoRun {
    TempFolder folder;
    ProgramRun result;
    explicit ModeTwoRun(const std::string& spectra) {
        writeFile(folder / "station.spec", spectra);
        result = runProgram(folder.path(), readFile(kSource / "examples/mode2.answers"));
    }
};

// Everything but standard error is the golden run of the example.
void expectGoldenOutput(const ModeTwoRun& run) {
    const auto golden = kSource / "tests/run/golden/mode2";
    EXPECT_EQ(run.result.status, 0);
    EXPECT_EQ(run.result.output, readFile(golden / "console.txt"));
    for (const char* name : {"station.out", "station.txt", "station.eng", "station.dat"}) {
        EXPECT_EQ(readFile(run.folder / name), readFile(golden / name)) << name;
    }
}

TEST(DirectionWarning, ADecreasingListWarnsOnceAndChangesNoOutput) {
    std::vector<std::string> fields;
    for (int j = 0; j < kDirections; ++j) {
        char text[24];
        std::snprintf(text, sizeof text, "%.3f", std::fmod(kTurn / 4 - kTurn / 48 - kTurn * j / kDirections + kTurn, kTurn));
        fields.push_back(text);
    }
    ModeTwoRun run(exampleListing(directionLines(fields)));
    expectGoldenOutput(run);
    EXPECT_EQ(run.result.errors,
              "ww3-brevolan: warning: the header of \"station.spec\" lists the directions 82.5, 67.5, 52.5, ... "
              "degrees (decreasing, that is clockwise), but the converter takes direction j at (j - 1) x 15 degrees "
              "counter-clockwise from the first direction of the file (0, 15, 30, ... degrees) and never uses the "
              "list; the mean directions and the half-plane spectrum follow that assumed grid\r\n");
}

TEST(DirectionWarning, TheGridWithinThreeDigitRoundingGivesNone) {
    // Four decimals, each value up to 0.0004 rad off the grid, some fields without a
    // point (three implied decimals): all within the precision of a three-digit list.
    std::vector<std::string> fields;
    for (int j = 0; j < kDirections; ++j) {
        const double value = kTurn * j / kDirections + (j % 2 == 0 ? 0.0004 : -0.0004);
        char text[24];
        if (j % 5 == 4) {
            std::snprintf(text, sizeof text, "%d", static_cast<int>(std::lround(value * 1000)));
        } else {
            std::snprintf(text, sizeof text, "%.4f", value);
        }
        fields.push_back(text);
    }
    fields[0] = "6.2830";  // a full turn is the first direction
    ModeTwoRun run(exampleListing(directionLines(fields)));
    expectGoldenOutput(run);
    EXPECT_EQ(run.result.errors, "");
}

}  // namespace
}  // namespace ww3b
