#include "spectral/full_plane_parameters.hpp"

namespace ww3b {

FullPlaneParameters computeFullPlaneParameters(const SpectralGrid& grid, const InputRecord& record) {
    // Direction j stands at j * directionStep; the bins are directionStep wide.
    return spectrumParameters(grid, record.spectrum, grid.directionCount, grid.directionCosines.data(),
                              grid.directionSines.data(), grid.directionStep);
}

}  // namespace ww3b
