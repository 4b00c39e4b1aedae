#include "ww3/netcdf/netcdf_point_file.hpp"

#include <netcdf.h>
#include <sys/stat.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string_view>
#include <tuple>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/temp_folder.hpp"
#include "textio/input_file.hpp"
#include "textio/io_diagnostic.hpp"
#include "ww3/input_formats.hpp"
#include "ww3/netcdf/netcdf_magic.hpp"
#include "ww3/ascii/ww3_spectral_file.hpp"
#include "ww3/netcdf/netcdf_stream.hpp"
#include "ww3/netcdf/netcdf_units.hpp"

namespace ww3b {
namespace {

using testing::TempFolder;

// The text file and its netCDF twin, three stations a time step.
void synthesize(const TempFolder& folder, const std::string& format, int steps = 4) {
    const std::string command = std::string(WW3B_SYNTH) + " --points 3 --steps " + std::to_string(steps) +
                                " --output " + (folder / "twin.spec").string() + " --netcdf " +
                                (folder / "twin.nc").string() + " --netcdf-format " + format;
    ASSERT_EQ(std::system(command.c_str()), 0);
}

// The condition of the diagnostic that `action` ends with, or "" when it ends normally.
template <typename Action>
std::string diagnosticOf(Action action) {
    try {
        action();
    } catch (const RunFailure& failure) {
        return failure.condition();
    }
    return "";
}

// Opens the file and reads every station of every step.
void readWhole(const std::string& path) {
    NetcdfPointFile file(path);
    InputRecord record;
    while (file.nextStep(record)) {
        for (std::size_t s = 0; s < file.stationCount(); ++s) file.readStation(s, record);
    }
}

class NetcdfTwin : public ::testing::TestWithParam<const char*> {};

TEST_P(NetcdfTwin, EveryStepAndStationReadsAsTheTextFileGivesIt) {
    TempFolder folder;
    synthesize(folder, GetParam());
    const std::string text = testing::readFile(folder / "twin.spec");
    InputFile in(11, "twin.spec", text);
    SpectralGrid textGrid;
    ASSERT_TRUE(readSpectralHeader(in, textGrid));
    NetcdfPointFile file((folder / "twin.nc").string());
    const SpectralGrid& grid = file.grid();
    ASSERT_EQ(grid.frequencyCount, textGrid.frequencyCount);
    ASSERT_EQ(grid.directionCount, textGrid.directionCount);
    for (int i = 0; i < grid.frequencyCount; ++i) EXPECT_EQ(grid.frequencies[i], textGrid.frequencies[i]);
    for (int j = 0; j < grid.directionCount; ++j) EXPECT_NEAR(grid.directions[j], textGrid.directions[j], 1e-6);
    EXPECT_EQ(grid.bandwidths, textGrid.bandwidths);
    EXPECT_EQ(grid.directionStep, textGrid.directionStep);

    InputRecord fromText, fromNetcdf;
    int steps = 0;
    while (readTimeLine(in, fromText).outcome == ReadOutcome::Ok) {
        ASSERT_TRUE(file.nextStep(fromNetcdf));
        EXPECT_EQ(fromNetcdf.date, fromText.date);
        EXPECT_EQ(fromNetcdf.time, fromText.time);
        for (std::size_t s = 0; s < 3; ++s) {
            readPointLine(in, fromText);
            readSpectrumBlock(in, textGrid, fromText);
            file.readStation(s, fromNetcdf);
            EXPECT_EQ(fromNetcdf.depth, fromText.depth);
            EXPECT_EQ(fromNetcdf.windSpeed, fromText.windSpeed);
            EXPECT_EQ(fromNetcdf.windDirection, fromText.windDirection);
            EXPECT_EQ(fromNetcdf.spectrum, fromText.spectrum) << "step " << steps << ", station " << s;
        }
        ++steps;
    }
    EXPECT_EQ(steps, 4);
    EXPECT_FALSE(file.nextStep(fromNetcdf));

    const NetcdfInventory inventory = file.inventory();
    EXPECT_EQ(inventory.timeCount, 4u);
    EXPECT_EQ(inventory.first.date, 20100603);
    EXPECT_EQ(inventory.first.time, 180000);
    EXPECT_EQ(inventory.last.date, 20100604);
    EXPECT_EQ(inventory.last.time, 30000);
    ASSERT_EQ(inventory.stations.size(), 3u);
    EXPECT_EQ(inventory.stations[0].name, "44097");
    EXPECT_EQ(inventory.stations[2].name, "44097-3");
    EXPECT_FLOAT_EQ(static_cast<float>(inventory.stations[0].latitude), 40.98f);
    EXPECT_FLOAT_EQ(static_cast<float>(inventory.stations[0].depth), 46.6f);
}

INSTANTIATE_TEST_SUITE_P(Formats, NetcdfTwin, ::testing::Values("netcdf4", "classic"));

TEST(NetcdfTwinCut, AFileCutShortAnywhereEndsWithADiagnostic) {
    for (const char* format : {"netcdf4", "classic"}) {
        TempFolder folder;
        synthesize(folder, format, 2);
        const std::string whole = testing::readFile(folder / "twin.nc");
        int files = 0;
        for (double share : {0.0, 0.02, 0.3, 0.6, 0.9}) {
            const auto length = static_cast<std::size_t>(share * static_cast<double>(whole.size()));
            for (std::size_t cut : {length + 3, whole.size() - 1 - length / 100}) {
                // A new name each time: the library may keep a file it failed to open.
                const std::string path = (folder / ("cut" + std::to_string(++files) + ".nc")).string();
                testing::writeFile(path, whole.substr(0, cut));
                EXPECT_NE(diagnosticOf([&] { readWhole(path); }), "")
                    << format << " cut at " << cut << " of " << whole.size();
            }
        }
        // A header that claims 2^31 - 1 dimensions (the count follows magic, record count and tag).
        std::string claims = whole;
        claims.replace(12, 4, "\x7f\xff\xff\xff");
        testing::writeFile(folder / "claims.nc", claims);
        EXPECT_NE(diagnosticOf([&] { readWhole((folder / "claims.nc").string()); }), "") << format;
    }
}

// A small file written with the library, spoiled as `spoil` says.
enum class Spoil { None, NoEfth, SixtyFrequencies, FillInBlock, NanInBlock, FillDepth, UnknownUnit, PackedShorts };

void writeSmall(const std::string& path, Spoil spoil) {
    const std::size_t nf = spoil == Spoil::SixtyFrequencies ? 60 : 3;
    const std::size_t nd = 2;
    int nc = -1, time = -1, station = -1, frequency = -1, direction = -1, id = -1;
    ASSERT_EQ(nc_create(path.c_str(), NC_CLOBBER | NC_NETCDF4, &nc), NC_NOERR);
    nc_def_dim(nc, "time", 2, &time);
    nc_def_dim(nc, "station", 1, &station);
    nc_def_dim(nc, "frequency", nf, &frequency);
    nc_def_dim(nc, "direction", nd, &direction);
    nc_def_var(nc, "time", NC_DOUBLE, 1, &time, &id);
    const std::string units = spoil == Spoil::UnknownUnit ? "fortnights since 1990-01-01" : "hours since 2000-01-01";
    nc_put_att_text(nc, id, "units", units.size(), units.c_str());
    const double hours[] = {0.5 / 3600, 36.25};  // half a second rounds up
    nc_put_var_double(nc, id, hours);
    std::vector<double> axis(nf);
    for (std::size_t i = 0; i < nf; ++i) axis[i] = 0.05 * static_cast<double>(i + 1);
    nc_def_var(nc, "frequency", NC_FLOAT, 1, &frequency, &id);
    nc_put_var_double(nc, id, axis.data());
    nc_def_var(nc, "direction", NC_FLOAT, 1, &direction, &id);
    const double degrees[] = {90, 270};
    nc_put_var_double(nc, id, degrees);
    const int perPoint[] = {time, station};
    for (const char* name : {"dpt", "wnd", "wnddir"}) {
        nc_def_var(nc, name, NC_FLOAT, 2, perPoint, &id);
        const double values[] = {spoil == Spoil::FillDepth ? static_cast<double>(NC_FILL_FLOAT) : 12.5, 8.0};
        nc_put_var_double(nc, id, values);
    }
    if (spoil == Spoil::NoEfth) return void(nc_close(nc));
    const int dims[] = {time, station, frequency, direction};
    nc_def_var(nc, "efth", spoil == Spoil::PackedShorts ? NC_SHORT : NC_FLOAT, 4, dims, &id);
    if (spoil == Spoil::PackedShorts) {
        const double scale = 0.5, offset = 1.0;
        const short fill = -1;
        nc_put_att_double(nc, id, "scale_factor", NC_DOUBLE, 1, &scale);
        nc_put_att_double(nc, id, "add_offset", NC_DOUBLE, 1, &offset);
        nc_put_att_short(nc, id, "_FillValue", NC_SHORT, 1, &fill);
    }
    std::vector<double> densities(2 * nf * nd);
    for (std::size_t k = 0; k < densities.size(); ++k) densities[k] = static_cast<double>(k);
    if (spoil == Spoil::FillInBlock) densities[nf * nd + 3] = static_cast<double>(NC_FILL_FLOAT);
    if (spoil == Spoil::NanInBlock) densities[nf * nd + 3] = std::nan("");
    nc_put_var_double(nc, id, densities.data());
    nc_close(nc);
}

TEST(NetcdfPointFile, SmallFilesReadOrAreRefusedNamingWhatIsWrong) {
    struct Case {
        Spoil spoil;
        std::string diagnostic;  // part of it; empty: reads
    };
    const Case cases[] = {
        {Spoil::None, ""},
        {Spoil::PackedShorts, ""},
        {Spoil::NoEfth, "no variable efth"},
        {Spoil::SixtyFrequencies, "gives 60 frequencies; 3 to 50"},
        {Spoil::FillInBlock, "efth holds a fill value or a value that is not a number at time step 2 (20000102 121500), "
                             "station 1, frequency 2, direction 2"},
        {Spoil::NanInBlock, "not a number at time step 2"},
        {Spoil::FillDepth, "dpt holds a fill value or a value that is not a number at time step 1"},
        {Spoil::UnknownUnit, "time unit \"fortnights since 1990-01-01\""},
    };
    for (const Case& c : cases) {
        TempFolder folder;
        const std::string path = (folder / "small.nc").string();
        writeSmall(path, c.spoil);
        EXPECT_NE(diagnosticOf([&] { readWhole(path); }).find(c.diagnostic), std::string::npos)
            << diagnosticOf([&] { readWhole(path); });
        if (!c.diagnostic.empty()) continue;
        NetcdfPointFile file(path);
        InputRecord record;
        ASSERT_TRUE(file.nextStep(record));
        EXPECT_EQ(record.date, 20000101);
        EXPECT_EQ(record.time, 1);
        ASSERT_TRUE(file.nextStep(record));
        file.readStation(0, record);
        EXPECT_EQ(record.time, 121500);
        EXPECT_EQ(record.depth, 8.0f);
        const float first = c.spoil == Spoil::PackedShorts ? 4.0f : 6.0f;  // stored 6 and 11, unpacked x 0.5 + 1
        EXPECT_EQ(record.spectrum[0][0], first);
        EXPECT_EQ(record.spectrum[2][1], c.spoil == Spoil::PackedShorts ? 6.5f : 11.0f);
        EXPECT_NEAR(file.grid().directions[1], 4.712389f, 1e-6f);  // radians
        EXPECT_EQ(file.stationNames(), std::vector<std::string>{""});
    }
}

// The reading child: a sound file streams as the reader in the program reads it; a file
// the library refuses gives its reason; a file the library stalls on (here a named pipe
// nobody writes, where opening blocks) is killed at the limit instead of stalling the run.
// A file the library crashes on is refused end to end, in a fresh process, by the run tests.
TEST(NetcdfStream, SoundRefusedAndStallingFiles) {
    TempFolder folder;
    synthesize(folder, "netcdf4", 2);
    const std::string stalling = (folder / "stalling.nc").string();
    ASSERT_EQ(::mkfifo(stalling.c_str(), 0600), 0);
    setNetcdfStallLimit(std::chrono::milliseconds(300));
    const std::pair<std::string, std::string> cases[] = {
        {(folder / "twin.nc").string(), ""},
        {(folder / "twin.spec").string(), "cannot open the netCDF file"},
        {stalling, "the netCDF file is damaged: the netCDF library had not finished reading it after 0.3 seconds"},
    };
    for (const auto& [path, diagnostic] : cases) {
        EXPECT_NE(diagnosticOf([&] {
                      NetcdfStream stream(path, 11);
                      NetcdfPointFile direct(path);
                      const auto station = direct.stationCount() - 1;
                      stream.stream(station);
                      auto streamed = std::make_unique<InputRecord>();
                      auto read = std::make_unique<InputRecord>();
                      while (stream.nextStep(*streamed)) {
                          ASSERT_TRUE(direct.nextStep(*read));
                          stream.readStation(*streamed);
                          direct.readStation(station, *read);
                          EXPECT_EQ(streamed->date, read->date);
                          EXPECT_EQ(std::memcmp(streamed->spectrum.data(), read->spectrum.data(),
                                                sizeof read->spectrum), 0);
                      }
                      EXPECT_FALSE(direct.nextStep(*read));
                  }).find(diagnostic),
                  std::string::npos)
            << path;
    }
    setNetcdfStallLimit(kNetcdfStallLimit);
}

// The coding of efth from its attributes: the spellings the model and others write, and
// what is refused rather than guessed.
TEST(NetcdfUnits, DensityCodingFromUnitsAndStandardName) {
    constexpr std::string_view kLogName = "base_ten_logarithm_of_sea_surface_wave_directional_variance_spectral_density";
    using Coding = std::optional<DensityCoding>;
    const std::tuple<std::optional<std::string_view>, std::optional<std::string_view>, Coding> cases[] = {
        {"m2 s rad-1", std::nullopt, DensityCoding::Linear},
        {"m2/Hz/rad", std::nullopt, DensityCoding::Linear},
        {"m^2 s rad^-1", "sea_surface_wave_directional_variance_spectral_density", DensityCoding::Linear},
        {std::nullopt, std::nullopt, DensityCoding::Linear},
        {"log10(m2 s rad-1 +1E-12)", kLogName, DensityCoding::Log10},
        {"log10(m2 s rad-1 + 1e-12)", std::nullopt, DensityCoding::Log10},
        {std::nullopt, kLogName, DensityCoding::Log10},
        {"m2 s rad-1", kLogName, std::nullopt},  // contradicting each other
        {"log10(m2 s rad-1)", std::nullopt, std::nullopt},
        {"m2 s", std::nullopt, std::nullopt},
        {"J m-2", std::nullopt, std::nullopt},
    };
    for (const auto& [units, name, coding] : cases) {
        EXPECT_EQ(densityCodingOf(units, name), coding) << units.value_or("(none)") << " / " << name.value_or("(none)");
    }
    // Decoded in double and never below 0: the smallest coded value is an exact 0.
    EXPECT_EQ(decodeLog10Density(-12.0), 0.0f);
    EXPECT_EQ(decodeLog10Density(-30000 * static_cast<double>(0.0004f) - 1), 0.0f);
    EXPECT_EQ(decodeLog10Density(0.0), 1.0f);
    EXPECT_EQ(decodeLog10Density(-3.0), static_cast<float>(1e-3 - 1e-12));
}

// The signature alone, and the registry's choice, which leaves the bytes to be read.
TEST(NetcdfMagic, FirstBytesOfEveryFormatAndOthers) {
    const std::pair<std::string, bool> cases[] = {
        {std::string("CDF\x01", 4), true},     {std::string("CDF\x02\0\0", 6), true},
        {std::string("CDF\x05", 4), true},     {"\x89HDF\r\n\x1a\n", true},
        {std::string("CDF\x03", 4), false},    {"\x89HDF\r\n", false},
        {"'WAVEWATCH III SPECTRA'", false},    {"", false},
    };
    for (const auto& [bytes, netcdf] : cases) {
        const std::span<const unsigned char> span(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
        EXPECT_EQ(looksLikeNetcdf(span), netcdf) << bytes;
        InputFile in(11, "first.bytes", bytes);
        EXPECT_EQ(recogniseFormat(in).name, netcdf ? "netCDF" : "ASCII") << bytes;
        EXPECT_EQ(std::string(in.cursor(), in.limit()), bytes);
    }
}

}  // namespace
}  // namespace ww3b
