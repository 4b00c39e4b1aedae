#include "ww3/netcdf/netcdf_spectra_source.hpp"

#include <sys/stat.h>

#include <array>
#include <cstdio>
#include <utility>

#include "textio/file_opening.hpp"
#include "textio/io_diagnostic.hpp"
#include "ww3/netcdf/netcdf_magic.hpp"
#include "ww3/point_choice.hpp"

namespace ww3b {

std::optional<std::size_t> chooseStation(const std::vector<std::string>& names, const PointChoice& choice) {
    const std::string wanted = trimmedName(choice.wanted);
    if (wanted.empty()) return names.empty() ? std::nullopt : std::optional<std::size_t>(0);
    for (std::size_t s = 0; s < names.size(); ++s) {
        if (names[s] == wanted) return s;
    }
    const std::optional<std::size_t> position = positionOf(choice);
    if (position && *position <= names.size()) return *position - 1;
    return std::nullopt;
}

std::string missingStationProblem(const std::vector<std::string>& names, const PointChoice& choice) {
    const std::string wanted = trimmedName(choice.wanted);
    const std::optional<std::size_t> position = positionOf(choice);
    return "the file holds no station " + (position ? std::to_string(*position) : "\"" + wanted + "\"") +
           "; it holds " + std::to_string(names.size()) + (names.size() == 1 ? " station: " : " stations: ") +
           pointList(names);
}

NetcdfSpectraSource::NetcdfSpectraSource(int unit, std::string path, PointChoice point, SourceWarnings warnings)
    : unit_(unit),
      path_(std::move(path)),
      point_(std::move(point)),
      warnings_(std::move(warnings)),
      file_(openNetcdfStream(path_, unit_)) {}

bool NetcdfSpectraSource::readHeader(SpectralGrid& grid) {
    grid = file_->grid();
    const std::vector<std::string>& names = file_->stationNames();
    const std::optional<std::size_t> station = chooseStation(names, point_);
    if (!station) endRunWithDiagnostic(missingStationProblem(names, point_), unit_, path_);
    station_ = *station;
    if (warnings_) {
        for (const std::string& warning : file_->warnings()) warnings_(warning);
    }
    if (names.size() > 1 && trimmedName(point_.wanted).empty() && warnings_) {
        warnings_("\"" + path_ + "\" holds " + std::to_string(names.size()) + " stations (" + pointList(names) +
                  "); the first is converted. Choose another with --point NAME or --point N (its position, from 1)");
    }
    return true;
}

StepStart NetcdfSpectraSource::startStep(InputRecord& record) {
    if (!file_->streaming()) file_->stream(station_);
    if (!file_->nextStep(record)) return {StepStart::Outcome::End, {}};
    return {};
}

void NetcdfSpectraSource::readPoint(InputRecord& record) { file_->readStation(record); }

void NetcdfSpectraSource::close() {
    if (!file_) return;
    // A stream that has been read from cannot serve anyone else.
    if (file_->streaming()) {
        file_->close();
        forgetNetcdfStream(path_);
    }
    file_.reset();
}

namespace {

// True when `path` names a plain file that starts as a netCDF file does.
bool isNetcdfFile(const std::string& path) {
    struct stat status {};
    if (path.empty() || ::stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) return false;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return false;
    std::array<unsigned char, 8> head{};
    const std::size_t got = std::fread(head.data(), 1, head.size(), file);
    std::fclose(file);
    return looksLikeNetcdf(std::span<const unsigned char>(head.data(), got));
}

}  // namespace

void refuseMissingNetcdfStation(int unit, const std::string& nameField, const PointChoice& point) {
    const std::string path = fileNameFromField(nameField);
    if (!isNetcdfFile(path)) return;
    const std::shared_ptr<NetcdfStream> file = openNetcdfStream(path, unit);
    const std::vector<std::string>& names = file->stationNames();
    if (!trimmedName(point.wanted).empty() && !chooseStation(names, point)) {
        endRunWithDiagnostic(missingStationProblem(names, point), unit, path);
    }
}

FileInventory readNetcdfInventory(int unit, const std::string& path) {
    const std::shared_ptr<NetcdfStream> file = openNetcdfStream(path, unit);
    const NetcdfInventory read = file->inventory();
    FileInventory inventory;
    inventory.fileName = path;
    inventory.format = "netCDF";
    inventory.grid = summarizeGrid(file->grid());
    inventory.warnings = file->warnings();
    for (const NetcdfStationInfo& station : read.stations) {
        PointSummary point;
        point.name = station.name;
        point.depth = static_cast<float>(station.depth);
        if (read.cartesian) {
            point.positionKind = PositionKind::Cartesian;
            point.x = static_cast<float>(station.longitude);
            point.y = static_cast<float>(station.latitude);
        } else {
            point.latitude = static_cast<float>(station.latitude);
            point.longitude = static_cast<float>(station.longitude);
        }
        inventory.points.push_back(point);
    }
    inventory.stepCount = static_cast<long>(read.timeCount);
    if (read.timeCount > 0) {
        inventory.firstDate = read.first.date;
        inventory.firstTime = read.first.time;
        inventory.lastDate = read.last.date;
        inventory.lastTime = read.last.time;
    }
    return inventory;
}

}  // namespace ww3b
