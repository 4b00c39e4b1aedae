#pragma once
// The Brevolan parameter file of mode 2: "SPECTRAL TABLE", a title line, then one line
// of 19 twelve-column fields per written record.

#include "model/record_time.hpp"
#include "spectral/wave_parameters.hpp"
#include "textio/output_file.hpp"
#include "model/spectral_grid.hpp"

namespace ww3b {

struct BrevolanParameterFile {
    static void writeHeader(OutputFile& file);
    static void appendLine(OutputFile& file, const SpectralGrid& grid, RecordStamp stamp,
                           const HalfPlaneParameters& parameters, float windSpeed, float shoreAngle,
                           float boundaryDepth);
};

// The mean direction relative to the shore normal, in degrees from 0 up to 360:
// 270 - meanDirection - shoreAngle brought into one turn.
float relativeMeanDirection(float meanDirection, float shoreAngle);

// The peak factor 3 + tanh(0.1 / fp) of the Brevolan spectral table.
float peakFactor(float peakFrequency);

}  // namespace ww3b
