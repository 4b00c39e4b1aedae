#include "netcdf_twin.hpp"

#include <netcdf.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <numbers>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace ww3synth {

namespace {

struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

void check(int status, const char* what) {
    if (status != NC_NOERR) throw Failure(std::string(what) + ": " + nc_strerror(status));
}

template <typename Number>
Number parse(std::string_view text, const char* what) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    Number value{};
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec != std::errc{} || result.ptr != text.data() + text.size()) {
        throw Failure(std::string("cannot read ") + what + " from '" + std::string(text) + "'");
    }
    return value;
}

// The text file as lines and blank-separated values.
class TextReader {
public:
    explicit TextReader(const std::string& path) : in_(path, std::ios::binary) {
        if (!in_) throw Failure("cannot open " + path);
    }
    bool line(std::string& text) {
        if (!std::getline(in_, text)) return false;
        if (!text.empty() && text.back() == '\r') text.pop_back();
        return true;
    }
    std::string requireLine(const char* what) {
        std::string text;
        if (!line(text)) throw Failure(std::string("the text file ends before ") + what);
        return text;
    }
    // `values.size()` values, read across as many lines as they take.
    template <typename Number>
    void values(std::vector<Number>& values, const char* what) {
        std::size_t filled = 0;
        while (filled < values.size()) {
            const std::string text = requireLine(what);
            std::size_t p = 0;
            while (filled < values.size()) {
                p = text.find_first_not_of(' ', p);
                if (p == std::string::npos) break;
                const std::size_t end = std::min(text.find(' ', p), text.size());
                values[filled++] = parse<Number>(std::string_view(text).substr(p, end - p), what);
                p = end;
            }
        }
    }

private:
    std::ifstream in_;
};

struct Layout {
    int file = -1;
    int time = -1, name = -1, latitude = -1, longitude = -1, depth = -1, wind = -1, windDirection = -1, efth = -1;
};

int defineFloat(int file, const char* name, std::vector<int> dimensions, const char* units) {
    int id = -1;
    check(nc_def_var(file, name, NC_FLOAT, static_cast<int>(dimensions.size()), dimensions.data(), &id), name);
    check(nc_put_att_text(file, id, "units", std::string_view(units).size(), units), name);
    return id;
}

// The packing of log-coded densities.
constexpr float kLogScale = 0.0004f;
constexpr short kLogFill = -32767;

short logCoded(float density) {
    const double steps = std::round(std::log10(static_cast<double>(density) + 1e-12) / static_cast<double>(kLogScale));
    return static_cast<short>(std::clamp(steps, -32766.0, 32767.0));
}

