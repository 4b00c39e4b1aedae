#pragma once
// Runs the real ww3-brevolan binary in a folder with answers piped to its standard input.
//
// Every run also guards the user's WW3 file: the file named by the first answer line is
// checksummed before and after, and a run that changes it, creates it or removes it fails
// the test that made the run.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace ww3b::testing {

struct ProgramRun {
    int status = -1;      // exit status; -1 when it did not exit normally (or timed out)
    std::string output;   // standard output
    std::string errors;   // standard error, without the summary line
    std::string summary;  // the summary line that ends a normal run ("ww3-brevolan: done: ..."), if any
    bool timedOut = false;
};

// Ways to make the run's surroundings hostile.
struct RunSettings {
    int timeoutSeconds = 60;
    // A file size limit for the run (RLIMIT_FSIZE; SIGXFSZ keeps its default action, which
    // the program must override): a write that would go beyond it is taken in part and
    // then refused.
    std::optional<std::uint64_t> fileSizeLimit;
    // Standard output goes to this file (for example /dev/full) instead of being captured.
    std::optional<std::string> standardOutput;
};

ProgramRun runProgram(const std::filesystem::path& folder, const std::string& answers,
                      const std::vector<std::string>& arguments = {}, int timeoutSeconds = 60);
ProgramRun runProgram(const std::filesystem::path& folder, const std::string& answers, const RunSettings& settings);

// What the run inherits from the process that starts it.
struct RunInheritance {
    // NAME=VALUE settings added to the run's environment.
    std::vector<std::string> environment;
    // The run starts with SIGCHLD ignored, as some batch systems start their jobs.
    bool childSignalIgnored = false;
};
ProgramRun runProgram(const std::filesystem::path& folder, const std::string& answers,
                      const RunInheritance& inheritance);

// One answer per line, each ending with a line feed.
std::string answerLines(const std::vector<std::string>& answers);

// The files in a folder, by name, sorted.
std::vector<std::string> filesIn(const std::filesystem::path& folder);

// A checksum of a file's bytes; empty when there is no regular file by that name.
std::optional<std::uint64_t> fileChecksum(const std::filesystem::path& file);

}  // namespace ww3b::testing
