#include "output_file.hpp"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

#include "process/file_descriptor.hpp"
#include "byte_search.hpp"
#include "io_diagnostic.hpp"

namespace ww3b {

OutputFile::OutputFile(int unit, std::string name, int fd, Kind kind, bool readOnly,
                       std::size_t bufferSize)
    : unit_(unit),
      name_(std::move(name)),
      fd_(fd),
      readOnly_(readOnly),
      cutPending_(kind == Kind::FileFromStart),
      buffer_(new char[std::max(bufferSize, kMaxLineLength + 2)]),
      capacity_(std::max(bufferSize, kMaxLineLength + 2)) {
    struct stat info {};
    regularFile_ = fd_ >= 0 && ::fstat(fd_, &info) == 0 && S_ISREG(info.st_mode);
}

OutputFile::~OutputFile() {
    // The run closes every file explicitly; this only releases the descriptor.
    if (fd_ >= 0) ::close(fd_);
}

char* OutputFile::beginLine(std::size_t maxLength) {
    if (maxLength > kMaxLineLength) maxLength = kMaxLineLength;
    if (capacity_ - used_ < maxLength + 2) flush();
    lineStart_ = used_;
    return buffer_.get() + used_;
}

void OutputFile::endLine(std::size_t length) {
    if (readOnly_) {
        failWrite(EBADF);
    }
    char* end = buffer_.get() + lineStart_ + length;
    end[0] = '\r';
    end[1] = '\n';
    used_ = lineStart_ + length + 2;
}

void OutputFile::writeLine(std::string_view text) {
    const std::size_t length = std::min(text.size(), kMaxLineLength);
    char* line = beginLine(length);
    std::memcpy(line, text.data(), length);
    endLine(length);
}

void OutputFile::flush() {
    if (used_ == 0 || fd_ < 0) return;
    const std::size_t size = used_;
    used_ = 0;
    writeBlock(buffer_.get(), size);
}

void OutputFile::writeBlock(const char* data, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t put = retryOnInterrupt([&] { return ::write(fd_, data + done, size - done); });
        if (put >= 0) {
            done += static_cast<std::size_t>(put);
            continue;
        }
        const int error = errno;
        // Keep only whole lines: cut a partial line that the system took before failing.
        const char* lastEnd = findLast(data, data + done, '\n');
        const std::size_t whole = lastEnd ? static_cast<std::size_t>(lastEnd - data) + 1 : 0;
        bytesWritten_ += static_cast<long long>(whole);
        if (regularFile_ && (whole != done || (cutPending_ && whole > 0))) {
            if (::ftruncate(fd_, bytesWritten_) == 0) cutPending_ = false;
        }
        failWrite(error);
    }
    bytesWritten_ += static_cast<long long>(size);
    if (cutPending_) {
        // Status "unknown": what the file held beyond the run's first lines is discarded.
        if (regularFile_ && ::ftruncate(fd_, bytesWritten_) != 0) failWrite(errno);
        cutPending_ = false;
    }
}

void OutputFile::failWrite(int error) {
    used_ = 0;
    std::string condition = "write failed: ";
    condition += readOnly_ ? "the file could only be opened for reading" : std::strerror(error);
    endRunWithDiagnostic(condition, unit_, name_);
}

void OutputFile::close() {
    if (fd_ < 0) return;
    flush();
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0 && errno != EINTR) {
        endRunWithDiagnostic(std::string("write failed at close: ") + std::strerror(errno), unit_,
                             name_);
    }
}

std::string OutputFile::flushAfterFailure() {
    try {
        flush();
    } catch (const RunFailure& failure) {
        return diagnosticMessage(failure);
    }
    return {};
}

std::string OutputFile::closeAfterFailure() {
    try {
        close();
    } catch (const RunFailure& failure) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
        return diagnosticMessage(failure);
    }
    return {};
}

}  // namespace ww3b
