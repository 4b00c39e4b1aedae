#pragma once
// `--list FILE --json`: the inventory of a WW3 file as one JSON object, for scripts.

#include <string>

#include "ww3/file_inventory.hpp"

namespace ww3b {

// The object as JSON text (lines joined by "\n", no final line end).
std::string inventoryJson(const FileInventory& inventory);

}  // namespace ww3b
