#include "spectral/full_plane_parameters.hpp"

#include <cmath>

namespace ww3b {

FullPlaneParameters computeFullPlaneParameters(const SpectralGrid& grid, const InputRecord& record) {
    const int nf = grid.frequencyCount;
    const int nd = grid.directionCount;
    const auto& e = record.spectrum;

    BandDirectionSums sums{};
    for (int i = 0; i < nf; ++i) {
        double sum = 0.0;
        for (int j = 0; j < nd; ++j) {
            sum += static_cast<double>(e[i][j]);
        }
        sums[i] = sum;
    }
    FullPlaneParameters p = reduceBandSums(grid, sums, grid.directionStep);

    // Unweighted densities: neither bandwidth nor direction step enters the direction sums.
    double a = 0.0;
    double b = 0.0;
    for (int j = 0; j < nd; ++j) {
        const double c = grid.directionCosines[j];
        const double s = grid.directionSines[j];
        for (int i = 0; i < nf; ++i) {
            a += static_cast<double>(e[i][j]) * c;
            b += static_cast<double>(e[i][j]) * s;
        }
    }
    // An empty spectrum gives atan2(0, 0) = 0, that is 270 degrees.
    p.meanDirection = toCompassDegrees(std::atan2(b, a));
    return p;
}

}  // namespace ww3b
