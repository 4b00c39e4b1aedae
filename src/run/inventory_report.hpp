#pragma once
// `--list FILE`: what a WW3 point-spectra file holds, printed instead of a conversion.

#include <string>
#include <vector>

#include "run/program_options.hpp"
#include "textio/output_file.hpp"
#include "ww3/file_inventory.hpp"

namespace ww3b {

// The printed inventory, one entry a line, without line ends.
std::vector<std::string> inventoryLines(const FileInventory& inventory);

// Reads options.listFile, prints its inventory on `out` (warnings met on the way go to
// standard error unless quiet) and returns the exit status: 0, or kDiagnosticExitStatus
// after a diagnostic. Writes no file and asks nothing.
int listInventory(OutputFile& out, const ProgramOptions& options);

}  // namespace ww3b
