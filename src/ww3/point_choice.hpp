#pragma once
// The choice of one output point among those a time step holds, the same for every
// reader: by name, by position, or the first.

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "ww3/spectra_source.hpp"

namespace ww3b {

// The wanted name without trailing blanks (names are compared so).
std::string trimmedName(std::string_view name);

// The position from 1 that a choice of digits only stands for (nullopt otherwise, and
// for 0). Such a choice is taken as a name when the first time step read holds a point
// of that name, as station numbers often are names.
std::optional<std::size_t> positionOf(const PointChoice& choice);

// "A", "B", "C" (an unnamed point shows as its position), for diagnostics and notices.
std::string pointList(std::span<const std::string> names);

}  // namespace ww3b
