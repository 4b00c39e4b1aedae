#include "run/command_line_run.hpp"

#include "run/answer_checks.hpp"
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
    // Standard input is not read: the answers are all given.
    InputFile noAnswers(kConsoleInputUnit, "the command line", std::string_view());
    Console console{noAnswers, output, false};
    try {
        answersFromCommandLine(options);
        // A WW3 file the dialogue would refuse as an answer is a usage error here.
        checkSpectralFileName(console, options.spectralFile);
    } catch (const CommandLineRefusal& refusal) {
        writeToStandardError(usageErrorMessage(refusal.what()));
        return kDiagnosticExitStatus;
    } catch (const RefusedAnswer& refusal) {
        writeToStandardError(usageErrorMessage(refusal.what()));
        return kDiagnosticExitStatus;
    }
    return convertAndRecord(console, options);
}

}  // namespace ww3b
