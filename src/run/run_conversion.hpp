#pragma once
// The whole run: the dialogue, the header of the WW3 spectral file, one pass over its
// time steps with the selection by interval and time window, and the end of the run.

#include <string>

#include "run/program_options.hpp"
#include "run/run_options.hpp"
#include "run/run_outcome.hpp"
#include "textio/free_form.hpp"

namespace ww3b {

// The most time steps one run reads; a longer file is cut off there, in order.
inline constexpr int kMaxPasses = 999999;

// Returns the exit status: 0 at the normal end (nothing is written to the console then),
// kDiagnosticExitStatus after an I/O diagnostic on standard error.
// With `outcome`, what the run did is kept there at any of its ends.
int runConversion(Console& console, const ProgramOptions& programOptions = {}, RunOutcome* outcome = nullptr);

// Closes the files in the order input, full-plane parameters, Brevolan parameters,
// unit 18, half-plane parameters; a file this mode did not open is passed over.
void finishRun(RunFiles& files);

}  // namespace ww3b
