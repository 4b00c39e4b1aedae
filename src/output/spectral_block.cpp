#include "output/spectral_block.hpp"

#include <algorithm>

#include "textio/field_render.hpp"
#include "textio/fixed_record.hpp"
#include "textio/record_layout.hpp"

namespace ww3b {

namespace {

const RecordLayout kCountsLine({integerField(3, 2)});
const RecordLayout kFrequencyLines({group(1, {fixedField(8, 5, 10)})});
const RecordLayout kRecordLine({integerField(8), blankSkip(2), fixedField(6, 1), blankSkip(2), fixedField(9, 0),
                                blankSkip(2), fixedField(8, 5), blankSkip(2), fixedField(6, 2)});

// The density lines, written field by field without going through a layout: seven fields
// of a blank and a 10.5 real to a line, the last line as long as its fields.
constexpr std::size_t kDensitiesPerLine = 7;
constexpr std::size_t kDensityColumns = 11;

}  // namespace

void writeSpectralHeader(OutputFile& file, const SpectralGrid& grid, std::int32_t directionCount) {
    const FieldValue counts[] = {grid.frequencyCount, directionCount};
    writeFixedRecord(file, kCountsLine, counts);
    writeFixedRecord(file, kFrequencyLines,
                     std::span<const float>(grid.frequencies.data(), static_cast<std::size_t>(grid.frequencyCount)));
}

void writeSpectralRecordLine(OutputFile& file, RecordStamp stamp, float windSpeed, float windDirection,
                             float peakFrequency) {
    const FieldValue values[] = {stamp, windSpeed, windDirection, peakFrequency, 0.0f};
    writeFixedRecord(file, kRecordLine, values);
}

void writeSpectralDensities(OutputFile& file, std::span<const float> densities) {
    std::size_t first = 0;
    do {
        // No densities still make one empty line, as a statement with nothing to write does.
        const std::size_t count = std::min(kDensitiesPerLine, densities.size() - first);
        char* line = file.beginLine(kDensitiesPerLine * kDensityColumns);
        for (std::size_t k = 0; k < count; ++k) renderBlankAndFixed10x5(line + k * kDensityColumns, densities[first + k]);
        file.endLine(count * kDensityColumns);
        first += count;
    } while (first < densities.size());
}

}  // namespace ww3b
