#include "run/brevolan_record.hpp"

#include <charconv>
#include <cmath>
#include <string>

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

HalfPlaneRecord processBrevolanRecord(Console& console, const SpectralGrid& grid, const InputRecord& record,
                                      const RunOptions& options, RunFiles& files, BrevolanState& state) {
    if (!state.depthAsked) {
        // The record's full-plane line is in its file before the question is asked.
        files.flushOutputs();
        askBoundaryDepth(console, record.depth, state);
        state.depthFactors = depthFactors(state.depthExponent);
        state.binDirections = binDirections(options.shoreAngle);
        state.depthAsked = true;
    }

    const int nf = grid.frequencyCount;
    regridSmoothAndFold(grid, record, options.shoreAngle, state.work, state.halfPlane);
    applyDepthFactor(state.halfPlane, nf, state.depthFactors);
    state.parameters = computeHalfPlaneParameters(state.halfPlane, grid, state.binDirections);
    return {state.halfPlane, state.parameters, options.shoreAngle, state.boundaryDepth};
}

}  // namespace ww3b
