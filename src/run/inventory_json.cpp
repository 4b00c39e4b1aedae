#include "run/inventory_json.hpp"

#include <cmath>
#include <cstdio>
#include <numbers>

#include <nlohmann/json.hpp>

#include "run/json_text.hpp"
#include "ww3/direction_list.hpp"

namespace ww3b {

namespace {

using Json = nlohmann::ordered_json;

// yyyymmdd and hhmmss as ISO 8601 UTC: 2010-06-03T12:00:00Z.
std::string isoTime(std::int32_t date, std::int32_t time) {
    char text[48];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02dZ", date / 10000, date / 100 % 100, date % 100,
                  time / 10000, time / 100 % 100, time % 100);
    return text;
}

Json directionVerdict(const GridSummary& grid) {
    const DirectionListVerdict verdict = judgeDirectionList(grid.listedDirections);
    return {{"verdict", directionVerdictName(verdict.grid)},
            {"offset_degrees", directionOffsetDegrees(verdict)},
            {"explanation", grid.directionVerdict.empty() ? Json(nullptr) : Json(grid.directionVerdict)}};
}

}  // namespace

std::string inventoryJson(const FileInventory& inventory) {
    const GridSummary& grid = inventory.grid;
    Json listed = Json::array();
    for (float radians : grid.listedDirections) {
        listed.push_back(jsonNumber(static_cast<float>(static_cast<double>(radians) * 180.0 / std::numbers::pi)));
    }
    Json points = Json::array();
    for (const PointSummary& point : inventory.points) {
        points.push_back({{"name", point.name},
                          {"latitude", jsonNumber(point.latitude)},
                          {"longitude", jsonNumber(point.longitude)},
                          {"depth", jsonNumber(point.depth)}});
    }
    Json object;
    object["file"] = inventory.fileName;
    object["format"] = inventory.format;
    object["grid"] = {{"frequencies",
                       {{"count", grid.frequencyCount},
                        {"first_hz", jsonNumber(grid.firstFrequency)},
                        {"last_hz", jsonNumber(grid.lastFrequency)}}},
                      {"directions", {{"count", grid.directionCount}, {"listed_degrees", listed}}},
                      {"header_point_count", grid.headerPointCount >= 0 ? Json(grid.headerPointCount) : Json(nullptr)}};
    object["directions"] = directionVerdict(grid);
    object["points"] = points;
    object["time_steps"] = inventory.stepCount;
    object["first_time"] =
        inventory.stepCount > 0 ? Json(isoTime(inventory.firstDate, inventory.firstTime)) : Json(nullptr);
    object["last_time"] = inventory.stepCount > 0 ? Json(isoTime(inventory.lastDate, inventory.lastTime)) : Json(nullptr);
    object["warnings"] = inventory.warnings;
    // A name that is no UTF-8 is kept with its odd bytes replaced rather than lost.
    return object.dump(2, ' ', false, Json::error_handler_t::replace);
}

}  // namespace ww3b
