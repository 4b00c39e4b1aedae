// ww3-synth: writes a synthetic WW3 point-spectra file in the wave model's ASCII layout, with a
// plausible sea state that varies smoothly from step to step. It makes the bundled example
// data, test inputs and the benchmark workload; the converter never links it.
//
// One-year hourly benchmark workload (about 176 MB):
//   ww3-synth --frequencies 50 --directions 36 --steps 8760 --interval-hours 1 --output year.spec

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <numbers>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace ww3synth {

struct Options {
    int frequencies = 25;
    int directions = 24;
    int steps = 5;
    int points = 1;
    long long start = 2010060318;  // yyyymmddhh
    int intervalHours = 3;
    std::uint64_t seed = 1;
    bool halfBinOffset = false;  // theta_0 of the direction grid: 0 or half a bin
    // Densities below zeroBelow are written as exact zeros, and frequencies below
    // emptyBelow times the peak's hold no energy. The default cuts the tails (a zero-heavy
    // file); --values realistic keeps them down to the float's normal range.
    double zeroBelow = 1e-6;
    double emptyBelow = 0.0;
    std::string station = "44097";
    double depth = 46.6;
    std::string output;  // empty: standard output
    std::string netcdf;  // the netCDF twin, none when empty
    bool netcdfClassic = false;
    bool netcdfLog10 = false;  // efth as packed base-ten logarithms
    bool netcdfXY = false;     // x and y in metres instead of latitude and longitude
};

// ---------------------------------------------------------------------------------------------
// Fortran-style fields

// Right-aligns `text` in `width` columns; a text that does not fit becomes asterisks.
void appendRight(std::string& out, std::string_view text, int width) {
    if (static_cast<int>(text.size()) > width) {
        out.append(static_cast<std::size_t>(width), '*');
        return;
    }
    out.append(static_cast<std::size_t>(width) - text.size(), ' ');
    out.append(text);
}

// Ew.3: sign, "0.ddd", "E", exponent sign, two exponent digits. to_chars rounds correctly to
// d.dd x 10^e, carries included (9.9996 gives 1.00e+01), so only the point moves:
// d.dd x 10^e = 0.ddd x 10^(e+1). An exponent beyond two digits never occurs for the values
// written here and is shown as asterisks.
void appendE3(std::string& out, double value, int width) {
    if (value == 0.0) {
        appendRight(out, "0.000E+00", width);
        return;
    }
    char sci[32];
    const auto result = std::to_chars(sci, sci + sizeof sci, std::fabs(value), std::chars_format::scientific, 2);
    // sci holds "d.dde+xx" (at least two exponent digits).
    int exponent = 0;
    for (const char* p = sci + 6; p < result.ptr; ++p) exponent = exponent * 10 + (*p - '0');
    if (sci[5] == '-') exponent = -exponent;
    exponent += 1;
    if (exponent > 99 || exponent < -99) {
        out.append(static_cast<std::size_t>(width), '*');
        return;
    }
    const int magnitude = std::abs(exponent);
    const char field[] = {'0',
                          '.',
                          sci[0],
                          sci[2],
                          sci[3],
                          'E',
                          exponent < 0 ? '-' : '+',
                          static_cast<char>('0' + magnitude / 10),
                          static_cast<char>('0' + magnitude % 10)};
    std::string_view text(field, sizeof field);
    if (value < 0) {
        appendRight(out, std::string("-").append(text), width);
    } else {
        appendRight(out, text, width);
    }
}

// Fw.d: fixed point, right-aligned; a value that rounds to zero carries no minus sign.
void appendF(std::string& out, double value, int width, int decimals) {
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    std::string_view written(text, static_cast<std::size_t>(result.ptr - text));
    if (written.front() == '-' && written.find_first_of("123456789") == std::string_view::npos) {
        written.remove_prefix(1);
    }
    appendRight(out, written, width);
}

void appendI(std::string& out, long long value, int width) {
    char text[24];
    const auto result = std::to_chars(text, text + sizeof text, value);
    appendRight(out, std::string_view(text, static_cast<std::size_t>(result.ptr - text)), width);
}

// Writes `values` as Ew.3 fields, `perLine` to a line; the last line holds the remainder.
void appendValueLines(std::string& out, const std::vector<double>& values, int perLine, int width) {
    for (std::size_t i = 0; i < values.size(); ++i) {
        appendE3(out, values[i], width);
        if ((i + 1) % static_cast<std::size_t>(perLine) == 0 || i + 1 == values.size()) out += '\n';
    }
}

// ---------------------------------------------------------------------------------------------
// Time

using Hours = std::chrono::sys_time<std::chrono::hours>;

Hours parseStamp(long long stamp) {
    using namespace std::chrono;
    const int hour = static_cast<int>(stamp % 100);
    const year_month_day date{year{static_cast<int>(stamp / 1000000)},
                              month{static_cast<unsigned>(stamp / 10000 % 100)},
                              day{static_cast<unsigned>(stamp / 100 % 100)}};
    if (stamp < 0 || !date.ok() || hour > 23) throw std::invalid_argument("--start needs a valid yyyymmddhh");
    return sys_days{date} + hours{hour};
}

// "yyyymmdd hhmmss" with leading zeros, as the wave model writes it.
void appendTimeLine(std::string& out, Hours time) {
    using namespace std::chrono;
    const sys_days midnight = floor<days>(time);
    const year_month_day date{midnight};
    char text[32];
    const int length = std::snprintf(text, sizeof text, "%04d%02u%02u %02d0000\n", static_cast<int>(date.year()),
                                     static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                                     static_cast<int>((time - midnight).count()));
    out.append(text, static_cast<std::size_t>(length));
}

// ---------------------------------------------------------------------------------------------
// Sea state

// splitmix64: small, fast and the same on every platform, so a seed always gives the same file.
class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    double uniform() { return static_cast<double>(next() >> 11) * 0x1.0p-53; }  // [0, 1)
    double symmetric() { return 2.0 * uniform() - 1.0; }                        // [-1, 1)

private:
    std::uint64_t state_;
};

