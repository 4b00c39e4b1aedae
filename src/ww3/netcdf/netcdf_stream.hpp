#pragma once
// The run's side of a netCDF file read in a child process (see netcdf_reading_child.hpp):
// one child and one opening of the file per run. The child decodes every time step of the
// chosen station and streams it through a pipe; the run waits on the pipe with a limit, so
// that a library that crashes or stalls anywhere in the file (header, metadata, any block
// of data) ends the run with a diagnostic and leaves no process behind.

#include <chrono>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "model/spectral_grid.hpp"
#include "process/child_process.hpp"
#include "process/pipe_io.hpp"
#include "ww3/netcdf/netcdf_child_messages.hpp"
#include "ww3/netcdf/netcdf_point_file.hpp"

namespace ww3b {

// How long the run waits for the child's next message before it takes the library to have
// stalled: the time a sound file needs between two messages is milliseconds; the limit
// leaves room for a slow disk or network share. The child's own deadline is a little longer.
inline constexpr std::chrono::milliseconds kNetcdfStallLimit{30000};

// The limit every stream started from now on uses; tests and the fuzz target shorten it.
void setNetcdfStallLimit(std::chrono::milliseconds limit);
std::chrono::milliseconds netcdfStallLimit();

class NetcdfStream {
public:
    // Starts the child and takes the file's grid and stations; a file that is refused, or
    // that the library fails on, ends the run with a diagnostic naming `unit` and the file.
    NetcdfStream(std::string path, int unit);

    const SpectralGrid& grid() const { return grid_; }
    const std::vector<std::string>& stationNames() const { return stationNames_; }
    std::size_t timeCount() const { return timeCount_; }
    const std::vector<std::string>& warnings() const { return warnings_; }

    // What --list shows. Only before streaming.
    NetcdfInventory inventory();

    // Streams every step of one station (from 0). Once only.
    void stream(std::size_t station);
    bool streaming() const { return streaming_; }
    // The next step's date and time; false after the last one.
    bool nextStep(InputRecord& record);
    // The values of the step nextStep gave, or the diagnostic why they cannot be read.
    void readStation(InputRecord& record);

    // Ends the child; nothing more can be read.
    void close() { child_.end(); }

private:
    [[noreturn]] void fail(const std::string& condition) const;
    // The next message: its kind and body. A child that dies or stalls ends the run.
    ChildMessage next(std::vector<char>& body);
    void command(const std::vector<char>& bytes);

    std::string path_;
    int unit_;
    std::chrono::milliseconds limit_;
    ChildProcess child_;
    std::unique_ptr<PipeReader> reports_;
    SpectralGrid grid_;
    std::size_t timeCount_ = 0;
    std::vector<std::string> stationNames_;
    std::vector<std::string> warnings_;
    bool streaming_ = false;
    bool valuesPending_ = false;  // the Values (or StepRefused) of the last step not yet taken
    bool ended_ = false;
    std::size_t stepsStarted_ = 0;
    std::vector<char> body_;
};

// The netCDF file a run reads, shared: while a scope lives, the checks made right after the
// file is named and the run itself get the same stream (or the same refusal) for a path,
// so the file is read by one child. Without a scope, every call starts its own.
class NetcdfRunScope {
public:
    NetcdfRunScope();
    ~NetcdfRunScope();
    NetcdfRunScope(const NetcdfRunScope&) = delete;
    NetcdfRunScope& operator=(const NetcdfRunScope&) = delete;
};

std::shared_ptr<NetcdfStream> openNetcdfStream(const std::string& path, int unit);
// The stream of `path` is no longer shared (it has streamed, or the run is done with it).
void forgetNetcdfStream(const std::string& path);

}  // namespace ww3b
