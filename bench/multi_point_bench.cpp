// One point of a ten-point WW3 file against reading every point of it: the points not
// chosen are passed over without keeping their values.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>

#include "sample_spectra.hpp"
#include "textio/input_file.hpp"
#include "ww3/ascii/ascii_spectra_source.hpp"
#include "ww3/ascii/ww3_spectral_file.hpp"

namespace ww3b::bench {
namespace {

constexpr int kSteps = 16;
constexpr int kPoints = 10;

void appendList(std::string& text, const float* values, int count, int width, int perLine) {
    char field[32];
    for (int k = 0; k < count; ++k) {
        std::snprintf(field, sizeof field, "%*.3E", width, static_cast<double>(values[k]));
        text += field;
        if ((k + 1) % perLine == 0 || k + 1 == count) text += '\n';
    }
}

// kSteps time steps of kPoints points each, the blocks taken from the sample spectra.
const std::string& tenPointFile() {
    static const std::string text = [] {
        const SampleSpectra spectra = makeSampleSpectra(kSteps);
        const SpectralGrid& grid = spectra.grid;
        char line[128];
        std::snprintf(line, sizeof line, "'WAVEWATCH III SPECTRA'%6d%6d%6d 'spectral resolution for points'\n",
                      grid.frequencyCount, grid.directionCount, kPoints);
        std::string file = line;
        appendList(file, grid.frequencies.data(), grid.frequencyCount, 10, 8);
        appendList(file, grid.directions.data(), grid.directionCount, 11, 7);
        // Each record's block is a whole number of lines: find where each one ends.
        const std::size_t lines = (spectra.valuesPerRecord() + 6) / 7;
        std::size_t at = 0;
        for (int s = 0; s < kSteps; ++s) {
            std::size_t end = at;
            for (std::size_t k = 0; k < lines; ++k) end = spectra.blocks.find('\n', end) + 1;
            const std::string block = spectra.blocks.substr(at, end - at);
            at = end;
            std::snprintf(line, sizeof line, "20100603 %02d0000\n", s % 24);
            file += line;
            for (int p = 0; p < kPoints; ++p) {
                std::snprintf(line, sizeof line, "'P%02d       '  40.98 -71.12      46.6   6.47 223.9   0.08  92.5\n",
                              p + 1);
                file += line;
                file += block;
            }
        }
        return file;
    }();
    return text;
}

void ReadOnePointOfTen(benchmark::State& state) {
    const std::string& text = tenPointFile();
    InputRecord record;
    for (auto _ : state) {
        AsciiSpectraSource source(std::make_unique<InputFile>(11, "ten", text), PointChoice{"P07"});
        SpectralGrid grid;
        source.readHeader(grid);
        while (source.startStep(record).outcome == StepStart::Outcome::Started) source.readPoint(record);
        benchmark::DoNotOptimize(record.spectrum.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<long>(text.size()));
}
BENCHMARK(ReadOnePointOfTen);

// The reference: every point's values read into the record.
void ReadEveryPointOfTen(benchmark::State& state) {
    const std::string& text = tenPointFile();
    InputRecord record;
    for (auto _ : state) {
        InputFile in(11, "ten", text);
        SpectralGrid grid;
        readSpectralHeader(in, grid);
        while (readTimeLine(in, record).outcome == ReadOutcome::Ok) {
            for (int p = 0; p < kPoints; ++p) {
                readPointLine(in, record);
                readSpectrumBlock(in, grid, record);
            }
        }
        benchmark::DoNotOptimize(record.spectrum.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<long>(text.size()));
}
BENCHMARK(ReadEveryPointOfTen);

}  // namespace
}  // namespace ww3b::bench
