// ww3-brevolan: converts the point spectra of a WW3 spectral file into wave parameter
// and spectrum files, after a console dialogue read from standard input.

#include <signal.h>
#include <unistd.h>

#include "run/run_conversion.hpp"
#include "textio/io_diagnostic.hpp"

int main() {
    // A closed pipe on standard output is reported as a failed write, not a silent death.
    ::signal(SIGPIPE, SIG_IGN);
    ww3b::InputFile input(ww3b::kConsoleInputUnit, "standard input", STDIN_FILENO, false);
    ww3b::OutputFile output(ww3b::kConsoleOutputUnit, "standard output", ::dup(STDOUT_FILENO),
                            ww3b::OutputFile::Kind::Stream);
    ww3b::Console console{input, output};
    return ww3b::runConversion(console);
}
