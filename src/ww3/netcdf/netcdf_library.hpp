#pragma once
// The netCDF C library, loaded when the first netCDF file is opened instead of when the
// program starts. Linked in, the library and the dozens it needs in turn (HDF5, curl,
// TLS, Kerberos, ...) cost every run some 16 ms of loading and relocating, text files
// included; loaded on demand they cost only the runs that read netCDF.
//
// The functions below have the library's names and hide its own declarations inside
// namespace ww3b, so the reading code calls them as it would call the library. The
// program does not link the library: a call that missed these would fail to link.

#include <netcdf.h>

#include <cstddef>
#include <string>

namespace ww3b {

// Loads the library at the first call. Returns what went wrong, in plain words, or an
// empty text when the library is there; later calls return the first call's answer.
// The functions below may be called only after an empty answer.
const std::string& loadNetcdfLibrary();

// The name the library is loaded by (its shared-object name at build time).
const char* netcdfLibraryName();

const char* nc_strerror(int status);
int nc_open(const char* path, int mode, int* ncid);
int nc_close(int ncid);
int nc_inq_dimid(int ncid, const char* name, int* dimid);
int nc_inq_dimlen(int ncid, int dimid, std::size_t* length);
int nc_inq_dimname(int ncid, int dimid, char* name);
int nc_inq_varid(int ncid, const char* name, int* varid);
int nc_inq_var(int ncid, int varid, char* name, nc_type* type, int* rank, int* dimids, int* attributeCount);
int nc_inq_vardimid(int ncid, int varid, int* dimids);
int nc_inq_att(int ncid, int varid, const char* name, nc_type* type, std::size_t* length);
int nc_get_att_text(int ncid, int varid, const char* name, char* text);
int nc_get_att_double(int ncid, int varid, const char* name, double* values);
int nc_get_vara_text(int ncid, int varid, const std::size_t* start, const std::size_t* count, char* values);
int nc_get_vara_float(int ncid, int varid, const std::size_t* start, const std::size_t* count, float* values);
int nc_get_vara_double(int ncid, int varid, const std::size_t* start, const std::size_t* count, double* values);

}  // namespace ww3b
