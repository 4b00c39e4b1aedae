#include "run/json_text.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <numbers>

namespace ww3b {

double jsonNumber(float value) {
    if (!std::isfinite(value)) return static_cast<double>(value);
    char text[32];
    char* const end = std::to_chars(text, text + sizeof text - 1, value).ptr;
    *end = '\0';
    return std::strtod(text, nullptr);
}

const char* directionVerdictName(DirectionGrid grid) {
    switch (grid) {
    case DirectionGrid::Assumed: return "converter grid";
    case DirectionGrid::Offset: return "offset";
    case DirectionGrid::Irregular: return "irregular";
    }
    return "";
}

double directionOffsetDegrees(const DirectionListVerdict& verdict) {
    if (verdict.grid != DirectionGrid::Offset) return 0.0;
    return jsonNumber(static_cast<float>(verdict.offset * 180.0 / std::numbers::pi));
}

void writeJsonText(OutputFile& out, std::string_view json) {
    // Line ends only stand between values: a "\n" inside a string is written escaped.
    for (std::size_t start = 0; start <= json.size();) {
        const std::size_t end = std::min(json.find('\n', start), json.size());
        out.writeLine(json.substr(start, end - start));
        start = end + 1;
    }
}

}  // namespace ww3b
