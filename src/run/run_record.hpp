#pragma once
// --record FILE: a JSON record of what a run was asked and what it did, written at its
// end (any end after the answers were taken), for scripts and the check plots.

#include <string>

#include "run/program_options.hpp"
#include "run/run_outcome.hpp"
#include "textio/free_form.hpp"

namespace ww3b {

// The unit named in diagnostics about the record file.
inline constexpr int kRunRecordUnit = 21;

// The record as JSON text (lines joined by "\n", no final line end).
std::string runRecordJson(const RunOutcome& outcome, const ProgramOptions& options);

// Runs the conversion (dialogue or command-line form) and, with --record, writes its
// record. Returns the exit status; a record that cannot be written makes it
// kDiagnosticExitStatus.
int convertAndRecord(Console& console, const ProgramOptions& options);

}  // namespace ww3b
