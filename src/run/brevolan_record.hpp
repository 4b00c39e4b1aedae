#pragma once
// The mode-2 work on one selected record before its files are written: the depth
// question at the first one, the one-degree regridding and smoothing, the half plane
// with its direction factor, and its parameters.

#include <memory>
#include <string>

#include "output/record_writer.hpp"
#include "run/run_options.hpp"
#include "spectral/half_plane_spectrum.hpp"
#include "spectral/shore_window.hpp"
#include "textio/free_form.hpp"
#include "model/spectral_grid.hpp"

namespace ww3b {

// Run-long values of mode 2 and the work arrays reused by every record.
struct BrevolanState {
    float boundaryDepth = 0;   // metres, typed at the first selected record
    float saveDepth = 0;       // metres: the WW3 point's depth at the first selected record
    float depthExponent = 0;   // L = ln(save depth / boundary depth), at most 30
    DepthFactors depthFactors{};    // of each bin, for L
    BinDirections binDirections{};  // of each bin, for the shore angle
    ShoreWindowWork work;  // one-degree regridding, smoothing and the fold
    HalfPlaneSpectrum halfPlane;
    HalfPlaneParameters parameters;
    bool depthAsked = false;
    // The WW3 file and line of the first selected record's point line, which gives the
    // save depth (set by the record loop).
    std::string spectralFile;
    long pointLine = 0;
    // Over the run: the energy of the folded half plane before the direction factor,
    // and that of the full plane, both in m^2 per degree of direction.
    double foldedEnergy = 0;
    double fullPlaneEnergy = 0;
};

// Shows the save depth, asks for the boundary depth and sets the exponent of the
// direction factor. A save depth that gives no direction factor ends the run, naming the
// point line; a boundary depth that gives none is refused as an answer.
void askBoundaryDepth(Console& console, float saveDepth, BrevolanState& state);

// The same with the boundary depth given beforehand: nothing is asked or shown, and a
// depth that gives no direction factor ends the run.
void takeGivenBoundaryDepth(float saveDepth, float boundaryDepth, BrevolanState& state);

// The half plane of the record in `state`, for the mode-2 writers. At the first call the
// lines written so far go out before the depth question is asked.
HalfPlaneRecord processBrevolanRecord(Console& console, const SpectralGrid& grid, const InputRecord& record,
                                      const RunOptions& options, RunFiles& files, BrevolanState& state);

}  // namespace ww3b
