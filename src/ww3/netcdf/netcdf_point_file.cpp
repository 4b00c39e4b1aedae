#include "ww3/netcdf/netcdf_point_file.hpp"

#include "ww3/netcdf/netcdf_library.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <numbers>

#include "textio/io_diagnostic.hpp"
#include "ww3/netcdf/netcdf_classic_extent.hpp"
#include "ww3/netcdf/netcdf_units.hpp"

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
    if (const std::string& problem = loadNetcdfLibrary(); !problem.empty()) fail(problem);
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
    readPositions(timeDimension, stationDimension);
    checkDensityCoding();
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
            const int status = nc_inq_dimname(ncid_, id, dimensionName);
            if (status != NC_NOERR) fail("cannot read a dimension's name: " + libraryProblem(status));
            expected += (expected.empty() ? "" : ", ") + std::string(dimensionName);
        }
        fail("the variable " + name + " does not have the dimensions (" + expected + ")");
    }
    return variable;
}

std::optional<std::string> NetcdfPointFile::textAttribute(const NetcdfVariable& variable, const char* name) const {
    constexpr std::size_t kLongest = 4096;
    nc_type type = NC_NAT;
    std::size_t length = 0;
    int status = nc_inq_att(ncid_, variable.id(), name, &type, &length);
    if (status == NC_ENOTATT) return std::nullopt;
    const std::string what = std::string("the attribute ") + name + " of the variable " + variable.name();
    if (status != NC_NOERR) fail("cannot read " + what + ": " + libraryProblem(status));
    if (type != NC_CHAR) fail(what + " is not text");
    if (length > kLongest) fail(what + " is longer than " + std::to_string(kLongest) + " characters");
    std::string text(length, '\0');
    status = length == 0 ? NC_NOERR : nc_get_att_text(ncid_, variable.id(), name, text.data());
    if (status != NC_NOERR) fail("cannot read " + what + ": " + libraryProblem(status));
    return trimmed(text);
}

void NetcdfPointFile::checkUnits(const NetcdfVariable& variable, bool (*readable)(std::string_view),
                                 const char* expected) {
    const std::optional<std::string> units = textAttribute(variable, "units");
    if (!units) {
        warnings_.push_back("the variable " + variable.name() + " of \"" + path_ + "\" has no units; read as " +
                            expected);
    } else if (!readable(*units)) {
        fail("the variable " + variable.name() + " is in \"" + *units + "\"; it can be read in " + expected);
    }
}

void NetcdfPointFile::checkDensityCoding() {
    const std::optional<std::string> units = textAttribute(efth_, "units");
    const std::optional<std::string> standardName = textAttribute(efth_, "standard_name");
    const std::optional<DensityCoding> coding = densityCodingOf(units, standardName);
    if (!coding) {
        fail("the variable efth is in \"" + units.value_or("") + "\"" +
             (standardName ? " (standard name \"" + *standardName + "\")" : std::string()) +
             "; it can be read in m2 s rad-1 or as log10(m2 s rad-1 +1E-12)");
    }
    if (!units && *coding == DensityCoding::Linear) {
        warnings_.push_back("the variable efth of \"" + path_ + "\" has no units; read as m2 s rad-1");
    }
    coding_ = *coding;
}

void NetcdfPointFile::readPositions(int timeDimension, int stationDimension) {
    // Positions only serve the inventory: latitude and longitude, or else x and y in metres;
    // per time and station, or per station.
    latitude_ = NetcdfVariable(ncid_, "latitude");
    longitude_ = NetcdfVariable(ncid_, "longitude");
    if (!latitude_.found() && !longitude_.found()) {
        const NetcdfVariable x(ncid_, "x");
        const NetcdfVariable y(ncid_, "y");
        if (x.found() || y.found()) {
            cartesian_ = true;
            longitude_ = x;
            latitude_ = y;
        }
    }
    for (const NetcdfVariable* position : {&latitude_, &longitude_}) {
        if (!position->found()) continue;
        const std::vector<int> perStep = {timeDimension, stationDimension};
        const std::vector<int> fixed = {stationDimension};
        if (position->dimensions() != perStep && position->dimensions() != fixed) {
            fail("the variable " + position->name() + " is neither (time, station) nor (station)");
        }
        if (cartesian_) checkUnits(*position, isMetreUnit, "m");
    }
}

