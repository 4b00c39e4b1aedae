// Two runs that would write the same output file at the same time: the second is refused
// with a diagnostic naming the file, leaves no file of its own behind, and the first run
// goes on undisturbed.

#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <map>
#include <memory>
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
// question; finish() gives the depth and returns its exit status.
struct WaitingRun {
    TempFolder consoleFolder;  // outside the run's folder, which the test lists
    FILE* answers;
    explicit WaitingRun(const std::filesystem::path& folder)
        : answers(::popen(("cd '" + folder.string() + "' && exec " WW3B_BINARY " >'" +
                           (consoleFolder / "console").string() + "'")
                              .c_str(),
                          "w")) {
        std::vector<std::string> lines = standardAnswers(2);
        lines.pop_back();
        std::fputs(answerLines(lines).c_str(), answers);
        std::fflush(answers);
    }
    // The console shows the question (prompts are flushed before every read) within 20 s.
    bool atDepthQuestion() {
        for (int tries = 0; tries < 400; ++tries) {
            if (std::filesystem::exists(consoleFolder / "console") &&
                readFile(consoleFolder / "console").find("boundary depth") != std::string::npos) {
                return true;
            }
            ::usleep(50000);
        }
        return false;
    }
    int finish() {
        std::fputs("12\n", answers);
        const int status = ::pclose(answers);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
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
