#include "output_lock.hpp"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "file_descriptor.hpp"

namespace ww3b {

namespace {

// An output file this process created and holds locked. The descriptor belongs to the
// file's OutputFile; an entry whose descriptor no longer leads to the same file (closed,
// its number reused) is stale and dropped.
struct CreatedOutput {
    int fd;
    dev_t device;
    ino_t inode;
    std::string name;
};

std::vector<CreatedOutput>& createdOutputs() {
    static std::vector<CreatedOutput> outputs;
    return outputs;
}

bool sameFile(const struct stat& a, dev_t device, ino_t inode) { return a.st_dev == device && a.st_ino == inode; }

bool stillOpen(const CreatedOutput& output) {
    struct stat info {};
    return ::fstat(output.fd, &info) == 0 && sameFile(info, output.device, output.inode);
}

// The files this run created, empty and still under their names, are removed (the user's
// files, and files another run made, are never touched). Open ones must still be the
// file the name leads to.
void removeCreatedOutputs() {
    for (const CreatedOutput& output : createdOutputs()) {
        struct stat open {}, named {};
        if (::fstat(output.fd, &open) == 0 && (!sameFile(open, output.device, output.inode) || open.st_size != 0)) {
            continue;
        }
        if (::lstat(output.name.c_str(), &named) == 0 && S_ISREG(named.st_mode) &&
            sameFile(named, output.device, output.inode) && named.st_size == 0) {
            ::unlink(output.name.c_str());
        }
    }
    createdOutputs().clear();
}

}  // namespace

void removeEmptyOutputsThisRunCreated() { removeCreatedOutputs(); }

OutputLock lockOutputFile(int fd, const std::string& name, bool created) {
    auto& outputs = createdOutputs();
    // A descriptor number in use now cannot belong to an entry of a file closed before.
    std::erase_if(outputs, [fd](const CreatedOutput& output) { return output.fd == fd || !stillOpen(output); });
    struct stat open {};
    if (::fstat(fd, &open) != 0 || !S_ISREG(open.st_mode)) return OutputLock::Held;
    if (retryOnInterrupt([fd] { return ::flock(fd, LOCK_EX | LOCK_NB); }) != 0) {
        // A file system without locks: the run goes on unprotected, as before locks existed.
        if (errno != EWOULDBLOCK) return OutputLock::Held;
        removeCreatedOutputs();
        return OutputLock::Busy;
    }
    // Between the open and the lock, a refused run may have removed the file it had
    // created: the lock then guards a file that nobody can see any more.
    struct stat named {};
    if (::stat(name.c_str(), &named) != 0 || !sameFile(named, open.st_dev, open.st_ino)) return OutputLock::Moved;
    if (created) outputs.push_back({fd, open.st_dev, open.st_ino, name});
    return OutputLock::Held;
}

}  // namespace ww3b