void NetcdfPointFile::readGrid(int frequencyDimension, int directionDimension) {
    const NetcdfVariable frequency = requireVariable("frequency", {frequencyDimension});
    const NetcdfVariable direction = requireVariable("direction", {directionDimension});
    checkUnits(frequency, isFrequencyUnit, "s-1 or Hz");
    checkUnits(direction, isDirectionUnit, "degree, degrees or degrees_true");
    // One buffer serves both axes.
    static_assert(kMaxFrequencies >= kMaxDirections);
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
    int status = nc_inq_dimlen(ncid_, stationDimension, &stations);
    if (status != NC_NOERR) fail("cannot read the dimension station: " + libraryProblem(status));
    stationNames_.assign(stations, std::string());
    int varid = -1;
    status = nc_inq_varid(ncid_, "station_name", &varid);
    if (status == NC_ENOTVAR) return;
    if (status != NC_NOERR) fail("cannot read the variable station_name: " + libraryProblem(status));
    nc_type type = NC_NAT;
    int rank = 0;
    status = nc_inq_var(ncid_, varid, nullptr, &type, &rank, nullptr, nullptr);
    if (status != NC_NOERR) fail("cannot read the variable station_name: " + libraryProblem(status));
    int dimensions[NC_MAX_VAR_DIMS];
    if (rank == 2) status = nc_inq_vardimid(ncid_, varid, dimensions);
    if (status != NC_NOERR) fail("cannot read the variable station_name: " + libraryProblem(status));
    std::size_t length = 0;
    if (type != NC_CHAR || rank != 2 || dimensions[0] != stationDimension ||
        nc_inq_dimlen(ncid_, dimensions[1], &length) != NC_NOERR || length > 4096) {
        fail("the variable station_name is not (station, string) of characters");
    }
    std::vector<char> name(length);
    for (std::size_t s = 0; s < stations && length > 0; ++s) {
        const std::size_t start[2] = {s, 0};
        const std::size_t count[2] = {1, length};
        status = nc_get_vara_text(ncid_, varid, start, count, name.data());
        if (status != NC_NOERR) fail("cannot read the variable station_name: " + libraryProblem(status));
        stationNames_[s] = trimmed(std::string(name.data(), length));
    }
}

void NetcdfPointFile::readTimeUnits() {
    const std::optional<std::string> calendar = textAttribute(time_, "calendar");
    if (!isReadableCalendar(calendar)) {
        fail("the variable time uses the calendar \"" + *calendar +
             "\"; the standard, gregorian or proleptic_gregorian calendar can be read");
    }
    const std::optional<std::string> read = textAttribute(time_, "units");
    if (!read || read->empty()) fail("the variable time has no units (such as \"days since 1990-01-01 00:00:00\")");
    const std::string units = *read;
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

bool NetcdfPointFile::nextStepIsRead(std::size_t station) const {
    const std::size_t next = started_ ? step_ + 1 : 0;
    if (next >= timeCount_) return true;
    const bool timeRead = next >= timesFirst_ && next < timesFirst_ + times_.size();
    return timeRead && (block_.holds(station, next) || single_.holds(station, next));
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
            record.spectrum[i][j] =
                coding_ == DensityCoding::Log10 ? decodeLog10Density(value) : static_cast<float>(value);
        }
    }
}

NetcdfInventory NetcdfPointFile::inventory() {
    NetcdfInventory inventory;
    inventory.timeCount = timeCount_;
    inventory.cartesian = cartesian_;
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
