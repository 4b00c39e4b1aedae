#include "ww3/netcdf_trial_open.hpp"

#include <netcdf.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

namespace ww3b {

namespace {

constexpr int kOpened = 0;
constexpr int kLibraryError = 3;

// In the child: opens the file and reads the first and the last value of every variable,
// which walks the metadata and the index of the data the way a run starts to.
int tryFile(const std::string& path) {
    int id = -1;
    if (nc_open(path.c_str(), NC_NOWRITE, &id) != NC_NOERR) return kLibraryError;
    int variables = 0;
    if (nc_inq_nvars(id, &variables) != NC_NOERR) return kLibraryError;
    for (int v = 0; v < variables; ++v) {
        int rank = 0;
        int dimensions[NC_MAX_VAR_DIMS];
        nc_type type = NC_NAT;
        if (nc_inq_var(id, v, nullptr, &type, &rank, dimensions, nullptr) != NC_NOERR) return kLibraryError;
        if (type < NC_BYTE || type > NC_UINT64 || type == NC_CHAR) continue;
        std::vector<std::size_t> first(static_cast<std::size_t>(rank), 0), last(first);
        bool empty = false;
        for (int d = 0; d < rank; ++d) {
            std::size_t length = 0;
            if (nc_inq_dimlen(id, dimensions[d], &length) != NC_NOERR) return kLibraryError;
            empty = empty || length == 0;
            last[static_cast<std::size_t>(d)] = length == 0 ? 0 : length - 1;
        }
        double value = 0;
        if (!empty && (nc_get_var1_double(id, v, first.data(), &value) != NC_NOERR ||
                       nc_get_var1_double(id, v, last.data(), &value) != NC_NOERR)) {
            return kLibraryError;
        }
    }
    nc_close(id);
    return kOpened;
}

}  // namespace

TrialOpen openNetcdfAside(const std::string& path) {
    const pid_t child = ::fork();
    if (child < 0) return TrialOpen::Opened;  // no trial possible: the run opens it as always
    if (child == 0) ::_exit(tryFile(path));
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) return TrialOpen::Crashed;
    }
    if (!WIFEXITED(status)) return TrialOpen::Crashed;
    if (WEXITSTATUS(status) == kOpened) return TrialOpen::Opened;
    return WEXITSTATUS(status) == kLibraryError ? TrialOpen::LibraryError : TrialOpen::Crashed;
}

}  // namespace ww3b
