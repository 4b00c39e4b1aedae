#pragma once
// Small helpers for driving the text layer in tests: statements written to a real file,
// inputs held in memory.

#include <functional>
#include <string>

#include "support/temp_folder.hpp"
#include "textio/output_file.hpp"

namespace ww3b::testing {

// Everything `write` puts into an output file that starts out empty.
std::string writtenText(const std::function<void(OutputFile&)>& write);

// Opens `file` for writing on unit 12 as the program does.
std::unique_ptr<OutputFile> openForTest(const std::filesystem::path& file);

}  // namespace ww3b::testing
