#pragma once
// The half-plane parameter file of mode 2: the full-plane line layout filled with the
// half-plane parameters (after the direction factor), no header.

#include "output/parameter_line.hpp"
#include "ww3/spectral_grid.hpp"

namespace ww3b {

struct HalfPlaneParameterFile {
    static void appendLine(OutputFile& file, const RecordTime& time, const HalfPlaneParameters& parameters,
                           const InputRecord& record) {
        appendParameterLine(file, time, parameters, record.windSpeed, record.windDirection);
    }
};

}  // namespace ww3b
