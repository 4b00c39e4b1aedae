#pragma once
// Integral parameters of the input spectrum over all of its directions.

#include "spectral/wave_parameters.hpp"
#include "model/spectral_grid.hpp"

namespace ww3b {

FullPlaneParameters computeFullPlaneParameters(const SpectralGrid& grid, const InputRecord& record);

}  // namespace ww3b
