// The text layer: reading spectrum blocks and rendering fixed-point fields.

#include <fcntl.h>

#include <benchmark/benchmark.h>

#include <span>
#include <string_view>
#include <vector>

#include "output/spectral_block.hpp"
#include "sample_spectra.hpp"
#include "textio/field_render.hpp"
#include "textio/free_form.hpp"
#include "textio/number_syntax.hpp"
#include "textio/output_file.hpp"

namespace ww3b::bench {
namespace {

constexpr int kRecords = 64;

const SampleSpectra& sample() {
    static const SampleSpectra spectra = makeSampleSpectra(kRecords);
    return spectra;
}

std::vector<float> sampleValues() {
    std::vector<float> values;
    for (const InputRecord& record : sample().records)
        for (int i = 0; i < sample().grid.frequencyCount; ++i)
            for (int j = 0; j < sample().grid.directionCount; ++j) values.push_back(record.spectrum[i][j]);
    return values;
}

// Free-form reads of whole spectrum blocks, as the record loop does them.
void ReadSpectrumBlocks(benchmark::State& state) {
    const SampleSpectra& spectra = sample();
    std::vector<float> block(spectra.valuesPerRecord());
    for (auto _ : state) {
        InputFile in(11, "sample", spectra.blocks);
        for (int r = 0; r < kRecords; ++r) readFreeForm(in, std::span<float>(block));
        benchmark::DoNotOptimize(block.data());
    }
    state.SetItemsProcessed(state.iterations() * kRecords * static_cast<long>(block.size()));
    state.SetBytesProcessed(state.iterations() * static_cast<long>(spectra.blocks.size()));
}
BENCHMARK(ReadSpectrumBlocks);

// The same blocks passed over (the points of a multi-point file that are not chosen).
void SkipSpectrumBlocks(benchmark::State& state) {
    const SampleSpectra& spectra = sample();
    const std::size_t count = spectra.valuesPerRecord();
    for (auto _ : state) {
        InputFile in(11, "sample", spectra.blocks);
        for (int r = 0; r < kRecords; ++r) skipFreeForm(in, count);
        benchmark::DoNotOptimize(in.cursor());
    }
    state.SetItemsProcessed(state.iterations() * kRecords * static_cast<long>(count));
    state.SetBytesProcessed(state.iterations() * static_cast<long>(spectra.blocks.size()));
}
BENCHMARK(SkipSpectrumBlocks);

// The general number syntax alone, for comparison with the reader's fast road.
void ParseRealGeneral(benchmark::State& state) {
    std::vector<std::string_view> tokens;
    const std::string& text = sample().blocks;
    for (std::size_t at = 0; at < text.size() && tokens.size() < 20000;) {
        const std::size_t begin = text.find_first_not_of(" \n", at);
        if (begin == std::string::npos) break;
        const std::size_t end = text.find_first_of(" \n", begin);
        tokens.push_back(std::string_view(text).substr(begin, end - begin));
        at = end;
    }
    for (auto _ : state) {
        for (std::string_view token : tokens) {
            float value = 0;
            parseReal(token, value);
            benchmark::DoNotOptimize(value);
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long>(tokens.size()));
}
BENCHMARK(ParseRealGeneral);

// One 10-column field with 5 decimals, the field of every density written.
template <void (*Render)(char*, int, int, float)>
void RenderDensityField(benchmark::State& state) {
    const std::vector<float> values = sampleValues();
    char field[16];
    for (auto _ : state) {
        for (const float value : values) {
            Render(field, 10, 5, value);
            benchmark::DoNotOptimize(field);
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long>(values.size()));
}
BENCHMARK(RenderDensityField<renderFixed>)->Name("RenderFixed");
BENCHMARK(RenderDensityField<renderFixedByToChars>)->Name("RenderFixedByToChars");

// Whole density lines (seven fields to a line) into a file buffer, handed to /dev/null.
void WriteDensityLines(benchmark::State& state) {
    const SampleSpectra& spectra = sample();
    OutputFile out(18, "/dev/null", ::open("/dev/null", O_WRONLY), OutputFile::Kind::Stream);
    const int nd = spectra.grid.directionCount;
    for (auto _ : state) {
        for (const InputRecord& record : spectra.records) {
            for (int i = 0; i < spectra.grid.frequencyCount; ++i)
                writeSpectralDensities(out, std::span<const float>(record.spectrum[i].data(), static_cast<std::size_t>(nd)));
        }
    }
    out.close();
    state.SetItemsProcessed(state.iterations() * static_cast<long>(spectra.records.size() * spectra.valuesPerRecord()));
}
BENCHMARK(WriteDensityLines);

}  // namespace
}  // namespace ww3b::bench
