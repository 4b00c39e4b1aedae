#include "ww3/netcdf/netcdf_trial_open.hpp"

#include <netcdf.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <thread>
#include <vector>

namespace ww3b {

namespace {

constexpr int kOpened = 0;
constexpr int kLibraryError = 3;

// Variables of up to this many values are read whole in the trial, larger ones at their
// first and last value: a few milliseconds at most, whatever the file's size.
constexpr std::size_t kWholeReadValues = std::size_t{1} << 20;
constexpr std::size_t kLargestAttributeBytes = std::size_t{1} << 20;

std::atomic<long long> trialLimitMilliseconds{kNetcdfTrialLimit.count()};

// The child dies plainly of a fault: handlers the parent installed (a fuzzer's, a
// debugger's) must not run in a copy of the process that holds no consistent state.
void restoreDefaultFaultHandling() {
    for (const int signal : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT, SIGALRM}) std::signal(signal, SIG_DFL);
}

// What the child sends back when the library refuses something: its code and what.
struct Report {
    int status = NC_NOERR;
    char where[96] = {};
};

class Walk {
public:
    explicit Walk(int id) : id_(id) {}

    // False, with the report filled, at the first error.
    bool all() {
        int variables = 0;
        if (!ok(nc_inq_nvars(id_, &variables), "the list of variables")) return false;
        if (!attributes(NC_GLOBAL, "the global attributes")) return false;
        for (int v = 0; v < variables; ++v) {
            if (!variable(v)) return false;
        }
        return true;
    }

    const Report& report() const { return report_; }

private:
    bool ok(int status, const std::string& where) {
        if (status == NC_NOERR) return true;
        report_.status = status;
        std::strncpy(report_.where, where.c_str(), sizeof report_.where - 1);
        return false;
    }

    bool variable(int v) {
        char name[NC_MAX_NAME + 1] = {};
        int rank = 0;
        int dimensions[NC_MAX_VAR_DIMS];
        nc_type type = NC_NAT;
        if (!ok(nc_inq_var(id_, v, name, &type, &rank, dimensions, nullptr), "a variable's description")) return false;
        const std::string what = std::string("the variable ") + name;
        if (!attributes(v, "the attributes of " + what)) return false;
        std::vector<std::size_t> first(static_cast<std::size_t>(rank), 0), last(first);
        std::size_t values = 1;
        for (int d = 0; d < rank; ++d) {
            std::size_t length = 0;
            if (!ok(nc_inq_dimlen(id_, dimensions[d], &length), "the dimensions of " + what)) return false;
            last[static_cast<std::size_t>(d)] = length == 0 ? 0 : length - 1;
            // The count, or anything above kWholeReadValues once it is that large.
            if (length == 0) {
                values = 0;
            } else if (values > kWholeReadValues / length) {
                values = values == 0 ? 0 : kWholeReadValues + 1;
            } else {
                values *= length;
            }
        }
        if (values == 0) return true;
        if (type == NC_CHAR) {
            if (values <= kWholeReadValues) {
                std::vector<char> text(values);
                return ok(nc_get_var_text(id_, v, text.data()), what);
            }
            char c = 0;
            return ok(nc_get_var1_text(id_, v, first.data(), &c), what) &&
                   ok(nc_get_var1_text(id_, v, last.data(), &c), what);
        }
        if (type < NC_BYTE || type > NC_UINT64) return true;  // strings and user types: never read
        if (values <= kWholeReadValues) {
            std::vector<double> all(values);
            const int status = nc_get_var_double(id_, v, all.data());
            return status == NC_ERANGE || ok(status, what);  // a value beyond double: not a fault
        }
        double value = 0;
        return ok(nc_get_var1_double(id_, v, first.data(), &value), what) &&
               ok(nc_get_var1_double(id_, v, last.data(), &value), what);
    }

    bool attributes(int v, const std::string& what) {
        int count = 0;
        if (!ok(nc_inq_varnatts(id_, v, &count), what)) return false;
        for (int a = 0; a < count; ++a) {
            char name[NC_MAX_NAME + 1] = {};
            nc_type type = NC_NAT;
            std::size_t length = 0;
            if (!ok(nc_inq_attname(id_, v, a, name), what) || !ok(nc_inq_att(id_, v, name, &type, &length), what)) {
                return false;
            }
            if (length == 0 || length > kLargestAttributeBytes / 8) continue;
            if (type == NC_CHAR) {
                std::vector<char> text(length);
                if (!ok(nc_get_att_text(id_, v, name, text.data()), what)) return false;
            } else if (type >= NC_BYTE && type <= NC_UINT64) {
                std::vector<double> values(length);
                const int status = nc_get_att_double(id_, v, name, values.data());
                if (status != NC_ERANGE && !ok(status, what)) return false;
            }
        }
        return true;
    }

    int id_;
    Report report_;
};

// In the child: opens the file and walks it; the report goes to `channel`.
int tryFile(const std::string& path, int channel) {
    Report report;
    int id = -1;
    report.status = nc_open(path.c_str(), NC_NOWRITE, &id);
    if (report.status == NC_NOERR) {
        Walk walk(id);
        if (walk.all()) {
            nc_close(id);
            return kOpened;
        }
        report = walk.report();
    }
    // Within the pipe's buffer, so the write is whole and never waits.
    if (::write(channel, &report, sizeof report) != static_cast<ssize_t>(sizeof report)) return kLibraryError + 1;
    return kLibraryError;
}

}  // namespace

TrialOpen openNetcdfAside(const std::string& path, std::chrono::milliseconds limit) {
    int channel[2];
    if (::pipe(channel) != 0) return {};  // no trial possible: the run opens it as always
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(channel[0]);
        ::close(channel[1]);
        return {};
    }
    if (child == 0) {
        restoreDefaultFaultHandling();
        ::close(channel[0]);
        ::_exit(tryFile(path, channel[1]));
    }
    ::close(channel[1]);
    // Polled rather than blocked on, so that a child stuck in the library is killed at the
    // limit; the pause grows from 1 to 20 ms, so a sound file costs about its own time.
    const auto deadline = std::chrono::steady_clock::now() + limit;
    auto pause = std::chrono::milliseconds(1);
    int status = 0;
    TrialOpen trial;
    for (;;) {
        const pid_t done = ::waitpid(child, &status, WNOHANG);
        if (done == child) break;
        if (done < 0 && errno != EINTR) {
            trial.outcome = TrialOutcome::Crashed;
            break;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            ::kill(child, SIGKILL);
            while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
            }
            trial.outcome = TrialOutcome::TimedOut;
            break;
        }
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::milliseconds(20));
    }
    if (trial.outcome == TrialOutcome::Opened) {
        Report report;
        if (!WIFEXITED(status) || (WEXITSTATUS(status) != kOpened && WEXITSTATUS(status) != kLibraryError)) {
            trial.outcome = TrialOutcome::Crashed;
        } else if (WEXITSTATUS(status) == kLibraryError) {
            if (::read(channel[0], &report, sizeof report) == static_cast<ssize_t>(sizeof report)) {
                report.where[sizeof report.where - 1] = '\0';
                trial = {TrialOutcome::LibraryError, report.status, report.where};
            } else {
                trial.outcome = TrialOutcome::Crashed;
            }
        }
    }
    ::close(channel[0]);
    return trial;
}

void setNetcdfTrialLimit(std::chrono::milliseconds limit) { trialLimitMilliseconds = limit.count(); }

std::chrono::milliseconds netcdfTrialLimit() { return std::chrono::milliseconds(trialLimitMilliseconds.load()); }

}  // namespace ww3b
