#pragma once
// Whole messages through a pipe: the writer's side writes all of a buffer; the reader's
// side takes an exact number of bytes, waiting on the pipe with poll up to a limit.

#include <chrono>
#include <cstddef>
#include <vector>

namespace ww3b {

// Writes all `size` bytes, across short writes and interruptions. False when the pipe
// fails (the reader has gone).
bool writeWhole(int fd, const void* data, std::size_t size);

// Reads all `size` bytes, blocking without a limit. False at the end of the pipe or an error.
bool readWhole(int fd, void* data, std::size_t size);

enum class PipeRead { Done, Closed, TimedOut, Failed };

// The reading end of a pipe, read in large pieces.
class PipeReader {
public:
    explicit PipeReader(int fd) : fd_(fd), buffer_(std::size_t{1} << 18) {}

    // Takes exactly `size` bytes. TimedOut when nothing new has come for `limit`; Closed
    // when the writer has gone before all came.
    PipeRead take(void* data, std::size_t size, std::chrono::milliseconds limit);

private:
    int fd_;
    std::vector<unsigned char> buffer_;
    std::size_t begin_ = 0, end_ = 0;
};

}  // namespace ww3b
