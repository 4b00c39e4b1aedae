#pragma once
// The spectral grid of a WW3 point-spectra file and one time step as read from it.

#include <array>
#include <cstdint>
#include <string>

#include "model/direction_convention.hpp"

namespace ww3b {

inline constexpr int kMaxFrequencies = 50;
inline constexpr int kMaxDirections = 50;
// The header counts that the program accepts; the arrays are sized for the largest.
inline constexpr int kMinFrequencies = 3;
inline constexpr int kMinDirections = 1;

struct SpectralGrid {
    std::int32_t frequencyCount = 0;
    std::int32_t directionCount = 0;
    std::int32_t pointCount = 0;  // read, not used
    std::array<float, kMaxFrequencies> frequencies{};  // hertz, in file order
    std::array<float, kMaxFrequencies> bandwidths{};   // hertz
    // As listed in the file: bearings of travel in radians. Used only to judge the grid.
    std::array<float, kMaxDirections> directions{};
    // Width of a direction bin in radians: direction j (from 0) stands at j * directionStep,
    // counter-clockwise from the first direction of the file (unless placed as listed).
    float directionStep = 0;
    std::int32_t degreesPerDirection = 0;  // 360 / directionCount, truncated
    // Cosine and sine of each direction's angle j * directionStep (in double, the step
    // widened exactly), worked out once for the mean direction of every record.
    std::array<double, kMaxDirections> directionCosines{};
    std::array<double, kMaxDirections> directionSines{};
    // One-degree slots by which the regridding turns the directions: slot m takes what
    // slot m - slotShift takes otherwise. 0 unless the directions are placed as listed.
    std::int32_t slotShift = 0;
};

// Band widths (half the distance between the neighbouring frequencies, the first and the
// last band copying their inner neighbour), directionStep, degreesPerDirection and the
// cosines and sines of the directions.
// Needs counts within the limits below (gridCountProblem empty).
void completeSpectralGrid(SpectralGrid& grid);

// Places direction j (from 0) at firstAngle + j * directionStep radians: the cosines and
// sines of the mean direction, and slotShift = firstAngle in whole degrees (the nearest
// integer) for the regridding. For a file whose list is that grid turned by firstAngle.
void placeDirectionsFrom(SpectralGrid& grid, double firstAngle);

// The one check of the header counts, for every reader: empty when the counts lie within
// kMinFrequencies to kMaxFrequencies and kMinDirections to kMaxDirections, otherwise the
// problem in words for the reader's diagnostic (the frequencies are named first).
std::string gridCountProblem(std::int32_t frequencyCount, std::int32_t directionCount);

struct InputRecord {
    std::int32_t date = 0;  // yyyymmdd
    std::int32_t time = 0;  // hhmmss
    float depth = 0;        // metres
    float windSpeed = 0;
    float windDirection = 0;
    // Energy density in m^2/Hz/rad: spectrum[i][j] is frequency i and direction j, both
    // counted from 0; only i < frequencyCount and j < directionCount are filled.
    std::array<std::array<float, kMaxDirections>, kMaxFrequencies> spectrum{};
};

}  // namespace ww3b
