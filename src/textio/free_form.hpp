#pragma once
// Free-form input (list of values separated by blanks, tabs or commas, with repeat
// counts, null values and a closing slash) and the console's prompt lines.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "fixed_record.hpp"
#include "input_file.hpp"
#include "output_file.hpp"

namespace ww3b {


struct FreeFormResult {
    ReadOutcome outcome = ReadOutcome::Ok;
    std::string problem;  // what went wrong, in words (outcomes other than Ok)
    long line = 0;        // the line of the input where it went wrong
    std::string value;    // a value that could not be read, as it stands
    std::size_t valuesTaken = 0;  // targets given a value or a null before the failure
};

// One free-form read statement: starts at the next line, takes values from as many lines
// as it needs, and skips the rest of the line that held its last value. Targets without
// a value (null values, a slash) keep what they held.
FreeFormResult readFreeForm(InputFile& in, std::span<std::int32_t> targets,
                            OnFailure onFailure = OnFailure::EndRun);
FreeFormResult readFreeForm(InputFile& in, std::span<float> targets, OnFailure onFailure = OnFailure::EndRun);

// Passes over `count` values as readFreeForm with as many real targets would read them
// (lines, repeat counts, null values, a slash, the end of the input, and the same
// diagnostics for a value that is not a real), without converting them: it leaves the
// input where that read would.
FreeFormResult skipFreeForm(InputFile& in, std::size_t count, OnFailure onFailure = OnFailure::EndRun);

// A console line: one blank, the text as stored, and optionally a 15-column real.
void writeFreeFormLine(OutputFile& out, std::string_view text);
void writeFreeFormLine(OutputFile& out, std::string_view text, float value);

// The console: answers come from `input` (unit 5), prompts go to `output` (unit 6).
// Every read flushes the prompts first.
struct Console {
    InputFile& input;
    OutputFile& output;
    // Answers are typed at a terminal: an answer that cannot be taken is explained and
    // its question asked again, instead of ending the run.
    bool interactive = false;
};

inline constexpr std::size_t kNameFieldLength = 30;

// The next console line as a 30-character field: its first 30 characters, padded with
// blanks (an empty line gives 30 blanks).
std::string readTextAnswer(Console& console);
// One free-form value from the console; the target starts at 0, so an answer that
// leaves it unchanged (a slash, a null value) gives 0.
std::int32_t readIntegerAnswer(Console& console);
float readRealAnswer(Console& console);

}  // namespace ww3b
