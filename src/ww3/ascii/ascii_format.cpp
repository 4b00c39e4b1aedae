#include "ww3/ascii/ascii_format.hpp"

#include "ww3/ascii/ascii_inventory.hpp"
#include "ww3/ascii/ascii_point_check.hpp"
#include "ww3/ascii/ascii_spectra_source.hpp"

namespace ww3b {

namespace {

bool anyFile(std::span<const unsigned char>) { return true; }

std::unique_ptr<SpectraSource> openAscii(std::unique_ptr<InputFile> in, const PointChoice& point,
                                         SourceWarnings warnings) {
    return std::make_unique<AsciiSpectraSource>(std::move(in), point, std::move(warnings));
}

FileInventory asciiInventory(std::unique_ptr<InputFile> in) {
    FileInventory read = readAsciiInventory(*in);
    in->close();
    return read;
}

}  // namespace

const InputFormat& asciiFormat() {
    static const InputFormat format{
        .name = "ASCII",
        .signatureLength = 0,
        .recognises = anyFile,
        .open = openAscii,
        .inventory = asciiInventory,
        // The points of a text file are known from the point lines of its first time step.
        .refuseMissingPoint = refuseMissingTextPoint,
    };
    return format;
}

}  // namespace ww3b
