#include "run/brevolan_record.hpp"

#include <cmath>
#include <string>

#include "spectral/row_sums.hpp"
#include "textio/field_render.hpp"
#include "run/answer_checks.hpp"
#include "textio/io_diagnostic.hpp"

namespace ww3b {

namespace {

// A zero, negative or undefined depth ratio would spread a non-number into every
// half-plane value of the run.
void requireUsableSaveDepth(float saveDepth, BrevolanState& state) {
    if (!(saveDepth > 0.0f) || !std::isfinite(saveDepth)) {
        endRunWithDiagnostic("the depth of the WW3 point, " + shortestText(saveDepth) +
                                 " m, gives no direction factor: the half plane needs a depth above 0",
                             kSpectralFileUnit, state.spectralFile, state.pointLine);
    }
    state.saveDepth = saveDepth;
}

}  // namespace

void takeGivenBoundaryDepth(float saveDepth, float boundaryDepth, BrevolanState& state) {
    requireUsableSaveDepth(saveDepth, state);
    state.boundaryDepth = boundaryDepth;
    state.depthExponent = depthExponentFor(saveDepth, boundaryDepth);
    if (!std::isfinite(state.depthExponent)) {
        endRunWithDiagnostic("--boundary-depth " + shortestText(boundaryDepth) +
                                 " m gives no direction factor with the WW3 point's depth of " + shortestText(saveDepth) +
                                 " m",
                             kSpectralFileUnit, state.spectralFile, state.pointLine);
    }
    const std::string warning = boundaryDepthWarning(boundaryDepth, saveDepth);
    if (!warning.empty()) warn(warning + " (option --boundary-depth)");
}

void askBoundaryDepth(Console& console, float saveDepth, BrevolanState& state) {
    requireUsableSaveDepth(saveDepth, state);
    writeFreeFormLine(console.output, " ");
    writeFreeFormLine(console.output, "WW3 save location depth (m) =", saveDepth);
    writeFreeFormLine(console.output, " ");
    state.boundaryDepth = ask(console, kBoundaryDepthQuestion, [&] {
        const float depth = answerReal(console, kBoundaryDepthQuestion.name);
        state.depthExponent = depthExponentFor(saveDepth, depth);
        if (!std::isfinite(state.depthExponent)) {
            refuseConsoleAnswer(console, kBoundaryDepthQuestion.name,
                                shortestText(depth) + " m gives no direction factor with the WW3 point's depth of " +
                                    shortestText(saveDepth) + " m (a depth is above 0)");
        }
        return depth;
    });
    warnAboutBoundaryDepth(console, state.boundaryDepth, saveDepth);
}

namespace {

// The energy of the input spectrum and of the folded half plane before its direction
// factor, both as sums of density times band width times degrees of direction.
void addEnergies(const SpectralGrid& grid, const InputRecord& record, BrevolanState& state) {
    const double degreesPerDirection = 360.0 / grid.directionCount;
    const int nf = grid.frequencyCount;
    const auto full = rowSums(record.spectrum, nf, grid.directionCount);
    const auto folded = rowSums(state.halfPlane.bins, nf, kHalfPlaneBins);
    for (int i = 0; i < nf; ++i) {
        const double bandwidth = static_cast<double>(grid.bandwidths[i]);
        state.fullPlaneEnergy += full[i] * degreesPerDirection * bandwidth;
        state.foldedEnergy += folded[i] * 5.0 * bandwidth;
    }
}

}  // namespace

HalfPlaneRecord processBrevolanRecord(Console& console, const SpectralGrid& grid, const InputRecord& record,
                                      const RunOptions& options, RunFiles& files, BrevolanState& state) {
    if (!state.depthAsked) {
        // The record's full-plane line is in its file before the question is asked.
        files.flushOutputs();
        if (options.boundaryDepth) {
            takeGivenBoundaryDepth(record.depth, *options.boundaryDepth, state);
        } else {
            askBoundaryDepth(console, record.depth, state);
        }
        state.depthFactors = depthFactors(state.depthExponent);
        state.binDirections = binDirections(options.shoreAngle);
        state.depthAsked = true;
    }

    const int nf = grid.frequencyCount;
    regridSmoothAndFold(grid, record, options.shoreAngle, state.work, state.halfPlane);
    addEnergies(grid, record, state);
    applyDepthFactor(state.halfPlane, nf, state.depthFactors);
    state.parameters = computeHalfPlaneParameters(state.halfPlane, grid, state.binDirections);
    return {state.halfPlane, state.parameters, options.shoreAngle, state.boundaryDepth};
}

}  // namespace ww3b
