#include "input_file.hpp"

#include <cerrno>
#include <algorithm>
#include <cstring>
#include <unistd.h>

#include "process/file_descriptor.hpp"
#include "io_diagnostic.hpp"

namespace ww3b {

InputFile::InputFile(int unit, std::string name, int fd, bool owned, std::size_t bufferSize)
    : unit_(unit),
      name_(std::move(name)),
      fd_(fd),
      owned_(owned),
      storage_(new char[bufferSize]),
      capacity_(bufferSize),
      cursor_(storage_.get()),
      end_(storage_.get()) {}

InputFile::InputFile(int unit, std::string name, std::string_view text)
    : unit_(unit),
      name_(std::move(name)),
      cursor_(text.data()),
      end_(text.data() + text.size()),
      inputExhausted_(true) {}

InputFile::~InputFile() { close(); }

void InputFile::close() {
    if (owned_ && fd_ >= 0) ::close(fd_);
    fd_ = -1;
    inputExhausted_ = true;
}

bool InputFile::refill() {
    if (inputExhausted_) return false;
    char* base = storage_.get();
    const std::size_t kept = static_cast<std::size_t>(end_ - cursor_);
    if (kept == capacity_) return false;  // a scanner asked for more than a buffer holds
    if (kept > 0 && cursor_ != base) std::memmove(base, cursor_, kept);
    cursor_ = base;
    end_ = base + kept;
    const ssize_t got = retryOnInterrupt([&] { return ::read(fd_, base + kept, capacity_ - kept); });
    if (got > 0) {
        end_ = base + kept + got;
        return true;
    }
    inputExhausted_ = true;
    if (got == 0) return false;
    const int error = errno;
    endRunWithDiagnostic(std::string("read failed: ") + std::strerror(error), unit_, name_, line_);
}

long InputFile::readLine(char* head, std::size_t limit) {
    if (atEnd()) return -1;
    std::size_t copied = 0;
    std::size_t length = 0;  // characters of the line seen so far, copied or not
    for (;;) {
        const char* lineFeed =
            static_cast<const char*>(std::memchr(cursor_, '\n', static_cast<std::size_t>(end_ - cursor_)));
        const char* stop = lineFeed ? lineFeed : end_;
        const std::size_t available = static_cast<std::size_t>(stop - cursor_);
        const std::size_t take = std::min(available, limit - copied);
        std::memcpy(head + copied, cursor_, take);
        copied += take;
        length += available;
        if (lineFeed) {
            // A carriage return right before the line feed ends the line with it; when the
            // line was longer than the limit, the return lies beyond what was copied.
            if (length == copied && copied > 0 && head[copied - 1] == '\r') --copied;
            cursor_ = lineFeed;
            consumeLineFeed();
            return static_cast<long>(copied);
        }
        cursor_ = end_;
        midLine_ = true;
        if (!refill()) {
            // The last line of a file without a final line feed.
            ++line_;
            midLine_ = false;
            return static_cast<long>(copied);
        }
    }
}

void InputFile::skipRestOfLine() {
    for (;;) {
        const char* lineFeed =
            static_cast<const char*>(std::memchr(cursor_, '\n', static_cast<std::size_t>(end_ - cursor_)));
        if (lineFeed) {
            cursor_ = lineFeed;
            consumeLineFeed();
            return;
        }
        cursor_ = end_;
        if (!refill()) return;
    }
}

}  // namespace ww3b
