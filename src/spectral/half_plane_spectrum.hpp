#pragma once
// The Brevolan half plane: 35 five-degree bins around the shore normal, scaled by a
// direction factor from the ratio of the save-location and boundary depths.

#include <array>
#include <optional>

#include "spectral/one_degree_spectrum.hpp"
#include "spectral/wave_parameters.hpp"
#include "model/spectral_grid.hpp"

namespace ww3b {

inline constexpr int kHalfPlaneReach = 17;  // bins k = -17 .. 17
inline constexpr int kHalfPlaneBins = 2 * kHalfPlaneReach + 1;
// Five degrees in radians, the width of a half-plane bin.
inline constexpr float kHalfPlaneBinRadians = 0.08726646f;
inline constexpr float kMaxDepthExponent = 30.0f;

struct HalfPlaneSpectrum {
    // bins[i][k + 17] holds frequency i (from 0) in bin k, 5k degrees from the shore normal.
    std::array<std::array<float, kHalfPlaneBins>, kMaxFrequencies> bins{};
    float& at(int frequency, int bin) { return bins[frequency][bin + kHalfPlaneReach]; }
    float at(int frequency, int bin) const { return bins[frequency][bin + kHalfPlaneReach]; }
};

// Bin k takes the mean of the five slots from floor(o + 5k - 2), o = shoreAngle.
void foldToHalfPlane(const FullPlaneSpectrum& source, int frequencyCount, float shoreAngle,
                     HalfPlaneSpectrum& target);

// The slots that foldToHalfPlane reads are kFoldedSlots consecutive slots from the first
// slot of bin -17 on (across the seam 360 -> 1 where it lies). Returns that first slot, or
// nothing when the bins do not follow each other: an angle that is not finite, or one so
// large (beyond about 2^50 degrees) that o + 5k - 2 is no longer exact.
inline constexpr int kFoldedSlots = 5 * kHalfPlaneBins;
std::optional<int> firstFoldedSlot(float shoreAngle);

// L = ln(saveDepth / boundaryDepth), capped at 30 from above. Not finite when the
// quotient is zero, negative or not a number; the caller decides what then.
float depthExponentFor(float saveDepth, float boundaryDepth);

// Multiplies bin k by cos(5k degrees) raised to the power L.
void applyDepthFactor(HalfPlaneSpectrum& spectrum, int frequencyCount, float depthExponent);
// The same with the factors of the bins worked out once for the run's L.
using DepthFactors = std::array<double, kHalfPlaneBins>;
DepthFactors depthFactors(float depthExponent);
void applyDepthFactor(HalfPlaneSpectrum& spectrum, int frequencyCount, const DepthFactors& factors);

HalfPlaneParameters computeHalfPlaneParameters(const HalfPlaneSpectrum& spectrum, const SpectralGrid& grid,
                                               float shoreAngle);
// The same with the cosine and sine of each bin's direction, 5k degrees plus o, worked
// out once for the run's shore angle.
struct BinDirections {
    std::array<double, kHalfPlaneBins> cosines;
    std::array<double, kHalfPlaneBins> sines;
};
BinDirections binDirections(float shoreAngle);
HalfPlaneParameters computeHalfPlaneParameters(const HalfPlaneSpectrum& spectrum, const SpectralGrid& grid,
                                               const BinDirections& directions);

}  // namespace ww3b
