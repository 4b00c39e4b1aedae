// Answers typed at a terminal (a pseudo-terminal here): an answer the run cannot take is
// explained on standard error and its question asked again, instead of ending the run.

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include <gtest/gtest.h>

#include "support/temp_folder.hpp"
#include "support/ww3_text.hpp"

namespace ww3b {
namespace {

using namespace ww3b::testing;

std::size_t occurrences(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

TEST(Terminal, AnAnswerThatCannotBeTakenIsExplainedAndAskedAgain) {
    TempFolder folder;
    TempFolder streams;
    writeFile(folder / "in.spec", Ww3Text::withGrid(3, 4).step(20100603, 120000).text);
    const std::string errPath = (streams / "stderr").string();
    int master = -1;
    const pid_t child = ::forkpty(&master, nullptr, nullptr, nullptr);
    ASSERT_GE(child, 0);
    if (child == 0) {
        const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ::dup2(err, STDERR_FILENO);
        if (::chdir(folder.path().c_str()) != 0) ::_exit(126);
        ::execl(WW3B_BINARY, WW3B_BINARY, static_cast<char*>(nullptr));
        ::_exit(127);
    }
    // A missing WW3 file, then the right one; letters for the start, then 0.
    const std::string typed = "none.spec\nin.spec\nabc\n0\n99999999\n0\n0\np.out\n";
    ASSERT_EQ(::write(master, typed.data(), typed.size()), static_cast<ssize_t>(typed.size()));
    std::string screen;
    for (;;) {
        pollfd ready{master, POLLIN, 0};
        if (::poll(&ready, 1, 20000) <= 0) {
            ::kill(child, SIGKILL);
            break;
        }
        char buffer[4096];
        const ssize_t got = ::read(master, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;  // EIO: the program has ended
        screen.append(buffer, static_cast<std::size_t>(got));
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ::close(master);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(readFile(errPath),
              "ww3-brevolan: the WW3 directional data file: file not found (unit 11, file \"none.spec\"); please "
              "answer again\r\n"
              "ww3-brevolan: the starting time stamp (yymmddhh or 0): \"abc\" is not a whole number (unit 5, standard "
              "input, line 3); please answer again\r\n"
              "ww3-brevolan: done: 1 time step written, 10060312, to \"p.out\"\r\n");
    EXPECT_EQ(occurrences(screen, "Type in an WW3 directional data filename"), 2u);
    EXPECT_EQ(occurrences(screen, "input starting time stamp"), 2u);
    EXPECT_EQ(occurrences(screen, "input ending time stamp"), 1u);
}

}  // namespace
}  // namespace ww3b
