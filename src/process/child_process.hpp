#pragma once
// A child process for work whose library may crash or stall on what it is given: the child
// talks to the parent through two pipes and holds nothing else of the parent (no output
// file, no lock, no terminal), ends itself at a deadline of its own and leaves no core
// file. The parent kills and reaps it when done with it.

#include <sys/types.h>

#include <functional>

#include "process/file_descriptor.hpp"

namespace ww3b {

// What the child runs: `commands` is the end it reads the parent's requests from, `reports`
// the end it writes to. Its result is the child's exit status.
using ChildTask = std::function<int(int commands, int reports)>;

// The default action for SIGCHLD, so that waitpid reports the program's children even when
// the program was started with the signal ignored (as some batch systems do).
void restoreDefaultChildSignal();

// Starts (or restarts) the child's own deadline: it is killed by SIGALRM after `seconds`
// unless called again; 0 stops the deadline.
void armChildDeadline(unsigned seconds);

class ChildProcess {
public:
    ChildProcess() = default;
    // Forks and runs `task` in the child under a deadline of `deadlineSeconds`. Not
    // running() when no pipe or process could be made.
    ChildProcess(const ChildTask& task, unsigned deadlineSeconds);
    ChildProcess(ChildProcess&& other) noexcept;
    ChildProcess& operator=(ChildProcess&& other) noexcept;
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess() { end(); }

    bool running() const { return pid_ > 0; }
    int reports() const { return reports_.get(); }
    int commands() const { return commands_.get(); }

    // Closes the pipes, kills the child if it is still there and waits for it.
    void end() noexcept;

private:
    pid_t pid_ = -1;
    FileDescriptor reports_, commands_;
};

}  // namespace ww3b
