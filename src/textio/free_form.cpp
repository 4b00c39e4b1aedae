#include "free_form.hpp"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <type_traits>

#include "byte_search.hpp"
#include "field_render.hpp"
#include "io_diagnostic.hpp"
#include "number_syntax.hpp"
#include "plain_real.hpp"
#include "printed_line_pairs.hpp"

namespace ww3b {

namespace {

// A value longer than this is refused rather than buffered without end. The input's
// buffer must hold the longest value with its CR LF (4098 bytes; the program's is 1 MiB).
constexpr std::size_t kMaxValueLength = 4096;
constexpr std::size_t kLeastWindow = kMaxValueLength + 2;

constexpr std::array<bool, 256> makeSeparators() {
    std::array<bool, 256> table{};
    for (const char c : {' ', '\t', ',', '/', '\n'}) table[static_cast<unsigned char>(c)] = true;
    return table;
}
constexpr std::array<bool, 256> kSeparator = makeSeparators();

// The targets of a statement: values stored as reals or integers, or values passed over
// (checked as reals would be, stored nowhere).
struct PassedOver {};

template <class T>
struct Targets {
    std::span<T> values;
    std::size_t size() const { return values.size(); }
    void fill(std::size_t from, std::size_t count, T value) { std::fill_n(values.begin() + from, count, value); }
    T* data() { return values.data(); }
    static void store(T* out, std::size_t at, T value) { out[at] = value; }
};

template <>
struct Targets<PassedOver> {
    std::size_t count;
    std::size_t size() const { return count; }
    void fill(std::size_t, std::size_t, PassedOver) {}
    PassedOver* data() { return nullptr; }
    static void store(PassedOver*, std::size_t, PassedOver) {}
};

NumberStatus parseValue(std::string_view text, float& value) { return parseReal(text, value); }
NumberStatus parseValue(std::string_view text, std::int32_t& value) { return parseTruncatedInteger(text, value); }
NumberStatus parseValue(std::string_view text, PassedOver&) {
    if (skipWaveModelReal(text.data(), text.data() + text.size()) == text.data() + text.size()) return NumberStatus::Ok;
    float value = 0;
    return parseReal(text, value);
}

// The fast roads of the plain-number run, both exact (plain_real.hpp): first the wave
// model's own shape "0.dddE+-dd", any exponent up to +38, as the three-digit whole number
// times the nearest double to its power of ten, rounded once to float (the two roundings
// agree with one for every such mantissa and exponent: tested exhaustively); then other
// plain numbers whose mantissa is a whole number of at most 2^24 and whose power of ten is
// at most 10 away, by one float multiplication or division of exact operands (Clinger's
// fast path). Anything else is left to the token road and parseReal.
const char* scanFast(const char* p, const char* end, float& value) {
    if (const char* stop = scanWaveModelReal(p, end, value)) return stop;
    return scanPlainReal(p, end, value);
}
const char* scanFast(const char* p, const char* end, PassedOver&) {
    if (const char* stop = skipWaveModelReal(p, end)) return stop;
    float value;
    return scanPlainReal(p, end, value);
}

// The wave model's own shape alone, as scanFast reads it.
const char* scanModelReal(const char* p, const char* end, float& value) { return scanWaveModelReal(p, end, value); }
const char* scanModelReal(const char* p, const char* end, PassedOver&) { return skipWaveModelReal(p, end); }

// "  0.dddE+dd" or "  0.dddE-dd" with an exponent up to +38: two blanks and a value that
// skipWaveModelReal takes. Every byte is tested against its range at once, in one 16-byte
// vector (bytes 11 to 15 take any value); needs 16 bytes at hand.
constexpr std::ptrdiff_t kPrintedGroupBytes = 11;
constexpr std::ptrdiff_t kPrintedGroupLoad = 16;
using Bytes16 = unsigned char __attribute__((vector_size(16)));
inline bool printedGroup(const char* g) {
    static constexpr Bytes16 kLeast = {' ', ' ', '0', '.', '0', '0', '0', 'E', '+', '0', '0', 0, 0, 0, 0, 0};
    static constexpr Bytes16 kMost = {' ', ' ', '0', '.', '9', '9', '9', 'E', '-', '9', '9', 255, 255, 255, 255, 255};
    Bytes16 bytes;
    std::memcpy(&bytes, g, sizeof bytes);
    const auto inRange = (bytes >= kLeast) & (bytes <= kMost);  // all ones where in range
    std::uint64_t low;
    std::uint64_t high;
    std::memcpy(&low, &inRange, 8);
    std::memcpy(&high, reinterpret_cast<const char*>(&inRange) + 8, 8);
    // The sign's range holds a comma too; a '+' exponent above 38 is out of a float's range.
    const bool plus = g[8] == '+';
    const int exponent = (g[9] - '0') * 10 + (g[10] - '0');
    return (low & high) == ~std::uint64_t{0} && g[8] != ',' &&
           !(plus && exponent > plain_real_detail::kHighestModelExponent);
}

// A whole line of seven such groups, its most common line, tested 16 bytes at a time
// (bytes 77 to 79 take any value); needs 80 bytes at hand. It takes exponents from -29 to
// +29 only (a tens digit up to 2), so that no exponent can be out of range; a line with
// others is left to printedGroup.
constexpr std::ptrdiff_t kPrintedLineGroups = 7;
constexpr std::ptrdiff_t kPrintedLineBytes = kPrintedLineGroups * kPrintedGroupBytes;
constexpr std::ptrdiff_t kPrintedLineLoad = 80;
static_assert(kPrintedPairLineBytes == kPrintedLineBytes + 1 && kPrintedPairGroups == 2 * kPrintedLineGroups);
struct PrintedLineRanges {
    unsigned char least[kPrintedLineLoad];
    unsigned char most[kPrintedLineLoad];
};
constexpr PrintedLineRanges makePrintedLineRanges() {
    constexpr char kLeast[] = "  0.000E+00";
    constexpr char kMost[] = "  0.999E-29";
    PrintedLineRanges ranges{};
    for (std::ptrdiff_t i = 0; i < kPrintedLineLoad; ++i) {
        const bool inLine = i < kPrintedLineBytes;
        ranges.least[i] = inLine ? static_cast<unsigned char>(kLeast[i % kPrintedGroupBytes]) : 0;
        ranges.most[i] = inLine ? static_cast<unsigned char>(kMost[i % kPrintedGroupBytes]) : 255;
    }
    return ranges;
}
constexpr PrintedLineRanges kPrintedLineRanges = makePrintedLineRanges();

inline bool printedLine(const char* line) {
    std::uint64_t all = ~std::uint64_t{0};
    for (std::ptrdiff_t at = 0; at < kPrintedLineLoad; at += 16) {
        Bytes16 bytes;
        Bytes16 least;
        Bytes16 most;
        std::memcpy(&bytes, line + at, 16);
        std::memcpy(&least, kPrintedLineRanges.least + at, 16);
        std::memcpy(&most, kPrintedLineRanges.most + at, 16);
        // The sign's range '+' to '-' holds a comma too, which no printed line has anywhere.
        const auto good = (bytes >= least) & (bytes <= most) & (bytes != ',');
        std::uint64_t low;
        std::uint64_t high;
        std::memcpy(&low, &good, 8);
        std::memcpy(&high, reinterpret_cast<const char*>(&good) + 8, 8);
        all &= low & high;
    }
    return all == ~std::uint64_t{0};
}

std::string valueProblem(NumberStatus status, std::string_view text) {
    if (status == NumberStatus::OutOfRange) return "number out of range: " + quotedForMessage(text);
    return "syntax error in free-form input: " + quotedForMessage(text);
}

std::string tooLongProblem() {
    return "syntax error in free-form input: a value of more than " + std::to_string(kMaxValueLength) +
           " characters";
}

const char* skipBlanks(const char* p, const char* end) {
    while (p < end && (*p == ' ' || *p == '\t')) ++p;
    return p;
}

// The bytes the scanners see without a refill: whole lines, from the cursor to the last
// line feed at hand; or, when the current line runs beyond the bytes at hand, all of them:
// then at least the longest value with its CR LF, unless the input ends first.
struct Window {
    const char* end;  // one past the last line feed, or the end of the bytes at hand
    bool wholeLines;  // the window ends with a line feed
};

Window openWindow(InputFile& in) {
    std::size_t searched = 0;
    for (;;) {
        const char* begin = in.cursor();
        const auto size = static_cast<std::size_t>(in.limit() - begin);
        if (const char* found = findLast(begin + searched, begin + size, '\n')) return {found + 1, true};
        if (size >= kLeastWindow || !in.refill()) return {in.limit(), false};
        searched = size;
    }
}

// A line feed, or a carriage return right before one (which ends the line with it; a
// carriage return elsewhere is data).
bool lineEndAt(const char* p, const char* end) {
    return *p == '\n' || (*p == '\r' && p + 1 < end && p[1] == '\n');
}

// One free-form read statement. Its parts: the window (blanks and line ends), the
// plain-number run, one token, and a token's repeat count.
template <class T>
class Statement {
public:
    Statement(InputFile& in, Targets<T> targets, OnFailure onFailure)
        : in_(in), targets_(targets), count_(targets.size()), onFailure_(onFailure) {}

