#include "ww3/netcdf/netcdf_format.hpp"

#include "ww3/netcdf/netcdf_magic.hpp"
#include "ww3/netcdf/netcdf_spectra_source.hpp"
#include "ww3/netcdf/netcdf_stream.hpp"

namespace ww3b {

namespace {

// The library reads the file by its name; the text reader's handle is done with.
std::string closedForTheLibrary(std::unique_ptr<InputFile> in) {
    const std::string name = in->name();
    in->close();
    return name;
}

std::unique_ptr<SpectraSource> openNetcdf(std::unique_ptr<InputFile> in, const PointChoice& point,
                                          SourceWarnings warnings) {
    const int unit = in->unit();
    return std::make_unique<NetcdfSpectraSource>(unit, closedForTheLibrary(std::move(in)), point,
                                                 std::move(warnings));
}

FileInventory netcdfInventory(std::unique_ptr<InputFile> in) {
    const int unit = in->unit();
    return readNetcdfInventory(unit, closedForTheLibrary(std::move(in)));
}

std::shared_ptr<void> shareNetcdfReading() { return std::make_shared<NetcdfRunScope>(); }

}  // namespace

const InputFormat& netcdfFormat() {
    static const InputFormat format{
        .name = "netCDF",
        .signatureLength = kNetcdfSignatureLength,
        .recognises = looksLikeNetcdf,
        .open = openNetcdf,
        .inventory = netcdfInventory,
        .refuseMissingPoint = refuseMissingNetcdfStation,
        .shareReading = shareNetcdfReading,
    };
    return format;
}

}  // namespace ww3b
