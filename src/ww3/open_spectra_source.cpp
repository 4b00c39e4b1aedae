#include "ww3/open_spectra_source.hpp"

#include "textio/file_opening.hpp"
#include "ww3/ascii_spectra_source.hpp"
#include "ww3/netcdf_magic.hpp"
#include "ww3/netcdf_spectra_source.hpp"

namespace ww3b {

bool startsAsNetcdf(InputFile& in) {
    constexpr std::size_t kLongest = 8;
    // The bytes stay in the buffer for the reader that follows.
    while (static_cast<std::size_t>(in.limit() - in.cursor()) < kLongest && in.refill()) {
    }
    return looksLikeNetcdf(std::span<const unsigned char>(reinterpret_cast<const unsigned char*>(in.cursor()),
                                                          static_cast<std::size_t>(in.limit() - in.cursor())));
}

std::unique_ptr<SpectraSource> openSpectraSource(int unit, const std::string& nameField, const PointChoice& point,
                                                 SourceWarnings warnings) {
    std::unique_ptr<InputFile> in = openInputFile(unit, nameField);
    if (startsAsNetcdf(*in)) {
        // The library reads the file by its name; the text reader's handle is done with.
        const std::string name = in->name();
        in->close();
        return std::make_unique<NetcdfSpectraSource>(unit, name, point, std::move(warnings));
    }
    return std::make_unique<AsciiSpectraSource>(std::move(in), point, std::move(warnings));
}

}  // namespace ww3b
