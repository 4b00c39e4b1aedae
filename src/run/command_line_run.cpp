#include "run/command_line_run.hpp"

#include "run/command_line_answers.hpp"
#include "run/run_record.hpp"
#include "textio/io_diagnostic.hpp"

namespace ww3b {

std::string usageErrorMessage(const std::string& problem) {
    return "ww3-brevolan: usage error: " + problem +
           "\r\n"
           "Usage: ww3-brevolan [options] WW3FILE, or ww3-brevolan [options] < answers "
           "(ww3-brevolan --help tells more)\r\n";
}

int convertFromCommandLine(OutputFile& output, const ProgramOptions& options) {
    try {
        answersFromCommandLine(options);
    } catch (const CommandLineRefusal& refusal) {
        writeToStandardError(usageErrorMessage(refusal.what()));
        return kDiagnosticExitStatus;
    }
    // Standard input is not read: the answers are all given.
    InputFile noAnswers(kConsoleInputUnit, "the command line", std::string_view());
    Console console{noAnswers, output, false};
    return convertAndRecord(console, options);
}

}  // namespace ww3b
