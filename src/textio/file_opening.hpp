#pragma once
// Opening the run's files by the names typed in the dialogue: fixed fields of 30
// characters whose surrounding blanks are not part of the file name.

#include <memory>
#include <string>
#include <string_view>

#include "input_file.hpp"
#include "output_file.hpp"

namespace ww3b {

// The file name that a name field stands for: the field without its leading and trailing
// blanks (empty for an all-blank field).
std::string fileNameFromField(std::string_view field);

// Status "old": the file must exist. A missing file ends the run with a diagnostic.
std::unique_ptr<InputFile> openInputFile(int unit, std::string_view nameField);

// Status "unknown": a missing file is created empty; an existing one is not emptied (the
// first block written cuts it after the run's lines). A file that may not be written ends
// the run with a diagnostic at once. The run holds a regular file locked
// until it closes it: a file that another run holds ends the run (see output_lock.hpp).
std::unique_ptr<OutputFile> openOutputFile(int unit, std::string_view nameField);

}  // namespace ww3b
