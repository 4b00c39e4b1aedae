#pragma once
// What the program knows of one input format: how a file of it is recognised from its
// first bytes, how it opens as a source of spectra, what --list shows of it, and the
// check of the chosen point made right after the file is named. A new format is one
// folder beside ascii/ and netcdf/ and one entry in the registry (input_formats.cpp).

#include <cstddef>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "textio/input_file.hpp"
#include "ww3/file_inventory.hpp"
#include "ww3/spectra_source.hpp"

namespace ww3b {

struct InputFormat {
    std::string_view name;  // as --list shows it
    // How many first bytes `recognises` needs to see (fewer when the file is shorter).
    std::size_t signatureLength = 0;
    bool (*recognises)(std::span<const unsigned char> firstBytes) = nullptr;
    // The file is open as `in`, its first bytes still to be read.
    std::unique_ptr<SpectraSource> (*open)(std::unique_ptr<InputFile> in, const PointChoice& point,
                                           SourceWarnings warnings) = nullptr;
    // Reads the whole file for --list; the file is closed afterwards.
    FileInventory (*inventory)(std::unique_ptr<InputFile> in) = nullptr;
    // Right after the file is named: ends the run with the run's own diagnostic when the
    // file holds no point answering `point`, before any output file is made; leaves every
    // other case (a file that cannot be read included) to the run. Null: no early check.
    void (*refuseMissingPoint)(int unit, const std::string& path, const PointChoice& point) = nullptr;
    // A format read by a helper process: while the returned token lives, the early checks
    // and the run share one reading of a file (one process, one open). Null: nothing shared.
    std::shared_ptr<void> (*shareReading)() = nullptr;
};

}  // namespace ww3b
