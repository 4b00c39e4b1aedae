#pragma once
// One fixed-field statement: writing values through a RecordLayout into whole lines, or
// reading a layout's fields from the next lines of an input.

#include <cstdint>
#include <span>
#include <string_view>

#include "input_file.hpp"
#include "output_file.hpp"
#include "record_layout.hpp"

namespace ww3b {

// A value to write: an integer, a float or a text. Doubles are refused on purpose:
// every real the program writes is a float at the moment it is written.
struct FieldValue {
    enum class Type { Integer, Real, Text };
    FieldValue(std::int32_t v) : type(Type::Integer), integer(v) {}
    FieldValue(float v) : type(Type::Real), real(v) {}
    FieldValue(std::string_view v) : type(Type::Text), text(v) {}
    FieldValue(double) = delete;

    Type type;
    std::int32_t integer = 0;
    float real = 0;
    std::string_view text;
};

// Writes the values in order through the layout: one or more complete lines, each
// ending with CR LF, a line as long as the furthest column filled.
void writeFixedRecord(OutputFile& out, const RecordLayout& layout, std::span<const FieldValue> values);
// The same for a list of reals (an array section counts as its elements in order).
void writeFixedRecord(OutputFile& out, const RecordLayout& layout, std::span<const float> values);

// Where a value read goes.
struct FieldTarget {
    enum class Type { Integer, Real, Text };
    static FieldTarget of(std::int32_t& v) { return {Type::Integer, &v, 0}; }
    static FieldTarget of(float& v) { return {Type::Real, &v, 0}; }
    static FieldTarget of(std::span<char> text) { return {Type::Text, text.data(), text.size()}; }

    Type type;
    void* address;
    std::size_t size;  // text targets: the length of the text
};

enum class ReadOutcome { Ok, EndOfFile, Failed };
// Whether a failed read reaches the caller or ends the run with a diagnostic. A free-form
// read reports the end of the input and a value that cannot be read; a fixed-field read
// reports only the end of the input at the first line of its statement (a bad value
// always ends the run).
enum class OnFailure { EndRun, Report };

// Reads the next line(s) into the targets in order. Integer and numeric fields ignore
// blanks, read all blank as 0, and stop early at a comma; a bad value ends the run.
ReadOutcome readFixedRecord(InputFile& in, const RecordLayout& layout, std::span<const FieldTarget> targets,
                            OnFailure atEnd = OnFailure::EndRun);
ReadOutcome readFixedRecord(InputFile& in, const RecordLayout& layout, std::span<float> targets,
                            OnFailure atEnd = OnFailure::EndRun);

// A text shown in a diagnostic: at most 40 characters, other than printable ASCII as '?'.
std::string quotedForMessage(std::string_view text);

}  // namespace ww3b
