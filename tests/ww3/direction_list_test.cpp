#include "ww3/direction_list.hpp"

#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace ww3b {
namespace {

constexpr double kTurn = 6.283185307179586;

SpectralGrid gridListing(const std::vector<double>& radians) {
    SpectralGrid grid{.frequencyCount = 3, .directionCount = static_cast<int>(radians.size()),
                      .frequencies = {0.05f, 0.1f, 0.15f}};
    for (std::size_t j = 0; j < radians.size(); ++j) grid.directions[j] = static_cast<float>(radians[j]);
    completeSpectralGrid(grid);
    return grid;
}

// A value as the wave model lists it: three significant digits (0.ddd E form).
double threeDigits(double value) {
    if (value == 0) return 0;
    const double scale = std::pow(10.0, std::floor(std::log10(std::fabs(value))) - 2);
    return std::round(value / scale) * scale;
}

std::vector<double> gridList(int nd, double offset = 0, double sense = 1) {
    std::vector<double> list;
    for (int j = 0; j < nd; ++j) {
        const double angle = std::fmod(offset + sense * kTurn * j / nd + 2 * kTurn, kTurn);
        list.push_back(threeDigits(angle));
    }
    return list;
}

TEST(DirectionList, TheGridAsListedWithThreeDigitsIsTheGrid) {
    for (int nd : {1, 4, 7, 24, 25, 36, 50}) {
        const SpectralGrid grid = gridListing(gridList(nd));
        EXPECT_TRUE(directionListIsGrid(grid)) << nd;
        EXPECT_EQ(directionListWarning(grid, "a.spec"), "") << nd;
    }
    // A full turn stands for the first direction; a list from -pi to pi is the same circle.
    std::vector<double> wrapped = gridList(24);
    wrapped[0] = 6.28;
    for (int j = 13; j < 24; ++j) wrapped[static_cast<std::size_t>(j)] = threeDigits(kTurn * j / 24 - kTurn);
    EXPECT_TRUE(directionListIsGrid(gridListing(wrapped)));
}

TEST(DirectionList, ToleranceIsHalfTheLastDigitOfTheListedValue) {
    // 24 directions: 15 degrees = 0.2618 rad keeps three decimals, 60 degrees = 1.0472 rad two.
    struct Case { int j; double shift; bool grid; };
    for (Case c : {Case{1, 0.0004, true}, Case{1, 0.0007, false}, Case{1, -0.0004, true}, Case{4, 0.0045, true},
                   Case{4, 0.0060, false}, Case{4, -0.0045, true}, Case{0, 0.0004, true}, Case{0, 0.0008, false},
                   Case{0, -0.0008, false}}) {
        std::vector<double> list;
        for (int j = 0; j < 24; ++j) list.push_back(kTurn * j / 24);
        list[static_cast<std::size_t>(c.j)] += c.shift;
        EXPECT_EQ(directionListIsGrid(gridListing(list)), c.grid) << c.j << " " << c.shift;
    }
}

TEST(DirectionList, ListsThatAreNotTheGridAndTheirOrder) {
    // The common wave-model list: half a bin below 90 degrees, then clockwise.
    const SpectralGrid decreasing = gridListing(gridList(24, kTurn / 4 - kTurn / 48, -1));
    EXPECT_FALSE(directionListIsGrid(decreasing));
    EXPECT_EQ(directionListOrder(decreasing), DirectionOrder::Decreasing);

    // Counter-clockwise from 0 but clockwise in order: only the first value is right.
    const SpectralGrid mirrored = gridListing(gridList(24, 0, -1));
    EXPECT_FALSE(directionListIsGrid(mirrored));
    EXPECT_EQ(directionListOrder(mirrored), DirectionOrder::Decreasing);

    const SpectralGrid shifted = gridListing(gridList(36, kTurn / 72));
    EXPECT_FALSE(directionListIsGrid(shifted));
    EXPECT_EQ(directionListOrder(shifted), DirectionOrder::Increasing);

    std::vector<double> swapped = gridList(8);
    std::swap(swapped[2], swapped[3]);
    EXPECT_FALSE(directionListIsGrid(gridListing(swapped)));
    EXPECT_EQ(directionListOrder(gridListing(swapped)), DirectionOrder::Unordered);

    EXPECT_FALSE(directionListIsGrid(gridListing({1.57})));
    EXPECT_FALSE(directionListIsGrid(gridListing(std::vector<double>(6, 0.0))));  // a header of zeros
}

TEST(DirectionList, TheWarningSaysWhatIsListedWhatIsAssumedAndWhatFollows) {
    const SpectralGrid decreasing = gridListing(gridList(24, kTurn / 4 - kTurn / 48, -1));
    EXPECT_EQ(directionListWarning(decreasing, "bay.spec"),
              "the header of \"bay.spec\" lists the directions 82.5, 67.6, 52.5, ... degrees (decreasing, that is "
              "clockwise), but the converter takes direction j at (j - 1) x 15 degrees counter-clockwise from the "
              "first direction of the file (0, 15, 30, ... degrees) and never uses the list; the mean directions "
              "and the half-plane spectrum follow that assumed grid");
    const std::string seven = directionListWarning(gridListing(gridList(7, 0.5)), "b.spec");
    EXPECT_NE(seven.find("(increasing)"), std::string::npos) << seven;
    EXPECT_NE(seven.find("(j - 1) x 51.43 degrees"), std::string::npos) << seven;
    EXPECT_NE(seven.find("(0, 51.43, 102.86, ... degrees)"), std::string::npos) << seven;
    const std::string two = directionListWarning(gridListing({3.14, 0.0}), "c.spec");
    EXPECT_NE(two.find("lists the directions 179.9, 0 degrees"), std::string::npos) << two;
    EXPECT_NE(two.find("(0, 180 degrees)"), std::string::npos) << two;
}

}  // namespace
}  // namespace ww3b
