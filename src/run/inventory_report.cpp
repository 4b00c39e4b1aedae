#include "run/inventory_report.hpp"

#include <algorithm>
#include <cstdio>
#include <numbers>

#include "run/inventory_json.hpp"
#include "run/json_text.hpp"
#include "run/run_options.hpp"
#include "textio/field_render.hpp"
#include "textio/io_diagnostic.hpp"
#include "ww3/input_formats.hpp"

namespace ww3b {

namespace {

// How many listed directions the inventory shows before "...".
constexpr int kDirectionsShown = 4;

template <typename... Values>
std::string formatted(const char* format, Values... values) {
    char text[160];
    const int length = std::snprintf(text, sizeof text, format, values...);
    return std::string(text, static_cast<std::size_t>(std::max(0, std::min(length, int{sizeof text} - 1))));
}

std::string dateAndTime(std::int32_t date, std::int32_t time) {
    return formatted("%04d-%02d-%02d %02d:%02d UTC", date / 10000, date / 100 % 100, date % 100, time / 10000,
                     time / 100 % 100);
}

}  // namespace

std::vector<std::string> inventoryLines(const FileInventory& inventory) {
    const GridSummary& grid = inventory.grid;
    std::vector<std::string> lines;
    lines.push_back("WW3 point spectra \"" + inventory.fileName + "\" (" + inventory.format + ")");
    lines.push_back("Frequencies: " + std::to_string(grid.frequencyCount) + ", " + shortestText(grid.firstFrequency) +
                    " to " + shortestText(grid.lastFrequency) + " Hz");
    std::string directions = "Directions:  " + std::to_string(grid.directionCount) + ", listed as ";
    for (std::size_t j = 0; j < grid.listedDirections.size() && j < kDirectionsShown; ++j) {
        if (j > 0) directions += ", ";
        directions += formatted("%.1f", static_cast<double>(grid.listedDirections[j]) * 180.0 / std::numbers::pi);
    }
    if (grid.listedDirections.size() > kDirectionsShown) directions += ", ...";
    lines.push_back(directions + " degrees");
    lines.push_back("Grid check:  " + (grid.directionVerdict.empty() ? std::string("the converter's grid")
                                                                     : grid.directionVerdict));
    std::string points = "Points:      " + std::to_string(inventory.points.size()) + " per time step";
    if (grid.headerPointCount >= 0 && static_cast<std::size_t>(grid.headerPointCount) != inventory.points.size()) {
        points += " (the header says " + std::to_string(grid.headerPointCount) + ")";
    }
    lines.push_back(points);
    if (!inventory.points.empty()) {
        // A file gives every point's position the same way.
        const bool cartesian = inventory.points.front().positionKind == PositionKind::Cartesian;
        lines.push_back(cartesian ? "   no  name              x (m)        y (m)   depth (m)"
                                  : "   no  name         latitude  longitude   depth (m)");
        for (std::size_t k = 0; k < inventory.points.size(); ++k) {
            const PointSummary& point = inventory.points[k];
            lines.push_back(cartesian ? formatted("%5zu  %-10s %12.1f %12.1f %11.1f", k + 1, point.name.c_str(),
                                                  static_cast<double>(point.x), static_cast<double>(point.y),
                                                  static_cast<double>(point.depth))
                                      : formatted("%5zu  %-10s %9.2f %10.2f %11.1f", k + 1, point.name.c_str(),
                                                  static_cast<double>(point.latitude),
                                                  static_cast<double>(point.longitude),
                                                  static_cast<double>(point.depth)));
        }
    }
    std::string steps = "Time steps:  " + std::to_string(inventory.stepCount);
    if (inventory.stepCount > 0) {
        steps += ", " + dateAndTime(inventory.firstDate, inventory.firstTime) + " to " +
                 dateAndTime(inventory.lastDate, inventory.lastTime);
    }
    lines.push_back(steps);
    return lines;
}

int listInventory(OutputFile& out, const ProgramOptions& options) {
    const InputReadingScope inputReading;
    try {
        const FileInventory inventory = readInventory(kSpectralFileUnit, options.listFile);
        if (!options.quiet) {
            for (const std::string& warning : inventory.warnings) writeToStandardError(warningMessage(warning));
        }
        if (options.listJson) {
            writeJsonText(out, inventoryJson(inventory));
        } else {
            for (const std::string& line : inventoryLines(inventory)) out.writeLine(line);
        }
        out.close();
        return 0;
    } catch (const RunFailure& failure) {
        writeToStandardError(diagnosticMessage(failure) + out.closeAfterFailure());
        return kDiagnosticExitStatus;
    }
}

}  // namespace ww3b
