#pragma once
// The netCDF file of WW3 point spectra as a source of spectra: one station of the file,
// chosen by name or position, one time step after the other.

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ww3/netcdf/netcdf_point_file.hpp"
#include "ww3/file_inventory.hpp"
#include "ww3/netcdf/netcdf_stream.hpp"
#include "ww3/spectra_source.hpp"

namespace ww3b {

// The station (from 0) a choice names among the file's station names: a name as written
// (trailing blanks ignored); digits only are a name when a station has that name, else a
// position from 1; no choice, the first. Nothing when the file holds no such station.
std::optional<std::size_t> chooseStation(const std::vector<std::string>& names, const PointChoice& choice);

// The diagnostic for a choice that no station answers, listing the stations found.
std::string missingStationProblem(const std::vector<std::string>& names, const PointChoice& choice);

class NetcdfSpectraSource final : public SpectraSource {
public:
    // `path` as opened (no trailing blanks). The file is opened and its layout checked at
    // once, or the stream the run's checks opened is taken over.
    NetcdfSpectraSource(int unit, std::string path, PointChoice point, SourceWarnings warnings = {});

    // The grid, its counts within the converter's limits; the station chosen (or the run
    // ended with the stations found), and a notice when the first of several is taken.
    bool readHeader(SpectralGrid& grid) override;
    StepStart startStep(InputRecord& record) override;
    void readPoint(InputRecord& record) override;
    void skipStep(InputRecord&) override {}  // nothing carries over between steps
    void close() override;

    int unit() const override { return unit_; }
    std::string_view formatName() const override { return "netCDF"; }
    const std::string& name() const override { return path_; }

private:
    int unit_;
    std::string path_;
    PointChoice point_;
    SourceWarnings warnings_;
    std::shared_ptr<NetcdfStream> file_;
    std::size_t station_ = 0;
};

// Right after the WW3 file name is answered: when the file is a netCDF file that the reader
// refuses (its layout, its units, a library that fails on it) or that holds no station
// answering `point`, ends the run with the diagnostic the run would give, before any output
// file is made. The file stays open for the run. Any other file is left to the run.
void refuseMissingNetcdfStation(int unit, const std::string& nameField, const PointChoice& point);

// What --list shows of a netCDF file.
FileInventory readNetcdfInventory(int unit, const std::string& path);

}  // namespace ww3b
