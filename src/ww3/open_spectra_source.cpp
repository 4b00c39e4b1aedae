#include "ww3/open_spectra_source.hpp"

#include <algorithm>
#include <array>
#include <string_view>

#include "textio/file_opening.hpp"
#include "textio/io_diagnostic.hpp"
#include "ww3/ascii_spectra_source.hpp"

namespace ww3b {

namespace {

// The first bytes of a netCDF file: the classic formats, then the HDF5-based one.
constexpr std::array<std::string_view, 4> kNetCdfMagic = {
    std::string_view("CDF\x01", 4), std::string_view("CDF\x02", 4), std::string_view("CDF\x05", 4),
    std::string_view("\x89HDF\r\n\x1a\n", 8)};

bool startsWithNetCdfMagic(InputFile& in) {
    constexpr std::size_t kLongest = 8;
    // The bytes stay in the buffer for the reader that follows.
    while (static_cast<std::size_t>(in.limit() - in.cursor()) < kLongest && in.refill()) {
    }
    const std::string_view head(in.cursor(), static_cast<std::size_t>(in.limit() - in.cursor()));
    return std::any_of(kNetCdfMagic.begin(), kNetCdfMagic.end(),
                       [&](std::string_view magic) { return head.starts_with(magic); });
}

}  // namespace

std::unique_ptr<SpectraSource> openSpectraSource(int unit, const std::string& nameField, const PointChoice& point,
                                                 SourceWarnings warnings) {
    std::unique_ptr<InputFile> in = openInputFile(unit, nameField);
    if (startsWithNetCdfMagic(*in)) {
        const std::string name = in->name();
        in->close();
        endRunWithDiagnostic("the file is in netCDF format, which this build cannot read yet; convert it to the "
                             "WW3 text format of point spectra",
                             unit, name);
    }
    return std::make_unique<AsciiSpectraSource>(std::move(in), point, std::move(warnings));
}

}  // namespace ww3b
