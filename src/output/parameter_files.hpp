#pragma once
// The two files that carry the 53-column parameter line, one line per written record
// and no header: the full-plane parameter file (every mode) and the half-plane parameter
// file (mode 2, filled with the half-plane parameters after the direction factor).

#include "output/parameter_line.hpp"
#include "model/spectral_grid.hpp"

namespace ww3b {

struct FullPlaneParameterFile {
    static void appendLine(OutputFile& file, const RecordTime& time, const FullPlaneParameters& parameters,
                           const InputRecord& record) {
        appendParameterLine(file, time, parameters, record.windSpeed, record.windDirection);
    }
};

struct HalfPlaneParameterFile {
    static void appendLine(OutputFile& file, const RecordTime& time, const HalfPlaneParameters& parameters,
                           const InputRecord& record) {
        appendParameterLine(file, time, parameters, record.windSpeed, record.windDirection);
    }
};

}  // namespace ww3b