struct Grid {
    std::vector<double> frequencies;  // Hz, as written (three significant digits)
    std::vector<double> bandwidths;   // Hz
    std::vector<double> angles;       // rad, counter-clockwise from east: where the energy goes
    std::vector<double> directions;   // rad, as listed in the header: bearings of travel
};

Grid makeGrid(const Options& options) {
    Grid grid;
    std::string field;
    for (int i = 0; i < options.frequencies; ++i) {
        // Keep the rounded value that the file shows, so that the sea state is built on the
        // frequencies a reader of the file sees.
        field.clear();
        appendE3(field, 0.035 * std::pow(1.1, i), 10);
        grid.frequencies.push_back(std::strtod(field.c_str(), nullptr));
    }
    // Central differences with the end bands copied from their neighbours: the widths the
    // converter integrates with, so its significant height matches the intended one.
    const auto& f = grid.frequencies;
    const std::size_t n = f.size();
    grid.bandwidths.assign(n, n == 1 ? 0.1 * f[0] : 0.0);
    if (n == 2) grid.bandwidths.assign(2, f[1] - f[0]);
    if (n >= 3) {
        for (std::size_t i = 1; i + 1 < n; ++i) grid.bandwidths[i] = 0.5 * (f[i + 1] - f[i - 1]);
        grid.bandwidths[0] = grid.bandwidths[1];
        grid.bandwidths[n - 1] = grid.bandwidths[n - 2];
    }
    // Direction j stands at theta_j = theta_0 + j step counter-clockwise from east; the
    // wave model lists it as the bearing it travels towards, clockwise from north:
    // (5 pi / 2 - theta_j) mod 2 pi.
    const double turn = 2.0 * std::numbers::pi;
    const double step = turn / options.directions;
    const double offset = options.halfBinOffset ? step / 2 : 0.0;
    for (int j = 0; j < options.directions; ++j) {
        const double angle = offset + j * step;
        double bearing = std::fmod(2.5 * std::numbers::pi - angle, turn);
        if (bearing < 0) bearing += turn;
        if (turn - bearing < 1e-9) bearing = 0.0;
        grid.angles.push_back(angle);
        grid.directions.push_back(bearing);
    }
    return grid;
}

