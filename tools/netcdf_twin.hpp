#pragma once
// The netCDF twin of a WW3 text point-spectra file: the same spectra, point values and times,
// taken from the text so that every value is the one the text shows.

#include <string>

namespace ww3synth {

struct TwinLayout {
    bool netcdf4 = true;  // else the classic format
    // The densities as WW3 packs them: log10(E + 1e-12) in 16-bit integers, scale 0.0004.
    bool log10Densities = false;
    // x and y in metres (a thousand times the text's latitude and longitude) instead of
    // latitude and longitude, as WW3 writes the points of a cartesian grid.
    bool xyPositions = false;
};

// Reads the text file and writes its twin. Returns an empty string on success, otherwise
// what went wrong.
std::string writeNetcdfTwin(const std::string& textPath, const std::string& netcdfPath, const TwinLayout& layout);

}  // namespace ww3synth
