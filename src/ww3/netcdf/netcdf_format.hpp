#pragma once
// The netCDF file of WW3 point spectra as an input format: classic, 64-bit offset, 64-bit
// data and netCDF-4 files, told apart by their first bytes.

#include "ww3/input_format.hpp"

namespace ww3b {

const InputFormat& netcdfFormat();

}  // namespace ww3b
