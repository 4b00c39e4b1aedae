#pragma once
// Runs the real ww3-brevolan binary in a folder with answers piped to its standard input.

#include <filesystem>
#include <string>
#include <vector>

namespace ww3b::testing {

struct ProgramRun {
    int status = -1;      // exit status; -1 when it did not exit normally (or timed out)
    std::string output;   // standard output
    std::string errors;   // standard error
};

ProgramRun runProgram(const std::filesystem::path& folder, const std::string& answers,
                      const std::vector<std::string>& arguments = {}, int timeoutSeconds = 60);

// One answer per line, each ending with a line feed.
std::string answerLines(const std::vector<std::string>& answers);

// The files in a folder, by name, sorted.
std::vector<std::string> filesIn(const std::filesystem::path& folder);

}  // namespace ww3b::testing
