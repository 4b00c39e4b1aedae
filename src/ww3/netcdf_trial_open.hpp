#pragma once
// A first opening of a netCDF-4 file in a child process. The HDF5 library beneath
// netCDF-4 trusts the addresses a file holds: some damaged files make it read or free
// wild pointers while it opens them, which would end the program without a word. The
// child meets such a file in place of the run, which then refuses it.

#include <string>

namespace ww3b {

enum class TrialOpen {
    Opened,        // the child opened the file and read its first and last values
    LibraryError,  // the library refused the file in order: the run meets the same error
    Crashed,       // the child died (or could not tell): the file must not be opened here
};

TrialOpen openNetcdfAside(const std::string& path);

}  // namespace ww3b
