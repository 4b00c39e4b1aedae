#include "output/spectral_block.hpp"

#include "textio/fixed_record.hpp"
#include "textio/record_layout.hpp"

namespace ww3b {

namespace {

const RecordLayout kCountsLine({integerField(3, 2)});
const RecordLayout kFrequencyLines({group(1, {fixedField(8, 5, 10)})});
const RecordLayout kRecordLine({integerField(8), blankSkip(2), fixedField(6, 1), blankSkip(2), fixedField(9, 0),
                                blankSkip(2), fixedField(8, 5), blankSkip(2), fixedField(6, 2)});
const RecordLayout kDensityLines({group(1, {group(7, {blankSkip(1), fixedField(10, 5)})})});

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
    writeFixedRecord(file, kDensityLines, densities);
}

}  // namespace ww3b
