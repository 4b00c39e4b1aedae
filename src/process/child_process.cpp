#include "process/child_process.hpp"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <utility>

namespace ww3b {

namespace {

// The descriptors the task gets in the child.
constexpr int kCommandsInChild = 3;
constexpr int kReportsInChild = 4;

// In the child, right after fork: only async-signal-safe calls until the task starts.
[[noreturn]] void becomeChild(const ChildTask& task, int commands, int reports, unsigned deadlineSeconds) {
    // Faults end the child plainly: handlers the parent installed (a fuzzer's, a
    // debugger's) must not run in a copy of the process. A parent gone away ends it too.
    for (const int signal : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT, SIGALRM, SIGPIPE}) std::signal(signal, SIG_DFL);
    const rlimit noCore{0, 0};
    ::setrlimit(RLIMIT_CORE, &noCore);
    ::alarm(deadlineSeconds);
    // The pipes are moved out of the way, the standard descriptors go to /dev/null and
    // every other descriptor is closed: the child keeps no file or lock of the parent.
    const int keptCommands = ::fcntl(commands, F_DUPFD, 10);
    const int keptReports = ::fcntl(reports, F_DUPFD, 10);
    const int nothing = ::open("/dev/null", O_RDWR);
    if (keptCommands < 0 || keptReports < 0 || nothing < 0) ::_exit(127);
    for (int standard = 0; standard <= 2; ++standard) ::dup2(nothing, standard);
    if (::dup2(keptCommands, kCommandsInChild) < 0 || ::dup2(keptReports, kReportsInChild) < 0) ::_exit(127);
    if (::close_range(kReportsInChild + 1, ~0U, 0) != 0) {
        rlimit open{};
        ::getrlimit(RLIMIT_NOFILE, &open);
        for (rlim_t fd = kReportsInChild + 1; fd < open.rlim_cur; ++fd) ::close(static_cast<int>(fd));
    }
    ::_exit(task(kCommandsInChild, kReportsInChild));
}

}  // namespace

void restoreDefaultChildSignal() { std::signal(SIGCHLD, SIG_DFL); }

void armChildDeadline(unsigned seconds) { ::alarm(seconds); }

ChildProcess::ChildProcess(const ChildTask& task, unsigned deadlineSeconds) {
    int toChild[2];
    int fromChild[2];
    if (::pipe2(toChild, O_CLOEXEC) != 0) return;
    if (::pipe2(fromChild, O_CLOEXEC) != 0) {
        ::close(toChild[0]);
        ::close(toChild[1]);
        return;
    }
    FileDescriptor childCommands(toChild[0]), childReports(fromChild[1]);
    // A larger pipe lets the child run further ahead of the parent (best effort).
    ::fcntl(fromChild[1], F_SETPIPE_SZ, 1 << 20);
    commands_.reset(toChild[1]);
    reports_.reset(fromChild[0]);
    restoreDefaultChildSignal();
    const pid_t pid = ::fork();
    if (pid == 0) becomeChild(task, childCommands.get(), childReports.get(), deadlineSeconds);
    if (pid < 0) {
        commands_.reset();
        reports_.reset();
        return;
    }
    pid_ = pid;
}

ChildProcess::ChildProcess(ChildProcess&& other) noexcept
    : pid_(std::exchange(other.pid_, -1)), reports_(std::move(other.reports_)), commands_(std::move(other.commands_)) {}

ChildProcess& ChildProcess::operator=(ChildProcess&& other) noexcept {
    if (this != &other) {
        end();
        pid_ = std::exchange(other.pid_, -1);
        reports_ = std::move(other.reports_);
        commands_ = std::move(other.commands_);
    }
    return *this;
}

void ChildProcess::end() noexcept {
    commands_.reset();
    reports_.reset();
    if (pid_ <= 0) return;
    ::kill(pid_, SIGKILL);
    int status = 0;
    retryOnInterrupt([&] { return ::waitpid(pid_, &status, 0); });
    pid_ = -1;
}

}  // namespace ww3b
