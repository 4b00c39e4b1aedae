#include "ww3/ascii/ww3_spectral_file.hpp"

#include <array>
#include <cstring>
#include <span>
#include <string>

#include "model/four_floats.hpp"
#include "textio/fixed_record.hpp"
#include "textio/io_diagnostic.hpp"
#include "textio/record_layout.hpp"

namespace ww3b {

namespace {

const RecordLayout kHeaderLayout({blankSkip(24), integerField(6, 3)});
const RecordLayout kFrequencyLayout({numericInputField(10, 3, 8)});
const RecordLayout kDirectionLayout({numericInputField(11, 3, 7)});
const RecordLayout kPointLayout({blankSkip(29), numericInputField(7, 0, 3)});

// out[c * outStride + r] = in[r * inStride + c] for every r < rows and c < columns: the
// values move unchanged, bit for bit, four rows by four columns at a time in vectors
// where the block is whole, one by one at the edges.
void transpose(const float* in, std::size_t inStride, float* out, std::size_t outStride, int rows, int columns) {
    const int wholeRows = rows - rows % 4;
    const int wholeColumns = columns - columns % 4;
    for (int r = 0; r < wholeRows; r += 4) {
        const float* block = in + static_cast<std::size_t>(r) * inStride;
        for (int c = 0; c < wholeColumns; c += 4) {
            const FourFloats blockRows[4] = {loadFourFloats(block + c), loadFourFloats(block + inStride + c),
                                             loadFourFloats(block + 2 * inStride + c),
                                             loadFourFloats(block + 3 * inStride + c)};
            const FourColumns turned = transposeFourByFour(blockRows);
            for (std::size_t k = 0; k < 4; ++k) {
                std::memcpy(out + (static_cast<std::size_t>(c) + k) * outStride + static_cast<std::size_t>(r),
                            &turned.column[k], sizeof(FourFloats));
            }
        }
        for (int c = wholeColumns; c < columns; ++c) {
            for (int k = 0; k < 4; ++k) {
                out[static_cast<std::size_t>(c) * outStride + static_cast<std::size_t>(r + k)] =
                    in[static_cast<std::size_t>(r + k) * inStride + static_cast<std::size_t>(c)];
            }
        }
    }
    for (int r = wholeRows; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            out[static_cast<std::size_t>(c) * outStride + static_cast<std::size_t>(r)] =
                in[static_cast<std::size_t>(r) * inStride + static_cast<std::size_t>(c)];
        }
    }
}

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
    const auto listedStride = static_cast<std::size_t>(nf);
    transpose(record.spectrum[0].data(), kMaxDirections, asListed.data(), listedStride, nf, nd);
    readFreeForm(in, std::span<float>(asListed.data(), static_cast<std::size_t>(nf * nd)));
    transpose(asListed.data(), listedStride, record.spectrum[0].data(), kMaxDirections, nd, nf);
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
