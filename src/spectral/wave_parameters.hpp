#pragma once
// Integral parameters of a spectrum: the same set for the full plane (the spectrum as
// read) and for the half plane (the Brevolan spectrum after the direction factor).

#include <array>

#include "ww3/spectral_grid.hpp"

namespace ww3b {

// Degrees to radians, as the single-precision constant used in every angle.
inline constexpr float kRadiansPerDegree = 0.017453292f;

struct WaveParameters {
    std::array<float, kMaxFrequencies> bandEnergy{};  // m^2/rad: bandwidth times the direction sum
    float totalEnergy = 0;                            // m^2/rad
    float firstMoment = 0;                            // m^2/rad/s
    int peakBand = 0;            // index from 0 of the first strict maximum of bandEnergy
    float significantHeight = 0; // m
    float peakPeriod = 0;        // s
    float meanPeriod = 0;        // s
    float meanDirection = 0;     // compass degrees, above 0 up to and including 360
};

using FullPlaneParameters = WaveParameters;
using HalfPlaneParameters = WaveParameters;

// The written compass direction of a mathematical angle: 270 minus the angle in degrees,
// less 360 when above 360 (so that 360 stays 360).
float toCompassDegrees(double radians);

// The direction sum of each band, in double, before the bandwidth multiplies it.
using BandDirectionSums = std::array<double, kMaxFrequencies>;

// Everything but meanDirection, from the direction sums of the grid's frequencyCount bands:
// band energies, total energy (the unrounded band products added), first moment, peak band
// (first strict maximum), significant height for a direction bin of binRadians, and the
// peak and mean periods. An empty spectrum is not guarded: its mean period is 0/0.
WaveParameters reduceBandSums(const SpectralGrid& grid, const BandDirectionSums& directionSums,
                              float binRadians);

}  // namespace ww3b
