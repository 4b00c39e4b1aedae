#pragma once
// A sequential text input (the WW3 spectral file, or the console's input side) read in
// large blocks. Readers scan the buffer directly; memory stays the size of the buffer
// whatever the size of the input or the length of its lines.

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace ww3b {

class InputFile {
public:
    static constexpr std::size_t kDefaultBufferSize = std::size_t{1} << 17;

    // Reads from an open descriptor, which it closes when closed itself if `owned`.
    InputFile(int unit, std::string name, int fd, bool owned,
              std::size_t bufferSize = kDefaultBufferSize);
    // Reads from text held in memory (tests, fuzzing); the text must outlive the file.
    InputFile(int unit, std::string name, std::string_view text);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    int unit() const { return unit_; }
    const std::string& name() const { return name_; }
    // The line that the next read starts on, counted from 1.
    long lineNumber() const { return line_; }
    // The last line that reading has reached (0 before the first): the line to name when
    // the input ends too early.
    long lastLineNumber() const { return midLine_ ? line_ : line_ - 1; }

    // Reads the next line: copies at most `limit` of its characters into `head` and skips
    // the rest. A carriage return right before the line feed is not part of the line.
    // Returns the number of characters copied, or -1 at the end of the input.
    long readLine(char* head, std::size_t limit);
    // Skips whatever is left of the current line, its line feed included.
    void skipRestOfLine();

    // Raw access for scanners: the unread bytes are [cursor(), limit()).
    const char* cursor() const { return cursor_; }
    const char* limit() const { return end_; }
    void advanceTo(const char* position) {
        midLine_ = midLine_ || position != cursor_;
        cursor_ = position;
    }
    // Consumes a line feed at the cursor and counts the line.
    void consumeLineFeed() {
        ++cursor_;
        ++line_;
        midLine_ = false;
    }
    // Moves the cursor to `position`, just after a line feed, over `lines` whole lines.
    void consumeWholeLines(const char* position, long lines) {
        cursor_ = position;
        line_ += lines;
        midLine_ = false;
    }
    // Keeps the unread bytes and reads more behind them. Returns false when nothing
    // more could be read (the end of the input). A read error ends the run.
    bool refill();
    // True when every byte has been consumed and nothing more can be read.
    bool atEnd() {
        return cursor_ == end_ && !refill();
    }

    void close();

private:
    int unit_;
    std::string name_;
    int fd_ = -1;
    bool owned_ = false;
    std::unique_ptr<char[]> storage_;
    std::size_t capacity_ = 0;
    const char* cursor_ = nullptr;
    const char* end_ = nullptr;
    bool inputExhausted_ = false;
    long line_ = 1;
    bool midLine_ = false;
};

}  // namespace ww3b
