#include "spectral/full_plane_parameters.hpp"

#include <cmath>
#include <initializer_list>
#include <random>
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

// The band sums row by row and the weighted sums column by column in plain double loops,
// as the rows four at a time and the weighted sums side by side must reproduce them bit
// for bit.
template <std::size_t Width>
void expectPlainSums(const std::array<std::array<float, Width>, kMaxFrequencies>& rows, int nf, int columns,
                     const SpectralGrid& grid) {
    SpectrumSums plain;
    for (int i = 0; i < nf; ++i) {
        for (int column = 0; column < columns; ++column) plain.bands[i] += static_cast<double>(rows[i][column]);
    }
    for (int column = 0; column < columns; ++column) {
        for (int i = 0; i < nf; ++i) {
            plain.cosineSum += static_cast<double>(rows[i][column]) * grid.directionCosines[column];
            plain.sineSum += static_cast<double>(rows[i][column]) * grid.directionSines[column];
        }
    }
    const SpectrumSums walked = spectrumSums(nf, rows, columns, grid.directionCosines.data(),
                                             grid.directionSines.data());
    EXPECT_EQ(walked.bands, plain.bands);
    EXPECT_EQ(std::tuple(walked.cosineSum, walked.sineSum), std::tuple(plain.cosineSum, plain.sineSum));
}

TEST(FullPlaneParameters, VectorSumsGiveThePlainLoopsBitForBit) {
    std::mt19937 random(2024);
    std::uniform_real_distribution<float> density(0.0f, 3.0f);
    SpectralGrid grid{.frequencyCount = 50, .directionCount = 36};
    for (int i = 0; i < 50; ++i) grid.frequencies[i] = 0.035f * std::pow(1.1f, static_cast<float>(i));
    completeSpectralGrid(grid);
    for (int trial = 0; trial < 200; ++trial) {
        InputRecord record;
        std::array<std::array<float, 35>, kMaxFrequencies> half{};
        for (int i = 0; i < 50; ++i) {
            // Zeros in a pattern, values of every size in between, one negative.
            for (int j = 0; j < 36; ++j) record.spectrum[i][j] = (i + j + trial) % 3 == 0 ? 0.0f : density(random);
            for (int k = 0; k < 35; ++k) half[i][k] = density(random) * (trial % 2 == 0 ? 1e-6f : 1e3f);
        }
        record.spectrum[7][trial % 36] = -density(random);
        expectPlainSums(record.spectrum, 50, 36, grid);
        expectPlainSums(half, 50, 35, grid);
        // Rows and columns beyond whole groups of four.
        expectPlainSums(record.spectrum, 1 + trial % 50, 1 + trial % 36, grid);
    }
}

}  // namespace
}  // namespace ww3b
