#include "spectral/half_plane_spectrum.hpp"

#include <cmath>
#include <numbers>
#include <tuple>

#include <gtest/gtest.h>

namespace ww3b {
namespace {

TEST(HalfPlaneFold, BinTakesItsFiveSlots) {
    struct Case { float shoreAngle; int bin, firstSlot; };  // firstSlot and the four after it
    for (Case c : {Case{180, -17, 93}, Case{180, 0, 178}, Case{180, 17, 263}, Case{360, 0, 358}, Case{80, -17, 353},
                   Case{80, -16, 358}, Case{80.7f, 0, 78}, Case{80.5f, 1, 83}, Case{-100.5f, 0, 257}, Case{1e6f, 0, 278}}) {
        FullPlaneSpectrum s;
        for (int t = 0; t < 5; ++t) s.at(0, (c.firstSlot + t - 1) % 360 + 1) = 5;
        HalfPlaneSpectrum h;
        foldToHalfPlane(s, 1, c.shoreAngle, h);
        EXPECT_EQ(h.at(0, c.bin), 5.0f) << c.shoreAngle << " " << c.bin;  // only those five slots make 5
    }
}

TEST(HalfPlaneFold, SeamBinAddsItsSlotsFromTheFirstOnward) {
    // Slots 358, 359, 360, 1, 2 in that order: 2^24 + 1 rounds back to 2^24 twice; starting
    // from slots 1 and 2 would give 2^24 + 2.
    FullPlaneSpectrum s;
    s.at(0, 358) = 5 * 16777216.0f;
    s.at(0, 1) = s.at(0, 2) = 5;
    HalfPlaneSpectrum h;
    foldToHalfPlane(s, 1, 360, h);
    EXPECT_EQ(h.at(0, 0), 16777216.0f);
    foldToHalfPlane(s, 1, INFINITY, h);  // no slot stands for it
    EXPECT_TRUE(std::isnan(h.at(0, 0)));
}

TEST(HalfPlaneDepthFactor, CosinePowerAlikeOnBothSidesAndOneAtTheCentre) {
    struct Case { float exponent; int bin; double factor; };
    // ln 2 and -ln 2 come from the depth ratios 2 and 1/2.
    for (Case c : {Case{1, 6, 0.866025}, Case{1, 12, 0.5}, Case{1, 17, 0.087156}, Case{0, 17, 1},
                   Case{depthExponentFor(2, 1), 12, 0.618503}, Case{depthExponentFor(2, 1), 17, 0.184276},
                   Case{depthExponentFor(1, 2), 17, 5.426636}}) {
        HalfPlaneSpectrum h;
        h.bins[1].fill(1);
        applyDepthFactor(h, 2, c.exponent);
        EXPECT_NEAR(h.at(1, c.bin), c.factor, 1e-6) << c.exponent << " " << c.bin;
        EXPECT_EQ(h.at(1, -c.bin), h.at(1, c.bin));
        EXPECT_EQ(h.at(1, 0), 1.0f);
    }
    FullPlaneSpectrum uniform;
    for (auto& band : uniform.slots) band.fill(0.3f);
    HalfPlaneSpectrum h;
    foldToHalfPlane(uniform, 3, 123.4f, h);
    applyDepthFactor(h, 3, 1);
    for (int k = -kHalfPlaneReach; k <= kHalfPlaneReach; ++k)
        EXPECT_NEAR(h.at(2, k), 0.3 * std::cos(k * 5 * std::numbers::pi / 180), 1e-7) << "bin " << k;
}

TEST(HalfPlaneDepthExponent, CappedAtThirtyWithoutLowerLimitAndNonFiniteAsItComes) {
    EXPECT_NEAR(depthExponentFor(1, 2), -0.693147f, 1e-6);
    EXPECT_TRUE(depthExponentFor(1.1e13f, 1) == 30 && depthExponentFor(16, 0) == 30 && depthExponentFor(0, 16) == -INFINITY);
    EXPECT_TRUE(std::isnan(depthExponentFor(-16, 16)));
}

HalfPlaneParameters halfPlane(const HalfPlaneSpectrum& h, int directions, float shoreAngle) {
    SpectralGrid grid{.frequencyCount = 5, .directionCount = directions, .frequencies = {0.05f, 0.06f, 0.07f, 0.08f, 0.1f}};
    completeSpectralGrid(grid);
    return computeHalfPlaneParameters(h, grid, shoreAngle);
}

TEST(HalfPlaneParameters, ExactFloatResultsWhateverTheInputDirectionCount) {
    HalfPlaneSpectrum h;
    h.at(0, -3) = 0.4f;
    h.at(1, 5) = 1.1f;
    h.at(3, -17) = 0.9f;
    h.at(4, 17) = 0.2f;
    // Expected values from an independent Python script: float32 rounding by struct pack/unpack
    // at every store, double arithmetic in the same order, libm cos/sin/atan2.
    for (int directions : {24, 36}) {
        const HalfPlaneParameters p = halfPlane(h, directions, 123.4f);
        EXPECT_EQ(std::tuple(p.totalEnergy, p.firstMoment, p.peakBand, p.significantHeight, p.peakPeriod,
                             p.meanPeriod, p.meanDirection),
                  std::tuple(0.0315000005f, 0.00224000006f, 3, 0.209719568f, 12.5f, 14.0625f, 159.397141f));
    }
}

TEST(HalfPlaneParameters, SingleBinPointsAtItsOwnDirection) {
    struct Case { float shoreAngle; int bin; float bearing; };  // 270 - (o + 5k), onto (0, 360]
    for (Case c : {Case{180, 0, 90}, Case{80, -17, 275}, Case{360, 3, 255}, Case{270, 0, 360}, Case{123.4f, 7, 111.6f}}) {
        HalfPlaneSpectrum h;
        h.at(2, c.bin) = 0.7f;
        EXPECT_NEAR(halfPlane(h, 24, c.shoreAngle).meanDirection, c.bearing, 1e-4) << c.shoreAngle << " " << c.bin;
    }
}

}  // namespace
}  // namespace ww3b