struct Site {
    std::string name;
    double latitude, longitude, depth;
    double heightScale, directionOffset;  // degrees
    double phase[6];
};

struct SeaState {
    double height, peakPeriod, meanDirection, spreading;  // m, s, nautical degrees (from), s of cos^(2s)
    double windSpeed, windDirection, currentSpeed, currentDirection;
};

double wrapDegrees(double degrees) { return degrees - 360.0 * std::floor(degrees / 360.0); }

// Slow swings of a few days for height, period and direction, a semi-diurnal tide for the
// current, and a little noise on top; clamped to Hs 0.5-4 m and Tp 4-16 s.
SeaState seaStateAt(const Site& site, double hours, Random& random) {
    const auto wave = [hours](double period, double phase) {
        return std::sin(2.0 * std::numbers::pi * hours / period + phase);
    };
    SeaState s{};
    s.height = site.heightScale * (1.9 + 1.1 * wave(131.0, site.phase[0]) + 0.35 * wave(29.0, site.phase[1])) +
               0.05 * random.symmetric();
    s.height = std::clamp(s.height, 0.5, 4.0);
    s.peakPeriod = std::clamp(5.0 + 2.6 * s.height + 1.5 * wave(97.0, site.phase[2]) + 0.2 * random.symmetric(),
                              4.0, 16.0);
    s.meanDirection = wrapDegrees(200.0 + site.directionOffset + 60.0 * wave(173.0, site.phase[3]) +
                                  4.0 * random.symmetric());
    s.spreading = 4.0 + 8.0 * (s.peakPeriod - 4.0) / 12.0;  // longer waves are narrower
    s.windSpeed = std::sqrt(s.height / 0.0246) * (1.0 + 0.05 * random.symmetric());
    s.windDirection = wrapDegrees(s.meanDirection + 20.0 * wave(41.0, site.phase[4]) + 3.0 * random.symmetric());
    const double tide = 2.0 * std::numbers::pi * hours / 12.42 + site.phase[5];
    s.currentSpeed = 0.2 + 0.12 * std::sin(tide);
    s.currentDirection = wrapDegrees((std::cos(tide) >= 0 ? 94.0 : 274.0) + 2.0 * random.symmetric());
    return s;
}

// JONSWAP frequency shape (gamma 3.3) times cos^(2s) of half the angle from the mean
// direction, with a 5 % ripple, scaled to the sea state's Hs. Densities below `zeroBelow`
// m^2/Hz/rad (the far tails) and those of frequencies below `emptyBelow` times the peak's
// (where no swell has arrived yet) are exact zeros. Index: direction * frequencyCount + frequency.
void fillSpectrum(const Grid& grid, const SeaState& sea, Random& random, std::vector<double>& spectrum,
                  double zeroBelow = 1e-6, double emptyBelow = 0.0) {
    const std::size_t nf = grid.frequencies.size();
    const std::size_t nd = grid.directions.size();
    const double peak = 1.0 / sea.peakPeriod;
    std::vector<double> shape(nf), spread(nd);
    for (std::size_t i = 0; i < nf; ++i) {
        const double f = grid.frequencies[i];
        const double sigma = f <= peak ? 0.07 : 0.09;
        const double r = std::exp(-(f - peak) * (f - peak) / (2.0 * sigma * sigma * peak * peak));
        shape[i] = std::pow(f, -5.0) * std::exp(-1.25 * std::pow(peak / f, 4.0)) * std::pow(3.3, r);
        if (f < emptyBelow * peak) shape[i] = 0.0;
    }
    // A sea coming from the compass bearing D travels at the angle 270 - D from east.
    const double meanAngle = (270.0 - sea.meanDirection) * std::numbers::pi / 180.0;
    for (std::size_t j = 0; j < nd; ++j) {
        const double c = std::fabs(std::cos(0.5 * (grid.angles[j] - meanAngle)));
        spread[j] = std::pow(c, 2.0 * sea.spreading);
    }
    spectrum.resize(nf * nd);
    const double directionStep = 2.0 * std::numbers::pi / static_cast<double>(nd);
    double energy = 0;
    for (std::size_t j = 0; j < nd; ++j) {
        for (std::size_t i = 0; i < nf; ++i) {
            const double value = shape[i] * spread[j] * (1.0 + 0.05 * random.symmetric());
            spectrum[j * nf + i] = value;
            energy += value * grid.bandwidths[i] * directionStep;
        }
    }
    const double scale = energy > 0 ? sea.height * sea.height / 16.0 / energy : 0.0;
    for (double& value : spectrum) {
        value *= scale;
        if (value < zeroBelow) value = 0.0;
    }
}

