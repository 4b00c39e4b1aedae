#include "record_layout.hpp"

#include <algorithm>
#include <stdexcept>

#include "field_render.hpp"
#include "output_file.hpp"

namespace ww3b {

namespace {

LayoutItem field(LayoutItemKind kind, int width, int decimals, int repeat) {
    if (width < 0 || decimals < 0 || repeat < 1) throw std::invalid_argument("bad layout field");
    LayoutItem item;
    item.kind = kind;
    item.width = width;
    item.decimals = decimals;
    item.repeat = repeat;
    return item;
}

void expand(const LayoutItem& item, std::vector<RecordLayout::Step>& steps) {
    if (item.kind == LayoutItemKind::Group) {
        for (int pass = 0; pass < item.repeat; ++pass) {
            for (const LayoutItem& inner : item.items) expand(inner, steps);
        }
        return;
    }
    const int width = item.kind == LayoutItemKind::Literal ? static_cast<int>(item.text.size()) : item.width;
    for (int pass = 0; pass < item.repeat; ++pass) {
        steps.push_back({item.kind, width, item.decimals, item.text});
    }
}

// Columns reached by walking the steps from `first` to the end.
std::size_t columnsReached(const std::vector<RecordLayout::Step>& steps, std::size_t first) {
    std::size_t column = 0;
    std::size_t reached = 0;
    for (std::size_t i = first; i < steps.size(); ++i) {
        const auto& step = steps[i];
        const bool variableText = step.kind == LayoutItemKind::TextField && step.width == 0;
        column += variableText ? OutputFile::kMaxLineLength : static_cast<std::size_t>(step.width);
        if (step.kind != LayoutItemKind::BlankSkip) reached = column;
    }
    return std::min(reached, OutputFile::kMaxLineLength);
}

}  // namespace

LayoutItem integerField(int width, int repeat) {
    return field(LayoutItemKind::IntegerField, width, 0, repeat);
}
LayoutItem fixedField(int width, int decimals, int repeat) {
    if (decimals > kMostFixedDecimals) throw std::invalid_argument("too many decimals in a layout field");
    return field(LayoutItemKind::FixedField, width, decimals, repeat);
}
LayoutItem numericInputField(int width, int impliedDecimals, int repeat) {
    return field(LayoutItemKind::NumericInputField, width, impliedDecimals, repeat);
}
LayoutItem textField(int width) { return field(LayoutItemKind::TextField, width, 0, 1); }
LayoutItem blankSkip(int columns) { return field(LayoutItemKind::BlankSkip, columns, 0, 1); }
LayoutItem literal(std::string text) {
    LayoutItem item;
    item.kind = LayoutItemKind::Literal;
    item.text = std::move(text);
    return item;
}
LayoutItem group(int count, std::vector<LayoutItem> items) {
    LayoutItem item = field(LayoutItemKind::Group, 0, 0, count);
    item.items = std::move(items);
    return item;
}

RecordLayout::RecordLayout(std::vector<LayoutItem> items) {
    std::vector<Step> expanded;
    std::size_t restart = 0;
    for (const LayoutItem& item : items) {
        if (item.kind == LayoutItemKind::Group) restart = expanded.size();
        expand(item, expanded);
    }
    maxLineLength_ = std::max(columnsReached(expanded, 0), columnsReached(expanded, restart));

    // Fold each run of blank skips into the item after it, except across the restart step:
    // a continuation line does not start with the skips that lead up to it.
    int pending = 0;
    auto flushPending = [&] {
        if (pending > 0) steps_.push_back({LayoutItemKind::BlankSkip, pending, 0, {}});
        pending = 0;
    };
    for (std::size_t i = 0; i <= expanded.size(); ++i) {
        if (i == restart) {
            flushPending();
            restartStep_ = steps_.size();
        }
        if (i == expanded.size()) break;
        if (expanded[i].kind == LayoutItemKind::BlankSkip) {
            pending += expanded[i].width;
            continue;
        }
        steps_.push_back(std::move(expanded[i]));
        steps_.back().skip = pending;
        pending = 0;
    }
    flushPending();
}

}  // namespace ww3b
