#pragma once
// Reading a WW3 point-spectra file: the header with the spectral grid, then for every
// time step a time line and, for each point of the step, a point line and a spectrum
// block.

#include <cstddef>
#include <functional>

#include "textio/free_form.hpp"
#include "textio/input_file.hpp"
#include "model/spectral_grid.hpp"

namespace ww3b {

// Reads the counts, the frequency list and the direction list, and completes the grid.
// Returns false when the file ends before the header line. Counts outside 3 to 50
// frequencies and 1 to 50 directions end the run with a diagnostic.
bool readSpectralHeader(InputFile& in, SpectralGrid& grid);

// Reads the date and time of the next time step. The end of the file, or a line that
// cannot be read as two integers, is reported in the result (the run then ends in order).
FreeFormResult readTimeLine(InputFile& in, InputRecord& record);

// Depth, wind speed and wind direction from columns 30-36, 37-43 and 44-50.
void readPointLine(InputFile& in, InputRecord& record);

// frequencyCount x directionCount densities, frequency varying fastest.
void readSpectrumBlock(InputFile& in, const SpectralGrid& grid, InputRecord& record);

// Reads the point line into `record` and passes over the spectrum block that follows.
void passOverPoint(InputFile& in, const SpectralGrid& grid, InputRecord& record);

// The walk over the points of a started time step, the one every reader of the text
// layout uses: `readPoint(k)` reads point k (from 0), its point line and its spectrum
// block; after a block, a line that starts with a quote is another point of the step.
// Returns how many points the step holds.
std::size_t walkStepPoints(InputFile& in, const std::function<void(std::size_t)>& readPoint);

}  // namespace ww3b
