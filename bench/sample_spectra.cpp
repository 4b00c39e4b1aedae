#include "sample_spectra.hpp"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <span>

#include "textio/free_form.hpp"
#include "textio/input_file.hpp"

namespace ww3b::bench {

namespace {

constexpr int kFrequencies = 50;
constexpr int kDirections = 36;

// "0.ddd" mantissa and a two-digit exponent, right-aligned in 11 columns.
void appendE3(std::string& out, double value) {
    if (value == 0.0) {
        out += "  0.000E+00";
        return;
    }
    char sci[32];
    *std::to_chars(sci, sci + sizeof sci, value, std::chars_format::scientific, 2).ptr = '\0';
    const int exponent = std::atoi(sci + 5) + 1;  // d.dd x 10^e = 0.ddd x 10^(e + 1)
    out += "  0.";
    out += sci[0];
    out += sci[2];
    out += sci[3];
    out += exponent < 0 ? "E-" : "E+";
    out += static_cast<char>('0' + std::abs(exponent) / 10);
    out += static_cast<char>('0' + std::abs(exponent) % 10);
}

double density(double frequency, double angle, double peak, double meanAngle) {
    const double sigma = frequency <= peak ? 0.07 : 0.09;
    const double r = std::exp(-(frequency - peak) * (frequency - peak) / (2.0 * sigma * sigma * peak * peak));
    const double shape = std::pow(frequency, -5.0) * std::exp(-1.25 * std::pow(peak / frequency, 4.0)) * std::pow(3.3, r);
    const double spread = std::pow(std::fabs(std::cos(0.5 * (angle - meanAngle))), 12.0);
    const double value = 0.004 * shape * spread;
    return value < 1e-6 ? 0.0 : value;
}

}  // namespace

SampleSpectra makeSampleSpectra(int recordCount) {
    SampleSpectra sample;
    SpectralGrid& grid = sample.grid;
    grid.frequencyCount = kFrequencies;
    grid.directionCount = kDirections;
    grid.pointCount = 1;
    for (int i = 0; i < kFrequencies; ++i) grid.frequencies[i] = static_cast<float>(0.035 * std::pow(1.1, i));
    completeSpectralGrid(grid);

    for (int r = 0; r < recordCount; ++r) {
        const double peak = 1.0 / (8.0 + 4.0 * std::sin(r * 0.05));
        const double meanAngle = 2.0 * std::numbers::pi * (0.3 + 0.1 * std::sin(r * 0.02));
        std::string block;
        int onLine = 0;
        for (int j = 0; j < kDirections; ++j) {
            for (int i = 0; i < kFrequencies; ++i) {
                const double angle = 2.0 * std::numbers::pi * j / kDirections;
                appendE3(block, density(grid.frequencies[i], angle, peak, meanAngle));
                if (++onLine == 7) {
                    block += '\n';
                    onLine = 0;
                }
            }
        }
        if (onLine != 0) block += '\n';
        sample.blocks += block;
    }
    // Read back, so that every record holds exactly the floats of its text.
    InputFile in(11, "sample", sample.blocks);
    sample.records.resize(static_cast<std::size_t>(recordCount));
    std::vector<float> listed(sample.valuesPerRecord());
    for (InputRecord& record : sample.records) {
        readFreeForm(in, std::span<float>(listed));
        for (int j = 0; j < kDirections; ++j)
            for (int i = 0; i < kFrequencies; ++i) record.spectrum[i][j] = listed[static_cast<std::size_t>(j * kFrequencies + i)];
        record.depth = 46.6f;
        record.windSpeed = 7.0f;
        record.windDirection = 225.1f;
    }
    return sample;
}

}  // namespace ww3b::bench
