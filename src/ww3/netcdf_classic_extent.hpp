#pragma once
// How long a classic-format netCDF file must be. The library reads data beyond the end of
// a cut classic file as zeros without a word, so the reader compares the file's length with
// the extent its header describes before trusting any value.

#include <cstdint>
#include <optional>
#include <string>

namespace ww3b {

// The number of bytes the data of the classic, 64-bit offset or 64-bit data file needs
// (the end of its last variable's last value). Nothing when the file is not of those
// formats or its header cannot be walked (the library reports such files itself).
std::optional<std::uint64_t> classicNetcdfExtent(const std::string& path);

}  // namespace ww3b
