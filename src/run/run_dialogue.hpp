#pragma once
// The console dialogue that starts every run: the questions, the derived output names,
// and the announcement and opening of the output files. The run opens the WW3 spectral
// file right after it.

#include "run/program_options.hpp"
#include "run/run_options.hpp"
#include "textio/free_form.hpp"

namespace ww3b {

// Beyond this an orientation is no usable angle; it also bounds the loops that bring
// relative directions into one turn.
inline constexpr float kLargestOrientation = 1.0e6f;

// The command-line options shape what is checked, never what is asked.
RunOptions setUpRun(Console& console, RunFiles& files, const ProgramOptions& programOptions = {});

// From the typed spectrum name: the first "." is followed by "out", "dat" and "txt" for
// the full-plane parameter, half-plane parameter and Brevolan parameter files (the
// suffixes of the output table), whatever the mode.
void deriveOutputNames(RunOptions& options);

// The first "." of the name's last part (after its last "/"): the suffix follows it.
std::size_t suffixDot(const std::string& name);

// The two names reach one file (the same name, or the same file by another path).
bool sameFile(const std::string& a, const std::string& b);

// Why the output names cannot be taken: two outputs in one file, or one over the WW3
// file (empty when they can).
std::string outputNameClash(const RunOptions& options);

}  // namespace ww3b