std::vector<Site> makeSites(const Options& options, Random& random) {
    std::vector<Site> sites;
    for (int k = 0; k < options.points; ++k) {
        Site site{};
        site.name = k == 0 ? options.station : options.station.substr(0, 6) + "-" + std::to_string(k + 1);
        site.name.resize(10, ' ');
        // Every other point after the first lies off the Pacific coast in deep water, facing
        // westerly swell: a three-digit longitude that runs into the latitude (33.65-120.20),
        // a depth and a mean direction far from the others', so tests can tell points apart.
        const bool pacific = k > 0 && k % 2 == 0;
        const int row = k / 2 - 1;
        site.latitude = pacific ? 33.65 + 0.35 * row : 40.98 - 0.35 * k;
        site.longitude = pacific ? -120.20 - 0.45 * row : -71.12 - 0.45 * k;
        site.depth = pacific ? 1800.0 + 100.0 * row : options.depth + 25.0 * k;
        site.heightScale = 1.0 + 0.06 * k;
        site.directionOffset = pacific ? 90.0 + 7.0 * k : 7.0 * k;
        for (double& phase : site.phase) phase = 2.0 * std::numbers::pi * random.uniform();
        sites.push_back(site);
    }
    return sites;
}

// 'name      ' then latitude and longitude F7.2, depth F10.1 (columns 27-36), wind speed F7.2
// (37-43), wind direction F6.1 (44-49), current speed F7.2 and current direction F6.1.
void appendPointLine(std::string& out, const Site& site, const SeaState& sea) {
    out += '\'';
    out += site.name;
    out += '\'';
    appendF(out, site.latitude, 7, 2);
    appendF(out, site.longitude, 7, 2);
    appendF(out, site.depth, 10, 1);
    appendF(out, sea.windSpeed, 7, 2);
    appendF(out, sea.windDirection, 6, 1);
    appendF(out, sea.currentSpeed, 7, 2);
    appendF(out, sea.currentDirection, 6, 1);
    out += '\n';
}

// ---------------------------------------------------------------------------------------------
// The file

using Sink = std::function<void(std::string_view)>;

// Builds the file in a large buffer handed to `sink` in chunks of a few megabytes.
void writeSpectra(const Options& options, const Sink& sink) {
    const Grid grid = makeGrid(options);
    Random random(options.seed);
    const std::vector<Site> sites = makeSites(options, random);
    const Hours start = parseStamp(options.start);

    std::string out;
    out.reserve(std::size_t{8} << 20);
    // The quoted name fills columns 1-23; the counts stand in columns 25-30, 31-36 and 37-42.
    out += "'WAVEWATCH III SPECTRA' ";
    appendI(out, options.frequencies, 6);
    appendI(out, options.directions, 6);
    appendI(out, options.points, 6);
    out += " 'spectral resolution for points'\n";
    appendValueLines(out, grid.frequencies, 8, 10);
    appendValueLines(out, grid.directions, 7, 11);

    std::vector<double> spectrum;
    for (int step = 0; step < options.steps; ++step) {
        const long long hours = static_cast<long long>(step) * options.intervalHours;
        appendTimeLine(out, start + std::chrono::hours{hours});
        for (const Site& site : sites) {
            const SeaState sea = seaStateAt(site, static_cast<double>(hours), random);
            fillSpectrum(grid, sea, random, spectrum, options.zeroBelow, options.emptyBelow);
            appendPointLine(out, site, sea);
            appendValueLines(out, spectrum, 7, 11);
        }
        if (out.size() >= (std::size_t{4} << 20)) {
            sink(out);
            out.clear();
        }
    }
    sink(out);
}

