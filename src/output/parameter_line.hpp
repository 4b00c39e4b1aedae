#pragma once
// The 53-column parameter line shared by the full-plane and half-plane parameter files:
// date, decimal hour, Hs, Tp, Tm, mean direction and the wind values of the point line.

#include "model/record_time.hpp"
#include "spectral/wave_parameters.hpp"
#include "textio/output_file.hpp"

namespace ww3b {

void appendParameterLine(OutputFile& file, const RecordTime& time, const WaveParameters& parameters,
                         float windSpeed, float windDirection);

}  // namespace ww3b