Layout define(const std::string& path, const TwinLayout& twin, std::size_t nf, std::size_t nd, std::size_t np) {
    const bool netcdf4 = twin.netcdf4;
    Layout l;
    check(nc_create(path.c_str(), NC_CLOBBER | (netcdf4 ? NC_NETCDF4 : 0), &l.file), "cannot create the netCDF file");
    int time = -1, station = -1, frequency = -1, direction = -1, text = -1;
    check(nc_def_dim(l.file, "time", NC_UNLIMITED, &time), "time");
    check(nc_def_dim(l.file, "station", np, &station), "station");
    check(nc_def_dim(l.file, "string16", 16, &text), "string16");
    check(nc_def_dim(l.file, "frequency", nf, &frequency), "frequency");
    check(nc_def_dim(l.file, "direction", nd, &direction), "direction");
    check(nc_def_var(l.file, "time", NC_DOUBLE, 1, &time, &l.time), "time");
    const std::string units = "days since 1990-01-01 00:00:00";
    check(nc_put_att_text(l.file, l.time, "units", units.size(), units.c_str()), "time");
    const int nameDimensions[] = {station, text};
    check(nc_def_var(l.file, "station_name", NC_CHAR, 2, nameDimensions, &l.name), "station_name");
    defineFloat(l.file, "frequency", {frequency}, "s-1");
    defineFloat(l.file, "direction", {direction}, "degree");
    if (twin.xyPositions) {
        l.latitude = defineFloat(l.file, "y", {time, station}, "m");
        l.longitude = defineFloat(l.file, "x", {time, station}, "m");
    } else {
        l.latitude = defineFloat(l.file, "latitude", {time, station}, "degree_north");
        l.longitude = defineFloat(l.file, "longitude", {time, station}, "degree_east");
    }
    l.depth = defineFloat(l.file, "dpt", {time, station}, "m");
    l.wind = defineFloat(l.file, "wnd", {time, station}, "m s-1");
    l.windDirection = defineFloat(l.file, "wnddir", {time, station}, "degree");
    if (twin.log10Densities) {
        const int dimensions[] = {time, station, frequency, direction};
        check(nc_def_var(l.file, "efth", NC_SHORT, 4, dimensions, &l.efth), "efth");
        const std::string units = "log10(m2 s rad-1 +1E-12)";
        const std::string name = "base_ten_logarithm_of_sea_surface_wave_directional_variance_spectral_density";
        const float offset = 0.f;
        check(nc_put_att_text(l.file, l.efth, "units", units.size(), units.c_str()), "efth");
        check(nc_put_att_text(l.file, l.efth, "standard_name", name.size(), name.c_str()), "efth");
        check(nc_put_att_float(l.file, l.efth, "scale_factor", NC_FLOAT, 1, &kLogScale), "efth");
        check(nc_put_att_float(l.file, l.efth, "add_offset", NC_FLOAT, 1, &offset), "efth");
        check(nc_put_att_short(l.file, l.efth, "_FillValue", NC_SHORT, 1, &kLogFill), "efth");
        // As the model writes it, though the logarithms run from -12 up.
        check(nc_put_att_float(l.file, l.efth, "valid_min", NC_FLOAT, 1, &offset), "efth");
    } else {
        l.efth = defineFloat(l.file, "efth", {time, station, frequency, direction}, "m2 s rad-1");
        const float fill = NC_FILL_FLOAT;
        check(nc_put_att_float(l.file, l.efth, "_FillValue", NC_FLOAT, 1, &fill), "efth");
    }
    if (netcdf4) {
        // One chunk per step and station, the piece a reader of one station takes. Not
        // compressed: decompression would dominate the reading times that the twin measures.
        const std::size_t chunk[] = {1, 1, nf, nd};
        check(nc_def_var_chunking(l.file, l.efth, NC_CHUNKED, chunk), "efth");
        // The values per time and station in chunks of many steps, not the library's one value.
        const std::size_t pointChunk[] = {512, np};
        for (int id : {l.latitude, l.longitude, l.depth, l.wind, l.windDirection}) {
            check(nc_def_var_chunking(l.file, id, NC_CHUNKED, pointChunk), "point values");
        }
    }
    int old = 0;
    check(nc_set_fill(l.file, NC_NOFILL, &old), "fill");
    check(nc_enddef(l.file), "cannot write the netCDF header");
    return l;
}

double daysSince1990(long long date, long long time) {
    using namespace std::chrono;
    const year_month_day day{year{static_cast<int>(date / 10000)}, month{static_cast<unsigned>(date / 100 % 100)},
                             std::chrono::day{static_cast<unsigned>(date % 100)}};
    if (!day.ok()) throw Failure("a bad date " + std::to_string(date));
    const long long days = (sys_days{day} - sys_days{year{1990} / 1 / 1}).count();
    const long long seconds = time / 10000 * 3600 + time / 100 % 100 * 60 + time % 100;
    return static_cast<double>(days) + static_cast<double>(seconds) / 86400.0;
}

