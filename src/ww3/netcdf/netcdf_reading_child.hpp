#pragma once
// The child's side of reading a netCDF file apart from the run: every call into the netCDF
// library happens here, so that a file the library crashes or stalls on ends only the
// child. The child opens the file, reports its grid and stations (or why it is refused),
// then answers the run's commands: the inventory, or every time step of one station.

#include <string>

namespace ww3b {

// Runs in the child; `deadlineSeconds` is re-armed for every piece of work and stopped
// while the child waits on the run. Returns the child's exit status.
int readNetcdfInChild(const std::string& path, int unit, int commands, int reports, unsigned deadlineSeconds);

}  // namespace ww3b
