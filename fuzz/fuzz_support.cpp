#include "fuzz_support.hpp"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "textio/free_form.hpp"

namespace ww3b::fuzz {

namespace {

int reportFd = STDERR_FILENO;

void writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t put = ::write(fd, bytes.data(), bytes.size());
        if (put <= 0) return;
        bytes.remove_prefix(static_cast<std::size_t>(put));
    }
}

}  // namespace

void setUpProcess(std::size_t fileSizeLimit) {
    const int copy = ::dup(STDERR_FILENO);
    if (copy >= 0) reportFd = copy;
    ::signal(SIGPIPE, SIG_IGN);
    ::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    if (limit.rlim_max == RLIM_INFINITY || limit.rlim_max > fileSizeLimit) limit.rlim_cur = fileSizeLimit;
    ::setrlimit(RLIMIT_FSIZE, &limit);
}

int memoryFile(std::string_view bytes) {
    const int fd = ::memfd_create("ww3b-fuzz", MFD_CLOEXEC);
    if (fd < 0) finding("memfd_create failed");
    writeAll(fd, bytes);
    ::lseek(fd, 0, SEEK_SET);
    return fd;
}

namespace {

std::string privateFolder;

// At the end of a fuzzing run the private folder goes, with whatever is in it.
void removePrivateFolder() {
    if (privateFolder.empty() || ::chdir("/") != 0) return;
    if (DIR* folder = ::opendir(privateFolder.c_str())) {
        while (const dirent* entry = ::readdir(folder)) {
            const std::string name = entry->d_name;
            if (name != "." && name != "..") ::unlink((privateFolder + "/" + name).c_str());
        }
        ::closedir(folder);
    }
    ::rmdir(privateFolder.c_str());
}

}  // namespace

void enterPrivateFolder() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/ww3b-fuzz-XXXXXX";
    if (!::mkdtemp(pattern.data()) || ::chdir(pattern.c_str()) != 0) finding("cannot make a private folder");
    privateFolder = pattern;
    std::atexit(removePrivateFolder);
}

bool holdsWholeLinesOnly(std::string_view text) {
    if (text.empty()) return true;
    if (text.size() < 2 || text.substr(text.size() - 2) != "\r\n") return false;
    for (std::size_t i = text.find('\n'); i != std::string_view::npos; i = text.find('\n', i + 1)) {
        if (i == 0 || text[i - 1] != '\r') return false;
    }
    return true;
}

void checkAndRemoveOutputs(std::string_view keep) {
    DIR* folder = ::opendir(".");
    if (!folder) finding("cannot list the private folder");
    std::vector<std::string> names;
    while (const dirent* entry = ::readdir(folder)) {
        const std::string name = entry->d_name;
        if (name != "." && name != ".." && name != keep) names.push_back(name);
    }
    ::closedir(folder);
    for (const auto& name : names) {
        struct stat info {};
        if (::lstat(name.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) finding("the run made something other than a file: " + name);
        if (!holdsWholeLinesOnly(readWholeFile(name.c_str()))) finding("output file with a partial line: " + name);
        // Every output here was made by the run: one it wrote no line to must be gone.
        if (info.st_size == 0) finding("the run left an empty file of its own: " + name);
        ::unlink(name.c_str());
    }
}

std::string readWholeFile(const char* path) {
    std::string text;
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) finding(std::string("cannot read ") + path);
    char block[65536];
    for (;;) {
        const ssize_t got = ::read(fd, block, sizeof block);
        if (got <= 0) break;
        text.append(block, static_cast<std::size_t>(got));
    }
    ::close(fd);
    return text;
}

void writeWholeFile(const char* path, std::string_view contents) {
    const int fd = ::open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) finding(std::string("cannot write ") + path);
    writeAll(fd, contents);
    ::close(fd);
}

bool namesAFileOutside(std::string_view answers) {
    while (!answers.empty()) {
        const std::size_t end = answers.find('\n');
        std::string_view line = answers.substr(0, end);
        answers = end == std::string_view::npos ? std::string_view{} : answers.substr(end + 1);
        // A name answer is the first 30 characters of its line; whatever the treatment of
        // the blanks around it, a field that starts with "/" after any blanks or control
        // characters, and holds more than that "/" and blanks, is an absolute path.
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        std::string_view field = line.substr(0, kNameFieldLength);
        if (field.find("..") != std::string_view::npos) return true;
        while (!field.empty() && static_cast<unsigned char>(field.front()) <= ' ') field.remove_prefix(1);
        if (!field.empty() && field.front() == '/' && field.find_first_not_of(' ', 1) != std::string_view::npos) {
            return true;
        }
    }
    return false;
}

void finding(const std::string& what) {
    writeAll(reportFd, "ww3b fuzz finding: " + what + "\n");
    std::abort();
}

std::uint64_t checksum(std::string_view bytes) {
    std::uint64_t hash = 1469598103934665603ULL;
    for (const unsigned char c : bytes) {
        hash ^= c;
        hash *= 1099511628211ULL;
    }
    return hash;
}

}  // namespace ww3b::fuzz
