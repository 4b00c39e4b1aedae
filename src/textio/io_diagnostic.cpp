#include "io_diagnostic.hpp"

#include <unistd.h>

#include <cerrno>

#include "process/file_descriptor.hpp"

namespace ww3b {

RunFailure::RunFailure(std::string condition, int unit, std::string file, long line,
                     LinePosition position)
    : std::runtime_error(describeFailure(condition, unit, file, line, position)),
      condition_(std::move(condition)),
      unit_(unit),
      file_(std::move(file)),
      line_(line),
      position_(position) {}

void endRunWithDiagnostic(std::string condition, int unit, std::string file, long line,
                          LinePosition position) {
    throw RunFailure(std::move(condition), unit, std::move(file), line, position);
}

std::string describeFailure(const std::string& condition, int unit, const std::string& file,
                            long line, LinePosition position) {
    std::string text = condition + " (unit " + std::to_string(unit) + ", ";
    if (unit == kConsoleInputUnit || unit == kConsoleOutputUnit) {
        text += file;
    } else {
        text += "file \"" + file + "\"";
    }
    if (line > 0) text += (position == LinePosition::After ? ", after line " : ", line ") + std::to_string(line);
    return text + ")";
}

std::string diagnosticMessage(const RunFailure& failure) {
    return std::string("ww3-brevolan: error: ") + failure.what() + "\r\n";
}

void writeToStandardError(const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t put =
            retryOnInterrupt([&] { return ::write(STDERR_FILENO, text.data() + done, text.size() - done); });
        if (put <= 0) return;
        done += static_cast<std::size_t>(put);
    }
}

std::string warningMessage(const std::string& text) {
    return "ww3-brevolan: warning: " + text + "\r\n";
}

namespace {
bool silenced = false;

std::vector<std::string>& issued() {
    static std::vector<std::string> texts;
    return texts;
}
}  // namespace

void silenceWarnings(bool silence) { silenced = silence; }

bool warningsSilenced() { return silenced; }


void warn(const std::string& text) {
    issued().push_back(text);
    if (!silenced) writeToStandardError(warningMessage(text));
}

void warnEvenWhenQuiet(const std::string& text) {
    issued().push_back(text);
    writeToStandardError(warningMessage(text));
}

const std::vector<std::string>& warningsIssued() { return issued(); }

void forgetIssuedWarnings() { issued().clear(); }

void warnAt(const std::string& text, int unit, const std::string& file, long line) {
    warn(describeFailure(text, unit, file, line));
}

}  // namespace ww3b
