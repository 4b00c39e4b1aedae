#include "support/program_run.hpp"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <stdexcept>
#include <thread>

#include "support/temp_folder.hpp"

namespace ww3b::testing {

ProgramRun runProgram(const std::filesystem::path& folder, const std::string& answers,
                      const std::vector<std::string>& arguments, int timeoutSeconds) {
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
        const int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ::dup2(out, STDOUT_FILENO);
        ::dup2(err, STDERR_FILENO);
        if (::chdir(folder.c_str()) != 0) ::_exit(126);
        std::vector<char*> argv{const_cast<char*>(WW3B_BINARY)};
        for (const auto& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        ::execv(WW3B_BINARY, argv.data());
        ::_exit(127);
    }
    ::close(input[0]);
    // The program may stop reading early; a closed pipe is then no failure of the test.
    std::size_t done = 0;
    while (done < answers.size()) {
        const ssize_t put = ::write(input[1], answers.data() + done, answers.size() - done);
        if (put <= 0) break;
        done += static_cast<std::size_t>(put);
    }
    ::close(input[1]);

    ProgramRun run;
    int waitStatus = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
    while (::waitpid(child, &waitStatus, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(child, SIGKILL);
            ::waitpid(child, &waitStatus, 0);
            run.errors = "timed out";
            return run;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    if (WIFEXITED(waitStatus)) run.status = WEXITSTATUS(waitStatus);
    run.output = readFile(outPath);
    run.errors = readFile(errPath);
    return run;
}

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
