#include "file_opening.hpp"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "io_diagnostic.hpp"
#include "process/file_descriptor.hpp"
#include "process/output_lock.hpp"

namespace ww3b {

namespace {

std::string requireName(int unit, std::string_view nameField) {
    std::string name = fileNameFromField(nameField);
    if (name.empty()) endRunWithDiagnostic("no file name given", unit, name);
    // The system would take the name as ending at the NUL: every name that differs only
    // after it would open the same file, and a run could write its outputs over each other.
    if (name.find('\0') != std::string::npos) {
        std::replace(name.begin(), name.end(), '\0', '?');
        endRunWithDiagnostic("the file name holds a NUL character", unit, name);
    }
    return name;
}

}  // namespace

std::string fileNameFromField(std::string_view field) {
    const auto first = field.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    const auto last = field.find_last_not_of(' ');
    return std::string(field.substr(first, last - first + 1));
}

std::unique_ptr<InputFile> openInputFile(int unit, std::string_view nameField) {
    std::string name = requireName(unit, nameField);
    const int fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        endRunWithDiagnostic(error == ENOENT ? std::string("file not found")
                                             : std::string("cannot open file: ") + std::strerror(error),
                             unit, name);
    }
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
        ::close(fd);
        endRunWithDiagnostic("is a directory, not a file", unit, name);
    }
    return std::make_unique<InputFile>(unit, std::move(name), fd, true);
}

namespace {

// Opening and locking take a few attempts at most when other runs remove files meanwhile.
constexpr int kOpenAttempts = 5;

// Opens `name` for writing. `created` tells whether this open made the file: an exclusive
// create decides it, never a look before the open, so that a file another run or the
// user made meanwhile is never taken for this run's own (and never removed by it).
int openForWriting(const std::string& name, bool& created) {
    created = false;
    int fd = ::open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
        created = true;
        return fd;
    }
    if (errno != EEXIST) return fd;
    fd = ::open(name.c_str(), O_RDWR | O_CLOEXEC);
    // Gone since (another run removed it), or a link to no file yet: created or not, it is
    // not known to be this run's, so it is kept.
    if (fd < 0 && errno == ENOENT) fd = ::open(name.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    return fd;
}

std::unique_ptr<OutputFile> openOutputFileAttempt(int unit, std::string_view nameField, int attempt) {
    std::string name = requireName(unit, nameField);
    bool created = false;
    const int fd = retryOnInterrupt([&] { return openForWriting(name, created); });
    // A file that cannot be written is refused now, before any further question.
    if (fd < 0) {
        const int error = errno;
        endRunWithDiagnostic(error == EISDIR ? std::string("is a directory, not a file")
                                             : std::string("cannot open file for writing: ") +
                                                   std::strerror(error),
                             unit, name);
    }
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
        ::close(fd);
        endRunWithDiagnostic("is a directory, not a file", unit, name);
    }
    switch (lockOutputFile(fd, name, created)) {
        case OutputLock::Held:
            break;
        case OutputLock::Busy:
            ::close(fd);
            endRunWithDiagnostic("another run is writing this file; this run stops and leaves no file of its own",
                                 unit, name);
        case OutputLock::Moved:
            ::close(fd);
            if (attempt == kOpenAttempts) {
                endRunWithDiagnostic("the file was removed or replaced while it was being opened", unit, name);
            }
            return openOutputFileAttempt(unit, nameField, attempt + 1);
    }
    return std::make_unique<OutputFile>(unit, std::move(name), fd, OutputFile::Kind::FileFromStart);
}

}  // namespace

std::unique_ptr<OutputFile> openOutputFile(int unit, std::string_view nameField) {
    return openOutputFileAttempt(unit, nameField, 1);
}

}  // namespace ww3b
