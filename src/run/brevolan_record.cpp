#include "run/brevolan_record.hpp"

#include <charconv>
#include <cmath>
#include <string>

#include "output/brevolan_parameter_file.hpp"
#include "output/brevolan_spectrum_file.hpp"
#include "output/parameter_files.hpp"
#include "textio/io_diagnostic.hpp"

namespace ww3b {

namespace {

std::string shown(float value) {
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

}  // namespace

void askBoundaryDepth(Console& console, float saveDepth, BrevolanState& state) {
    writeFreeFormLine(console.output, " ");
    writeFreeFormLine(console.output, "WW3 save location depth (m) =", saveDepth);
    writeFreeFormLine(console.output, " ");
    writeFreeFormLine(console.output, "Type the seaward grid boundary depth (m)");
    state.boundaryDepth = readRealAnswer(console);
    state.depthExponent = depthExponentFor(saveDepth, state.boundaryDepth);
    // A zero, negative or undefined depth ratio would spread a non-number into every
    // half-plane value of the run.
    if (!std::isfinite(state.depthExponent)) {
        endRunWithDiagnostic("the depths give no direction factor: save location depth " + shown(saveDepth) +
                                 " m, boundary depth " + shown(state.boundaryDepth) +
                                 " m (their ratio must be positive)",
                             console.input.unit(), console.input.name(), console.input.lastLineNumber());
    }
}

void processBrevolanRecord(Console& console, const SpectralGrid& grid, const InputRecord& record,
                           const RecordTime& time, const RunOptions& options, RunFiles& files, bool firstRecord,
                           BrevolanState& state) {
    if (firstRecord) {
        // The record's full-plane line is in its file before the question is asked.
        files.flushOutputs();
        askBoundaryDepth(console, record.depth, state);
        state.depthFactors = depthFactors(state.depthExponent);
        state.binDirections = binDirections(options.shoreAngle);
    }

    const int nf = grid.frequencyCount;
    regridSmoothAndFold(grid, record, options.shoreAngle, state.work, state.halfPlane);
    applyDepthFactor(state.halfPlane, nf, state.depthFactors);
    const HalfPlaneParameters parameters = computeHalfPlaneParameters(state.halfPlane, grid, state.binDirections);

    HalfPlaneParameterFile::appendLine(*files.halfPlane, time, parameters, record);
    if (firstRecord) {
        BrevolanParameterFile::writeHeader(*files.brevolanParameter);
        BrevolanSpectrumFile::writeHeader(*files.spectrum, grid);
    }
    BrevolanSpectrumFile::writeBlock(*files.spectrum, grid, time.stamp, record.windSpeed, record.windDirection,
                                     state.halfPlane, parameters.peakBand);
    BrevolanParameterFile::appendLine(*files.brevolanParameter, grid, time.stamp, parameters, record.windSpeed,
                                      options.shoreAngle, state.boundaryDepth);
}

}  // namespace ww3b
