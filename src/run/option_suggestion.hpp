#pragma once
// The nearest known long option to a misspelt one, for the usage error it causes.

#include <span>
#include <string>
#include <string_view>

namespace ww3b {

// The known option closest to `given` by edits (a letter added, dropped, changed or two
// neighbours swapped), when it is close enough to be the one meant; empty otherwise.
std::string nearestOption(std::string_view given, std::span<const std::string_view> known);

}  // namespace ww3b
