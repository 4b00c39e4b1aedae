#pragma once
// Sea-like spectra for the benchmarks: a 50 x 36 grid, a JONSWAP-like frequency shape
// times a cos^2s spreading whose peak and mean direction drift from record to record,
// the tails set to zero, written as the wave model writes its blocks (" 0.123E-01", seven
// to a line, frequency fastest) and read back, so that the floats are those of the text.

#include <string>
#include <vector>

#include "model/spectral_grid.hpp"

namespace ww3b::bench {

struct SampleSpectra {
    SpectralGrid grid;
    std::vector<InputRecord> records;
    std::string blocks;  // the spectrum blocks of every record, one after the other
    std::size_t valuesPerRecord() const {
        return static_cast<std::size_t>(grid.frequencyCount) * static_cast<std::size_t>(grid.directionCount);
    }
};

SampleSpectra makeSampleSpectra(int recordCount);

}  // namespace ww3b::bench
