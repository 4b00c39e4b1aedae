#pragma once
// The common end of every I/O failure that the run does not handle itself: a message
// that names the condition, the unit and the file (and the line, where one is known).

#include <stdexcept>
#include <string>
#include <vector>

namespace ww3b {

// Units of the console sides; the files carry their own (11 input; 12, 15, 18, 19 output).
inline constexpr int kConsoleInputUnit = 5;
inline constexpr int kConsoleOutputUnit = 6;

// Exit status of a run that ended with a diagnostic.
inline constexpr int kDiagnosticExitStatus = 2;

// Where in its file a failure happened: at a line, or after the last line (the end of
// the file came too early).
enum class LinePosition { At, After };

class RunFailure : public std::runtime_error {
public:
    // `line` is the line of the file where the failure happened, 0 when none applies.
    RunFailure(std::string condition, int unit, std::string file, long line,
              LinePosition position = LinePosition::At);

    const std::string& condition() const { return condition_; }
    int unit() const { return unit_; }
    const std::string& file() const { return file_; }
    long line() const { return line_; }

private:
    std::string condition_;
    int unit_;
    std::string file_;
    long line_;
};

// Throws the RunFailure; the run driver catches it, closes every open file (keeping all
// lines written so far) and ends the process with kDiagnosticExitStatus.
[[noreturn]] void endRunWithDiagnostic(std::string condition, int unit, std::string file,
                                       long line = 0, LinePosition position = LinePosition::At);

// "condition (unit 11, file "a.spec", line 7)"; the console sides are named as such.
std::string describeFailure(const std::string& condition, int unit, const std::string& file,
                            long line, LinePosition position = LinePosition::At);

// The one-line message for standard error, program name first, ending in CR LF like
// every other line the program writes.
std::string diagnosticMessage(const RunFailure& failure);

// A warning line for standard error (the run goes on or ends normally).
std::string warningMessage(const std::string& text);

// A warning on standard error at once, unless warnings are silenced (-q, --quiet); the
// setting holds for the whole process, as warnings come from every layer of the run.
void warn(const std::string& text);
// The same with where it applies: "text (unit N, file "name", line L)".
void warnAt(const std::string& text, int unit, const std::string& file, long line = 0);
void silenceWarnings(bool silenced);
bool warningsSilenced();
// Every warning text met from now on (silenced or not) is also added to `kept`, for a
// record of the run; nullptr stops that.
void keepWarningsIn(std::vector<std::string>* kept);

// Writes the text to standard error at once, unbuffered; a failure there is ignored, as
// there is nowhere left to report it.
void writeToStandardError(const std::string& text);

}  // namespace ww3b
