#pragma once
// The entry of the command-line form: a WW3 file named as an argument, the answers taken
// from options, nothing asked and nothing shown on standard output.

#include <string>

#include "run/program_options.hpp"
#include "textio/output_file.hpp"

namespace ww3b {

// The two lines of a usage error for standard error: what is wrong, then how the program
// is called.
std::string usageErrorMessage(const std::string& problem);

// Checks the answers (a usage error, before any file is made, when one cannot be taken),
// then runs the conversion with its record. `output` is standard output, on which nothing
// is written. Returns the exit status.
int convertFromCommandLine(OutputFile& output, const ProgramOptions& options);

}  // namespace ww3b
