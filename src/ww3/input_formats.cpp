#include "ww3/input_formats.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <vector>

#include "process/file_descriptor.hpp"
#include "textio/file_opening.hpp"
#include "ww3/ascii/ascii_format.hpp"
#include "ww3/netcdf/netcdf_format.hpp"
#include "ww3/netcdf/netcdf_stream.hpp"

static_assert(ww3b::kNetcdfStallLimit == ww3b::kDefaultStallLimitOfReaders, "one default wait for a stalled reader");

namespace ww3b {

namespace {

std::size_t longestSignature() {
    std::size_t longest = 0;
    for (const InputFormat* format : inputFormats()) longest = std::max(longest, format->signatureLength);
    return longest;
}

const InputFormat& formatOf(std::span<const unsigned char> firstBytes) {
    for (const InputFormat* format : inputFormats()) {
        if (format->recognises(firstBytes)) return *format;
    }
    return *inputFormats().back();
}

}  // namespace

std::span<const InputFormat* const> inputFormats() {
    static const std::array<const InputFormat*, 2> formats = {&netcdfFormat(), &asciiFormat()};
    return formats;
}

const InputFormat& recogniseFormat(InputFile& in) {
    const std::size_t wanted = longestSignature();
    // The bytes stay in the buffer for the reader that follows.
    while (static_cast<std::size_t>(in.limit() - in.cursor()) < wanted && in.refill()) {
    }
    return formatOf(std::span<const unsigned char>(reinterpret_cast<const unsigned char*>(in.cursor()),
                                                   static_cast<std::size_t>(in.limit() - in.cursor())));
}

std::unique_ptr<SpectraSource> openSpectraSource(int unit, const std::string& nameField, const PointChoice& point,
                                                 SourceWarnings warnings) {
    std::unique_ptr<InputFile> in = openInputFile(unit, nameField);
    const InputFormat& format = recogniseFormat(*in);
    return format.open(std::move(in), point, std::move(warnings));
}

FileInventory readInventory(int unit, const std::string& nameField) {
    std::unique_ptr<InputFile> in = openInputFile(unit, nameField);
    const InputFormat& format = recogniseFormat(*in);
    return format.inventory(std::move(in));
}

void refuseMissingPoint(int unit, const std::string& nameField, const PointChoice& point) {
    const std::string path = fileNameFromField(nameField);
    if (path.empty()) return;
    // Only a plain file is looked into: a pipe or a device would lose what is read here.
    const FileDescriptor fd(retryOnInterrupt([&] { return ::open(path.c_str(), O_RDONLY | O_CLOEXEC); }));
    struct stat status {};
    if (!fd || ::fstat(fd.get(), &status) != 0 || !S_ISREG(status.st_mode)) return;
    std::vector<unsigned char> head(longestSignature());
    std::size_t got = 0;
    while (got < head.size()) {
        const ssize_t count = retryOnInterrupt([&] { return ::read(fd.get(), head.data() + got, head.size() - got); });
        if (count <= 0) break;
        got += static_cast<std::size_t>(count);
    }
    const InputFormat& format = formatOf(std::span<const unsigned char>(head.data(), got));
    if (format.refuseMissingPoint) format.refuseMissingPoint(unit, path, point);
}

InputReadingScope::InputReadingScope() {
    for (const InputFormat* format : inputFormats()) {
        if (format->shareReading) shared_.push_back(format->shareReading());
    }
}

void setStallLimitOfReaders(std::chrono::milliseconds limit) { setNetcdfStallLimit(limit); }

}  // namespace ww3b
