// The direction list of the WW3 header, read as the wave model writes it (bearings of
// travel): a warning when its grid is not the converter's, and --header-directions, which
// places the directions as listed. Without the option no output byte depends on the list.

#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/program_run.hpp"
#include "ww3/direction_list.hpp"
#include "support/temp_folder.hpp"
#include "support/ww3_text.hpp"

namespace ww3b {
namespace {

using namespace ww3b::testing;

const std::filesystem::path kSource = WW3B_SOURCE_DIR;
constexpr double kTurn = 6.283185307179586;

// The example has 25 frequencies (4 lines) and 24 directions (4 lines of up to 7).
constexpr int kDirections = 24;
constexpr std::size_t kFirstDirectionLine = 5;
constexpr std::size_t kDirectionLines = 4;

// The bearing of travel the wave model lists for the angle theta (counter-clockwise from east).
double listedBearing(double theta) { return std::fmod(1.25 * kTurn - theta + 2 * kTurn, kTurn); }

// Fields of 11 columns, seven to a line, as the wave model writes its direction list.
std::string directionLines(const std::vector<std::string>& fields) {
    std::string text;
    for (std::size_t k = 0; k < fields.size(); ++k) {
        text += std::string(11 - fields[k].size(), ' ') + fields[k];
        if ((k + 1) % 7 == 0 || k + 1 == fields.size()) text += "\n";
    }
    return text;
}

// The example file with its direction lines replaced (or as it is, for no lines).
std::string exampleListing(const std::string& lines) {
    const std::string example = readFile(kSource / "examples/station.spec");
    if (lines.empty()) return example;
    std::size_t begin = 0;
    for (std::size_t n = 0; n < kFirstDirectionLine; ++n) begin = example.find('\n', begin) + 1;
    std::size_t end = begin;
    for (std::size_t n = 0; n < kDirectionLines; ++n) end = example.find('\n', end) + 1;
    return example.substr(0, begin) + lines + example.substr(end);
}

// The directions as counter-clockwise angles 0, 15, 30, ... degrees in radians: bearings of
// travel that increase, the wrong way round for WW3.
const std::string kAscendingAngles =
    "  0.000E+00  0.262E+00  0.524E+00  0.785E+00  0.105E+01  0.131E+01  0.157E+01\n"
    "  0.183E+01  0.209E+01  0.236E+01  0.262E+01  0.288E+01  0.314E+01  0.340E+01\n"
    "  0.367E+01  0.393E+01  0.419E+01  0.445E+01  0.471E+01  0.497E+01  0.524E+01\n"
    "  0.550E+01  0.576E+01  0.602E+01\n";

struct ModeTwoRun {
    TempFolder folder;
    ProgramRun result;
    ModeTwoRun(const std::string& spectra, const std::vector<std::string>& arguments = {}) {
        writeFile(folder / "station.spec", spectra);
        result = runProgram(folder.path(), readFile(kSource / "examples/mode2.answers"), arguments);
    }
};

// Everything but standard error is the golden run of the example.
void expectGoldenOutput(const ModeTwoRun& run, const std::string& what) {
    const auto golden = kSource / "tests/run/golden/mode2";
    EXPECT_EQ(run.result.status, 0) << what;
    EXPECT_EQ(run.result.output, readFile(golden / "console.txt")) << what;
    for (const char* name : {"station.out", "station.txt", "station.eng", "station.dat"}) {
        EXPECT_EQ(readFile(run.folder / name), readFile(golden / name)) << what << " " << name;
    }
}

// The example's grid as the wave model lists it with the offset theta0 (three digits),
// or the same within three-digit rounding: four decimals 0.0004 off, some fields without
// a point (three implied decimals).
std::string ww3Lines(double theta0, bool roughly = false) {
    std::vector<std::string> fields;
    for (int j = 0; j < kDirections; ++j) {
        const double value = listedBearing(theta0 + kTurn * j / kDirections);
        char text[24];
        if (!roughly) {
            std::snprintf(text, sizeof text, "%.2E", value);  // d.ddE+xx, three digits like 0.dddE
        } else if (j % 5 == 4) {
            std::snprintf(text, sizeof text, "%d", static_cast<int>(std::lround(value * 1000)));
        } else {
            std::snprintf(text, sizeof text, "%.4f", std::fabs(value + (j % 2 ? 0.0004 : -0.0004)));
        }
        fields.push_back(text);
    }
    return directionLines(fields);
}

TEST(DirectionWarning, TheVerdictChangesStandardErrorOnly) {
    struct Case {
        const char* what;
        std::string lines;
        std::vector<std::string> arguments;
        std::string errors;
    };
    const std::string where = " (unit 11, file \"station.spec\", line 6)\r\n";
    const Case cases[] = {
        {"the assumed grid", ww3Lines(0, true), {}, ""},
        {"the assumed grid, option", ww3Lines(0, true), {"--header-directions"}, ""},
        {"half a bin", ww3Lines(kTurn / 48), {},
         "ww3-brevolan: warning: the directions lie 7.5 degrees counter-clockwise of the converter's grid: every "
         "mean direction written is 7.5 degrees too large; see --header-directions" + where},
        {"half a bin, quiet", ww3Lines(kTurn / 48), {"--quiet"}, ""},
        {"ascending angles", kAscendingAngles, {},
         "ww3-brevolan: warning: the direction list of the WW3 file is not as WW3 writes it: the listed bearings "
         "increase by 15 degrees from one direction to the next, while WW3 lists them decreasing (counter-clockwise "
         "turns); the list reads 0, 0.262, 0.524, ... radians, that is bearings of travel 0, 15, 30, ... degrees. "
         "The converter places direction j at (j - 1) x 15 degrees counter-clockwise from east whatever the list "
         "says, so its mean directions and its half plane follow that grid; --header-directions refuses such a "
         "list" + where},
    };
    for (const Case& c : cases) {
        ModeTwoRun run(exampleListing(c.lines), c.arguments);
        expectGoldenOutput(run, c.what);
        EXPECT_EQ(run.result.errors, c.errors) << c.what;
    }
    // The offset warning is read at a glance: at most 240 characters, whatever the turn.
    const std::string turn = directionOffsetWarning(judgeDirectionList(std::vector<float>{1.356f, 6.069f, 4.498f, 2.927f}));
    ASSERT_NE(turn.find("12.3 degrees"), std::string::npos) << turn;
    const std::string widest =
        "ww3-brevolan: warning: " + turn + " (unit 11, file \"" + std::string(30, 'x') + "\", line 12)\r\n";
    EXPECT_LE(widest.size(), 240u) << widest;
}

TEST(DirectionWarning, WithTheOptionAListThatIsNoGridStopsTheRunBeforeAnyFileIsMade) {
    ModeTwoRun run(exampleListing(kAscendingAngles), {"--header-directions"});
    EXPECT_EQ(run.result.status, 2);
    EXPECT_EQ(run.result.errors,
              "ww3-brevolan: error: --header-directions cannot place the directions as listed: the listed bearings "
              "increase by 15 degrees from one direction to the next, while WW3 lists them decreasing "
              "(counter-clockwise turns); the list reads 0, 0.262, 0.524, ... radians, that is bearings of travel 0, "
              "15, 30, ... degrees (unit 11, file \"station.spec\", line 6)\r\n");
    const std::string console = readFile(kSource / "tests/run/golden/mode2/console.txt");
    EXPECT_EQ(run.result.output, console.substr(0, console.find("\r\n", console.find("\r\n") + 2) + 2));
    EXPECT_EQ(filesIn(run.folder.path()), std::vector<std::string>{"station.spec"});
}

// The mean direction field (the ninth) of every line of a parameter file.
std::vector<double> meanDirections(const std::string& file) {
    std::vector<double> directions;
    std::istringstream lines(file);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream fields(line);
        std::string field;
        for (int k = 0; k < 9; ++k) fields >> field;
        directions.push_back(std::stod(field));
    }
    return directions;
}

// The compass bearing written for the angle theta in degrees, above 0 up to 360.
double writtenBearing(double thetaDegrees) {
    const double bearing = std::fmod(270.0 - thetaDegrees + 720.0, 360.0);
    return bearing == 0 ? 360.0 : bearing;
}

double bearingDifference(double a, double b) { return std::remainder(a - b, 360.0); }

TEST(HeaderDirections, NarrowBeamsComeFromTheBearingTheFileMeans) {
    struct Case {
        int nd;
        double theta0;  // degrees
        std::vector<int> beams;  // the one direction (from 0) of each time step
    };
    // Shoreline 270: the half plane takes the waves travelling from 2.5 to 177.5 degrees.
    const Case cases[] = {{24, 0, {2, 4, 6, 9}}, {24, 7.5, {2, 4, 6, 9}}, {36, 0, {3, 7, 9, 14}},
                          {36, 5, {3, 7, 9, 14}}};
    for (const Case& c : cases) {
        Ww3Text spectra = Ww3Text::withGrid(3, c.nd, c.theta0 * kTurn / 360);
        for (std::size_t t = 0; t < c.beams.size(); ++t) {
            const int beam = c.beams[t];
            spectra.step(20100603, static_cast<int>(t) * 10000, 46.6f, 5.2f, 180.0f,
                         [beam](int i, int j) { return i == 1 && j == beam ? 2.0f : 0.0f; });
        }
        const double step = 360.0 / c.nd;
        const int slotShift = static_cast<int>(std::lround(c.theta0));
        // The regridding spreads direction j over the slots of its angle + (w - 17) / 2.
        const double regridded = (step - 17.0) / 2;
        for (bool option : {false, true}) {
            TempFolder folder;
            writeFile(folder / "in.spec", spectra.text);
            const ProgramRun run =
                runProgram(folder.path(), answerLines({"in.spec", "0", "99999999", "0", "2", "bay.eng", "270", "46.6"}),
                           option ? std::vector<std::string>{"--header-directions"} : std::vector<std::string>{});
            ASSERT_EQ(run.status, 0) << run.errors;
            const std::vector<double> full = meanDirections(readFile(folder / "bay.out"));
            const std::vector<double> half = meanDirections(readFile(folder / "bay.dat"));
            ASSERT_EQ(full.size(), c.beams.size());
            for (std::size_t t = 0; t < c.beams.size(); ++t) {
                const double theta = c.theta0 + c.beams[t] * step;
                const double from = writtenBearing(theta);  // where the waves come from
                // Without the option every direction is turned theta0 clockwise.
                const double expected = option ? from : from + c.theta0;
                const std::string what = std::to_string(c.nd) + " " + std::to_string(c.theta0) + " beam " +
                                         std::to_string(c.beams[t]) + (option ? " option" : "");
                EXPECT_LE(std::fabs(bearingDifference(full[t], expected)), 0.5) << what << ": " << full[t];
                const double expectedHalf =
                    (option ? from + (c.theta0 - slotShift) : from + c.theta0) - regridded;
                EXPECT_LE(std::fabs(bearingDifference(half[t], expectedHalf)), 0.6) << what << ": " << half[t];
            }
        }
    }
}

}  // namespace
}  // namespace ww3b
