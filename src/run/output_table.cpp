#include "run/output_table.hpp"

#include <array>

#include "output/record_writers.hpp"

namespace ww3b {

namespace {

constexpr const char* kParameterAnnouncement = "*** Output WW3 full-plane wave parameter file";
constexpr const char* kParameterRole = "full-plane parameter file";

const std::array<OutputFileRow, 1> kParametersOnlyFiles = {{
    {kParameterFileUnit, kParameterRole, kParameterAnnouncement, &RunOptions::parameterFile, nullptr, 0,
     &makeWriter<FullPlaneParameterWriter>},
}};

const std::array<OutputFileRow, 1> kOtherModeFiles = {{
    {kParameterFileUnit, kParameterRole, kParameterAnnouncement, &RunOptions::parameterFile, "out", 0,
     &makeWriter<FullPlaneParameterWriter>},
}};

const std::array<OutputFileRow, 2> kFullSpectrumFiles = {{
    {kParameterFileUnit, kParameterRole, kParameterAnnouncement, &RunOptions::parameterFile, "out", 0,
     &makeWriter<FullPlaneParameterWriter>},
    {kSpectrumFileUnit, "2-D spectral file", "*** Output full-plane 2-D wave spectral file",
     &RunOptions::spectrumFile, nullptr, 1, &makeWriter<FullSpectralWriter>},
}};

// Each record writes the full-plane line, then (after the depth question at the first
// record) the half-plane line, the Brevolan spectrum block and the table line.
const std::array<OutputFileRow, 4> kBrevolanFiles = {{
    {kParameterFileUnit, kParameterRole, kParameterAnnouncement, &RunOptions::parameterFile, "out", 0,
     &makeWriter<FullPlaneParameterWriter>},
    {kBrevolanParameterFileUnit, "Brevolan parameter file", "*** Output Brevolan parameter file",
     &RunOptions::brevolanParameterFile, "txt", 3, &makeWriter<BrevolanParameterWriter>},
    {kSpectrumFileUnit, "Brevolan spectrum file", "    Output Brevolan spectrum file", &RunOptions::spectrumFile,
     nullptr, 2, &makeWriter<BrevolanSpectrumWriter>},
    {kHalfPlaneFileUnit, "half-plane parameter file", "    Output half-plane parameter file",
     &RunOptions::halfPlaneFile, "dat", 1, &makeWriter<HalfPlaneParameterWriter>},
}};

}  // namespace

std::span<const OutputFileRow> outputFilesOf(std::int32_t outputMode) {
    switch (outputMode) {
        case kParametersOnly: return kParametersOnlyFiles;
        case kFullSpectrumMode: return kFullSpectrumFiles;
        case kBrevolanMode: return kBrevolanFiles;
        default: return kOtherModeFiles;
    }
}

}  // namespace ww3b
