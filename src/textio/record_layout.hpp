#pragma once
// The description of a fixed-field line: an ordered list of fields, blank skips, literal
// texts and repeat groups. Every file reader and writer of the program describes its
// lines this way; fixed_record.hpp walks a layout to write or read one statement.

#include <cstddef>
#include <string>
#include <vector>

namespace ww3b {

enum class LayoutItemKind {
    IntegerField,       // width w; out and in
    FixedField,         // width w, d decimals; out
    NumericInputField,  // width w, d implied decimals; in
    TextField,          // width w (0: the length of the value); out and in
    BlankSkip,          // passes over w columns
    Literal,            // a text copied as it stands; out
    Group,              // `repeat` times the nested items
};

struct LayoutItem {
    LayoutItemKind kind = LayoutItemKind::BlankSkip;
    int width = 0;
    int decimals = 0;
    int repeat = 1;  // consecutive identical fields, or the count of a group
    std::string text;
    std::vector<LayoutItem> items;
};

LayoutItem integerField(int width, int repeat = 1);
LayoutItem fixedField(int width, int decimals, int repeat = 1);
LayoutItem numericInputField(int width, int impliedDecimals, int repeat = 1);
LayoutItem textField(int width = 0);
LayoutItem blankSkip(int columns);
LayoutItem literal(std::string text);
LayoutItem group(int count, std::vector<LayoutItem> items);

// A layout prepared once for walking: groups and repeat counts expanded into one flat
// sequence of steps, each blank skip folded into the item after it, with the step where
// a continuation line restarts.
class RecordLayout {
public:
    struct Step {
        LayoutItemKind kind;  // never Group; a BlankSkip only where no item follows it
                              // before the end of the layout or the restart step
        int width;            // columns taken (a Literal: its length; 0 for a TextField
                              // that takes the length of its value)
        int decimals;
        std::string text;     // Literal only
        int skip = 0;         // blank columns passed over before the item
        bool takesValue() const {
            return kind != LayoutItemKind::BlankSkip && kind != LayoutItemKind::Literal;
        }
    };

    explicit RecordLayout(std::vector<LayoutItem> items);

    const std::vector<Step>& steps() const { return steps_; }
    // When the steps are used up and values remain, a new line starts here: at the first
    // step of the last group at the top level of the layout, or at the first step.
    std::size_t restartStep() const { return restartStep_; }
    // The most columns a line of this layout can reach (text fields counted at their
    // width, or at the longest line the output accepts when they take their value's length).
    std::size_t maxLineLength() const { return maxLineLength_; }

private:
    std::vector<Step> steps_;
    std::size_t restartStep_ = 0;
    std::size_t maxLineLength_ = 0;
};

}  // namespace ww3b
