#pragma once
// Integral parameters of a spectrum: the same set for the full plane (the spectrum as
// read) and for the half plane (the Brevolan spectrum after the direction factor).

#include <array>
#include <cmath>
#include <cstddef>

#include "model/direction_convention.hpp"
#include "model/spectral_grid.hpp"
#include "spectral/row_sums.hpp"

namespace ww3b {

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

// The direction sum of each band, in double, before the bandwidth multiplies it.
using BandDirectionSums = std::array<double, kMaxFrequencies>;

// Everything but meanDirection, from the direction sums of the grid's frequencyCount bands:
// band energies, total energy (the unrounded band products added), first moment, peak band
// (first strict maximum), significant height for a direction bin of binRadians, and the
// peak and mean periods. An empty spectrum is not guarded: its mean period is 0/0.
WaveParameters reduceBandSums(const SpectralGrid& grid, const BandDirectionSums& directionSums,
                              float binRadians);

// The direction sums of each band, and the densities weighted by the cosines and by the
// sines of their directions, added column by column, frequency by frequency.
struct SpectrumSums {
    BandDirectionSums bands{};
    double cosineSum = 0.0;
    double sineSum = 0.0;
};

template <std::size_t Width>
SpectrumSums spectrumSums(int frequencyCount, const std::array<std::array<float, Width>, kMaxFrequencies>& rows,
                          int columns, const double* cosines, const double* sines) {
    // The weighted sums walk column by column, both side by side in one vector of two
    // doubles: each lane does the scalar operations, in the same order, so the sums are
    // the same bit for bit.
    using CosineSine = double __attribute__((vector_size(16)));
    SpectrumSums sums;
    sums.bands = rowSums(rows, frequencyCount, columns);
    CosineSine weighted = {0.0, 0.0};
    for (int column = 0; column < columns; ++column) {
        const CosineSine direction = {cosines[column], sines[column]};
        // Two frequencies a turn, still one after the other: half the loop's own steps.
        int i = 0;
        for (; i + 2 <= frequencyCount; i += 2) {
            weighted += static_cast<double>(rows[i][column]) * direction;
            weighted += static_cast<double>(rows[i + 1][column]) * direction;
        }
        if (i < frequencyCount) weighted += static_cast<double>(rows[i][column]) * direction;
    }
    sums.cosineSum = weighted[0];
    sums.sineSum = weighted[1];
    return sums;
}

// All the parameters of a spectrum held frequency by frequency (rows[i][column]), over
// `columns` directions whose angles have the given cosines and sines. The mean direction
// is unweighted: neither bandwidth nor bin width multiplies its sums.
template <std::size_t Width>
WaveParameters spectrumParameters(const SpectralGrid& grid,
                                  const std::array<std::array<float, Width>, kMaxFrequencies>& rows, int columns,
                                  const double* cosines, const double* sines, float binRadians) {
    const SpectrumSums sums = spectrumSums(grid.frequencyCount, rows, columns, cosines, sines);
    WaveParameters parameters = reduceBandSums(grid, sums.bands, binRadians);
    // An empty spectrum gives atan2(0, 0) = 0, that is 270 degrees.
    parameters.meanDirection = toCompassDegrees(std::atan2(sums.sineSum, sums.cosineSum));
    return parameters;
}

}  // namespace ww3b
