#include "support/program_run.hpp"

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <stdexcept>
#include <thread>

#include <gtest/gtest.h>

#include "support/temp_folder.hpp"

namespace ww3b::testing {

namespace {

// The WW3 file that the answers name: the first 30 characters of the first line, without
// the blanks around them, relative to the run's folder.
std::optional<std::filesystem::path> spectralFileOf(const std::filesystem::path& folder, const std::string& answers) {
    std::string line = answers.substr(0, answers.find('\n'));
    if (!line.empty() && line.back() == '\r') line.pop_back();
    line = line.substr(0, 30);
    const auto first = line.find_first_not_of(' ');
    if (first == std::string::npos || line.find('\0') != std::string::npos) return std::nullopt;
    const std::string name = line.substr(first, line.find_last_not_of(' ') - first + 1);
    return folder / name;
}

ProgramRun runInFolder(const std::filesystem::path& folder, const std::string& answers,
                       const std::vector<std::string>& arguments, const RunSettings& settings,
                       const RunInheritance& inheritance = {});
ProgramRun execute(const std::filesystem::path& folder, const std::string& answers,
                   const std::vector<std::string>& arguments, const RunSettings& settings,
                   const RunInheritance& inheritance);

}  // namespace

ProgramRun runProgram(const std::filesystem::path& folder, const std::string& answers,
                      const std::vector<std::string>& arguments, int timeoutSeconds) {
    RunSettings settings;
    settings.timeoutSeconds = timeoutSeconds;
    return runInFolder(folder, answers, arguments, settings);
}

ProgramRun runProgram(const std::filesystem::path& folder, const std::string& answers, const RunSettings& settings) {
    return runInFolder(folder, answers, {}, settings);
}

ProgramRun runProgram(const std::filesystem::path& folder, const std::string& answers,
                      const RunInheritance& inheritance) {
    return runInFolder(folder, answers, {}, RunSettings{}, inheritance);
}

std::optional<std::uint64_t> fileChecksum(const std::filesystem::path& file) {
    struct stat info {};
    if (::stat(file.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
    const std::string bytes = readFile(file);
    std::uint64_t hash = 1469598103934665603ULL;  // FNV-1a
    for (const unsigned char c : bytes) {
        hash ^= c;
        hash *= 1099511628211ULL;
    }
    return hash ^ static_cast<std::uint64_t>(bytes.size());
}

namespace {

ProgramRun runInFolder(const std::filesystem::path& folder, const std::string& answers,
                       const std::vector<std::string>& arguments, const RunSettings& settings,
                       const RunInheritance& inheritance) {
    const auto spectralFile = spectralFileOf(folder, answers);
    const auto before = spectralFile ? fileChecksum(*spectralFile) : std::nullopt;
    struct stat spectralInfo {};
    const bool spectralExisted = spectralFile && ::lstat(spectralFile->c_str(), &spectralInfo) == 0;
    const ProgramRun run = execute(folder, answers, arguments, settings, inheritance);
    if (spectralFile) {
        struct stat after {};
        EXPECT_EQ(::lstat(spectralFile->c_str(), &after) == 0, spectralExisted)
            << "the run created or removed the WW3 file " << *spectralFile;
        EXPECT_EQ(fileChecksum(*spectralFile), before) << "the run changed the WW3 file " << *spectralFile;
    }
    return run;
}

ProgramRun execute(const std::filesystem::path& folder, const std::string& answers,
                   const std::vector<std::string>& arguments, const RunSettings& settings,
                   const RunInheritance& inheritance) {
    TempFolder streams;  // outside the run's folder, so that it sees only its own files
    const std::string outPath = (streams / "stdout").string();
    const std::string errPath = (streams / "stderr").string();
    int input[2];
    if (::pipe(input) != 0) throw std::runtime_error("pipe");
    ::signal(SIGPIPE, SIG_IGN);

    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(input[0], STDIN_FILENO);
        ::close(input[0]);
        ::close(input[1]);
        const int out = settings.standardOutput ? ::open(settings.standardOutput->c_str(), O_WRONLY)
                                                : ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ::dup2(out, STDOUT_FILENO);
        ::dup2(err, STDERR_FILENO);
        if (::chdir(folder.c_str()) != 0) ::_exit(126);
        for (const std::string& setting : inheritance.environment) ::putenv(const_cast<char*>(setting.c_str()));
        if (inheritance.childSignalIgnored) ::signal(SIGCHLD, SIG_IGN);
        if (settings.fileSizeLimit) {
            // The signal keeps its default action (death) here: the program itself must
            // ignore it, so that a write beyond the limit fails with EFBIG instead.
            ::signal(SIGXFSZ, SIG_DFL);
            const rlimit limit{*settings.fileSizeLimit, *settings.fileSizeLimit};
            if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) ::_exit(125);
        }
        std::vector<char*> argv{const_cast<char*>(WW3B_BINARY)};
        for (const auto& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        ::execv(WW3B_BINARY, argv.data());
        ::_exit(127);
    }
    ::close(input[0]);
    // The answers go in from a thread of their own, so that a run that stops reading
    // without ending still meets the deadline. The program may stop reading early; a
    // closed pipe is then no failure of the test.
    std::thread feeder([&answers, fd = input[1]] {
        std::size_t done = 0;
        while (done < answers.size()) {
            const ssize_t put = ::write(fd, answers.data() + done, answers.size() - done);
            if (put <= 0) break;
            done += static_cast<std::size_t>(put);
        }
        ::close(fd);
    });

    ProgramRun run;
    int waitStatus = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(settings.timeoutSeconds);
    while (::waitpid(child, &waitStatus, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(child, SIGKILL);
            ::waitpid(child, &waitStatus, 0);
            feeder.join();
            run.errors = "timed out";
            run.timedOut = true;
            return run;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    feeder.join();
    if (WIFEXITED(waitStatus)) run.status = WEXITSTATUS(waitStatus);
    if (!settings.standardOutput) run.output = readFile(outPath);
    run.errors = readFile(errPath);
    // The summary is the last line; the tests of what a run warns about compare the rest.
    const std::string summaryStart = "ww3-brevolan: done: ";
    const auto lastLine = run.errors.rfind('\n', run.errors.size() < 2 ? 0 : run.errors.size() - 2);
    const std::size_t start = lastLine == std::string::npos ? 0 : lastLine + 1;
    if (run.errors.compare(start, summaryStart.size(), summaryStart) == 0) {
        run.summary = run.errors.substr(start);
        run.errors.erase(start);
    }
    return run;
}

}  // namespace

std::string answerLines(const std::vector<std::string>& answers) {
    std::string text;
    for (const auto& answer : answers) text += answer + "\n";
    return text;
}

std::vector<std::string> filesIn(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace ww3b::testing
