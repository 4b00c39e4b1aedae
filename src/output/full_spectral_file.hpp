#pragma once
// The 2-D spectral file of mode 1: the input spectrum of every written record as read,
// frequency by frequency, after a header written with the first record.

#include "run/record_time.hpp"
#include "spectral/wave_parameters.hpp"
#include "textio/output_file.hpp"
#include "ww3/spectral_grid.hpp"

namespace ww3b {

struct FullSpectralFile {
    // Writes the header first when no record has been written yet (selectedCount 0).
    static void writeRecord(OutputFile& file, const SpectralGrid& grid, const RecordTime& time,
                            const InputRecord& record, int peakBand, int selectedCount);
};

}  // namespace ww3b
