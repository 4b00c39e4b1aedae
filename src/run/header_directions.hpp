#pragma once
// The direction list of the WW3 file at the start of a run: a warning when its grid is
// not the converter's, and with --header-directions the directions placed as listed, or
// the run refused (before any output file is made) when the list is no regular grid.

#include <string>

#include "run/program_options.hpp"
#include "model/spectral_grid.hpp"
#include "ww3/spectra_source.hpp"

namespace ww3b {

// Right after the WW3 file name is answered, for a plain file (a pipe is read once only):
// without --header-directions, the warning of a list that is not the assumed grid (unless
// quiet), so that it shows before the next question; with it, a list that cannot be
// placed as listed ends the run with a diagnostic. Returns whether the list was judged
// here. A file this check cannot read (missing, not a plain file, no readable header) is
// left to the run, which reports it where it always does.
bool checkDirectionListEarly(const std::string& inputField, const ProgramOptions& options);

// Right after the header is read from `source`. Without --header-directions: one warning
// (unless quiet, or `judgedEarly`) when the list is not the assumed grid. With it: an offset grid has its
// directions placed as listed; a list that is no regular grid ends the run.
void honourDirectionList(SpectralGrid& grid, const ProgramOptions& options, const SpectraSource& source,
                         bool judgedEarly = false);

}  // namespace ww3b
