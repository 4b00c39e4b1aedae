#pragma once
// How long a classic-format netCDF file must be. The library reads data beyond the end of
// a cut classic file as zeros without a word, so the reader compares the file's length with
// the extent its header describes before trusting any value.

#include <cstdint>
#include <string>

namespace ww3b {

enum class ClassicHeader {
    NotClassic,  // another format (or no file): the library judges it
    Damaged,     // cut short, or counts and sizes the file cannot hold (which would make the
                 // library try to allocate them)
    Sound,
};

struct ClassicExtent {
    ClassicHeader header = ClassicHeader::NotClassic;
    std::uint64_t bytes = 0;  // Sound: the end of the last variable's last value
    std::uint64_t fileSize = 0;
};

// Walks the header of a classic, 64-bit offset or 64-bit data file.
ClassicExtent classicNetcdfExtent(const std::string& path);

}  // namespace ww3b
