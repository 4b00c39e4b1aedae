#include "console_answer.hpp"

#include <bit>
#include <charconv>
#include <limits>
#include <span>
#include <type_traits>

#include "field_render.hpp"
#include "fixed_record.hpp"

namespace ww3b {

namespace {

// Of a longer answer line, only this much is read; the rest is passed over.
constexpr std::size_t kAnswerLineKept = 8192;

struct AnswerLine {
    std::string text;
    bool cut = false;  // the line went on beyond `text`
};

// The next console line, of which at most `keep` characters are kept; the end of the
// console input ends the run.
AnswerLine readAnswerLine(Console& console, std::string_view question, std::size_t keep) {
    AnswerLine line{std::string(keep + 1, '\0')};
    const long length = console.input.readLine(line.text.data(), line.text.size());
    if (length < 0) {
        endRunWithDiagnostic(std::string(question) + ": no answer, the input ended", console.input.unit(),
                             console.input.name(), console.input.lastLineNumber(), LinePosition::After);
    }
    line.text.resize(static_cast<std::size_t>(length));
    if (line.text.size() > keep) {
        line.text.resize(keep);
        line.cut = true;
    }
    return line;
}

bool isBlankCharacter(char c) { return c == ' ' || c == '\t'; }

std::string shown(std::int32_t value) { return std::to_string(value); }
std::string shown(float value) {
    return shortestText(value);
}

bool sameBits(std::int32_t a, std::int32_t b) { return a == b; }
bool sameBits(float a, float b) { return std::bit_cast<std::uint32_t>(a) == std::bit_cast<std::uint32_t>(b); }

template <class T>
T answerNumber(Console& console, std::string_view question) {
    constexpr bool whole = std::is_same_v<T, std::int32_t>;
    console.output.flush();
    std::string line;
    for (;;) {
        AnswerLine read = readAnswerLine(console, question, kAnswerLineKept);
        if (read.cut) {
            // No value is cut in two: the kept part ends at its last separator.
            const auto separator = read.text.find_last_of(" \t,/");
            if (separator == std::string::npos) {
                refuseConsoleAnswer(console, question, "a value of more than " + std::to_string(kAnswerLineKept) +
                                                           " characters");
            }
            read.text.resize(separator + 1);
        }
        if (read.text.find_first_not_of(" \t") != std::string::npos) {
            line = std::move(read.text);
            break;
        }
        if (read.cut) {
            refuseConsoleAnswer(console, question,
                                "more than " + std::to_string(kAnswerLineKept) + " blanks before the answer");
        }
    }
    // The line alone, read by the free-form rules: once for the answer, once more with a
    // second target to see whether a further number follows it.
    T answer{};
    InputFile first(console.input.unit(), console.input.name(), line);
    const FreeFormResult result = readFreeForm(first, std::span<T>(&answer, 1), OnFailure::Report);
    if (result.outcome != ReadOutcome::Ok) {
        std::string problem = result.problem;
        if (!result.value.empty()) {
            const bool outOfRange = result.problem.starts_with("number out of range");
            problem = quotedForMessage(result.value) +
                      (outOfRange ? (whole ? " is not a whole number from -2147483648 to 2147483647"
                                           : " is too large for a number")
                                  : (whole ? " is not a whole number" : " is not a number"));
        }
        refuseConsoleAnswer(console, question, problem);
    }
    T pair[2] = {answer, whole ? T(std::numeric_limits<std::int32_t>::min()) : std::numeric_limits<T>::quiet_NaN()};
    const T unset = pair[1];
    InputFile again(console.input.unit(), console.input.name(), line);
    const FreeFormResult both = readFreeForm(again, std::span<T>(pair, 2), OnFailure::Report);
    // Words after the answer are a note, as answer files carry them; a number is a value.
    const bool more = both.outcome == ReadOutcome::Ok && !sameBits(pair[1], unset);
    if (more) {
        warnAt(std::string(question) + ": the line " + quotedForMessage(line) + " holds more than one value; " +
                   shown(answer) + " was used (values are separated by blanks or commas; a decimal point is written \".\")",
               console.input.unit(), console.input.name(), console.input.lastLineNumber());
    }
    return answer;
}

}  // namespace

void refuseConsoleAnswer(Console& console, std::string_view question, const std::string& problem) {
    throw RefusedAnswer(std::string(question) + ": " + problem, console.input.unit(), console.input.name(),
                        console.input.lastLineNumber());
}

std::string answerName(Console& console, std::string_view question) {
    console.output.flush();
    const std::string line = readAnswerLine(console, question, 2 * kNameFieldLength).text;
    if (line.size() > kNameFieldLength && !isBlankCharacter(line[kNameFieldLength - 1]) &&
        !isBlankCharacter(line[kNameFieldLength])) {
        refuseConsoleAnswer(console, question,
                            quotedForMessage(line) + " is longer than the 30 characters a name may hold");
    }
    std::string name = line.substr(0, kNameFieldLength);
    name.resize(kNameFieldLength, ' ');
    return name;
}

std::int32_t answerInteger(Console& console, std::string_view question) {
    return answerNumber<std::int32_t>(console, question);
}

float answerReal(Console& console, std::string_view question) { return answerNumber<float>(console, question); }

}  // namespace ww3b
