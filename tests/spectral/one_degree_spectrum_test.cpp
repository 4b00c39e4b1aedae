#include "spectral/one_degree_spectrum.hpp"

#include <array>

#include <gtest/gtest.h>

namespace ww3b {
namespace {

SpectralGrid gridWith(int directions) {
    SpectralGrid grid{.frequencyCount = 3, .directionCount = directions, .frequencies = {0.05f, 0.06f, 0.07f}};
    completeSpectralGrid(grid);
    return grid;
}

// Direction k (from 1) holds the value k at frequency 0; the unused directions hold -1.
FullPlaneSpectrum regridNumbered(int directions) {
    InputRecord record;
    record.spectrum[0].fill(-1);
    for (int k = 1; k <= directions; ++k) record.spectrum[0][k - 1] = static_cast<float>(k);
    FullPlaneSpectrum slots;
    regridToOneDegree(gridWith(directions), record, slots);
    return slots;
}

TEST(OneDegreeRegrid, SlotRunsTakeTheirDirections) {
    struct Run { int directions, firstSlot, lastSlot, direction; };
    for (Run r : {Run{36, 1, 1, 1}, Run{36, 2, 11, 2}, Run{36, 342, 351, 36}, Run{36, 352, 360, 1}, Run{24, 1, 6, 1},
                  Run{24, 7, 21, 2}, Run{24, 337, 351, 24}, Run{24, 352, 360, 1}, Run{7, 1, 42, 1}, Run{7, 43, 93, 2},
                  Run{7, 298, 348, 7}, Run{7, 349, 360, 1}, Run{45, 352, 359, 1}, Run{45, 360, 360, 2}, Run{45, 1, 7, 2}}) {
        const FullPlaneSpectrum slots = regridNumbered(r.directions);
        for (int m = r.firstSlot; m <= r.lastSlot; ++m) EXPECT_EQ(slots.at(0, m), r.direction) << r.directions << " " << m;
    }
    for (int nd = 1; nd <= kMaxDirections; ++nd) {  // never a direction outside 1..nd
        const FullPlaneSpectrum slots = regridNumbered(nd);
        for (int m = 1; m <= kOneDegreeSlots; ++m)
            ASSERT_TRUE(slots.at(0, m) >= 1 && slots.at(0, m) <= nd) << "nd " << nd << " slot " << m;
    }
}

TEST(OneDegreeSmoothing, TwoPassesGiveTheNinePointWeightsAtOneFrequencyOnly) {
    InputRecord record;
    record.spectrum[1][0] = 25;  // keeps every intermediate value a whole number
    FullPlaneSpectrum s, scratch;
    regridAndSmoothTwice(gridWith(36), record, s, scratch);
    const std::array<float, 18> weights = {1, 3, 6, 10, 15, 19, 22, 24, 25, 25, 24, 22, 19, 15, 10, 6, 3, 1};
    for (int m = 1; m <= kOneDegreeSlots; ++m) {
        const int offset = (m + 12) % 360;  // slot 348 -> 0, slot 5 -> 17
        EXPECT_EQ(s.at(1, m), offset < 18 ? weights[offset] : 0.0f) << "slot " << m;
        EXPECT_EQ(s.at(0, m) + s.at(2, m), 0.0f);
    }
    record.spectrum[1].fill(0.3f);  // the same in all directions: 5 x 0.3f / 5 is exact
    regridAndSmoothTwice(gridWith(24), record, s, scratch);
    for (int m = 1; m <= kOneDegreeSlots; ++m) EXPECT_EQ(s.at(1, m), 0.3f);
}

TEST(OneDegreeSmoothing, SpikeReachesTwoSlotsEachWayAroundTheCircle) {
    for (int spike : {1, 2, 180, 359, 360}) {
        FullPlaneSpectrum source, target;
        source.at(0, spike) = 5;
        smoothOneDegree(source, target, 1);
        for (int m = 1; m <= kOneDegreeSlots; ++m)
            EXPECT_EQ(target.at(0, m), (m - spike + 362) % 360 <= 4 ? 1.0f : 0.0f) << spike << " at " << m;
    }
}

TEST(OneDegreeSmoothing, AddsTheFiveSlotsLeftToRightAndKeepsTheSum) {
    FullPlaneSpectrum source, target;
    // (1e30 - 1e30) + 1 + 2 + 4 = 7; from the centre outwards or from the right the large
    // values swallow part of the small ones (6 or 0).
    const std::array<float, 5> values = {1e30f, -1e30f, 1, 2, 4};
    for (int t = 0; t < 5; ++t) source.at(0, 1 + t) = values[t];
    smoothOneDegree(source, target, 1);
    EXPECT_EQ(target.at(0, 3), 1.4f);
    for (int m = 1; m <= kOneDegreeSlots; ++m) source.at(0, m) = static_cast<float>((m * 37) % 101) * 0.013f;
    smoothOneDegree(source, target, 1);
    double before = 0, after = 0;
    for (int m = 1; m <= kOneDegreeSlots; ++m) before += source.at(0, m), after += target.at(0, m);
    EXPECT_NEAR(after, before, before * 1e-6);
}

}  // namespace
}  // namespace ww3b
