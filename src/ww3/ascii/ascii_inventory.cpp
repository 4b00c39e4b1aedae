#include "ww3/ascii/ascii_inventory.hpp"

#include <array>
#include <span>

#include "textio/fixed_record.hpp"
#include "textio/free_form.hpp"
#include "textio/io_diagnostic.hpp"
#include "textio/record_layout.hpp"
#include "ww3/ascii/ww3_spectral_file.hpp"

namespace ww3b {

namespace {

// The point line as WW3 writes it: the quoted name in columns 1-12, latitude and longitude
// in 13-19 and 20-26 (they run together when the longitude has three digits and a sign:
// "33.65-120.20"), then the depth where the converter reads it, columns 30-36.
constexpr std::size_t kQuotedNameColumns = 12;
const RecordLayout kPointPositionLayout({textField(static_cast<int>(kQuotedNameColumns)), numericInputField(7, 0, 2),
                                         blankSkip(3), numericInputField(7, 0)});

std::string nameBetweenQuotes(std::string_view field) {
    if (!field.empty() && field.front() == '\'') {
        field.remove_prefix(1);
        field = field.substr(0, field.find('\''));
    }
    const auto last = field.find_last_not_of(' ');
    std::string name(field.substr(0, last == std::string_view::npos ? 0 : last + 1));
    for (char& c : name) {
        if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) >= 0x7f) c = '?';
    }
    return name;
}

PointSummary readPointPosition(InputFile& in) {
    std::array<char, kQuotedNameColumns> field{};
    PointSummary point;
    const FieldTarget targets[] = {FieldTarget::of(std::span<char>(field)), FieldTarget::of(point.latitude),
                                   FieldTarget::of(point.longitude), FieldTarget::of(point.depth)};
    readFixedRecord(in, kPointPositionLayout, targets);
    point.name = nameBetweenQuotes(std::string_view(field.data(), field.size()));
    return point;
}

}  // namespace

FileInventory readAsciiInventory(InputFile& in) {
    FileInventory inventory;
    inventory.fileName = in.name();
    inventory.format = "ASCII";
    SpectralGrid grid;
    if (!readSpectralHeader(in, grid)) {
        endRunWithDiagnostic("end of file reached before the header line", in.unit(), in.name());
    }
    inventory.grid = summarizeGrid(grid);
    InputRecord record;
    bool pointCountVaries = false;
    for (;;) {
        const long timeLine = in.lineNumber();
        const FreeFormResult time = readTimeLine(in, record);
        if (time.outcome == ReadOutcome::EndOfFile) break;
        if (time.outcome != ReadOutcome::Ok) {
            inventory.warnings.push_back("the time line at line " + std::to_string(time.line) + " of \"" + in.name() +
                                         "\" cannot be read (" + time.problem + "); the list ends there");
            break;
        }
        const bool first = inventory.stepCount == 0;
        ++inventory.stepCount;
        if (first) {
            inventory.firstDate = record.date;
            inventory.firstTime = record.time;
        }
        inventory.lastDate = record.date;
        inventory.lastTime = record.time;
        const std::size_t points = walkStepPoints(in, [&](std::size_t) {
            if (first) {
                inventory.points.push_back(readPointPosition(in));
                skipFreeForm(in, static_cast<std::size_t>(grid.frequencyCount) *
                                     static_cast<std::size_t>(grid.directionCount));
            } else {
                passOverPoint(in, grid, record);
            }
        });
        if (!first && points != inventory.points.size() && !pointCountVaries) {
            pointCountVaries = true;
            inventory.warnings.push_back("the time step at line " + std::to_string(timeLine) + " of \"" + in.name() +
                                         "\" holds " + std::to_string(points) + " points, the first one " +
                                         std::to_string(inventory.points.size()));
        }
    }
    return inventory;
}

}  // namespace ww3b
