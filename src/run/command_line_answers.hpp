#pragma once
// The command-line form of a run: the answers of the dialogue taken from options, with
// the dialogue's defaults and checks, and the output files opened as the dialogue opens
// them, so that the files are the same byte for byte. Nothing is asked or shown.

#include <stdexcept>

#include "run/program_options.hpp"
#include "run/run_options.hpp"
#include "textio/free_form.hpp"

namespace ww3b {

// An answer given as an option that the run cannot take, or one that is missing: a usage
// error, met before any file is made.
class CommandLineRefusal : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The answers the options give, checked as far as they can be without the files. Names
// keep their full length (the dialogue's 30-character fields do not apply).
RunOptions answersFromCommandLine(const ProgramOptions& options);

// In place of the dialogue: the answers, the checks the dialogue makes on the WW3 file,
// the warnings about answers taken as given, and the output files opened in the order of
// the mode's table. `console` only names where a refusal comes from.
RunOptions setUpRunFromCommandLine(Console& console, RunFiles& files, const ProgramOptions& options);

}  // namespace ww3b
