#pragma once
// The process's own handles on the system: an owning file descriptor that closes itself,
// and the one retry loop for calls that a signal may interrupt (EINTR).

#include <cerrno>
#include <unistd.h>
#include <utility>

namespace ww3b {

// Calls `call` again for as long as it fails with EINTR; returns its last result.
template <typename Call>
auto retryOnInterrupt(Call&& call) -> decltype(call()) {
    for (;;) {
        auto result = call();
        if (result == static_cast<decltype(result)>(-1) && errno == EINTR) continue;
        return result;
    }
}

// Owns one open descriptor and closes it when it goes out of scope; moves, never copies.
// -1 is "none".
class FileDescriptor {
public:
    FileDescriptor() noexcept = default;
    explicit FileDescriptor(int fd) noexcept : fd_(fd) {}
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept {
        if (this != &other) reset(std::exchange(other.fd_, -1));
        return *this;
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() { reset(); }

    int get() const noexcept { return fd_; }
    bool isOpen() const noexcept { return fd_ >= 0; }
    explicit operator bool() const noexcept { return isOpen(); }

    // Gives the descriptor up without closing it.
    int release() noexcept { return std::exchange(fd_, -1); }

    // Closes the descriptor held (a close is never retried: after EINTR the descriptor is
    // already gone on Linux and the BSDs) and takes `fd` instead.
    void reset(int fd = -1) noexcept {
        if (fd_ >= 0) ::close(fd_);
        fd_ = fd;
    }

    // Closes now and tells whether the close reported success (a file system may report a
    // deferred write error here); EINTR counts as success, for the reason above.
    bool close() noexcept {
        if (fd_ < 0) return true;
        const int result = ::close(std::exchange(fd_, -1));
        return result == 0 || errno == EINTR;
    }

private:
    int fd_ = -1;
};

}  // namespace ww3b
