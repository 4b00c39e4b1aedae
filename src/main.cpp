// ww3-brevolan: converts the point spectra of a WW3 spectral file into wave parameter
// and spectrum files, after a console dialogue read from standard input.

#include <signal.h>
#include <unistd.h>

#include <span>
#include <string>
#include <string_view>

#include "run/run_conversion.hpp"
#include "textio/io_diagnostic.hpp"

namespace {

constexpr int kUsageErrorStatus = 2;

constexpr std::string_view kHelp[] = {
    "Usage: ww3-brevolan [--help | --version]",
    "",
    "Converts the point spectra of a WW3 spectral file (one output point) into",
    "wave parameter and spectrum files, among them the half-plane boundary spectrum",
    "of the nearshore model Brevolan. It takes no other argument: it asks its",
    "questions on standard output and reads one answer per line from standard",
    "input, in this order:",
    "",
    "  1  the WW3 spectral file name (at most 30 characters)",
    "  2  the starting time stamp, yymmddhh (0: from the first time step)",
    "  3  the ending time stamp, yymmddhh (99999999: to the end of the file)",
    "  4  the output interval in hours (0: every time step)",
    "  5  the output mode: 0 parameters only, 1 also the full 2-D spectra,",
    "     2 also the Brevolan files",
    "  6  the output name: in mode 0 the parameter file (bay.out); in modes 1 and 2",
    "     the spectrum file (bay.eng), from which bay.out (and in mode 2 bay.txt",
    "     and bay.dat) are named",
    "  7  mode 2: the shoreline orientation in degrees: the compass bearing the",
    "     coast faces plus 90 (180 for a coast facing east, 270 facing south)",
    "  8  mode 2: the seaward grid boundary depth in metres, asked once, after the",
    "     depth of the WW3 point is shown",
    "",
    "Scripted use: put the answers in a file, one to a line, and pipe it in:",
    "  ww3-brevolan < bay.answers",
    "",
    "Exit status: 0 at the normal end; 2 when the run stopped on a problem (one",
    "line on standard error names it). Warnings also go to standard error.",
    "",
    "The user guide is README.md (with the sources, and installed under",
    "share/doc/ww3-brevolan); the manual page is ww3-brevolan(1).",
};

// Lines on standard output, each ending in CR LF like every line the program writes.
int writeLines(ww3b::OutputFile& output, std::span<const std::string_view> lines) {
    try {
        for (std::string_view line : lines) output.writeLine(line);
        output.close();
        return 0;
    } catch (const ww3b::IoFailure& failure) {
        ww3b::writeToStandardError(ww3b::diagnosticMessage(failure) + output.closeAfterFailure());
        return ww3b::kDiagnosticExitStatus;
    }
}

}  // namespace

int main(int argc, char** argv) {
    // A closed pipe on standard output is reported as a failed write, not a silent death.
    ::signal(SIGPIPE, SIG_IGN);
    ww3b::OutputFile output(ww3b::kConsoleOutputUnit, "standard output", ::dup(STDOUT_FILENO),
                            ww3b::OutputFile::Kind::Stream);
    if (argc > 1) {
        const std::string_view argument = argv[1];
        if (argc == 2 && argument == "--help") return writeLines(output, kHelp);
        if (argc == 2 && argument == "--version") {
            const std::string_view version[] = {"ww3-brevolan " WW3B_VERSION};
            return writeLines(output, version);
        }
        std::string message = "ww3-brevolan: usage error: unexpected ";
        if (argc == 2) {
            message.append("argument \"").append(argument).append("\"");
        } else {
            message.append(std::to_string(argc - 1)).append(" arguments");
        }
        message.append("; the program takes only --help or --version, and reads its answers from standard "
                       "input\r\nUsage: ww3-brevolan [--help | --version] < answers\r\n");
        ww3b::writeToStandardError(message);
        return kUsageErrorStatus;
    }
    ww3b::InputFile input(ww3b::kConsoleInputUnit, "standard input", STDIN_FILENO, false);
    ww3b::Console console{input, output};
    return ww3b::runConversion(console);
}
