#pragma once
// The netCDF twin of a WW3 text point-spectra file: the same spectra, point values and times,
// taken from the text so that every value is the one the text shows.

#include <string>

namespace ww3synth {

// Reads the text file and writes its twin (netCDF-4 when `netcdf4`, else the classic
// format). Returns an empty string on success, otherwise what went wrong.
std::string writeNetcdfTwin(const std::string& textPath, const std::string& netcdfPath, bool netcdf4);

}  // namespace ww3synth
