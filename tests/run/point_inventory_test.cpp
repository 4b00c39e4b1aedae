// --list FILE: the inventory of a WW3 point file on standard output (grid, every point of
// the first time step with its position by column and its depth, the span of the time
// steps), nothing written, no question asked; a damaged file gets the usual diagnostic.

#include <string>

#include <gtest/gtest.h>

#include "support/program_run.hpp"
#include "support/temp_folder.hpp"

namespace ww3b {
namespace {

using namespace ww3b::testing;

const std::string kHeader =
    "'WAVEWATCH III SPECTRA'      3     4     3 'spectral resolution for points'\n"
    " 0.500E-01 0.100E+00 0.150E+00\n"
    "  0.157E+01  0.000E+00  0.471E+01  0.314E+01\n";

// 12 densities, seven to a line.
const std::string kBlock =
    "  0.100E-01  0.200E-01  0.300E-01  0.400E-01  0.500E-01  0.600E-01  0.700E-01\n"
    "  0.800E-01  0.900E-01  0.100E+00  0.110E+00  0.120E+00\n";

// Three points a time step; the second with a three-digit longitude run into its latitude,
// the third with a blank inside its name. The first point is deeper at the second step.
std::string timeStep(const std::string& timeLine, const std::string& firstDepth, bool thirdPoint = true) {
    std::string text = timeLine + "\n'44097     '  40.98 -71.12" + firstDepth + "   7.01 225.1   0.08  94.4\n" + kBlock +
                       "'46042     '  36.75-122.40    1800.0   5.00 300.0   0.10  90.0\n" + kBlock;
    if (thirdPoint) text += "'NORTH SEA '  56.50   3.25      45.0   9.10  10.0   0.00   0.0\n" + kBlock;
    return text;
}

const std::string kFile = kHeader + timeStep("20100603 180000", "      46.6") + timeStep("20100604 060000", "      47.0");

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    const auto at = text.rfind(from);
    return text.replace(at, from.size(), to);
}

const std::string kInventory =
    "WW3 point spectra \"multi.spec\" (ASCII)\r\n"
    "Frequencies: 3, 0.05 to 0.15 Hz\r\n"
    "Directions:  4, listed as 90.0, 0.0, 269.9, 179.9 degrees\r\n"
    "Grid check:  the converter's grid\r\n"
    "Points:      3 per time step\r\n"
    "   no  name         latitude  longitude   depth (m)\r\n"
    "    1  44097          40.98     -71.12        46.6\r\n"
    "    2  46042          36.75    -122.40      1800.0\r\n"
    "    3  NORTH SEA      56.50       3.25        45.0\r\n"
    "Time steps:  2, 2010-06-03 18:00 UTC to 2010-06-04 06:00 UTC\r\n";

struct ListCase {
    const char* name;
    std::string file;
    int status;
    std::string output;
    std::string errors;
};

class List : public ::testing::TestWithParam<ListCase> {};

TEST_P(List, PrintsTheInventoryOrTheDiagnostic) {
    const ListCase& c = GetParam();
    TempFolder folder;
    writeFile(folder / "multi.spec", c.file);
    // Answers on standard input would be a conversion's: --list must not read them.
    const ProgramRun run = runProgram(folder.path(), "multi.spec\n0\n99999999\n0\n0\nbay.out\n", {"--list", "multi.spec"});
    EXPECT_EQ(run.status, c.status);
    EXPECT_EQ(run.output, c.output);
    EXPECT_EQ(run.errors, c.errors);
    EXPECT_EQ(filesIn(folder.path()), std::vector<std::string>{"multi.spec"});
}

INSTANTIATE_TEST_SUITE_P(
    MultiPointFiles, List,
    ::testing::Values(
        ListCase{"ThreePoints", kFile, 0,
                 kInventory,
                 ""},
        ListCase{"LaterStepWithoutAPoint",
                 kHeader + timeStep("20100603 180000", "      46.6") +
                     timeStep("20100604 060000", "      47.0", false) + timeStep("20100604 120000", "      47.0"),
                 0,
                 replaced(kInventory, "2, 2010-06-03 18:00 UTC to 2010-06-04 06:00", "3, 2010-06-03 18:00 UTC to 2010-06-04 12:00"),
                 "ww3-brevolan: warning: the time step at line 14 of \"multi.spec\" holds 2 points, the first one 3\r\n"},
        ListCase{"BadValueInALaterPoint", replaced(kFile, "0.110E+00", "0.1X0E+00"), 2, "",
                 "ww3-brevolan: error: syntax error in free-form input: \"0.1X0E+00\" (unit 11, file \"multi.spec\", "
                 "line 23)\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace ww3b
