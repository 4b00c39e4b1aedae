#pragma once
// A first opening of a netCDF-4 file in a child process. The HDF5 library beneath
// netCDF-4 trusts the addresses a file holds: some damaged files make it read or free
// wild pointers, or loop for ever, while it opens them, which would end or stall the
// program without a word. The child meets such a file in place of the run, which then
// refuses it. The child walks all the file's metadata and values the run will ask for
// first, so the run goes on only with a file the library has already read without fault.

#include <chrono>
#include <string>

namespace ww3b {

enum class TrialOutcome {
    Opened,        // the child read the metadata and values without an error
    LibraryError,  // the library refused something in order: see status and where
    Crashed,       // the child died (or could not tell): the file must not be opened here
    TimedOut,      // the child had not finished within the limit and was killed
};

struct TrialOpen {
    TrialOutcome outcome = TrialOutcome::Opened;
    int status = 0;     // the library's error code, for LibraryError
    std::string where;  // what it failed on: "" (opening the file), "the variable efth", ...
};

// The time a sound file needs is a few milliseconds of metadata and a few values per
// variable; the limit leaves room for a slow disk or network share.
inline constexpr std::chrono::milliseconds kNetcdfTrialLimit{30000};

TrialOpen openNetcdfAside(const std::string& path, std::chrono::milliseconds limit = kNetcdfTrialLimit);

// The limit the reader gives every trial from now on (kNetcdfTrialLimit until changed);
// tests and the fuzz target shorten it.
void setNetcdfTrialLimit(std::chrono::milliseconds limit);
std::chrono::milliseconds netcdfTrialLimit();

}  // namespace ww3b
