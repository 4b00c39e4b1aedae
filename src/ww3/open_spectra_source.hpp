#pragma once
// Opens the input of a run and picks its reader from the file's first bytes.

#include <memory>
#include <string>

#include "textio/input_file.hpp"
#include "ww3/spectra_source.hpp"

namespace ww3b {

// `nameField` as typed (trailing blanks are not part of the name). A file whose first
// bytes are those of a netCDF file is read as netCDF, any other as text. A missing or
// unreadable file ends the run with a diagnostic. Notices and warnings of the source
// (such as how many points the file holds) go to `warnings`.
std::unique_ptr<SpectraSource> openSpectraSource(int unit, const std::string& nameField, const PointChoice& point,
                                                 SourceWarnings warnings = {});

// True when the file opened as `in` starts as a netCDF file; its bytes stay to be read.
bool startsAsNetcdf(InputFile& in);

}  // namespace ww3b
