// The whole WW3 reading path: an arbitrary file read as a WW3 point-spectra file.
//
// Input: a configuration byte (output mode, interval, time window, shoreline), a byte
// choosing a buffer size, then the file. Two checks:
//  - the header and every time step are read from the file in memory and through a small
//    buffer: both readings must agree, diagnostics and line numbers included;
//  - a whole run converts the file (written into a private folder) with a fixed dialogue:
//    it must end with status 0, 1 or 2, leave the WW3 file as it was and leave only whole
//    lines in every output file.
// A file that starts as a netCDF file is read by the netCDF reader instead: no second
// reading through a small buffer; the buffer byte chooses the station (--point) and
// whether --list runs on it too.

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <cstring>
#include <string>

#include "fuzz_support.hpp"
#include "run/inventory_report.hpp"
#include "run/run_conversion.hpp"
#include "textio/free_form.hpp"
#include "textio/io_diagnostic.hpp"
#include "ww3/netcdf/netcdf_magic.hpp"
#include "ww3/ascii/ww3_spectral_file.hpp"
#include "ww3/netcdf/netcdf_stream.hpp"

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

std::string answersFor(unsigned config, const std::string& input) {
    std::string answers = input + "\n";
    answers += std::string(kWindows[(config >> 4) & 3][0]) + "\n" + kWindows[(config >> 4) & 3][1] + "\n";
    answers += std::string(kIntervals[(config >> 2) & 3]) + "\n";
    answers += std::string(kModes[config & 3]) + "\n";
    answers += "out.eng\n";
    answers += std::string(kShorelines[(config >> 6) & 3]) + "\n";
    answers += "12.0\n";
    return answers;
}

const char* const kPoints[4] = {"", "2", "44097-2", "nope"};

// The netCDF library keeps what it learnt of a file that failed to open by its name, so
// every netCDF input gets a name of its own.
void runNetcdf(unsigned config, unsigned choice, const std::string& bytes) {
    static unsigned long count = 0;
    const std::string name = "in" + std::to_string(++count) + ".nc";
    std::remove("in.spec");  // a text input's, kept from the input before
    fuzz::writeWholeFile(name.c_str(), bytes);
    ProgramOptions options;
    options.point = kPoints[choice & 3];
    options.quiet = (choice & 8) != 0;
    const std::string answers = answersFor(config, name);
    InputFile consoleIn(kConsoleInputUnit, "standard input", answers);
    OutputFile consoleOut(kConsoleOutputUnit, "standard output", fuzz::memoryFile(""), OutputFile::Kind::Stream);
    Console console{consoleIn, consoleOut};
    const int status = runConversion(console, options);
    if (status != 0 && status != kIncompleteExitStatus && status != kDiagnosticExitStatus) {
        fuzz::finding("exit status " + std::to_string(status));
    }
    if ((choice & 4) != 0) {
        options.listFile = name;
        OutputFile listOut(kConsoleOutputUnit, "standard output", fuzz::memoryFile(""), OutputFile::Kind::Stream);
        const int listed = listInventory(listOut, options);
        if (listed != 0 && listed != kDiagnosticExitStatus) fuzz::finding("--list status " + std::to_string(listed));
    }
    if (fuzz::readWholeFile(name.c_str()) != bytes) fuzz::finding("the run changed the WW3 file");
    // A netCDF file is read in a child process; when the library fails there, the
    // sanitizers of the child write their report to ".PID" in this folder.
    for (const auto& entry : std::filesystem::directory_iterator(".")) {
        const std::string file = entry.path().filename().string();
        if (file.size() > 1 && file[0] == '.' && file.find_first_not_of("0123456789", 1) == std::string::npos) {
            std::filesystem::remove(entry.path());
        }
    }
    fuzz::checkAndRemoveOutputs(name);
    std::remove(name.c_str());
}

}  // namespace

// The HDF5 library beneath netCDF-4 leaks a little memory when it refuses a damaged file;
// that is not the program's to mend.
extern "C" const char* __lsan_default_suppressions() { return "leak:libhdf5\nleak:libnetcdf\n"; }

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::setUpProcess(std::size_t{8} << 20);
    // A damaged netCDF-4 file that stalls the library is killed well within the fuzzer's
    // own time limit, so a finding is a stall of the program, not of its reading child.
    setNetcdfStallLimit(std::chrono::seconds(2));
    fuzz::enterPrivateFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const unsigned config = data[0];
    const std::size_t bufferSize = 4098 + std::size_t{data[1]} * 5;
    const std::string text(reinterpret_cast<const char*>(data + 2), size - 2);
    if (looksLikeNetcdf(std::span<const std::uint8_t>(data + 2, size - 2))) {
        runNetcdf(config, data[1], text);
        return 0;
    }

    InputFile inMemory(kSpectralFileUnit, "in.spec", text);
    const std::string expected = readWholeFile(inMemory);
    InputFile fromFile(kSpectralFileUnit, "in.spec", fuzz::memoryFile(text), true, bufferSize);
    const std::string got = readWholeFile(fromFile);
    if (expected != got) fuzz::finding("the file read from memory and through a small buffer differ");

    fuzz::writeWholeFile("in.spec", text);
    const std::string answers = answersFor(config, "in.spec");
    InputFile consoleIn(kConsoleInputUnit, "standard input", answers);
    OutputFile consoleOut(kConsoleOutputUnit, "standard output", fuzz::memoryFile(""), OutputFile::Kind::Stream);
    Console console{consoleIn, consoleOut};
    const int status = runConversion(console);
    if (status != 0 && status != kIncompleteExitStatus && status != kDiagnosticExitStatus) {
        fuzz::finding("exit status " + std::to_string(status));
    }
    if (fuzz::readWholeFile("in.spec") != text) fuzz::finding("the run changed the WW3 file");
    fuzz::checkAndRemoveOutputs("in.spec");
    return 0;
}
