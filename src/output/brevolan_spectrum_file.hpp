#pragma once
// The Brevolan spectrum file of mode 2 (*.eng): the 35 half-plane bins of every written
// record, after a header of the frequencies written with the first record.

#include "model/record_time.hpp"
#include "spectral/half_plane_spectrum.hpp"
#include "textio/output_file.hpp"
#include "model/spectral_grid.hpp"

namespace ww3b {

struct BrevolanSpectrumFile {
    static void writeHeader(OutputFile& file, const SpectralGrid& grid);
    // The record line with the half-plane peak frequency, then five lines per frequency.
    static void writeBlock(OutputFile& file, const SpectralGrid& grid, RecordStamp stamp, float windSpeed,
                           float windDirection, const HalfPlaneSpectrum& spectrum, int peakBand);
};

}  // namespace ww3b
