#pragma once
// The output files of each mode as one table. Name derivation, the clash check, the
// announcements and opening, flushing, closing, the abandon path and the writing of
// every selected record all go through it.

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "output/record_writer.hpp"
#include "run/run_options.hpp"

namespace ww3b {

// The modes a row belongs to, one bit each: 0, 1, 2, and every other mode.
using ModeMask = unsigned;
inline constexpr ModeMask kParametersOnlyBit = 1u << 0;
inline constexpr ModeMask kFullSpectrumBit = 1u << 1;
inline constexpr ModeMask kBrevolanBit = 1u << 2;
inline constexpr ModeMask kOtherModesBit = 1u << 3;
inline constexpr ModeMask kEveryMode = kParametersOnlyBit | kFullSpectrumBit | kBrevolanBit | kOtherModesBit;

struct OutputFileRow {
    ModeMask modes;            // the modes that write this file
    int unit;                  // named in every diagnostic about the file
    const char* role;          // the file in words, for the clash check
    const char* announcement;  // the console line shown before the name
    std::string RunOptions::*name;  // where the name is kept
    // The three characters after the first "." of the typed spectrum name are replaced
    // by this suffix; nullptr: the name is typed for this file.
    const char* suffix;
    // Position among the mode's writers for each selected record (the table order is
    // the order of opening, flushing and closing).
    int writeOrder;
    std::unique_ptr<RecordWriter> (*makeWriter)(OutputFile& file);
};

// The files of a mode, the rows of the table whose mask holds it, in the order they are
// announced, opened and closed. A mode other than 0, 1 and 2 writes the full-plane
// parameter file, named after the spectrum name.
std::span<const OutputFileRow> outputFilesOf(std::int32_t outputMode);

}  // namespace ww3b
