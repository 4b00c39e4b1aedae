// Two runs that would write the same output file at the same time: the second is refused
// with a diagnostic naming the file, leaves no file of its own behind, and the first run
// goes on undisturbed.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/program_run.hpp"
#include "support/run_files.hpp"
#include "support/temp_folder.hpp"
#include "support/ww3_text.hpp"

namespace ww3b {
namespace {

using namespace ww3b::testing;

// A mode-2 run that holds its four output files while it waits at the boundary depth
// question; finish() answers it and returns its exit status.
class WaitingRun {
public:
    explicit WaitingRun(const std::filesystem::path& folder) {
        int in[2], out[2];
        if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0) return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(in[0], STDIN_FILENO);
            ::dup2(out[1], STDOUT_FILENO);
            if (::chdir(folder.c_str()) != 0) ::_exit(127);
            ::execl(WW3B_BINARY, WW3B_BINARY, static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(in[0]);
        ::close(out[1]);
        answers_ = in[1];
        console_ = out[0];
        std::vector<std::string> answers = standardAnswers(2);
        answers.pop_back();  // the boundary depth, given by finish()
        send(answerLines(answers));
    }
    ~WaitingRun() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        if (answers_ >= 0) ::close(answers_);
        if (console_ >= 0) ::close(console_);
    }

    // True once the console shows the depth question, within a few seconds.
    bool atDepthQuestion() {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        std::string shown;
        while (shown.find("boundary depth") == std::string::npos && std::chrono::steady_clock::now() < deadline) {
            pollfd ready{console_, POLLIN, 0};
            if (::poll(&ready, 1, 200) <= 0) continue;
            char buffer[4096];
            const ssize_t got = ::read(console_, buffer, sizeof buffer);
            if (got <= 0) return false;
            shown.append(buffer, static_cast<std::size_t>(got));
        }
        return shown.find("boundary depth") != std::string::npos;
    }

    int finish() {
        send("12\n");
        ::close(answers_);
        answers_ = -1;
        char buffer[4096];
        while (::read(console_, buffer, sizeof buffer) > 0) {
        }
        int status = 0;
        ::waitpid(pid_, &status, 0);
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    void send(const std::string& text) { ASSERT_EQ(::write(answers_, text.data(), text.size()), static_cast<ssize_t>(text.size())); }
    pid_t pid_ = -1;
    int answers_ = -1;
    int console_ = -1;
};

struct LockCase {
    const char* name;
    bool heldByARun;        // else the test holds a lock on bay.eng itself
    bool userParameterFile; // bay.out exists before, with the user's contents
    int mode;               // of the refused run
    const char* refusedFile;
    int refusedUnit;
};

class OutputLock : public ::testing::TestWithParam<LockCase> {};

TEST_P(OutputLock, SecondRunIsRefusedAndLeavesNothing) {
    const LockCase& c = GetParam();
    const std::string spectra = Ww3Text::withGrid(3, 4).step(20100603, 180000).step(20100603, 210000).text;
    TempFolder folder;
    writeFile(folder / "in.spec", spectra);
    if (c.userParameterFile) writeFile(folder / "bay.out", "the user's line\r\n");

    std::unique_ptr<WaitingRun> first;
    int held = -1;
    if (c.heldByARun) {
        first = std::make_unique<WaitingRun>(folder.path());
        ASSERT_TRUE(first->atDepthQuestion());
    } else {
        writeFile(folder / "bay.eng", "held\r\n");
        held = ::open((folder / "bay.eng").c_str(), O_RDONLY | O_CLOEXEC);
        ASSERT_EQ(::flock(held, LOCK_EX | LOCK_NB), 0);
    }
    const std::vector<std::string> before = filesIn(folder.path());
    const std::map<std::string, std::string> contentsBefore = outputsIn(folder.path(), 2);

    const ProgramRun second = runProgram(folder.path(), answerLines(standardAnswers(c.mode)));
    EXPECT_EQ(second.status, 2);
    EXPECT_EQ(second.errors, std::string("ww3-brevolan: error: another run is writing this file; this run stops and "
                                         "leaves no file of its own (unit ") +
                                 std::to_string(c.refusedUnit) + ", file \"" + c.refusedFile + "\")\r\n");
    EXPECT_EQ(filesIn(folder.path()), before);
    EXPECT_EQ(outputsIn(folder.path(), 2), contentsBefore);

    if (first) {
        EXPECT_EQ(first->finish(), 0);
        EXPECT_EQ(outputsIn(folder.path(), 2), cleanRunOutputs(spectra, 2));
    } else {
        ::close(held);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Runs, OutputLock,
    ::testing::Values(LockCase{"SameOutputsWhileTheFirstWaits", true, false, 2, "bay.out", 12},
                      LockCase{"SpectrumFileHeldParameterFileCreatedThenRemoved", false, false, 1, "bay.eng", 18},
                      LockCase{"SpectrumFileHeldUserParameterFileKept", false, true, 1, "bay.eng", 18}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace ww3b
