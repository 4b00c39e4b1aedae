#include "ww3/netcdf/netcdf_library.hpp"

#include <dlfcn.h>

namespace ww3b {

namespace {

#ifndef WW3B_NETCDF_LIBRARY_NAME
#define WW3B_NETCDF_LIBRARY_NAME "libnetcdf.so"
#endif

// The library's functions, found by name in the process's global scope once the library
// is loaded there: a library preloaded into the program (as the stall tests do) comes
// first, as it would for a linked-in library.
struct Functions {
    decltype(&::nc_strerror) strerror = nullptr;
    decltype(&::nc_open) open = nullptr;
    decltype(&::nc_close) close = nullptr;
    decltype(&::nc_inq_dimid) inqDimid = nullptr;
    decltype(&::nc_inq_dimlen) inqDimlen = nullptr;
    decltype(&::nc_inq_dimname) inqDimname = nullptr;
    decltype(&::nc_inq_varid) inqVarid = nullptr;
    decltype(&::nc_inq_var) inqVar = nullptr;
    decltype(&::nc_inq_vardimid) inqVardimid = nullptr;
    decltype(&::nc_inq_att) inqAtt = nullptr;
    decltype(&::nc_get_att_text) getAttText = nullptr;
    decltype(&::nc_get_att_double) getAttDouble = nullptr;
    decltype(&::nc_get_vara_text) getVaraText = nullptr;
    decltype(&::nc_get_vara_float) getVaraFloat = nullptr;
    decltype(&::nc_get_vara_double) getVaraDouble = nullptr;
};

Functions functions;

template <typename Function>
bool find(Function& function, const char* name, std::string& missing) {
    function = reinterpret_cast<Function>(::dlsym(RTLD_DEFAULT, name));
    if (function == nullptr && missing.empty()) missing = name;
    return function != nullptr;
}

std::string load() {
    // The development link name is the fallback, for a library rebuilt under another version.
    void* handle = ::dlopen(WW3B_NETCDF_LIBRARY_NAME, RTLD_NOW | RTLD_GLOBAL);
    if (handle == nullptr) {
        const char* why = ::dlerror();
        const std::string firstWhy = why ? why : "not found";
        handle = ::dlopen("libnetcdf.so", RTLD_NOW | RTLD_GLOBAL);
        if (handle == nullptr) {
            return std::string("the netCDF library cannot be loaded (install the Debian package libnetcdf-dev): ") +
                   firstWhy;
        }
    }
    std::string missing;
    Functions found;
    find(found.strerror, "nc_strerror", missing);
    find(found.open, "nc_open", missing);
    find(found.close, "nc_close", missing);
    find(found.inqDimid, "nc_inq_dimid", missing);
    find(found.inqDimlen, "nc_inq_dimlen", missing);
    find(found.inqDimname, "nc_inq_dimname", missing);
    find(found.inqVarid, "nc_inq_varid", missing);
    find(found.inqVar, "nc_inq_var", missing);
    find(found.inqVardimid, "nc_inq_vardimid", missing);
    find(found.inqAtt, "nc_inq_att", missing);
    find(found.getAttText, "nc_get_att_text", missing);
    find(found.getAttDouble, "nc_get_att_double", missing);
    find(found.getVaraText, "nc_get_vara_text", missing);
    find(found.getVaraFloat, "nc_get_vara_float", missing);
    find(found.getVaraDouble, "nc_get_vara_double", missing);
    if (!missing.empty()) {
        return std::string("the netCDF library ") + WW3B_NETCDF_LIBRARY_NAME + " lacks the function " + missing;
    }
    functions = found;
    return {};
}

}  // namespace

const std::string& loadNetcdfLibrary() {
    static const std::string problem = load();
    return problem;
}

const char* netcdfLibraryName() { return WW3B_NETCDF_LIBRARY_NAME; }

const char* nc_strerror(int status) { return functions.strerror(status); }
int nc_open(const char* path, int mode, int* ncid) { return functions.open(path, mode, ncid); }
int nc_close(int ncid) { return functions.close(ncid); }
int nc_inq_dimid(int ncid, const char* name, int* dimid) { return functions.inqDimid(ncid, name, dimid); }
int nc_inq_dimlen(int ncid, int dimid, std::size_t* length) { return functions.inqDimlen(ncid, dimid, length); }
int nc_inq_dimname(int ncid, int dimid, char* name) { return functions.inqDimname(ncid, dimid, name); }
int nc_inq_varid(int ncid, const char* name, int* varid) { return functions.inqVarid(ncid, name, varid); }
int nc_inq_var(int ncid, int varid, char* name, nc_type* type, int* rank, int* dimids, int* attributeCount) {
    return functions.inqVar(ncid, varid, name, type, rank, dimids, attributeCount);
}
int nc_inq_vardimid(int ncid, int varid, int* dimids) { return functions.inqVardimid(ncid, varid, dimids); }
int nc_inq_att(int ncid, int varid, const char* name, nc_type* type, std::size_t* length) {
    return functions.inqAtt(ncid, varid, name, type, length);
}
int nc_get_att_text(int ncid, int varid, const char* name, char* text) {
    return functions.getAttText(ncid, varid, name, text);
}
int nc_get_att_double(int ncid, int varid, const char* name, double* values) {
    return functions.getAttDouble(ncid, varid, name, values);
}
int nc_get_vara_text(int ncid, int varid, const std::size_t* start, const std::size_t* count, char* values) {
    return functions.getVaraText(ncid, varid, start, count, values);
}
int nc_get_vara_float(int ncid, int varid, const std::size_t* start, const std::size_t* count, float* values) {
    return functions.getVaraFloat(ncid, varid, start, count, values);
}
int nc_get_vara_double(int ncid, int varid, const std::size_t* start, const std::size_t* count, double* values) {
    return functions.getVaraDouble(ncid, varid, start, count, values);
}

}  // namespace ww3b
