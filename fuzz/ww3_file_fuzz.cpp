// The whole WW3 reading path: an arbitrary file read as a WW3 point-spectra file.
//
// Input: a configuration byte (output mode, interval, time window, shoreline), a byte
// choosing a buffer size, then the file. Two checks:
//  - the header and every time step are read from the file in memory and through a small
//    buffer: both readings must agree, diagnostics and line numbers included;
//  - a whole run converts the file (written into a private folder) with a fixed dialogue:
//    it must end with status 0 or 2, leave the WW3 file as it was and leave only whole
//    lines in every output file.

#include <cstdint>
#include <cstring>
#include <string>

#include "fuzz_support.hpp"
#include "run/run_conversion.hpp"
#include "textio/free_form.hpp"
#include "textio/io_diagnostic.hpp"
#include "ww3/ww3_spectral_file.hpp"

namespace {

using namespace ww3b;

template <class T>
void appendBytes(std::string& transcript, const T& value) {
    transcript.append(reinterpret_cast<const char*>(&value), sizeof value);
}

std::string readWholeFile(InputFile& in) {
    std::string transcript;
    try {
        SpectralGrid grid;
        if (!readSpectralHeader(in, grid)) return "no header\n";
        appendBytes(transcript, grid);
        InputRecord record;
        for (int pass = 0; pass < kMaxPasses; ++pass) {
            const FreeFormResult time = readTimeLine(in, record);
            transcript += std::to_string(static_cast<int>(time.outcome)) + "|" + time.problem + "|" +
                          std::to_string(time.line) + "|" + time.value + "\n";
            if (time.outcome != ReadOutcome::Ok) return transcript;
            readPointLine(in, record);
            readSpectrumBlock(in, grid, record);
            appendBytes(transcript, record);
            transcript += std::to_string(in.lineNumber()) + "\n";
        }
    } catch (const RunFailure& failure) {
        transcript += std::string("ended the run: ") + failure.what() + "\n";
    }
    return transcript;
}

const char* const kModes[4] = {"0", "1", "2", "3"};
const char* const kIntervals[4] = {"0", "3", "-5", "24"};
const char* const kWindows[4][2] = {{"0", "99999999"}, {"10060400", "99999999"}, {"0", "10060321"}, {"99999999", "0"}};
const char* const kShorelines[4] = {"270", "180", "400", "-1e6"};

std::string answersFor(unsigned config) {
    std::string answers = "in.spec\n";
    answers += std::string(kWindows[(config >> 4) & 3][0]) + "\n" + kWindows[(config >> 4) & 3][1] + "\n";
    answers += std::string(kIntervals[(config >> 2) & 3]) + "\n";
    answers += std::string(kModes[config & 3]) + "\n";
    answers += "out.eng\n";
    answers += std::string(kShorelines[(config >> 6) & 3]) + "\n";
    answers += "12.0\n";
    return answers;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::setUpProcess(std::size_t{8} << 20);
    fuzz::enterPrivateFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const unsigned config = data[0];
    const std::size_t bufferSize = 4098 + std::size_t{data[1]} * 5;
    const std::string text(reinterpret_cast<const char*>(data + 2), size - 2);

    InputFile inMemory(kSpectralFileUnit, "in.spec", text);
    const std::string expected = readWholeFile(inMemory);
    InputFile fromFile(kSpectralFileUnit, "in.spec", fuzz::memoryFile(text), true, bufferSize);
    const std::string got = readWholeFile(fromFile);
    if (expected != got) fuzz::finding("the file read from memory and through a small buffer differ");

    fuzz::writeWholeFile("in.spec", text);
    const std::string answers = answersFor(config);
    InputFile consoleIn(kConsoleInputUnit, "standard input", answers);
    OutputFile consoleOut(kConsoleOutputUnit, "standard output", fuzz::memoryFile(""), OutputFile::Kind::Stream);
    Console console{consoleIn, consoleOut};
    const int status = runConversion(console);
    if (status != 0 && status != kDiagnosticExitStatus) fuzz::finding("exit status " + std::to_string(status));
    if (fuzz::readWholeFile("in.spec") != text) fuzz::finding("the run changed the WW3 file");
    fuzz::checkAndRemoveOutputs("in.spec");
    return 0;
}
