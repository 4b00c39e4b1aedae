#include "output/parameter_line.hpp"

#include "textio/fixed_record.hpp"
#include "textio/record_layout.hpp"

namespace ww3b {

namespace {

// The layout carries four more fields that the line never fills: it ends after its
// eleventh value, at column 53.
const RecordLayout kParameterLine({blankSkip(1), integerField(3), blankSkip(1), integerField(2), blankSkip(1),
                                   integerField(2), blankSkip(1), integerField(2), blankSkip(1),
                                   fixedField(4, 1), fixedField(5, 2), fixedField(6, 1), fixedField(6, 1),
                                   fixedField(6, 0), fixedField(6, 1), fixedField(6, 0), fixedField(6, 1, 4)});

}  // namespace

void appendParameterLine(OutputFile& file, const RecordTime& time, const WaveParameters& parameters,
                         float windSpeed, float windDirection) {
    const FieldValue values[] = {std::int32_t{0},
                                 time.year2,
                                 time.month,
                                 time.day,
                                 time.decimalHour,
                                 parameters.significantHeight,
                                 parameters.peakPeriod,
                                 parameters.meanPeriod,
                                 parameters.meanDirection,
                                 windSpeed,
                                 windDirection};
    writeFixedRecord(file, kParameterLine, values);
}

}  // namespace ww3b
