#pragma once
// What --list shows of a text file of WW3 point spectra.

#include "textio/input_file.hpp"
#include "ww3/file_inventory.hpp"

namespace ww3b {

// Scans a whole ASCII point-spectra file: the header, every point of the first time step
// in full, and of the later time steps the time line, the point lines and a count of each
// spectrum block's values. Damaged contents end the run with the usual diagnostic; a time
// line that cannot be read ends the scan with a warning, as it ends a conversion.
FileInventory readAsciiInventory(InputFile& in);

}  // namespace ww3b
