#pragma once
// Telling a netCDF file from a text file by its first bytes.

#include <cstddef>
#include <span>

namespace ww3b {

// The longest signature: the netCDF-4 one.
inline constexpr std::size_t kNetcdfSignatureLength = 8;

// True when the bytes open a netCDF file: classic ("CDF" 1), 64-bit offset ("CDF" 2),
// 64-bit data ("CDF" 5) or netCDF-4, which is an HDF5 file with its signature at the start.
bool looksLikeNetcdf(std::span<const unsigned char> firstBytes);

}  // namespace ww3b
