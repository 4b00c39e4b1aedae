#pragma once
// A sequential text output (an output file, or the console's output side). Lines are
// built straight into a large buffer and handed to the system in large blocks; the
// buffer only ever holds whole lines, and every way out of the run flushes it.

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace ww3b {

class OutputFile {
public:
    static constexpr std::size_t kDefaultBufferSize = std::size_t{1} << 18;
    // The longest line any statement may build.
    static constexpr std::size_t kMaxLineLength = 4096;

    enum class Kind {
        // Opened with status "unknown": the first block written cuts the file after it,
        // so a file that receives lines ends up holding exactly the run's lines, and one
        // that receives none keeps its old contents.
        FileFromStart,
        // A stream that is only appended to (the console).
        Stream,
    };

    // Takes ownership of `fd`. A file opened for reading only (`readOnly`) fails at the
    // first line written to it.
    OutputFile(int unit, std::string name, int fd, Kind kind, bool readOnly = false,
               std::size_t bufferSize = kDefaultBufferSize);
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    int unit() const { return unit_; }
    const std::string& name() const { return name_; }
    bool isOpen() const { return fd_ >= 0; }

    // Room for one line of at most `maxLength` characters; the caller fills it and then
    // ends the line with endLine, which appends CR LF.
    char* beginLine(std::size_t maxLength);
    void endLine(std::size_t length);
    void writeLine(std::string_view text);

    // Hands every complete line to the system. A failed write ends the run with a
    // diagnostic; the file then holds only whole lines.
    void flush();
    // Flushes, then closes. Closing a file that is not open does nothing.
    void close();
    // For the end of a failed run: flushes and closes, and returns the text of a failure
    // instead of throwing it (empty when all went well).
    std::string closeAfterFailure();
    // For the end of a failed run, before its empty files are told apart: flushes, and
    // returns the text of a failure instead of throwing it.
    std::string flushAfterFailure();

private:
    void writeBlock(const char* data, std::size_t size);
    [[noreturn]] void failWrite(int error);

    int unit_;
    std::string name_;
    int fd_;
    bool readOnly_;
    bool cutPending_;
    bool regularFile_ = false;
    long long bytesWritten_ = 0;
    std::unique_ptr<char[]> buffer_;
    std::size_t capacity_;
    std::size_t used_ = 0;
    std::size_t lineStart_ = 0;
};

}  // namespace ww3b
