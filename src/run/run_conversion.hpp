#pragma once
// The whole run: the dialogue, the header of the WW3 spectral file, one pass over its
// time steps with the selection by interval and time window, and the end of the run.

#include <string>

#include "run/program_options.hpp"
#include "run/run_options.hpp"
#include "run/run_outcome.hpp"
#include "run/run_summary.hpp"
#include "textio/free_form.hpp"

namespace ww3b {

// The most time steps one run reads; a longer file is cut off there, in order.
inline constexpr int kMaxPasses = 999999;

// The whole run; returns its verdict (what was read and written, the warnings issued,
// why it fell short of what was asked, whether a diagnostic ended it). With `outcome`,
// what the run did is also kept there, for its record, at any of its ends.
RunSummary convert(Console& console, const ProgramOptions& programOptions = {}, RunOutcome* outcome = nullptr);

// The run's exit status, decided from its verdict alone (exitStatusOf): 0 delivered, 1
// ended in order but did not deliver what was asked, kDiagnosticExitStatus after a
// diagnostic on standard error.
int runConversion(Console& console, const ProgramOptions& programOptions = {}, RunOutcome* outcome = nullptr);

// Closes the files in the order input, full-plane parameters, Brevolan parameters,
// unit 18, half-plane parameters; a file this mode did not open is passed over.
void finishRun(RunFiles& files);

}  // namespace ww3b
