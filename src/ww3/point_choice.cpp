#include "ww3/point_choice.hpp"

#include <algorithm>

namespace ww3b {

std::string trimmedName(std::string_view name) {
    const auto end = name.find_last_not_of(' ');
    return std::string(name.substr(0, end == std::string_view::npos ? 0 : end + 1));
}

std::optional<std::size_t> positionOf(const PointChoice& choice) {
    const std::string wanted = trimmedName(choice.wanted);
    constexpr std::size_t kLongest = 9;  // beyond any count of points a file can hold
    if (wanted.empty() || wanted.size() > kLongest ||
        !std::all_of(wanted.begin(), wanted.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    const std::size_t position = std::stoul(wanted);
    if (position == 0) return std::nullopt;
    return position;
}

std::string pointList(std::span<const std::string> names) {
    std::string text;
    for (std::size_t k = 0; k < names.size(); ++k) {
        if (k > 0) text += ", ";
        text += names[k].empty() ? "point " + std::to_string(k + 1) + " (no name)" : "\"" + names[k] + "\"";
    }
    return text;
}

}  // namespace ww3b