    FreeFormResult read() {
        if (count_ == 0) return finish();
        for (;;) {
            const Window window = openWindow(in_);
            if (const std::optional<FreeFormResult> done = readWindow(window)) return *done;
        }
    }

private:
    // Reads the values of the window; returns the statement's result when it ends there.
    // Otherwise leaves the input where the next window opens: at the window's end, or
    // refilled.
    std::optional<FreeFormResult> readWindow(const Window& window) {
        const char* end = window.end;
        if constexpr (!std::is_same_v<T, std::int32_t>) {
            // Printed lines are tried first where the window opens at a line start, before
            // the first value's blanks are taken apart.
            if (atLineStart_) printedLines(end);
            atLineStart_ = false;
        }
        for (;;) {
            const char* p = skipBlanks(in_.cursor(), end);
            in_.advanceTo(p);
            if (p == end) {
                if (!window.wholeLines && !in_.refill()) {
                    return fail(ReadOutcome::EndOfFile, "end of file reached during a read");
                }
                atLineStart_ = window.wholeLines;
                return std::nullopt;
            }
            if (lineEndAt(p, end)) {
                consumeLineEnd(p);
                continue;
            }
            if (*p == ',') {
                in_.advanceTo(p + 1);
                if (expectingValue_ && ++next_ == count_) return finish();  // a null value
                expectingValue_ = true;
                continue;
            }
            if (*p == '/') return finish();
            if constexpr (!std::is_same_v<T, std::int32_t>) {
                if (modelLines(p, end)) continue;
                if (const char* q = plainRun(p, end); q != p) {
                    in_.advanceTo(q);
                    if (next_ == count_) return finish();
                    continue;
                }
            }
            // A value runs to the next separator; it never continues onto the next line.
            const char* q = p;
            while (q < end && !kSeparator[static_cast<unsigned char>(*q)]) ++q;
            const bool cut = q == end && !window.wholeLines;
            if (cut) {
                const CutValue more = continueCutValue(p, q);
                if (more == CutValue::TooLong) return fail(ReadOutcome::Failed, tooLongProblem());
                if (more == CutValue::ReadMore) return std::nullopt;
            }
            in_.advanceTo(q);
            // The carriage return of a CR LF line end is not part of the value.
            if (q < end && *q == '\n' && q[-1] == '\r') --q;
            if (std::optional<FreeFormResult> failed = takeToken(std::string_view(p, static_cast<std::size_t>(q - p)))) {
                return failed;
            }
            if (next_ == count_) return finish();
            if (cut) return std::nullopt;
        }
    }

