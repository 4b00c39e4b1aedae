#include "run/output_table.hpp"

#include <array>
#include <bit>
#include <vector>

#include "output/record_writers.hpp"

namespace ww3b {

namespace {

// One row per file, in the order a mode announces, opens and closes its files. In mode 2
// each record writes the full-plane line, then (after the depth question at the first
// record) the half-plane line, the Brevolan spectrum block and the table line.
const std::array<OutputFileRow, 5> kOutputFiles = {{
    {kEveryMode, kParameterFileUnit, "full-plane parameter file", "*** Output WW3 full-plane wave parameter file",
     &RunOptions::parameterFile, "out", 0, &makeWriter<FullPlaneParameterWriter>},
    {kFullSpectrumBit, kSpectrumFileUnit, "2-D spectral file", "*** Output full-plane 2-D wave spectral file",
     &RunOptions::spectrumFile, nullptr, 1, &makeWriter<FullSpectralWriter>},
    {kBrevolanBit, kBrevolanParameterFileUnit, "Brevolan parameter file", "*** Output Brevolan parameter file",
     &RunOptions::brevolanParameterFile, "txt", 3, &makeWriter<BrevolanParameterWriter>},
    {kBrevolanBit, kSpectrumFileUnit, "Brevolan spectrum file", "    Output Brevolan spectrum file",
     &RunOptions::spectrumFile, nullptr, 2, &makeWriter<BrevolanSpectrumWriter>},
    {kBrevolanBit, kHalfPlaneFileUnit, "half-plane parameter file", "    Output half-plane parameter file",
     &RunOptions::halfPlaneFile, "dat", 1, &makeWriter<HalfPlaneParameterWriter>},
}};

ModeMask bitOf(std::int32_t outputMode) {
    switch (outputMode) {
        case kParametersOnly: return kParametersOnlyBit;
        case kFullSpectrumMode: return kFullSpectrumBit;
        case kBrevolanMode: return kBrevolanBit;
        default: return kOtherModesBit;
    }
}

std::vector<OutputFileRow> rowsOf(ModeMask mode) {
    std::vector<OutputFileRow> rows;
    for (const OutputFileRow& row : kOutputFiles) {
        if (row.modes & mode) rows.push_back(row);
    }
    return rows;
}

}  // namespace

std::span<const OutputFileRow> outputFilesOf(std::int32_t outputMode) {
    // Each mode's rows are picked once; the run keeps pointers to them.
    static const std::array<std::vector<OutputFileRow>, 4> byMode = {
        rowsOf(kParametersOnlyBit), rowsOf(kFullSpectrumBit), rowsOf(kBrevolanBit), rowsOf(kOtherModesBit)};
    return byMode[static_cast<std::size_t>(std::countr_zero(bitOf(outputMode)))];
}

}  // namespace ww3b
