#include "process/pipe_io.hpp"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "process/file_descriptor.hpp"

namespace ww3b {

bool writeWhole(int fd, const void* data, std::size_t size) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    while (size > 0) {
        const ssize_t written = retryOnInterrupt([&] { return ::write(fd, bytes, size); });
        if (written <= 0) return false;
        bytes += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

bool readWhole(int fd, void* data, std::size_t size) {
    auto* bytes = static_cast<unsigned char*>(data);
    while (size > 0) {
        const ssize_t got = retryOnInterrupt([&] { return ::read(fd, bytes, size); });
        if (got <= 0) return false;
        bytes += got;
        size -= static_cast<std::size_t>(got);
    }
    return true;
}

PipeRead PipeReader::take(void* data, std::size_t size, std::chrono::milliseconds limit) {
    auto* out = static_cast<unsigned char*>(data);
    while (size > 0) {
        if (begin_ == end_) {
            // The limit counts from the last bytes that came: a stall, not a long message.
            const auto deadline = std::chrono::steady_clock::now() + limit;
            for (;;) {
                const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                    deadline - std::chrono::steady_clock::now());
                pollfd wait{fd_, POLLIN, 0};
                const int ready = ::poll(&wait, 1, static_cast<int>(std::max<long long>(0, left.count())));
                if (ready > 0) break;
                if (ready == 0) return PipeRead::TimedOut;
                if (errno != EINTR) return PipeRead::Failed;
            }
            const ssize_t got = retryOnInterrupt([&] { return ::read(fd_, buffer_.data(), buffer_.size()); });
            if (got == 0) return PipeRead::Closed;
            if (got < 0) return PipeRead::Failed;
            begin_ = 0;
            end_ = static_cast<std::size_t>(got);
        }
        const std::size_t piece = std::min(size, end_ - begin_);
        std::memcpy(out, buffer_.data() + begin_, piece);
        out += piece;
        begin_ += piece;
        size -= piece;
    }
    return PipeRead::Done;
}

}  // namespace ww3b
