#include "model/spectral_grid.hpp"

#include <cmath>
#include <numbers>

namespace ww3b {

void completeSpectralGrid(SpectralGrid& grid) {
    const int nf = grid.frequencyCount;
    // The difference is taken in double and the half rounded once, when it is stored.
    for (int i = 1; i < nf - 1; ++i) {
        const double span = static_cast<double>(grid.frequencies[i + 1]) - static_cast<double>(grid.frequencies[i - 1]);
        grid.bandwidths[i] = static_cast<float>(0.5 * span);
    }
    // The outer bands copy their inner neighbour rather than taking a one-sided difference.
    grid.bandwidths[0] = grid.bandwidths[1];
    grid.bandwidths[nf - 1] = grid.bandwidths[nf - 2];

    const int nd = grid.directionCount;
    grid.directionStep = static_cast<float>(static_cast<double>(kFullTurnRadians) / nd);
    grid.degreesPerDirection = 360 / nd;
    for (int j = 0; j < nd; ++j) {
        const double theta = directionAngle(grid.directionStep, j);
        grid.directionCosines[j] = std::cos(theta);
        grid.directionSines[j] = std::sin(theta);
    }
}

void placeDirectionsFrom(SpectralGrid& grid, double firstAngle) {
    for (int j = 0; j < grid.directionCount; ++j) {
        const double theta = firstAngle + static_cast<double>(j) * static_cast<double>(grid.directionStep);
        grid.directionCosines[j] = std::cos(theta);
        grid.directionSines[j] = std::sin(theta);
    }
    // Rounded to a millionth of a degree first, so that half a bin of 15 degrees, which
    // comes back from radians as 7.4999999..., is 7.5 and turns 8 slots (halves go away
    // from zero).
    const double degrees = std::remainder(firstAngle * (180.0 / std::numbers::pi), 360.0);
    grid.slotShift = static_cast<std::int32_t>(std::lround(std::round(degrees * 1e6) / 1e6));
}

namespace {

std::string countProblem(std::int32_t count, const char* what, int least, int most) {
    return "the header gives " + std::to_string(count) + " " + what + "; " + std::to_string(least) + " to " +
           std::to_string(most) + " can be read";
}

}  // namespace

std::string gridCountProblem(std::int32_t frequencyCount, std::int32_t directionCount) {
    // The arrays hold 50 of each; the band widths need at least three frequencies.
    if (frequencyCount < kMinFrequencies || frequencyCount > kMaxFrequencies) {
        return countProblem(frequencyCount, "frequencies", kMinFrequencies, kMaxFrequencies);
    }
    if (directionCount < kMinDirections || directionCount > kMaxDirections) {
        return countProblem(directionCount, "directions", kMinDirections, kMaxDirections);
    }
    return {};
}

}  // namespace ww3b
