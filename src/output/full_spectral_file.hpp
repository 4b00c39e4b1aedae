#pragma once
// The 2-D spectral file of mode 1: the input spectrum of every written record as read,
// frequency by frequency, after a header written with the first record.

#include "model/record_time.hpp"
#include "spectral/wave_parameters.hpp"
#include "textio/output_file.hpp"
#include "model/spectral_grid.hpp"

namespace ww3b {

struct FullSpectralFile {
    // The counts and the frequencies, before the first record.
    static void writeHeader(OutputFile& file, const SpectralGrid& grid);
    // The record line with the peak frequency, then the densities frequency by frequency.
    static void writeBlock(OutputFile& file, const SpectralGrid& grid, const RecordTime& time,
                           const InputRecord& record, int peakBand);
};

}  // namespace ww3b
