// The generator is a single-file tool; its internals are compiled in here without its main.
#define WW3_SYNTH_NO_MAIN
#include "../../tools/ww3_synth.cpp"

#include <cmath>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

namespace ww3synth {
namespace {

std::string e3(double value, int width) {
    std::string out;
    appendE3(out, value, width);
    return out;
}

std::string fixed(double value, int width, int decimals) {
    std::string out;
    appendF(out, value, width, decimals);
    return out;
}

std::string generate(const Options& options) {
    std::string file;
    writeSpectra(options, [&](std::string_view chunk) { file.append(chunk); });
    return file;
}

std::vector<std::string> lines(const std::string& text) {
    EXPECT_EQ(text.back(), '\n');
    std::vector<std::string> result;
    for (std::size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        result.push_back(text.substr(start, end - start));
    }
    return result;
}

std::vector<double> values(const std::string& line) {
    std::vector<double> result;
    const char* p = line.c_str();
    for (char* end;; p = end) {
        const double value = std::strtod(p, &end);
        if (end == p) break;
        result.push_back(value);
    }
    return result;
}

double field(const std::string& line, int firstColumn, int lastColumn) {
    return std::strtod(line.substr(firstColumn - 1, lastColumn - firstColumn + 1).c_str(), nullptr);
}

TEST(SynthFields, ExponentFormShiftsThePointAndCarries) {
    EXPECT_EQ(e3(0.0, 11), "  0.000E+00");
    EXPECT_EQ(e3(0.035, 10), " 0.350E-01");
    EXPECT_EQ(e3(0.2617994, 11), "  0.262E+00");
    EXPECT_EQ(e3(1.0, 11), "  0.100E+01");
    EXPECT_EQ(e3(9.9996, 11), "  0.100E+02");
    EXPECT_EQ(e3(0.00012345, 11), "  0.123E-03");
    EXPECT_EQ(e3(-2.5, 11), " -0.250E+01");
    EXPECT_EQ(e3(1e-120, 11), "***********");
}

TEST(SynthFields, FixedFormDropsTheSignOfZeroAndOverflowsToAsterisks) {
    EXPECT_EQ(fixed(-0.001, 7, 2), "   0.00");
    EXPECT_EQ(fixed(46.6, 10, 1), "      46.6");
    EXPECT_EQ(fixed(33.65, 7, 2) + fixed(-120.2, 7, 2), "  33.65-120.20");
    EXPECT_EQ(fixed(12345.0, 6, 1), "******");
}

TEST(SynthFile, DefaultFileHasTheColumnsAndCountsTheConverterReads) {
    const std::vector<std::string> file = lines(generate(Options{}));
    ASSERT_GE(file.size(), 10u);
    EXPECT_EQ(file[0].substr(0, 23), "'WAVEWATCH III SPECTRA'");
    EXPECT_EQ(file[0].substr(24, 18), "    25    24     1");
    // 4 frequency lines (8, 8, 8, 1), 4 direction lines (7, 7, 7, 3), then the first time line.
    EXPECT_EQ(values(file[1]).size(), 8u);
    EXPECT_EQ(values(file[4]).size(), 1u);
    EXPECT_EQ(values(file[8]).size(), 3u);
    EXPECT_EQ(file[9], "20100603 180000");

    const char* expectedTimes[] = {"20100603 180000", "20100603 210000", "20100604 000000", "20100604 030000",
                                   "20100604 060000"};
    std::size_t at = 9;
    for (const char* time : expectedTimes) {
        ASSERT_LT(at + 1, file.size());
        EXPECT_EQ(file[at], time);
        const std::string& point = file[at + 1];
        EXPECT_EQ(point.substr(0, 12), "'44097     '");
        EXPECT_EQ(point.size(), 62u);
        EXPECT_EQ(point.substr(26, 10), "      46.6");
        EXPECT_NEAR(field(point, 30, 36), 46.6, 1e-9);
        EXPECT_GT(field(point, 37, 43), 1.0);
        EXPECT_EQ(point[49], ' ');  // the wind direction field 44-50 holds only the direction
        at += 2;
        std::size_t count = 0;
        while (count < 25u * 24u && at < file.size()) {
            EXPECT_LE(file[at].size(), 77u);
            count += values(file[at++]).size();
        }
        EXPECT_EQ(count, 25u * 24u);
    }
    EXPECT_EQ(at, file.size());
}

// Hs and peak period as the converter works them out: bands from central differences, direction
// bins of 2 pi / nd, densities stored frequency fastest.
TEST(SynthFile, SeaStateIsPlausibleWithZeroAndTinyTails) {
    Options options;
    options.frequencies = 30;
    options.directions = 36;
    options.steps = 120;
    options.intervalHours = 5;
    options.seed = 7;
    const std::string text = generate(options);
    const Grid grid = makeGrid(options);
    const std::vector<std::string> file = lines(text);
    const std::size_t n = 30 * 36;
    int zeros = 0, tiny = 0;
    for (std::size_t at = 1 + 4 + 6; at < file.size();) {
        at += 2;  // time line and point line
        std::vector<double> spectrum;
        while (spectrum.size() < n) {
            const std::vector<double> more = values(file[at++]);
            spectrum.insert(spectrum.end(), more.begin(), more.end());
        }
        double energy = 0;
        std::vector<double> band(30, 0.0);
        for (std::size_t j = 0; j < 36; ++j) {
            for (std::size_t i = 0; i < 30; ++i) {
                const double value = spectrum[j * 30 + i];
                ASSERT_GE(value, 0.0);
                zeros += value == 0.0;
                tiny += value >= 1e-5 && value < 1e-3;
                band[i] += value;
                energy += value * grid.bandwidths[i] * 2.0 * std::numbers::pi / 36.0;
            }
        }
        const double height = 4.0 * std::sqrt(energy);
        const double peakPeriod = 1.0 / grid.frequencies[std::max_element(band.begin(), band.end()) - band.begin()];
        EXPECT_GE(height, 0.48);
        EXPECT_LE(height, 4.05);
        EXPECT_GE(peakPeriod, 3.5);
        EXPECT_LE(peakPeriod, 17.0);
    }
    EXPECT_GT(zeros, 0);
    EXPECT_GT(tiny, 0);
}

TEST(SynthFile, SameSeedSameBytesOtherSeedOtherSpectra) {
    Options options;
    const std::string first = generate(options);
    EXPECT_EQ(generate(options), first);
    options.seed = 2;
    EXPECT_NE(generate(options), first);
}

TEST(SynthFile, TimesCrossYearEndsAndLeapDays) {
    Options options;
    options.frequencies = 3;
    options.directions = 4;
    options.intervalHours = 1;
    options.steps = 2;
    for (const auto& [start, second] : {std::pair{1999123123LL, "\n20000101 000000\n"},
                                        std::pair{2000022823LL, "\n20000229 000000\n"},
                                        std::pair{2100022823LL, "\n21000301 000000\n"}}) {
        options.start = start;
        EXPECT_NE(generate(options).find(second), std::string::npos) << start;
    }
    EXPECT_THROW(parseStamp(2010023012), std::invalid_argument);
}

TEST(SynthFile, SeveralPointsAndDirectionsHalfABinOff) {
    Options options;
    options.points = 3;
    options.directions = 36;
    options.halfBinOffset = true;
    options.steps = 1;
    const std::vector<std::string> file = lines(generate(options));
    EXPECT_EQ(file[0].substr(36, 6), "     3");
    // 4 frequency lines, 6 direction lines, one time line, then 3 x (point line + 129 lines of 900 values).
    const std::vector<double> directions = values(file[5]);
    EXPECT_NEAR(directions[0] * 180.0 / std::numbers::pi, 85.0, 0.5);
    EXPECT_LT(directions[1], directions[0]);
    EXPECT_EQ(file.size(), 1u + 4 + 6 + 1 + 3 * (1 + 129));
    EXPECT_EQ(file[12].substr(0, 12), "'44097     '");
    EXPECT_EQ(file[12 + 130].substr(0, 12), "'44097-2   '");
    EXPECT_EQ(file[12 + 260].substr(0, 12), "'44097-3   '");
    // Positions, depths and sea states differ; the third point's longitude runs into its latitude.
    EXPECT_EQ(file[12].substr(12, 24), "  40.98 -71.12      46.6");
    EXPECT_EQ(file[12 + 130].substr(12, 24), "  40.63 -71.57      71.6");
    EXPECT_EQ(file[12 + 260].substr(12, 24), "  33.65-120.20    1800.0");
    EXPECT_FALSE(std::equal(file.begin() + 13, file.begin() + 142, file.begin() + 143));
}

// A narrow sea from the bearing D travels towards D + 180: its energy lies in the direction
// whose listed bearing of travel (as the file shows it) is nearest to D + 180.
TEST(SynthFile, ANarrowSeaTravelsTowardsTheListedBearing) {
    for (int nd : {24, 36}) {
        for (bool half : {false, true}) {
            Options options;
            options.directions = nd;
            options.halfBinOffset = half;
            const Grid grid = makeGrid(options);
            std::string listed;
            appendValueLines(listed, grid.directions, 7, 11);
            const std::vector<double> shown = values(listed);
            for (double from : {0.0, 37.0, 95.0, 200.0, 290.0}) {
                SeaState sea{};
                sea.height = 1.0;
                sea.peakPeriod = 10.0;
                sea.meanDirection = from;
                sea.spreading = 400.0;
                Random random(3);
                std::vector<double> spectrum;
                fillSpectrum(grid, sea, random, spectrum);
                const std::size_t nf = grid.frequencies.size();
                std::size_t peak = 0;
                for (std::size_t j = 0; j < static_cast<std::size_t>(nd); ++j) {
                    if (spectrum[j * nf + 10] > spectrum[peak * nf + 10]) peak = j;
                }
                const double towards = shown[peak] * 180.0 / std::numbers::pi;
                EXPECT_LE(std::fabs(std::remainder(towards - (from + 180.0), 360.0)), 180.0 / nd + 0.3)
                    << nd << (half ? " half" : "") << " from " << from << ": " << towards;
            }
        }
    }
}

TEST(SynthFile, RealisticValuesHaveTheShareOfZerosAndTinyTailsOfStationFiles) {
    Options options = parseOptions({"--frequencies", "50", "--directions", "36", "--steps", "300", "--interval-hours",
                                    "1", "--values", "realistic"});
    const std::vector<std::string> file = lines(generate(options));
    std::size_t count = 0, zeros = 0, below10 = 0, from10to5 = 0, below30 = 0;
    for (std::size_t at = 1 + 7 + 6; at < file.size(); ++at) {
        const std::string& line = file[at];
        if (line[0] != ' ') continue;  // time and point lines
        ASSERT_EQ(line.size() % 11, 0u) << line;
        for (std::size_t field = 0; field < line.size(); field += 11) {
            const std::string value = line.substr(field, 11);
            // The model's shape: "  0.dddE+dd" or "  0.dddE-dd".
            ASSERT_EQ(value.substr(0, 4), "  0.") << line;
            ASSERT_EQ(value[7], 'E') << line;
            const int exponent = std::stoi(value.substr(8));
            ++count;
            zeros += value == "  0.000E+00";
            below10 += value != "  0.000E+00" && exponent < -10;
            from10to5 += exponent >= -10 && exponent <= -5;
            below30 += exponent < -30;
        }
    }
    EXPECT_EQ(count, 300u * 50 * 36);
    EXPECT_GT(zeros, count * 5 / 100);
    EXPECT_LT(zeros, count * 15 / 100);
    EXPECT_GT(below10, count * 4 / 100);
    EXPECT_LT(below10, count * 23 / 100);
    EXPECT_GT(from10to5, count * 20 / 100);
    EXPECT_GT(below30, 0u);
    // Without the option the file is the zero-heavy one it always was.
    options.zeroBelow = Options{}.zeroBelow;
    options.emptyBelow = Options{}.emptyBelow;
    EXPECT_EQ(generate(options), generate(parseOptions({"--frequencies", "50", "--directions", "36", "--steps", "300",
                                                         "--interval-hours", "1"})));
}

}  // namespace
}  // namespace ww3synth
