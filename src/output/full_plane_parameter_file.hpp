#pragma once
// The full-plane parameter file, written in every mode: one line per written record,
// no header.

#include "output/parameter_line.hpp"
#include "ww3/spectral_grid.hpp"

namespace ww3b {

struct FullPlaneParameterFile {
    static void appendLine(OutputFile& file, const RecordTime& time, const FullPlaneParameters& parameters,
                           const InputRecord& record) {
        appendParameterLine(file, time, parameters, record.windSpeed, record.windDirection);
    }
};

}  // namespace ww3b
