#pragma once
// The early check of --point on a text file: right after the file is named, before the
// time questions, as a netCDF file's stations are checked.

#include <string>

#include "ww3/spectra_source.hpp"

namespace ww3b {

// Reads the header and the point lines of the first time step of the text file at `path`
// and ends the run with the diagnostic the run itself would give when that step does not
// hold the chosen point. The file is read on its own handle and closed again; the run
// reads it from the start. Nothing is checked without a choice, or for a file this check
// cannot read: the run reports that where it always does.
void refuseMissingTextPoint(int unit, const std::string& path, const PointChoice& point);

}  // namespace ww3b
