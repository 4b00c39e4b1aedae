#pragma once
// The text file of WW3 point spectra as an input format: any file that no other format
// claims.

#include "ww3/input_format.hpp"

namespace ww3b {

const InputFormat& asciiFormat();

}  // namespace ww3b
