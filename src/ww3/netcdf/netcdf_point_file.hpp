#pragma once
// Reading WW3 point spectra from a netCDF file: dimensions time, station, frequency and
// direction; efth(time, station, frequency, direction) with the densities (stored as such
// or log-coded, as its units say), the frequency (Hz) and direction (degrees) axes, time,
// and per time and station dpt, wnd and wnddir. Every unit is checked, none assumed.
// The file is read forward, one station at a time, in blocks of a few dozen time steps (about
// a megabyte), so memory stays flat whatever the file's size and the library is called
// seldom enough to read faster than the text file.
// This calls the netCDF library, which may crash or stall on a damaged file: the program
// uses it only inside the reading child of netcdf_stream.hpp.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ww3/netcdf/netcdf_time.hpp"
#include "ww3/netcdf/netcdf_variable.hpp"
#include "ww3/netcdf/netcdf_units.hpp"
#include "model/spectral_grid.hpp"

namespace ww3b {

// What --list shows of a station: its name and, at the first time step, its position and
// depth (NaN where the file has no value).
struct NetcdfStationInfo {
    std::string name;  // trailing blanks and NULs trimmed; empty when the file names none
    double latitude = 0;   // y in metres when the inventory is cartesian
    double longitude = 0;  // x in metres when the inventory is cartesian
    double depth = 0;
};

struct NetcdfInventory {
    bool cartesian = false;  // positions are x and y in metres, not latitude and longitude
    std::vector<NetcdfStationInfo> stations;
    std::size_t timeCount = 0;
    NetcdfStamp first, last;  // only when timeCount > 0
};

class NetcdfPointFile {
public:
    // Opens the file read-only and checks its layout; fills the grid. Anything missing or
    // out of range ends the run with a diagnostic naming `unit` and the file.
    explicit NetcdfPointFile(std::string path, int unit = 11);
    ~NetcdfPointFile() = default;
    NetcdfPointFile(const NetcdfPointFile&) = delete;
    NetcdfPointFile& operator=(const NetcdfPointFile&) = delete;

    // Counts and frequencies as read; `directions` holds the direction axis converted to
    // radians, as the text files list it, so the direction-list checks apply unchanged.
    const SpectralGrid& grid() const { return grid_; }
    std::size_t stationCount() const { return stationNames_.size(); }
    std::size_t timeCount() const { return timeCount_; }
    const std::vector<std::string>& stationNames() const { return stationNames_; }
    // What the file leaves to be assumed (a variable without units), one sentence each.
    const std::vector<std::string>& warnings() const { return warnings_; }

    // Station names, positions and depths at the first time step, the time count, the
    // first and the last time. Reads a few values, never a whole variable.
    NetcdfInventory inventory();

    // Moves to the next time step and puts its date and time in the record; false (the
    // record untouched) after the last one. A step is passed over by simply moving on.
    bool nextStep(InputRecord& record);
    // True when the next step's time and the station's values are already read, so that
    // nextStep and readStation need no call into the library.
    bool nextStepIsRead(std::size_t station) const;
    // The step nextStep moved to, from 0.
    std::size_t stepIndex() const { return step_; }

    // Depth, wind speed, wind direction and densities of a station (from 0) at the current
    // step. A fill value or a density that is not finite ends the run with a diagnostic.
    void readStation(std::size_t station, InputRecord& record);

private:
    [[noreturn]] void fail(const std::string& condition) const;
    NetcdfVariable requireVariable(const std::string& name, std::vector<int> dimensions) const;
    int requireDimension(const char* name, std::size_t& length) const;
    // A text attribute of the variable, blanks trimmed; nothing when it is absent. One that
    // is not text or cannot be read ends the run.
    std::optional<std::string> textAttribute(const NetcdfVariable& variable, const char* name) const;
    // Refuses the variable unless its units are readable; absent units are warned about.
    void checkUnits(const NetcdfVariable& variable, bool (*readable)(std::string_view), const char* expected);
    void checkDensityCoding();
    void readPositions(int timeDimension, int stationDimension);
    void readGrid(int frequencyDimension, int directionDimension);
    void readStationNames(int stationDimension);
    void readTimeUnits();
    // The time value of a step, read alone (`cached` false) or through the block of times.
    NetcdfStamp stampOf(std::size_t step, bool cached = false);
    std::string where(std::size_t station) const;  // "at time step ... , station ..."
    // Reads `steps` steps from `first` of one station's values of the variable.
    int readSteps(const NetcdfVariable& variable, std::size_t station, std::size_t first, std::size_t steps,
                  double* values) const;
    void loadBlock(std::size_t station);

    // Closes the file however the object goes, a failing constructor included.
    struct Handle {
        int id = -1;
        Handle() = default;
        Handle(const Handle&) = delete;
        Handle& operator=(const Handle&) = delete;
        ~Handle();
    };

    std::string path_;
    int unit_;
    Handle file_;
    int ncid_ = -1;
    SpectralGrid grid_;
    std::vector<std::string> stationNames_;
    std::size_t timeCount_ = 0;
    NetcdfTimeUnits timeUnits_;
    NetcdfVariable time_, efth_, depth_, wind_, windDirection_;
    // Latitude and longitude, or y and x when the file is cartesian.
    NetcdfVariable latitude_, longitude_;
    bool cartesian_ = false;
    DensityCoding coding_ = DensityCoding::Linear;
    std::vector<std::string> warnings_;
    std::size_t step_ = 0;
    bool started_ = false;
    NetcdfStamp stamp_;
    // Values of consecutive steps of one station: per step depth, wind speed, wind direction
    // and then the densities (frequency by frequency). The first station read keeps its
    // block; any other is read a step at a time.
    struct Block {
        std::size_t station = 0;
        std::size_t first = 0;
        std::size_t steps = 0;
        std::vector<double> values;
        bool holds(std::size_t s, std::size_t step) const {
            return s == station && step >= first && step < first + steps;
        }
    };
    std::size_t stepsPerBlock_ = 1;
    Block block_, single_;
    std::vector<double> times_;  // a block of time values from timesFirst_
    std::size_t timesFirst_ = 0;
};

}  // namespace ww3b