    enum class CutValue { TooLong, ReadMore, EndsWithInput };

    // A value [p, q) cut by the end of bytes at hand that are not whole lines may go on
    // beyond them: it is kept and more is read (ReadMore: the window opens again). One more
    // than the longest value for the carriage return of a CR LF line end, which is not part
    // of the value: the limit must be the same wherever the buffer's end falls. When the
    // input ends instead, so does the value: [p, q) then spans it (the bytes may have moved).
    CutValue continueCutValue(const char*& p, const char*& q) {
        if (static_cast<std::size_t>(q - p) > kMaxValueLength + 1) return CutValue::TooLong;
        if (in_.refill()) return CutValue::ReadMore;
        p = in_.cursor();
        q = in_.limit();
        return CutValue::EndsWithInput;
    }

    void consumeLineEnd(const char* p) {
        in_.advanceTo(*p == '\r' ? p + 1 : p);
        in_.consumeLineFeed();
    }

    // The common case: plain numbers, each followed by a blank, a tab or a line end, taken
    // one after the other across the window's lines. Anything else (a comma, a star,
    // another shape, a value cut by the window's end) stops the run; the token road reads
    // it from there. Returns where the run stopped.
    const char* plainRun(const char* p, const char* end) {
        T* out = targets_.data();
        std::size_t next = next_;  // locals: the stores of values cannot touch them
        const char* stopped = p;
        for (;;) {
            T value{};
            const char* stop = scanFast(p, end, value);
            if (stop == nullptr || stop == end) break;
            if (*stop == ' ' || *stop == '\t') {
                p = skipBlanks(stop + 1, end);
            } else if (lineEndAt(stop, end)) {
                p = stop;
            } else {
                break;
            }
            Targets<T>::store(out, next++, value);
            stopped = stop;
            if (next == count_) break;
            if (p < end && lineEndAt(p, end)) {
                // The next line may be one for modelLines.
                consumeLineEnd(p);
                stopped = in_.cursor();
                break;
            }
            stopped = p;
            if (p == end) break;
        }
        if (next != next_) expectingValue_ = false;
        next_ = next;
        return stopped;
    }

