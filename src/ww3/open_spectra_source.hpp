#pragma once
// Opens the input of a run and picks its reader from the file's first bytes.

#include <memory>
#include <string>

#include "ww3/spectra_source.hpp"

namespace ww3b {

// `nameField` as typed (trailing blanks are not part of the name). A missing or
// unreadable file, or a format this build cannot read, ends the run with a diagnostic.
// Notices and warnings of the source (such as how many points the file holds) go to
// `warnings`.
std::unique_ptr<SpectraSource> openSpectraSource(int unit, const std::string& nameField, const PointChoice& point,
                                                 SourceWarnings warnings = {});

}  // namespace ww3b