// ---------------------------------------------------------------------------------------------
// Command line

constexpr const char* usage =
    "usage: ww3-synth [options]\n"
    "Writes a synthetic WW3 point-spectra file (ASCII).\n"
    "  --frequencies N         frequencies, geometric from 0.035 Hz by 1.1 (default 25)\n"
    "  --directions N          directions (default 24)\n"
    "  --steps N               time steps (default 5)\n"
    "  --start yyyymmddhh      first time step (default 2010060318)\n"
    "  --interval-hours H      hours between steps (default 3)\n"
    "  --points P              output points per time step (default 1)\n"
    "  --seed S                seed of the noise (default 1)\n"
    "  --direction-offset 0|half\n"
    "                          the first direction's angle counter-clockwise from east:\n"
    "                          0 (default) or half a bin; the list gives each direction's\n"
    "                          bearing of travel in radians, as the wave model writes it\n"
    "  --values cut|realistic  cut: densities below 1e-6 are exact zeros (default; the\n"
    "                          year below has 56.5 % zeros and no exponent below -5);\n"
    "                          realistic: shaped like real station files, the tails run\n"
    "                          down to the float's normal range (0.142E-33) and frequencies\n"
    "                          below half the peak's are empty; the year below has 9.8 %\n"
    "                          zeros, 19.1 % exponents below -10 (down to -37) and 35.8 %\n"
    "                          from -10 to -5, three-digit mantissas, 7 values a line\n"
    "  --station NAME          name of the first point, at most 10 characters (default 44097)\n"
    "  --depth M               water depth of the first point in metres (default 46.6)\n"
    "  --output FILE           output file (default standard output)\n"
    "  --netcdf FILE           also the same spectra as netCDF, values as the text shows them\n"
    "                          (needs --output)\n"
    "  --netcdf-format classic|netcdf4\n"
    "                          format of the netCDF twin (default netcdf4)\n"
    "  --efth-encoding float|log10\n"
    "                          densities of the netCDF twin as floats (default) or as\n"
    "                          log10(E + 1E-12) packed in 16-bit integers (scale 0.0004)\n"
    "  --positions latlon|xy   positions of the netCDF twin as latitude and longitude\n"
    "                          (default) or as x and y in metres (1000 times the text's)\n"
    "  --help                  this text\n"
    "One-year hourly benchmark workload (about 176 MB):\n"
    "  ww3-synth --frequencies 50 --directions 36 --steps 8760 --interval-hours 1 --values realistic --output year.spec\n";

// The model keeps its spectra in single precision.
constexpr double kSmallestNormalFloat = 1.17549435e-38;

template <typename Number>
Number parseNumber(std::string_view option, std::string_view text, Number low, Number high) {
    Number value{};
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec != std::errc{} || result.ptr != text.data() + text.size() || value < low || value > high) {
        throw std::invalid_argument(std::string(option) + ": bad value '" + std::string(text) + "'");
    }
    return value;
}

