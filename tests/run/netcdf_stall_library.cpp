// Preloaded into the program by the netCDF run tests: after a chosen number of float
// reads, the next one stalls for ever, as the library does on some damaged files. The
// process that stalls writes its id to a file first, so the test can tell it is gone.

#include <dlfcn.h>
#include <unistd.h>

#include <cstddef>
#include <cstdio>
#include <cstdlib>

extern "C" int nc_get_vara_float(int ncid, int varid, const std::size_t* start, const std::size_t* count,
                                 float* values) {
    using Read = int (*)(int, int, const std::size_t*, const std::size_t*, float*);
    static const auto read = reinterpret_cast<Read>(::dlsym(RTLD_NEXT, "nc_get_vara_float"));
    static long calls = 0;
    const char* stallAfter = std::getenv("WW3B_TEST_STALL_AFTER_READS");
    if (stallAfter != nullptr && ++calls > std::atol(stallAfter)) {
        if (const char* idFile = std::getenv("WW3B_TEST_STALL_ID_FILE")) {
            if (std::FILE* file = std::fopen(idFile, "w")) {
                std::fprintf(file, "%ld\n", static_cast<long>(::getpid()));
                std::fclose(file);
            }
        }
        for (;;) ::pause();
    }
    return read(ncid, varid, start, count, values);
}
