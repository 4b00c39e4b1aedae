#include "ww3/ascii/ww3_spectral_file.hpp"

#include <array>
#include <span>
#include <string>

#include "textio/fixed_record.hpp"
#include "textio/io_diagnostic.hpp"
#include "textio/record_layout.hpp"

namespace ww3b {

namespace {

const RecordLayout kHeaderLayout({blankSkip(24), integerField(6, 3)});
const RecordLayout kFrequencyLayout({numericInputField(10, 3, 8)});
const RecordLayout kDirectionLayout({numericInputField(11, 3, 7)});
const RecordLayout kPointLayout({blankSkip(29), numericInputField(7, 0, 3)});

}  // namespace

bool readSpectralHeader(InputFile& in, SpectralGrid& grid) {
    const long headerLine = in.lineNumber();
    const FieldTarget counts[] = {FieldTarget::of(grid.frequencyCount), FieldTarget::of(grid.directionCount),
                                  FieldTarget::of(grid.pointCount)};
    if (readFixedRecord(in, kHeaderLayout, counts, OnFailure::Report) == ReadOutcome::EndOfFile) return false;
    const std::string countProblem = gridCountProblem(grid.frequencyCount, grid.directionCount);
    if (!countProblem.empty()) endRunWithDiagnostic(countProblem, in.unit(), in.name(), headerLine);
    readFixedRecord(in, kFrequencyLayout, std::span<float>(grid.frequencies.data(), grid.frequencyCount));
    readFixedRecord(in, kDirectionLayout, std::span<float>(grid.directions.data(), grid.directionCount));
    completeSpectralGrid(grid);
    return true;
}

FreeFormResult readTimeLine(InputFile& in, InputRecord& record) {
    std::int32_t dateAndTime[2] = {record.date, record.time};
    FreeFormResult result = readFreeForm(in, std::span<std::int32_t>(dateAndTime), OnFailure::Report);
    record.date = dateAndTime[0];
    record.time = dateAndTime[1];
    return result;
}

void readPointLine(InputFile& in, InputRecord& record) {
    const FieldTarget values[] = {FieldTarget::of(record.depth), FieldTarget::of(record.windSpeed),
                                  FieldTarget::of(record.windDirection)};
    readFixedRecord(in, kPointLayout, values);
}

void readSpectrumBlock(InputFile& in, const SpectralGrid& grid, InputRecord& record) {
    // The file lists direction by direction, frequency fastest; the record keeps
    // frequency by frequency. Values the block leaves unset (null values) keep theirs.
    const int nf = grid.frequencyCount;
    const int nd = grid.directionCount;
    std::array<float, kMaxFrequencies * kMaxDirections> asListed;
    for (int j = 0; j < nd; ++j) {
        for (int i = 0; i < nf; ++i) asListed[static_cast<std::size_t>(j * nf + i)] = record.spectrum[i][j];
    }
    readFreeForm(in, std::span<float>(asListed.data(), static_cast<std::size_t>(nf * nd)));
    for (int j = 0; j < nd; ++j) {
        for (int i = 0; i < nf; ++i) record.spectrum[i][j] = asListed[static_cast<std::size_t>(j * nf + i)];
    }
}

void passOverPoint(InputFile& in, const SpectralGrid& grid, InputRecord& record) {
    readPointLine(in, record);
    skipFreeForm(in, static_cast<std::size_t>(grid.frequencyCount) * static_cast<std::size_t>(grid.directionCount));
}

std::size_t walkStepPoints(InputFile& in, const std::function<void(std::size_t)>& readPoint) {
    std::size_t count = 0;
    do {
        readPoint(count);
        ++count;
    } while (!in.atEnd() && *in.cursor() == '\'');
    return count;
}

}  // namespace ww3b
