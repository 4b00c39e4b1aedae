#pragma once
// The layout shared by the 2-D spectral file (mode 1) and the Brevolan spectrum file
// (mode 2): a header of the counts and the frequencies, then per record a line of stamp,
// wind and peak frequency followed by the densities frequency by frequency.

#include <cstdint>
#include <span>

#include "model/record_time.hpp"
#include "textio/output_file.hpp"
#include "model/spectral_grid.hpp"

namespace ww3b {

// nf and the direction count (3 wide each), then the frequencies ten to a line.
void writeSpectralHeader(OutputFile& file, const SpectralGrid& grid, std::int32_t directionCount);

// Stamp, wind speed, wind direction, peak frequency and the constant 0.00.
void writeSpectralRecordLine(OutputFile& file, RecordStamp stamp, float windSpeed, float windDirection,
                             float peakFrequency);

// The densities of one frequency, seven to a line, each as a blank and a 10.5 real.
void writeSpectralDensities(OutputFile& file, std::span<const float> densities);

}  // namespace ww3b
