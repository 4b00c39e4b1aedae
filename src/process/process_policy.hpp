#pragma once
// How the process ends and which signals it meets as failed calls instead of dying: one
// place for the program's policy towards the system.

namespace ww3b {

// Exit statuses: the run delivered what was asked; it ended in order but did not deliver
// all of it; it failed (a diagnostic, a usage error).
inline constexpr int kDeliveredExitStatus = 0;
inline constexpr int kUndeliveredExitStatus = 1;
inline constexpr int kDiagnosticExitStatus = 2;

// A closed pipe on standard output and a file size limit are then met as failed writes
// (whole lines kept, a diagnostic), not as a death by signal in the middle of a line.
void ignoreSignalsOfFailedWrites();

}  // namespace ww3b
