#include "spectral/full_plane_parameters.hpp"

#include <cmath>
#include <initializer_list>
#include <tuple>

#include <gtest/gtest.h>

namespace ww3b {
namespace {

struct Cell { int i, j; float e; };

// Five frequencies (bandwidths 0.01, 0.01, 0.01, 0.015, 0.015) and 24 directions.
FullPlaneParameters fullPlane(std::initializer_list<Cell> cells, float scale = 1, float listed = 0) {
    SpectralGrid grid{.frequencyCount = 5, .directionCount = 24, .frequencies = {0.05f, 0.06f, 0.07f, 0.08f, 0.1f}};
    grid.directions.fill(listed);
    completeSpectralGrid(grid);
    InputRecord record;
    for (Cell c : cells) record.spectrum[c.i][c.j] = c.e * scale;
    return computeFullPlaneParameters(grid, record);
}

TEST(FullPlaneParameters, ExactFloatResultsOfAMixedSpectrum) {
    const FullPlaneParameters p = fullPlane({{0, 0, 0.25f}, {1, 3, 1.5f}, {1, 4, 2}, {2, 20, 0.25f}, {3, 14, 1}, {4, 10, 0.25f}});
    // Expected values from an independent Python script: float32 rounding by struct pack/unpack
    // at every store, double arithmetic in the same order, libm cos/sin/atan2. Adding the rounded
    // band energies would give a total of 0.0587500036; angles rounded to float, 211.579956.
    EXPECT_EQ(std::tuple(p.totalEnergy, p.firstMoment, p.peakBand, p.significantHeight, p.peakPeriod, p.meanPeriod,
                         p.meanDirection),
              std::tuple(0.0587499999f, 0.00397499977f, 1, 0.496076047f, 16.6666679f, 14.7798748f, 211.579941f));
}

TEST(FullPlaneParameters, PeakBandIsTheFirstStrictMaximum) {
    for (int band : {0, 2, 4}) {
        const FullPlaneParameters p = fullPlane({{band, 7, 3}});
        EXPECT_EQ(p.peakBand, band);
        EXPECT_FLOAT_EQ(p.meanPeriod, p.peakPeriod);
    }
    EXPECT_EQ(fullPlane({{1, 0, 2}, {2, 5, 2}}).peakBand, 1);  // equal bandwidths, equal energies
    const FullPlaneParameters empty = fullPlane({});  // no guard: 0/0, and atan2(0, 0) = 0 is 270
    EXPECT_TRUE(empty.peakBand == 0 && empty.significantHeight == 0 && std::isnan(empty.meanPeriod));
    EXPECT_EQ(empty.meanDirection, 270.0f);
}

TEST(FullPlaneParameters, MeanDirectionIsTheCompassBearingOfTheEnergy) {
    // 270 and 360 are exact (360 never becomes 0); the quarter turns round onto 180 and 90;
    // two adjacent directions (255 and 240) give the bearing halfway.
    for (auto [j, bearing] : {std::pair{0, 270.0f}, {6, 180.0f}, {12, 90.0f}, {18, 360.0f}})
        EXPECT_EQ(fullPlane({{3, j, 1}}).meanDirection, bearing) << j;
    EXPECT_EQ(fullPlane({{3, 1, 1}, {3, 2, 1}}).meanDirection, 247.5f);
}

TEST(FullPlaneParameters, DoublingScalesOnlyTheHeightAndListedDirectionsPlayNoPart) {
    const auto cells = {Cell{1, 2, 0.3f}, Cell{3, 9, 0.7f}, Cell{4, 15, 0.2f}};
    const FullPlaneParameters once = fullPlane(cells), twice = fullPlane(cells, 2, 123);
    EXPECT_EQ(std::tuple(twice.peakBand, twice.peakPeriod, twice.meanPeriod, twice.meanDirection),
              std::tuple(once.peakBand, once.peakPeriod, once.meanPeriod, once.meanDirection));
    EXPECT_FLOAT_EQ(twice.significantHeight, once.significantHeight * std::sqrt(2.0f));
}

}  // namespace
}  // namespace ww3b
