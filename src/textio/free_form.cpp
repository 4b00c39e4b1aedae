#include "free_form.hpp"

#include <array>
#include <cstring>
#include <type_traits>

#include "field_render.hpp"
#include "io_diagnostic.hpp"
#include "number_syntax.hpp"
#include "plain_real.hpp"

namespace ww3b {

namespace {

// A value longer than this is refused rather than buffered without end. The input's
// buffer must hold the longest value with its CR LF (4098 bytes; the program's is 1 MiB).
constexpr std::size_t kMaxValueLength = 4096;

constexpr std::array<bool, 256> makeSeparators() {
    std::array<bool, 256> table{};
    for (const char c : {' ', '\t', ',', '/', '\n'}) table[static_cast<unsigned char>(c)] = true;
    return table;
}
constexpr std::array<bool, 256> kSeparator = makeSeparators();

NumberStatus parseValue(std::string_view text, float& value) { return parseReal(text, value); }
NumberStatus parseValue(std::string_view text, std::int32_t& value) { return parseTruncatedInteger(text, value); }

std::string valueProblem(NumberStatus status, std::string_view text) {
    if (status == NumberStatus::OutOfRange) return "number out of range: " + quotedForMessage(text);
    return "syntax error in free-form input: " + quotedForMessage(text);
}

std::string tooLongProblem() {
    return "syntax error in free-form input: a value of more than " + std::to_string(kMaxValueLength) +
           " characters";
}

template <class T>
FreeFormResult readStatement(InputFile& in, std::span<T> targets, OnFailure onFailure) {
    std::size_t next = 0;
    std::string_view badValue;
    auto fail = [&](ReadOutcome outcome, std::string problem) {
        const bool atEnd = outcome == ReadOutcome::EndOfFile;
        const long line = atEnd ? in.lastLineNumber() : in.lineNumber();
        if (onFailure == OnFailure::EndRun) {
            endRunWithDiagnostic(problem, in.unit(), in.name(), line,
                                 atEnd ? LinePosition::After : LinePosition::At);
        }
        return FreeFormResult{outcome, std::move(problem), line, std::string(badValue), next};
    };
    auto finish = [&]() {
        in.skipRestOfLine();
        return FreeFormResult{};
    };
    const std::size_t count = targets.size();
    if (count == 0) return finish();
    bool expectingValue = true;  // no value since the statement began or since a comma
    for (;;) {
        const char* p = in.cursor();
        const char* end = in.limit();
        while (p < end && (*p == ' ' || *p == '\t')) ++p;
        in.advanceTo(p);
        if (p == end) {
            if (!in.refill()) return fail(ReadOutcome::EndOfFile, "end of file reached during a read");
            continue;
        }
        const char c = *p;
        if (c == '\n') {
            in.consumeLineFeed();
            continue;
        }
        if (c == '\r') {
            // CR LF ends a line like LF; a carriage return elsewhere is data, and starts a
            // value that cannot be read.
            if (p + 1 == end) {
                if (in.refill()) continue;
                p = in.cursor();
                end = in.limit();
            }
            if (p + 1 < end && p[1] == '\n') {
                in.advanceTo(p + 1);
                in.consumeLineFeed();
                continue;
            }
        }
        if (c == ',') {
            in.advanceTo(p + 1);
            if (expectingValue && ++next == count) return finish();  // a null value
            expectingValue = true;
            continue;
        }
        if (c == '/') return finish();

        if constexpr (std::is_same_v<T, float>) {
            // The common case: plain numbers, each ended by a blank, a tab or a line feed,
            // read one after the other while the buffer holds them. A comma, a star, a
            // carriage return, the buffer's end or anything unusual leaves this loop for
            // the general road below, which reads the same value.
            const char* q = p;
            for (;;) {
                float value;
                const char* stop = scanPlainReal(q, end, value);
                if (stop == nullptr || stop == end || (*stop != ' ' && *stop != '\t' && *stop != '\n')) break;
                targets[next++] = value;
                expectingValue = false;
                q = stop;
                if (next == count) {
                    in.advanceTo(q);
                    return finish();
                }
                for (;;) {
                    while (q < end && (*q == ' ' || *q == '\t')) ++q;
                    if (q == end || *q != '\n') break;
                    in.advanceTo(q);
                    in.consumeLineFeed();
                    ++q;
                }
                if (q == end) break;
            }
            if (q != p) {
                in.advanceTo(q);
                continue;
            }
        }

        // A value runs to the next separator; it never continues onto the next line.
        const char* q = p;
        while (q < end && !kSeparator[static_cast<unsigned char>(*q)]) ++q;
        if (q == end) {
            // One more for the carriage return of a CR LF line end, which is not part of
            // the value: the limit must be the same wherever the buffer's end falls.
            if (static_cast<std::size_t>(q - p) > kMaxValueLength + 1) {
                return fail(ReadOutcome::Failed, tooLongProblem());
            }
            if (in.refill()) continue;  // read on, keeping the value's start
            p = in.cursor();
            q = in.limit();
        }
        in.advanceTo(q);
        // The carriage return of a CR LF line end is not part of the value.
        if (q < in.limit() && *q == '\n' && q[-1] == '\r') --q;
        const std::string_view token(p, static_cast<std::size_t>(q - p));
        // The same limit wherever the value stands, not only where it meets the end of
        // the buffer: a file must read alike whatever its block boundaries.
        if (token.size() > kMaxValueLength) return fail(ReadOutcome::Failed, tooLongProblem());

        std::string_view constant = token;
        std::size_t repeat = 1;
        if (const auto star = token.find('*'); star != std::string_view::npos) {
            // r*c: r copies of c; r*: r null values.
            std::int32_t r = 0;
            if (star == 0 || token[0] < '0' || token[0] > '9' ||
                parseWholeNumber(token.substr(0, star), r) != NumberStatus::Ok || r <= 0) {
                badValue = token;
                return fail(ReadOutcome::Failed, valueProblem(NumberStatus::Invalid, token));
            }
            repeat = static_cast<std::size_t>(r);
            constant = token.substr(star + 1);
        }
        const std::size_t filled = std::min(repeat, count - next);
        if (constant.empty()) {
            next += filled;
        } else {
            T value{};
            const NumberStatus status = parseValue(constant, value);
            if (status != NumberStatus::Ok) {
                badValue = token;
                return fail(ReadOutcome::Failed, valueProblem(status, token));
            }
            for (std::size_t k = 0; k < filled; ++k) targets[next++] = value;
        }
        expectingValue = false;
        if (next == count) return finish();
    }
}

}  // namespace

FreeFormResult readFreeForm(InputFile& in, std::span<std::int32_t> targets, OnFailure onFailure) {
    return readStatement(in, targets, onFailure);
}

FreeFormResult readFreeForm(InputFile& in, std::span<float> targets, OnFailure onFailure) {
    return readStatement(in, targets, onFailure);
}

void writeFreeFormLine(OutputFile& out, std::string_view text) {
    char* line = out.beginLine(1 + text.size());
    line[0] = ' ';
    std::memcpy(line + 1, text.data(), text.size());
    out.endLine(1 + text.size());
}

void writeFreeFormLine(OutputFile& out, std::string_view text, float value) {
    char* line = out.beginLine(1 + text.size() + kFreeFormRealWidth);
    line[0] = ' ';
    std::memcpy(line + 1, text.data(), text.size());
    renderFreeFormReal(line + 1 + text.size(), value);
    out.endLine(1 + text.size() + kFreeFormRealWidth);
}

std::string readTextAnswer(Console& console) {
    static const RecordLayout nameLayout({textField(static_cast<int>(kNameFieldLength))});
    console.output.flush();
    std::string name(kNameFieldLength, ' ');
    const FieldTarget target = FieldTarget::of(std::span<char>(name));
    readFixedRecord(console.input, nameLayout, std::span<const FieldTarget>(&target, 1));
    return name;
}

std::int32_t readIntegerAnswer(Console& console) {
    console.output.flush();
    std::int32_t answer = 0;
    readFreeForm(console.input, std::span<std::int32_t>(&answer, 1));
    return answer;
}

float readRealAnswer(Console& console) {
    console.output.flush();
    float answer = 0;
    readFreeForm(console.input, std::span<float>(&answer, 1));
    return answer;
}

}  // namespace ww3b
