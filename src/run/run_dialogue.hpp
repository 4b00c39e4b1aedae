#pragma once
// The console dialogue that starts every run: the questions, the derived output names,
// and the announcement and opening of the output files. The run opens the WW3 spectral
// file right after it.

#include "run/program_options.hpp"
#include "run/run_options.hpp"
#include "textio/free_form.hpp"

namespace ww3b {

// The command-line options shape what is checked, never what is asked.
RunOptions setUpRun(Console& console, RunFiles& files, const ProgramOptions& programOptions = {});

// From the typed spectrum name: the first "." is followed by "out", "dat" and "txt" for
// the full-plane parameter, half-plane parameter and Brevolan parameter files (the
// suffixes of the output table), whatever the mode.
void deriveOutputNames(RunOptions& options);

}  // namespace ww3b