void convert(const std::string& textPath, const std::string& netcdfPath, const TwinLayout& twin, Layout& layout) {
    TextReader in(textPath);
    const std::string header = in.requireLine("the header");
    if (header.size() < 42) throw Failure("the header line is too short");
    const auto nf = parse<std::size_t>(std::string_view(header).substr(24, 6), "the frequency count");
    const auto nd = parse<std::size_t>(std::string_view(header).substr(30, 6), "the direction count");
    const auto np = parse<std::size_t>(std::string_view(header).substr(36, 6), "the point count");
    if (nf == 0 || nd == 0 || np == 0) throw Failure("empty grid");
    std::vector<float> frequencies(nf);
    std::vector<double> radians(nd);
    in.values(frequencies, "frequencies");
    in.values(radians, "directions");
    std::vector<float> degrees(nd);
    for (std::size_t j = 0; j < nd; ++j) degrees[j] = static_cast<float>(radians[j] * 180.0 / std::numbers::pi);

    layout = define(netcdfPath, twin, nf, nd, np);
    const int file = layout.file;
    int id = -1;
    check(nc_inq_varid(file, "frequency", &id), "frequency");
    check(nc_put_var_float(file, id, frequencies.data()), "frequency");
    check(nc_inq_varid(file, "direction", &id), "direction");
    check(nc_put_var_float(file, id, degrees.data()), "direction");

    std::vector<float> asListed(nf * nd), efth(np * nf * nd);
    std::vector<float> point[5];  // latitude, longitude, depth, wind speed, wind direction
    for (auto& values : point) values.resize(np);
    std::string text;
    for (std::size_t step = 0; in.line(text); ++step) {
        const std::size_t blank = text.find(' ');
        if (blank == std::string::npos) throw Failure("a bad time line '" + text + "'");
        const double time = daysSince1990(parse<long long>(std::string_view(text).substr(0, blank), "a date"),
                                          parse<long long>(std::string_view(text).substr(blank + 1), "a time"));
        std::string names(np * 16, ' ');
        for (std::size_t s = 0; s < np; ++s) {
            const std::string line = in.requireLine("a point line");
            const std::size_t close = line.find('\'', 1);
            if (line.empty() || line[0] != '\'' || close == std::string::npos || close > 17) {
                throw Failure("a bad point line '" + line + "'");
            }
            names.replace(s * 16, close - 1, line, 1, close - 1);
            // Latitude F7.2, longitude F7.2, depth F10.1, wind speed F7.2, wind direction F6.1.
            const std::string_view fields = std::string_view(line).substr(close + 1);
            const std::size_t columns[6] = {0, 7, 14, 24, 31, 37};
            for (int k = 0; k < 5; ++k) {
                point[k][s] = parse<float>(fields.substr(columns[k], columns[k + 1] - columns[k]), "a point value");
            }
            in.values(asListed, "a spectrum block");
            for (std::size_t j = 0; j < nd; ++j) {
                for (std::size_t i = 0; i < nf; ++i) efth[(s * nf + i) * nd + j] = asListed[j * nf + i];
            }
        }
        const std::size_t start[] = {step, 0, 0, 0};
        const std::size_t count[] = {1, np, nf, nd};
        check(nc_put_vara_double(file, layout.time, start, count, &time), "time");
        const std::size_t nameCount[] = {1, 16};
        for (std::size_t s = 0; s < np; ++s) {
            const std::size_t nameStart[] = {s, 0};
            if (step == 0) check(nc_put_vara_text(file, layout.name, nameStart, nameCount, names.data() + s * 16), "station_name");
        }
        if (twin.xyPositions) {
            for (int k = 0; k < 2; ++k) {
                for (float& value : point[k]) value *= 1000.0f;
            }
        }
        const int pointIds[] = {layout.latitude, layout.longitude, layout.depth, layout.wind, layout.windDirection};
        for (int k = 0; k < 5; ++k) check(nc_put_vara_float(file, pointIds[k], start, count, point[k].data()), "point values");
        if (twin.log10Densities) {
            std::vector<short> coded(efth.size());
            std::transform(efth.begin(), efth.end(), coded.begin(), logCoded);
            check(nc_put_vara_short(file, layout.efth, start, count, coded.data()), "efth");
        } else {
            check(nc_put_vara_float(file, layout.efth, start, count, efth.data()), "efth");
        }
    }
}

}  // namespace

std::string writeNetcdfTwin(const std::string& textPath, const std::string& netcdfPath, const TwinLayout& twin) {
    Layout layout;
    std::string error;
    try {
        convert(textPath, netcdfPath, twin, layout);
    } catch (const Failure& failure) {
        error = failure.what();
    }
    if (layout.file >= 0) {
        const int status = nc_close(layout.file);
        if (error.empty() && status != NC_NOERR) error = std::string("closing the netCDF file: ") + nc_strerror(status);
    }
    return error;
}

}  // namespace ww3synth
