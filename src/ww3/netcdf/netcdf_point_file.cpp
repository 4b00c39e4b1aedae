#include "ww3/netcdf/netcdf_point_file.hpp"

#include <netcdf.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <optional>

#include "textio/io_diagnostic.hpp"
#include "ww3/netcdf/netcdf_classic_extent.hpp"
#include "ww3/netcdf/netcdf_trial_open.hpp"

namespace ww3b {

namespace {

constexpr double kExactRadiansPerDegree = std::numbers::pi / 180.0;

// The library's error in plain words first, its own text after.
std::string libraryProblem(int status) {
    std::string plain;
    switch (status) {
        case NC_ENOTNC: plain = "it is not a netCDF file or its header is damaged"; break;
        case NC_EHDFERR: plain = "the file is cut short or damaged"; break;
        case NC_EINVAL: plain = "the file is cut short or its header is damaged"; break;
        case NC_ENOMEM: plain = "there is not enough memory for it"; break;
        case NC_EEDGE:
        case NC_EINVALCOORDS: plain = "the variable is shorter than its dimensions say"; break;
        default: plain = "the library cannot read it"; break;
    }
    return plain + " (" + nc_strerror(status) + ")";
}

std::string stampText(const NetcdfStamp& stamp) {
    char text[32];
    std::snprintf(text, sizeof text, "%08d %06d", static_cast<int>(stamp.date), static_cast<int>(stamp.time));
    return text;
}

// "30 seconds", "0.5 seconds".
std::string secondsText(std::chrono::milliseconds span) {
    std::string text = std::to_string(span.count() / 1000);
    if (span.count() % 1000 != 0) {
        char fraction[8];
        std::snprintf(fraction, sizeof fraction, "%03d", static_cast<int>(span.count() % 1000));
        text += '.' + std::string(fraction);
        while (text.back() == '0') text.pop_back();
    }
    return text + " seconds";
}

std::string trimmed(std::string name) {
    while (!name.empty() && (name.back() == ' ' || name.back() == '\0')) name.pop_back();
    return name;
}

}  // namespace

NetcdfPointFile::Handle::~Handle() {
    if (id >= 0) nc_close(id);
}

NetcdfPointFile::NetcdfPointFile(std::string path, int unit) : path_(std::move(path)), unit_(unit) {
    // A classic file's header is walked first: the library would try to allocate what a
    // damaged header claims, and it reads a cut file's missing data as zeros without a word.
    const ClassicExtent classic = classicNetcdfExtent(path_);
    if (classic.header == ClassicHeader::Damaged) fail("the header of the netCDF file is cut short or damaged");
    if (classic.header == ClassicHeader::Sound && classic.fileSize < classic.bytes) {
        fail("the netCDF file is cut short: its header describes " + std::to_string(classic.bytes) +
             " bytes, the file holds " + std::to_string(classic.fileSize));
    }
    if (classic.header == ClassicHeader::NotClassic) {
        const auto limit = netcdfTrialLimit();
        const TrialOpen trial = openNetcdfAside(path_, limit);
        switch (trial.outcome) {
            case TrialOutcome::Crashed:
                fail("the netCDF-4 file is damaged: the netCDF library fails on it");
            case TrialOutcome::TimedOut:
                fail("the netCDF-4 file is damaged: the netCDF library had not finished opening it after " +
                     secondsText(limit));
            case TrialOutcome::LibraryError:
                // Refused here: the library is not given a second go at a file it found faulty.
                if (trial.where.empty()) fail("cannot open the netCDF file: " + libraryProblem(trial.status));
                fail("cannot read " + trial.where + ": " + libraryProblem(trial.status));
            case TrialOutcome::Opened:
                break;
        }
    }
    const int status = nc_open(path_.c_str(), NC_NOWRITE, &file_.id);
    if (status != NC_NOERR) {
        file_.id = -1;
        fail("cannot open the netCDF file: " + libraryProblem(status));
    }
    ncid_ = file_.id;

    std::size_t stations = 0;
    std::size_t frequencies = 0;
    std::size_t directions = 0;
    const int timeDimension = requireDimension("time", timeCount_);
    const int stationDimension = requireDimension("station", stations);
    const int frequencyDimension = requireDimension("frequency", frequencies);
    const int directionDimension = requireDimension("direction", directions);
    // The one check of the counts that every reader makes; beyond int32, a count is simply large.
    constexpr std::size_t kLargest = 999999;
    const std::string countProblem = gridCountProblem(static_cast<std::int32_t>(std::min(frequencies, kLargest)),
                                                      static_cast<std::int32_t>(std::min(directions, kLargest)));
    if (!countProblem.empty()) fail(countProblem + " (netCDF dimensions frequency and direction)");
    if (stations == 0) fail("the dimension station is empty: the file holds no station");
    grid_.frequencyCount = static_cast<std::int32_t>(frequencies);
    grid_.directionCount = static_cast<std::int32_t>(directions);
    grid_.pointCount = stations > 999999 ? 999999 : static_cast<std::int32_t>(stations);

    efth_ = requireVariable("efth", {timeDimension, stationDimension, frequencyDimension, directionDimension});
    time_ = requireVariable("time", {timeDimension});
    depth_ = requireVariable("dpt", {timeDimension, stationDimension});
    wind_ = requireVariable("wnd", {timeDimension, stationDimension});
    windDirection_ = requireVariable("wnddir", {timeDimension, stationDimension});
    // Positions only serve the inventory: per time and station, or per station.
    for (NetcdfVariable* position : {&latitude_, &longitude_}) {
        const char* name = position == &latitude_ ? "latitude" : "longitude";
        *position = NetcdfVariable(ncid_, name);
        const std::vector<int> perStep = {timeDimension, stationDimension};
        const std::vector<int> fixed = {stationDimension};
        if (position->found() && position->dimensions() != perStep && position->dimensions() != fixed) {
            fail(std::string("the variable ") + name + " is neither (time, station) nor (station)");
        }
    }
    readGrid(frequencyDimension, directionDimension);
    readStationNames(stationDimension);
    readTimeUnits();
    // About a megabyte of doubles a block, at most 256 steps.
    const std::size_t perStep = 3 + frequencies * directions;
    stepsPerBlock_ = std::clamp<std::size_t>((std::size_t{1} << 17) / perStep, 1, 256);
}

void NetcdfPointFile::fail(const std::string& condition) const { endRunWithDiagnostic(condition, unit_, path_); }

int NetcdfPointFile::requireDimension(const char* name, std::size_t& length) const {
    int id = -1;
    if (nc_inq_dimid(ncid_, name, &id) != NC_NOERR) fail(std::string("the netCDF file has no dimension ") + name);
    const int status = nc_inq_dimlen(ncid_, id, &length);
    if (status != NC_NOERR) fail(std::string("cannot read the dimension ") + name + ": " + libraryProblem(status));
    return id;
}

NetcdfVariable NetcdfPointFile::requireVariable(const std::string& name, std::vector<int> dimensions) const {
    NetcdfVariable variable(ncid_, name);
    if (!variable.found()) {
        int varid = -1;
        if (nc_inq_varid(ncid_, name.c_str(), &varid) == NC_NOERR) fail("the variable " + name + " is not numeric");
        fail("the netCDF file has no variable " + name);
    }
    if (variable.dimensions() != dimensions) {
        std::string expected;
        for (int id : dimensions) {
            char dimensionName[NC_MAX_NAME + 1] = "";
            nc_inq_dimname(ncid_, id, dimensionName);
            expected += (expected.empty() ? "" : ", ") + std::string(dimensionName);
        }
        fail("the variable " + name + " does not have the dimensions (" + expected + ")");
    }
    return variable;
}

void NetcdfPointFile::readGrid(int frequencyDimension, int directionDimension) {
    const NetcdfVariable frequency = requireVariable("frequency", {frequencyDimension});
    const NetcdfVariable direction = requireVariable("direction", {directionDimension});
    std::array<double, kMaxFrequencies> values{};
    for (const NetcdfVariable* axis : {&frequency, &direction}) {
        const std::size_t start = 0;
        const std::size_t count = axis == &frequency ? static_cast<std::size_t>(grid_.frequencyCount)
                                                     : static_cast<std::size_t>(grid_.directionCount);
        const int status = axis->read({&start, 1}, {&count, 1}, {values.data(), count});
        if (status != NC_NOERR) fail("cannot read the variable " + axis->name() + ": " + libraryProblem(status));
        for (std::size_t k = 0; k < count; ++k) {
            if (!std::isfinite(values[k]) || axis->isMissing(values[k])) {
                fail("the variable " + axis->name() + " holds a fill value or a value that is not a number at " +
                     std::to_string(k + 1));
            }
            if (axis == &frequency) {
                grid_.frequencies[k] = static_cast<float>(values[k]);
            } else {
                // Nautical degrees become radians, the unit of the text files' direction list.
                grid_.directions[k] = static_cast<float>(values[k] * kExactRadiansPerDegree);
            }
        }
    }
    completeSpectralGrid(grid_);
}

void NetcdfPointFile::readStationNames(int stationDimension) {
    std::size_t stations = 0;
    nc_inq_dimlen(ncid_, stationDimension, &stations);
    stationNames_.assign(stations, std::string());
    int varid = -1;
    if (nc_inq_varid(ncid_, "station_name", &varid) != NC_NOERR) return;
    nc_type type = NC_NAT;
    int rank = 0;
    int dimensions[NC_MAX_VAR_DIMS];
    nc_inq_var(ncid_, varid, nullptr, &type, &rank, dimensions, nullptr);
    std::size_t length = 0;
    if (type != NC_CHAR || rank != 2 || dimensions[0] != stationDimension ||
        nc_inq_dimlen(ncid_, dimensions[1], &length) != NC_NOERR || length > 4096) {
        fail("the variable station_name is not (station, string) of characters");
    }
    std::vector<char> name(length);
    for (std::size_t s = 0; s < stations && length > 0; ++s) {
        const std::size_t start[2] = {s, 0};
        const std::size_t count[2] = {1, length};
        const int status = nc_get_vara_text(ncid_, varid, start, count, name.data());
        if (status != NC_NOERR) fail("cannot read the variable station_name: " + libraryProblem(status));
        stationNames_[s] = trimmed(std::string(name.data(), length));
    }
}

void NetcdfPointFile::readTimeUnits() {
    std::size_t length = 0;
    nc_type type = NC_NAT;
    if (nc_inq_att(ncid_, time_.id(), "units", &type, &length) != NC_NOERR || type != NC_CHAR || length > 1024) {
        fail("the variable time has no units (such as \"days since 1990-01-01 00:00:00\")");
    }
    std::string units(length, '\0');
    nc_get_att_text(ncid_, time_.id(), "units", units.data());
    units = trimmed(units);
    const auto parsed = parseNetcdfTimeUnits(units);
    if (!parsed) {
        fail("the time unit \"" + units +
             "\" of the variable time is not understood; days, hours, minutes or seconds since a UTC date "
             "can be read");
    }
    timeUnits_ = *parsed;
}

NetcdfStamp NetcdfPointFile::stampOf(std::size_t step, bool cached) {
    double value = 0;
    int status = NC_NOERR;
    const std::size_t one = 1;
    if (cached && !(step >= timesFirst_ && step < timesFirst_ + times_.size())) {
        // A block of times; when it cannot be read (a damaged file), the step alone says why.
        times_.resize(std::min<std::size_t>(512, timeCount_ - step));
        timesFirst_ = step;
        const std::size_t count = times_.size();
        if (time_.read({&step, 1}, {&count, 1}, times_) != NC_NOERR) times_.clear();
    }
    if (cached && !times_.empty()) {
        value = times_[step - timesFirst_];
    } else {
        status = time_.read({&step, 1}, {&one, 1}, {&value, 1});
    }
    const std::string at = " at time step " + std::to_string(step + 1);
    if (status != NC_NOERR) fail("cannot read the variable time" + at + ": " + libraryProblem(status));
    if (time_.isMissing(value)) fail("the variable time holds a fill value" + at);
    const auto stamp = netcdfStampAt(timeUnits_, value);
    if (!stamp) fail("the variable time holds a time outside the years 1 to 9999" + at);
    return *stamp;
}

std::string NetcdfPointFile::where(std::size_t station) const {
    std::string text = "at time step " + std::to_string(step_ + 1) + " (" + stampText(stamp_) + "), station " +
                       std::to_string(station + 1);
    if (!stationNames_[station].empty()) text += " (\"" + stationNames_[station] + "\")";
    return text;
}

bool NetcdfPointFile::nextStep(InputRecord& record) {
    const std::size_t next = started_ ? step_ + 1 : 0;
    if (next >= timeCount_) return false;
    step_ = next;
    started_ = true;
    stamp_ = stampOf(step_, true);
    record.date = stamp_.date;
    record.time = stamp_.time;
    return true;
}

int NetcdfPointFile::readSteps(const NetcdfVariable& variable, std::size_t station, std::size_t first,
                               std::size_t steps, double* values) const {
    const std::size_t start[4] = {first, station, 0, 0};
    const std::size_t counts[4] = {steps, 1, static_cast<std::size_t>(grid_.frequencyCount),
                                   static_cast<std::size_t>(grid_.directionCount)};
    const std::size_t rank = variable.dimensions().size();
    std::size_t size = 1;
    for (std::size_t k = 0; k < rank; ++k) size *= counts[k];
    return variable.read({start, rank}, {counts, rank}, {values, size});
}

void NetcdfPointFile::loadBlock(std::size_t station) {
    // The first station read keeps the large block; the others come a step at a time.
    const bool main = block_.steps == 0 || block_.station == station;
    Block& block = main ? block_ : single_;
    block.station = station;
    block.first = step_;
    block.steps = main ? std::min(stepsPerBlock_, timeCount_ - step_) : 1;
    const std::size_t densities =
        static_cast<std::size_t>(grid_.frequencyCount) * static_cast<std::size_t>(grid_.directionCount);
    const std::size_t perStep = 3 + densities;
    std::vector<double> column(block.steps * densities);
    block.values.resize(block.steps * perStep);
    const NetcdfVariable* variables[4] = {&depth_, &wind_, &windDirection_, &efth_};
    for (std::size_t k = 0; k < 4; ++k) {
        const int status = readSteps(*variables[k], station, block.first, block.steps, column.data());
        if (status != NC_NOERR) {
            block.steps = 0;
            // A block that reaches into a damaged part: read this step alone, so that the
            // steps before the damage convert as from the text file; after the damage, one
            // step at a time.
            if (main && stepsPerBlock_ > 1 && timeCount_ - step_ > 1) {
                stepsPerBlock_ = 1;
                return loadBlock(station);
            }
            fail("cannot read the variable " + variables[k]->name() + " " + where(station) + ": " +
                 libraryProblem(status));
        }
        const std::size_t width = k < 3 ? 1 : densities;
        const std::size_t offset = k < 3 ? k : 3;
        for (std::size_t t = 0; t < block.steps; ++t) {
            std::copy_n(column.begin() + static_cast<std::ptrdiff_t>(t * width), width,
                        block.values.begin() + static_cast<std::ptrdiff_t>(t * perStep + offset));
        }
    }
}

void NetcdfPointFile::readStation(std::size_t station, InputRecord& record) {
    if (!started_ || station >= stationCount()) {
        fail("no station " + std::to_string(station + 1) + " at this time step; the file holds " +
             std::to_string(stationCount()));
    }
    if (!block_.holds(station, step_) && !single_.holds(station, step_)) loadBlock(station);
    const Block& block = block_.holds(station, step_) ? block_ : single_;
    const auto nf = static_cast<std::size_t>(grid_.frequencyCount);
    const auto nd = static_cast<std::size_t>(grid_.directionCount);
    const double* values = block.values.data() + (step_ - block.first) * (3 + nf * nd);

    const NetcdfVariable* pointVariables[3] = {&depth_, &wind_, &windDirection_};
    for (std::size_t k = 0; k < 3; ++k) {
        if (!std::isfinite(values[k]) || pointVariables[k]->isMissing(values[k])) {
            fail("the variable " + pointVariables[k]->name() + " holds a fill value or a value that is not a number " +
                 where(station));
        }
    }
    record.depth = static_cast<float>(values[0]);
    record.windSpeed = static_cast<float>(values[1]);
    record.windDirection = static_cast<float>(values[2]);
    const double* densities = values + 3;
    for (std::size_t i = 0; i < nf; ++i) {
        for (std::size_t j = 0; j < nd; ++j) {
            const double value = densities[i * nd + j];
            if (!std::isfinite(value) || efth_.isMissing(value)) {
                fail("the variable efth holds a fill value or a value that is not a number " + where(station) +
                     ", frequency " + std::to_string(i + 1) + ", direction " + std::to_string(j + 1));
            }
            record.spectrum[i][j] = static_cast<float>(value);
        }
    }
}

NetcdfInventory NetcdfPointFile::inventory() {
    NetcdfInventory inventory;
    inventory.timeCount = timeCount_;
    if (timeCount_ > 0) {
        inventory.first = stampOf(0);
        inventory.last = stampOf(timeCount_ - 1);
    }
    const std::size_t stations = stationCount();
    // One value per station and variable at the first step: a few reads whatever the file's size.
    auto firstValue = [&](const NetcdfVariable& variable, std::size_t station) {
        if (!variable.found() || (variable.dimensions().size() == 2 && timeCount_ == 0)) return std::nan("");
        const std::size_t start[2] = {0, station};
        const std::size_t count[2] = {1, 1};
        const std::size_t rank = variable.dimensions().size();
        const std::size_t offset = rank == 2 ? 0 : 1;
        double value = 0;
        if (variable.read({start + offset, rank}, {count + offset, rank}, {&value, 1}) != NC_NOERR ||
            variable.isMissing(value)) {
            return std::nan("");
        }
        return value;
    };
    for (std::size_t s = 0; s < stations; ++s) {
        inventory.stations.push_back(
            {stationNames_[s], firstValue(latitude_, s), firstValue(longitude_, s), firstValue(depth_, s)});
    }
    return inventory;
}

}  // namespace ww3b
