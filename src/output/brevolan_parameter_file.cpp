#include "output/brevolan_parameter_file.hpp"

#include <cmath>
#include <string>
#include <vector>

#include "textio/fixed_record.hpp"
#include "textio/record_layout.hpp"

namespace ww3b {

namespace {

constexpr int kColumnWidth = 12;
// The value written where the table has nothing to say.
constexpr float kNotGiven = 999.0f;
// The number of frequency bins and the second system's bins the model is told to use.
constexpr std::int32_t kFirstSystemBins = 20;
constexpr std::int32_t kSecondSystemBins = 0;

RecordLayout titleLine() {
    std::vector<LayoutItem> titles;
    for (const char* title : {"METHOD", "OPTION", "TIME", "INDEX", "ANGLE(1)", "HS(1)", "TP(1)", "GAMMA(1)", "ANGLE(2)",
                              "HS(2)", "TP(2)", "GAMMA(2)", "WIND", "FETCH", "NN(1)", "NN(2)", "STDDEV(1)", "STDDEV(2)",
                              "DEPTH"}) {
        const std::string text(title);
        titles.push_back(literal(std::string(kColumnWidth - text.size(), ' ') + text));
    }
    return RecordLayout(std::move(titles));
}

const RecordLayout kTableTitle({literal("SPECTRAL TABLE")});
const RecordLayout kTitleLine = titleLine();
const LayoutItem kReal = group(1, {blankSkip(3), fixedField(9, 4)});
const LayoutItem kInteger = group(1, {blankSkip(4), integerField(8)});
const RecordLayout kRecordLine({blankSkip(9), integerField(3), blankSkip(9), integerField(3), fixedField(12, 4),
                                kInteger, kReal, kReal, kReal, kReal, kReal, kReal, kReal, kReal, kReal, kReal,
                                kInteger, kInteger, kReal, kReal, kReal});

}  // namespace

float relativeMeanDirection(float meanDirection, float shoreAngle) {
    float x = static_cast<float>(270.0 - static_cast<double>(meanDirection) - static_cast<double>(shoreAngle));
    while (x < 0.0f) x = static_cast<float>(static_cast<double>(x) + 360.0);
    while (x >= 360.0f) x = static_cast<float>(static_cast<double>(x) - 360.0);
    return x;
}

float peakFactor(float peakFrequency) {
    return static_cast<float>(3.0 + std::tanh(static_cast<double>(0.1f) / static_cast<double>(peakFrequency)));
}

void BrevolanParameterFile::writeHeader(OutputFile& file) {
    writeFixedRecord(file, kTableTitle, std::span<const FieldValue>());
    writeFixedRecord(file, kTitleLine, std::span<const FieldValue>());
}

void BrevolanParameterFile::appendLine(OutputFile& file, const SpectralGrid& grid, RecordStamp stamp,
                                       const HalfPlaneParameters& parameters, float windSpeed, float shoreAngle,
                                       float boundaryDepth) {
    const float peakFrequency = grid.frequencies[parameters.peakBand];
    const FieldValue values[] = {std::int32_t{0},
                                 std::int32_t{-1},
                                 kNotGiven,
                                 stamp,
                                 relativeMeanDirection(parameters.meanDirection, shoreAngle),
                                 parameters.significantHeight,
                                 parameters.peakPeriod,
                                 peakFactor(peakFrequency),
                                 kNotGiven,
                                 kNotGiven,
                                 kNotGiven,
                                 kNotGiven,
                                 windSpeed,
                                 kNotGiven,
                                 kFirstSystemBins,
                                 kSecondSystemBins,
                                 kNotGiven,
                                 kNotGiven,
                                 boundaryDepth};
    writeFixedRecord(file, kRecordLine, values);
}

}  // namespace ww3b
