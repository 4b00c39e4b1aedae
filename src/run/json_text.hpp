#pragma once
// JSON text written as lines that end in CR LF, like every line the program writes.

#include <string_view>

#include "textio/output_file.hpp"
#include "ww3/direction_list.hpp"

namespace ww3b {

// A float as the double of its shortest decimal that reads back as it, so that JSON
// shows 12.1 and not 12.100000381469727; a non-finite value stays as it is.
double jsonNumber(float value);

// The direction verdict for scripts: "converter grid", "offset" or "irregular", and the
// offset in degrees (0 unless "offset").
const char* directionVerdictName(DirectionGrid grid);
double directionOffsetDegrees(const DirectionListVerdict& verdict);

// Writes `json` (lines joined by "\n", no final line end) one line at a time.
void writeJsonText(OutputFile& out, std::string_view json);

}  // namespace ww3b
