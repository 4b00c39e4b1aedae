#include "fixed_record.hpp"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <string>

#include "field_render.hpp"
#include "io_diagnostic.hpp"
#include "number_syntax.hpp"
#include "plain_real.hpp"

namespace ww3b {

namespace {

using Step = RecordLayout::Step;

[[noreturn]] void layoutMismatch() {
    throw std::logic_error("a value does not match the type of its layout field");
}

struct MixedValues {
    std::span<const FieldValue> values;
    std::size_t next = 0;
    bool empty() const { return next == values.size(); }
    // Renders the next value into the field; returns the columns taken.
    int render(const Step& step, char* field) {
        const FieldValue& value = values[next++];
        switch (step.kind) {
            case LayoutItemKind::IntegerField:
                if (value.type != FieldValue::Type::Integer) layoutMismatch();
                renderInteger(field, step.width, value.integer);
                return step.width;
            case LayoutItemKind::FixedField:
                if (value.type != FieldValue::Type::Real) layoutMismatch();
                renderFixed(field, step.width, step.decimals, value.real);
                return step.width;
            case LayoutItemKind::TextField: {
                if (value.type != FieldValue::Type::Text) layoutMismatch();
                const int width = step.width > 0 ? step.width : static_cast<int>(value.text.size());
                renderText(field, width, value.text);
                return width;
            }
            default:
                layoutMismatch();
        }
    }
};

struct RealValues {
    std::span<const float> values;
    std::size_t next = 0;
    bool empty() const { return next == values.size(); }
    int render(const Step& step, char* field) {
        if (step.kind != LayoutItemKind::FixedField) layoutMismatch();
        renderFixed(field, step.width, step.decimals, values[next++]);
        return step.width;
    }
};

// `values` is a local copy and the layout's steps are held in locals, so that the
// characters stored into the line cannot be taken to change them.
template <class Values>
void writeStatement(OutputFile& out, const RecordLayout& layout, Values values) {
    const Step* const steps = layout.steps().data();
    const std::size_t stepCount = layout.steps().size();
    const std::size_t room = layout.maxLineLength();
    std::size_t first = 0;
    for (;;) {
        char* line = out.beginLine(room);
        std::memset(line, ' ', room);
        std::size_t column = 0;
        std::size_t length = 0;
        bool tookValue = false;
        bool valuesRanOut = false;
        for (std::size_t i = first; i < stepCount; ++i) {
            const Step& step = steps[i];
            column += static_cast<std::size_t>(step.skip);
            if (step.kind == LayoutItemKind::BlankSkip) {
                column += static_cast<std::size_t>(step.width);
                continue;
            }
            if (step.kind == LayoutItemKind::Literal) {
                if (column + step.text.size() > room) throw std::logic_error("line too long");
                std::memcpy(line + column, step.text.data(), step.text.size());
                column += step.text.size();
            } else {
                if (values.empty()) {
                    valuesRanOut = true;
                    break;
                }
                if (column + static_cast<std::size_t>(step.width) > room) throw std::logic_error("line too long");
                column += static_cast<std::size_t>(values.render(step, line + column));
                tookValue = true;
            }
            length = std::max(length, column);
        }
        out.endLine(length);
        if (valuesRanOut || values.empty()) return;
        if (!tookValue) throw std::logic_error("a layout that takes no value was given values");
        first = layout.restartStep();
    }
}

[[noreturn]] void badField(InputFile& in, long line, std::size_t column, std::string_view field,
                           NumberStatus status) {
    std::string condition = status == NumberStatus::OutOfRange ? "number out of range " : "invalid number ";
    condition += quotedForMessage(field) + " at column " + std::to_string(column + 1);
    endRunWithDiagnostic(condition, in.unit(), in.name(), line);
}

struct MixedTargets {
    std::span<const FieldTarget> targets;
    std::size_t next = 0;
    bool empty() const { return next == targets.size(); }
    FieldTarget::Type nextType() const { return targets[next].type; }
    const FieldTarget& take() { return targets[next++]; }
};

struct RealTargets {
    std::span<float> targets;
    std::size_t next = 0;
    bool empty() const { return next == targets.size(); }
    FieldTarget::Type nextType() const { return FieldTarget::Type::Real; }
    FieldTarget take() { return FieldTarget::of(targets[next++]); }
};

// A numeric field's value. The plain shape takes the fast road, which gives parseReal's
// float bit for bit, unless the field's digits are to be scaled (no point and implied
// decimals); anything else is parseReal's.
NumberStatus fieldReal(std::string_view text, int impliedDecimals, float& value) {
    const char* end = text.data() + text.size();
    float fast = 0;
    if ((impliedDecimals == 0 || text.find('.') != std::string_view::npos) &&
        scanPlainReal(text.data(), end, fast) == end) {
        value = fast;
        return NumberStatus::Ok;
    }
    return parseReal(text, value, {impliedDecimals, true});
}

// Reads one integer or numeric field starting at `column`; returns the columns consumed
// (fewer than the width when a comma ends the field early; the comma is consumed).
std::size_t readNumberField(InputFile& in, long line, const char* text, std::size_t column, const Step& step,
                            const FieldTarget& target) {
    const std::size_t width = static_cast<std::size_t>(step.width);
    const char* field = text + column;
    std::size_t used = width;
    std::size_t length = width;
    if (const void* comma = std::memchr(field, ',', width)) {
        length = static_cast<std::size_t>(static_cast<const char*>(comma) - field);
        used = length + 1;
    }
    // Blanks anywhere in the field are ignored.
    char packed[OutputFile::kMaxLineLength];
    std::size_t packedLength = 0;
    for (std::size_t i = 0; i < length; ++i) {
        if (field[i] != ' ') packed[packedLength++] = field[i];
    }
    const std::string_view value(packed, packedLength);
    NumberStatus status = NumberStatus::Ok;
    if (step.kind == LayoutItemKind::IntegerField) {
        if (target.type != FieldTarget::Type::Integer) layoutMismatch();
        std::int32_t parsed = 0;
        if (!value.empty()) status = parseWholeNumber(value, parsed);
        if (status == NumberStatus::Ok) *static_cast<std::int32_t*>(target.address) = parsed;
    } else {
        if (target.type != FieldTarget::Type::Real) layoutMismatch();
        float parsed = 0;
        if (!value.empty()) status = fieldReal(value, step.decimals, parsed);
        if (status == NumberStatus::Ok) *static_cast<float*>(target.address) = parsed;
    }
    if (status != NumberStatus::Ok) badField(in, line, column, std::string_view(field, length), status);
    return used;
}

template <class Targets>
ReadOutcome readStatement(InputFile& in, const RecordLayout& layout, Targets& targets, OnFailure atEnd) {
    const auto& steps = layout.steps();
    const std::size_t room = layout.maxLineLength();
    char text[OutputFile::kMaxLineLength];
    std::size_t first = 0;
    bool firstLine = true;
    while (!targets.empty()) {
        const long line = in.lineNumber();
        const long length = in.readLine(text, room);
        if (length < 0) {
            if (firstLine && atEnd == OnFailure::Report) return ReadOutcome::EndOfFile;
            endRunWithDiagnostic("end of file reached during a read", in.unit(), in.name(),
                                 in.lastLineNumber(), LinePosition::After);
        }
        firstLine = false;
        // Columns past the end of a short line read as blanks.
        std::memset(text + length, ' ', room - static_cast<std::size_t>(length));
        std::size_t column = 0;
        for (std::size_t i = first; i < steps.size() && !targets.empty(); ++i) {
            const Step& step = steps[i];
            const std::size_t width = static_cast<std::size_t>(step.width);
            column += static_cast<std::size_t>(step.skip);
            switch (step.kind) {
                case LayoutItemKind::BlankSkip:
                    column += width;
                    break;
                case LayoutItemKind::IntegerField:
                case LayoutItemKind::NumericInputField:
                    // A comma only ever shortens a field, so every field lies within `room`.
                    column += readNumberField(in, line, text, column, step, targets.take());
                    break;
                case LayoutItemKind::TextField: {
                    const FieldTarget target = targets.take();
                    if (target.type != FieldTarget::Type::Text) layoutMismatch();
                    const std::size_t take = width > 0 ? width : target.size;
                    char* destination = static_cast<char*>(target.address);
                    std::memset(destination, ' ', target.size);
                    const std::size_t available = column < room ? std::min(take, room - column) : 0;
                    std::memcpy(destination, text + column, std::min(available, target.size));
                    column += take;
                    break;
                }
                default:
                    layoutMismatch();
            }
        }
        first = layout.restartStep();
    }
    return ReadOutcome::Ok;
}

}  // namespace

void writeFixedRecord(OutputFile& out, const RecordLayout& layout, std::span<const FieldValue> values) {
    writeStatement(out, layout, MixedValues{values});
}

void writeFixedRecord(OutputFile& out, const RecordLayout& layout, std::span<const float> values) {
    writeStatement(out, layout, RealValues{values});
}

ReadOutcome readFixedRecord(InputFile& in, const RecordLayout& layout, std::span<const FieldTarget> targets,
                            OnFailure atEnd) {
    MixedTargets cursor{targets};
    return readStatement(in, layout, cursor, atEnd);
}

ReadOutcome readFixedRecord(InputFile& in, const RecordLayout& layout, std::span<float> targets,
                            OnFailure atEnd) {
    RealTargets cursor{targets};
    return readStatement(in, layout, cursor, atEnd);
}

std::string quotedForMessage(std::string_view text) {
    std::string shown = "\"";
    const std::size_t limit = 40;
    for (std::size_t i = 0; i < text.size() && i < limit; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        shown += (c >= 0x20 && c < 0x7f) ? static_cast<char>(c) : '?';
    }
    if (text.size() > limit) shown += "...";
    return shown + "\"";
}

}  // namespace ww3b