    // The text of nearly every spectrum block: whole lines of values in the wave model's
    // shape "0.dddE+dd" (scanned as on the plain-number run, so they read alike), each
    // followed by blanks, tabs or the line end. A line is taken whole, its line end
    // included, only when every value on it has that shape and the statement wants more
    // values than the line holds; otherwise the other roads read it from `p`. This leaves
    // out the per-value questions of the plain-number run (line ends, the last value)
    // from most values. Returns whether it took at least one line.
    bool modelLines(const char* p, const char* end) {
        T* out = targets_.data();
        bool took = false;
        for (;;) {
            const std::size_t wanted = count_ - next_;
            std::size_t taken = 0;
            const char* q = p;
            for (;;) {
                if (q == end) return took;
                if (*q == '\n') break;
                if (*q == '\r' && q + 1 < end && q[1] == '\n') {
                    ++q;
                    break;
                }
                T value{};
                const char* stop = scanModelReal(q, end, value);
                if (stop == nullptr || stop == end || taken + 1 == wanted) return took;
                // A value stored here and then left to the other roads is read by them
                // again, to the same bits.
                Targets<T>::store(out, next_ + taken, value);
                ++taken;
                if (*stop == ' ' || *stop == '\t') {
                    q = skipBlanks(stop + 1, end);
                } else if (*stop == '\n' || *stop == '\r') {
                    q = stop;
                } else {
                    return took;
                }
            }
            next_ += taken;
            if (taken > 0) expectingValue_ = false;
            in_.advanceTo(q);
            in_.consumeLineFeed();
            took = true;
            printedLines(end);
            p = skipBlanks(in_.cursor(), end);
        }
    }

    // Whole lines exactly as the wave model prints them, from the cursor at a line start:
    // groups of two blanks and an unsigned "0.dddE+dd" (11 bytes, see printedGroup), then
    // the line end. Such a line holds just those values: values passed over are counted by
    // the groups, values read are worked out from the group's digits as scanWaveModelReal
    // does. A line of any other text, or one that holds the statement's last value, is
    // left to modelLines.
    void printedLines(const char* end) {
        T* out = targets_.data();
        for (;;) {
            printedLinePairs(end);
            const char* g = in_.cursor();
            // Whole lines of seven at a time while the statement wants more than a line
            // holds: one line, then pairs again.
            bool tookLine = false;
            while (!tookLine && count_ - next_ > kPrintedLineGroups && end - g >= kPrintedLineLoad && printedLine(g)) {
                const char* lineEnd = g + kPrintedLineBytes;
                if (*lineEnd == '\r') ++lineEnd;
                if (*lineEnd != '\n') break;
                if constexpr (std::is_same_v<T, float>) {
                    for (std::ptrdiff_t k = 0; k < kPrintedLineGroups; ++k) {
                        out[next_ + static_cast<std::size_t>(k)] = printedGroupValue(g + k * kPrintedGroupBytes);
                    }
                }
                next_ += kPrintedLineGroups;
                expectingValue_ = false;
                in_.advanceTo(lineEnd);
                in_.consumeLineFeed();
                g = in_.cursor();
                tookLine = true;
            }
            if (tookLine) continue;
            const std::size_t wanted = count_ - next_;
            std::size_t groups = 0;
            // Never the last value wanted: no store beyond the targets.
            while (groups + 1 < wanted && end - g >= kPrintedGroupLoad && printedGroup(g)) {
                if constexpr (std::is_same_v<T, float>) out[next_ + groups] = printedGroupValue(g);
                g += kPrintedGroupBytes;
                ++groups;
            }
            if (g < end && *g == '\r') ++g;
            if (g >= end || *g != '\n') return;
            next_ += groups;
            if (groups > 0) expectingValue_ = false;
            in_.advanceTo(g);
            in_.consumeLineFeed();
        }
    }

