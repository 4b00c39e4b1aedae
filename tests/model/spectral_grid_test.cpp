#include "model/spectral_grid.hpp"

#include <gtest/gtest.h>

namespace ww3b {
namespace {

TEST(GridCompletion, BandwidthsDirectionStepAndDegreesPerDirection) {
    SpectralGrid grid{.frequencyCount = 4, .directionCount = 24, .frequencies = {0.04f, 0.05f, 0.06f, 0.08f}};
    completeSpectralGrid(grid);  // inner bands halve the span, the outer ones copy their neighbour
    for (int i = 0; i < 4; ++i) EXPECT_FLOAT_EQ(grid.bandwidths[i], i < 2 ? 0.01f : 0.015f) << i;
    struct Case { int count; float step; int degrees; };
    for (Case c : {Case{24, 0.261799f, 15}, Case{25, 0.251327f, 14}, Case{50, 0.125664f, 7}, Case{1, 6.283185f, 360}}) {
        grid.directionCount = c.count;
        completeSpectralGrid(grid);
        EXPECT_NEAR(grid.directionStep, c.step, 1e-6) << c.count;
        EXPECT_EQ(grid.degreesPerDirection, c.degrees) << c.count;
    }
}

}  // namespace
}  // namespace ww3b
