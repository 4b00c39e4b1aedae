#include "ww3/direction_list.hpp"

#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "spectral/one_degree_spectrum.hpp"

namespace ww3b {
namespace {

constexpr double kTurn = 6.283185307179586;
constexpr double kDegree = kTurn / 360;

// A value as the wave model lists it: three significant digits (0.ddd E form).
double threeDigits(double value) {
    if (value == 0) return 0;
    const double scale = std::pow(10.0, std::floor(std::log10(std::fabs(value))) - 2);
    return std::round(value / scale) * scale;
}

// The list the wave model writes for direction j at theta0 + sense j 2 pi / nd
// counter-clockwise from east: bearings of travel (5 pi / 2 - theta_j) mod 2 pi, with
// three digits (or exact).
std::vector<float> ww3List(int nd, double theta0Degrees = 0, int sense = 1, bool rounded = true) {
    std::vector<float> list;
    for (int j = 0; j < nd; ++j) {
        const double theta = theta0Degrees * kDegree + sense * kTurn * j / nd;
        const double bearing = std::fmod(1.25 * kTurn - theta + 4 * kTurn, kTurn);
        list.push_back(static_cast<float>(rounded ? threeDigits(bearing) : bearing));
    }
    return list;
}

std::vector<float> shifted(std::vector<float> list, std::vector<std::pair<int, double>> shifts) {
    for (auto [j, by] : shifts) list[static_cast<std::size_t>(j)] += static_cast<float>(by);
    return list;
}

struct VerdictCase {
    const char* what;
    std::vector<float> listed;
    DirectionGrid grid;
    double offsetDegrees = 0;
    bool reversed = false;
};

TEST(DirectionList, VerdictOnListsAsTheWaveModelWritesThemAndOthers) {
    std::vector<float> fullTurn = ww3List(24);
    fullTurn[6] = 6.28f;  // the bearing 0 written as a full turn
    std::vector<float> swapped = ww3List(8);
    std::swap(swapped[2], swapped[3]);
    std::vector<float> fiveDegreeSteps;
    for (int j = 0; j < 36; ++j) fiveDegreeSteps.push_back(static_cast<float>(threeDigits(kTurn / 4 - 5 * kDegree * j)));
    const VerdictCase cases[] = {
        {"nd 1", ww3List(1), DirectionGrid::Assumed},
        {"nd 4", ww3List(4), DirectionGrid::Assumed},
        {"nd 7", ww3List(7), DirectionGrid::Assumed},
        {"nd 24", ww3List(24), DirectionGrid::Assumed},
        {"nd 36", ww3List(36), DirectionGrid::Assumed},
        {"nd 50", ww3List(50), DirectionGrid::Assumed},
        {"a full turn for bearing 0", fullTurn, DirectionGrid::Assumed},
        // Half a unit of the last digit: the third decimal below 1 rad, the second above.
        {"within 0.0004 at 0.262", shifted(ww3List(24, 0, 1, false), {{5, 0.0004}, {4, -0.0004}}), DirectionGrid::Assumed},
        {"within 0.0045 at 1.31", shifted(ww3List(24, 0, 1, false), {{1, 0.0045}, {2, -0.0045}}), DirectionGrid::Assumed},
        {"0.0007 out at 0.262", shifted(ww3List(24, 0, 1, false), {{5, 0.0007}, {4, -0.0007}}), DirectionGrid::Irregular},
        {"0.006 out at 1.31", shifted(ww3List(24, 0, 1, false), {{1, 0.006}, {2, -0.006}}), DirectionGrid::Irregular},
        {"half a bin, nd 36", ww3List(36, 5), DirectionGrid::Offset, 5},
        {"half a bin, nd 24", ww3List(24, 7.5), DirectionGrid::Offset, 7.5},
        {"half a bin, nd 50", ww3List(50, 3.6), DirectionGrid::Offset, 3.6},
        {"turned clockwise", ww3List(36, -5), DirectionGrid::Offset, -5},
        {"a single direction, 1.48 rad", {1.48f}, DirectionGrid::Offset, 5},
        {"angles instead of bearings", ww3List(24, 90, -1), DirectionGrid::Irregular, 0, true},
        {"half a bin, reversed", ww3List(36, 95, -1), DirectionGrid::Irregular, 0, true},
        {"two values swapped", swapped, DirectionGrid::Irregular},
        {"another step", fiveDegreeSteps, DirectionGrid::Irregular},
        {"a header of zeros", std::vector<float>(6, 0.0f), DirectionGrid::Irregular},
        {"not a number", shifted(ww3List(4), {{2, NAN}}), DirectionGrid::Irregular},
        {"beyond a turn", {1.57f, 1e30f, 4.71f, 3.14f}, DirectionGrid::Irregular},
    };
    for (const VerdictCase& c : cases) {
        const DirectionListVerdict verdict = judgeDirectionList(c.listed);
        EXPECT_EQ(verdict.grid, c.grid) << c.what;
        EXPECT_NEAR(verdict.offset, c.offsetDegrees * kDegree, 1e-12) << c.what;
        EXPECT_EQ(verdict.reversed, c.reversed) << c.what;
        EXPECT_EQ(directionListWarning(verdict, c.listed).empty(), c.grid == DirectionGrid::Assumed) << c.what;
    }
}

// The exact texts of a counter-clockwise turn and of reversed bearings are checked on
// whole runs; here the other sense and the other kind of irregular list.
TEST(DirectionList, WarningsStateTheTurnItsSenseAndWhatToDo) {
    const std::string clockwise = directionListWarning(judgeDirectionList(ww3List(24, -7.5)), ww3List(24, -7.5));
    for (const char* words : {"lie 7.5 degrees clockwise", "at (j - 1) x 15 - 7.5 degrees", "7.5 degrees too small "
                              "(turned counter-clockwise)", "ANGLE(1) is 7.5 degrees too large", "7.5 degrees larger"}) {
        EXPECT_NE(clockwise.find(words), std::string::npos) << words << "\n" << clockwise;
    }
    const std::vector<float> zeros(6, 0.0f);
    EXPECT_EQ(directionListRefusal(judgeDirectionList(zeros), zeros),
              "--header-directions cannot place the directions as listed: the list is not a regular grid of "
              "60-degree steps in WW3's order (bearings of travel decreasing by 60 degrees from one direction to the "
              "next); the list reads 0, 0, 0, ... radians, that is bearings of travel 0, 0, 0, ... degrees");
    for (const std::string& text : {directionListWarning(judgeDirectionList(zeros), zeros), clockwise}) {
        EXPECT_EQ(text.find("reorder"), std::string::npos) << text;
    }
}

TEST(DirectionList, PlacedAsListedTheGridTurnsItsAnglesAndItsSlots) {
    struct Case { int nd; double theta0Degrees; int slotShift; };
    for (Case c : {Case{36, 5, 5}, Case{24, 7.5, 8}, Case{24, -7.5, -8}, Case{50, 3.6, 4}, Case{4, 180, 180}}) {
        SpectralGrid grid{.frequencyCount = 3, .directionCount = c.nd, .frequencies = {0.05f, 0.1f, 0.15f}};
        completeSpectralGrid(grid);
        const SpectralGrid plain = grid;
        placeDirectionsFrom(grid, c.theta0Degrees * kDegree);
        EXPECT_EQ(grid.slotShift, c.slotShift) << c.nd << " " << c.theta0Degrees;
        // Slot m takes what slot m - s takes without the placing.
        for (int m = 1; m <= kOneDegreeSlots; ++m) {
            const int from = ((m - c.slotShift - 1) % 360 + 360) % 360 + 1;
            EXPECT_EQ(directionOfSlot(grid, m), directionOfSlot(plain, from)) << c.nd << " slot " << m;
        }
        for (int j = 0; j < c.nd; ++j) {
            const double theta = c.theta0Degrees * kDegree + kTurn * j / c.nd;
            EXPECT_NEAR(grid.directionCosines[j], std::cos(theta), 1e-6);
            EXPECT_NEAR(grid.directionSines[j], std::sin(theta), 1e-6);
        }
    }
}

}  // namespace
}  // namespace ww3b