// Accepts "--name value" and "--name=value".
Options parseOptions(const std::vector<std::string_view>& args) {
    Options options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string_view name = args[i];
        std::string_view value;
        if (const auto equals = name.find('='); equals != std::string_view::npos) {
            value = name.substr(equals + 1);
            name = name.substr(0, equals);
        } else if (i + 1 < args.size()) {
            value = args[++i];
        } else {
            throw std::invalid_argument(std::string(name) + " needs a value");
        }
        if (name == "--frequencies") {
            options.frequencies = parseNumber(name, value, 1, 999999);
        } else if (name == "--directions") {
            options.directions = parseNumber(name, value, 1, 999999);
        } else if (name == "--steps") {
            options.steps = parseNumber(name, value, 0, 100000000);
        } else if (name == "--start") {
            options.start = parseNumber(name, value, 0LL, 99999999999LL);
            parseStamp(options.start);
        } else if (name == "--interval-hours") {
            options.intervalHours = parseNumber(name, value, 0, 1000000);
        } else if (name == "--points") {
            options.points = parseNumber(name, value, 1, 999999);
        } else if (name == "--seed") {
            options.seed = parseNumber(name, value, std::uint64_t{0}, UINT64_MAX);
        } else if (name == "--direction-offset") {
            if (value != "0" && value != "half") throw std::invalid_argument("--direction-offset must be 0 or half");
            options.halfBinOffset = value == "half";
        } else if (name == "--values") {
            if (value != "cut" && value != "realistic") throw std::invalid_argument("--values must be cut or realistic");
            options.zeroBelow = value == "cut" ? 1e-6 : kSmallestNormalFloat;
            options.emptyBelow = value == "cut" ? 0.0 : 0.5;
        } else if (name == "--station") {
            if (value.empty() || value.size() > 10) throw std::invalid_argument("--station needs 1-10 characters");
            options.station = value;
        } else if (name == "--depth") {
            options.depth = parseNumber(name, value, 0.0, 99999.0);
        } else if (name == "--output") {
            options.output = value;
        } else if (name == "--netcdf") {
            options.netcdf = value;
        } else if (name == "--netcdf-format") {
            if (value != "classic" && value != "netcdf4") {
                throw std::invalid_argument("--netcdf-format must be classic or netcdf4");
            }
            options.netcdfClassic = value == "classic";
        } else if (name == "--efth-encoding") {
            if (value != "float" && value != "log10") throw std::invalid_argument("--efth-encoding must be float or log10");
            options.netcdfLog10 = value == "log10";
        } else if (name == "--positions") {
            if (value != "latlon" && value != "xy") throw std::invalid_argument("--positions must be latlon or xy");
            options.netcdfXY = value == "xy";
        } else {
            throw std::invalid_argument("unknown option " + std::string(name));
        }
    }
    if (!options.netcdf.empty() && options.output.empty()) throw std::invalid_argument("--netcdf needs --output");
    return options;
}

}  // namespace ww3synth

#ifndef WW3_SYNTH_NO_MAIN
#include "netcdf_twin.hpp"

int main(int argc, char** argv) {
    using namespace ww3synth;
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    if (std::find(args.begin(), args.end(), "--help") != args.end()) {
        std::fputs(usage, stdout);
        return 0;
    }
    Options options;
    try {
        options = parseOptions(args);
    } catch (const std::invalid_argument& error) {
        std::fprintf(stderr, "ww3-synth: %s\n%s", error.what(), usage);
        return 2;
    }
    std::FILE* file = options.output.empty() ? stdout : std::fopen(options.output.c_str(), "wb");
    if (file == nullptr) {
        std::fprintf(stderr, "ww3-synth: cannot open %s for writing\n", options.output.c_str());
        return 1;
    }
    bool written = true;
    writeSpectra(options, [&](std::string_view chunk) {
        written = written && std::fwrite(chunk.data(), 1, chunk.size(), file) == chunk.size();
    });
    written = std::fflush(file) == 0 && written;
    if (file != stdout) written = std::fclose(file) == 0 && written;
    if (!written) {
        std::fprintf(stderr, "ww3-synth: writing %s failed\n",
                     options.output.empty() ? "standard output" : options.output.c_str());
        return 1;
    }
    if (const std::string error = options.netcdf.empty() ? std::string()
                                  : writeNetcdfTwin(options.output, options.netcdf,
                                                    {!options.netcdfClassic, options.netcdfLog10, options.netcdfXY});
        !error.empty()) {
        std::fprintf(stderr, "ww3-synth: netCDF twin %s: %s\n", options.netcdf.c_str(), error.c_str());
        return 1;
    }
    return 0;
}
#endif