    // Pairs of printed lines checked whole from the cursor at a line start
    // (printed_line_pairs.hpp), while the statement wants more than a pair holds: values
    // passed over are counted, values read are worked out from their groups' digits as
    // printedLine's are.
    void printedLinePairs(const char* end) {
        const std::size_t wanted = count_ - next_;
        if (wanted <= kPrintedPairGroups) return;
        const char* g = in_.cursor();
        const std::size_t pairs = countPrintedLinePairs(g, end, (wanted - 1) / kPrintedPairGroups);
        if (pairs == 0) return;
        if constexpr (std::is_same_v<T, float>) readPrintedLinePairs(g, pairs, targets_.data() + next_);
        in_.consumeWholeLines(in_.cursor() + static_cast<std::ptrdiff_t>(pairs) * kPrintedPairBytes,
                              2 * static_cast<long>(pairs));
        next_ += pairs * kPrintedPairGroups;
        expectingValue_ = false;
    }

    // One value as it stands: c, r*c (r copies of c) or r* (r null values).
    std::optional<FreeFormResult> takeToken(std::string_view token) {
        // The same limit wherever the value stands, not only where it meets the end of the
        // bytes at hand: a file must read alike whatever its block boundaries.
        if (token.size() > kMaxValueLength) return fail(ReadOutcome::Failed, tooLongProblem());
        std::string_view constant = token;
        std::size_t repeat = 1;
        if (const auto star = token.find('*'); star != std::string_view::npos) {
            if (!repeatCount(token.substr(0, star), repeat)) return badValue(NumberStatus::Invalid, token);
            constant = token.substr(star + 1);
        }
        const std::size_t filled = std::min(repeat, count_ - next_);
        if (!constant.empty()) {
            T value{};
            const NumberStatus status = parseValue(constant, value);
            if (status != NumberStatus::Ok) return badValue(status, token);
            targets_.fill(next_, filled, value);
        }
        next_ += filled;
        expectingValue_ = false;
        return std::nullopt;
    }

    // A repeat count: a positive whole number that starts with a digit.
    static bool repeatCount(std::string_view text, std::size_t& repeat) {
        std::int32_t r = 0;
        if (text.empty() || text[0] < '0' || text[0] > '9' || parseWholeNumber(text, r) != NumberStatus::Ok || r <= 0) {
            return false;
        }
        repeat = static_cast<std::size_t>(r);
        return true;
    }

    FreeFormResult badValue(NumberStatus status, std::string_view token) {
        badValue_ = token;
        return fail(ReadOutcome::Failed, valueProblem(status, token));
    }

    FreeFormResult fail(ReadOutcome outcome, std::string problem) {
        const bool atEnd = outcome == ReadOutcome::EndOfFile;
        const long line = atEnd ? in_.lastLineNumber() : in_.lineNumber();
        if (onFailure_ == OnFailure::EndRun) {
            endRunWithDiagnostic(problem, in_.unit(), in_.name(), line, atEnd ? LinePosition::After : LinePosition::At);
        }
        return FreeFormResult{outcome, std::move(problem), line, std::string(badValue_), next_};
    }

    FreeFormResult finish() {
        in_.skipRestOfLine();
        return FreeFormResult{};
    }

    InputFile& in_;
    Targets<T> targets_;
    const std::size_t count_;
    const OnFailure onFailure_;
    std::size_t next_ = 0;
    bool expectingValue_ = true;  // no value since the statement began or since a comma
    bool atLineStart_ = true;     // the next window opens at a line start (a statement starts at one)
    std::string_view badValue_;
};

}  // namespace

FreeFormResult readFreeForm(InputFile& in, std::span<std::int32_t> targets, OnFailure onFailure) {
    return Statement<std::int32_t>(in, Targets<std::int32_t>{targets}, onFailure).read();
}

FreeFormResult readFreeForm(InputFile& in, std::span<float> targets, OnFailure onFailure) {
    return Statement<float>(in, Targets<float>{targets}, onFailure).read();
}

FreeFormResult skipFreeForm(InputFile& in, std::size_t count, OnFailure onFailure) {
    return Statement<PassedOver>(in, Targets<PassedOver>{count}, onFailure).read();
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
