// The console dialogue: an arbitrary stream of answers against the bundled example WW3
// file, in whatever mode the answers choose.
//
// The run works in a private folder; answer streams that name a file outside it are not
// run. After each run: status 0, 1 or 2, the WW3 file unchanged, only whole lines in the
// console output and in every output file; then the outputs are removed, so that no run
// sees the files of an earlier one.

#include <unistd.h>

#include <cstdint>
#include <string>

#include "fuzz_support.hpp"
#include "run/run_conversion.hpp"
#include "textio/io_diagnostic.hpp"

namespace {

using namespace ww3b;

constexpr const char* kSpectralFile = "station.spec";
std::string spectra;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::setUpProcess(std::size_t{8} << 20);
    spectra = fuzz::readWholeFile(WW3B_EXAMPLE_FILE);
    fuzz::enterPrivateFolder();
    fuzz::writeWholeFile(kSpectralFile, spectra);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string answers(reinterpret_cast<const char*>(data), size);
    if (fuzz::namesAFileOutside(answers)) return -1;

    InputFile consoleIn(kConsoleInputUnit, "standard input", answers);
    const int shown = fuzz::memoryFile("");
    const int kept = ::dup(shown);
    OutputFile consoleOut(kConsoleOutputUnit, "standard output", shown, OutputFile::Kind::Stream);
    Console console{consoleIn, consoleOut};
    const int status = runConversion(console);
    if (status != 0 && status != kIncompleteExitStatus && status != kDiagnosticExitStatus) {
        fuzz::finding("exit status " + std::to_string(status));
    }

    std::string transcript;
    char block[4096];
    for (off_t at = 0;;) {
        const ssize_t got = ::pread(kept, block, sizeof block, at);
        if (got <= 0) break;
        transcript.append(block, static_cast<std::size_t>(got));
        at += got;
    }
    ::close(kept);
    if (!fuzz::holdsWholeLinesOnly(transcript)) fuzz::finding("a partial line on the console");

    if (fuzz::readWholeFile(kSpectralFile) != spectra) fuzz::finding("the run changed the WW3 file");
    fuzz::checkAndRemoveOutputs(kSpectralFile);
    return 0;
}
