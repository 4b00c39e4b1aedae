#include "spectral/half_plane_spectrum.hpp"

#include <cmath>
#include <limits>

namespace ww3b {

namespace {

// The slot on 1..360 that stands for the whole-numbered slot `slot`, however far off the
// circle. fmod is exact, so this holds for any finite value.
int wrappedSlot(double slot) {
    double offset = std::fmod(slot - 1.0, static_cast<double>(kOneDegreeSlots));
    if (offset < 0.0) offset += kOneDegreeSlots;
    return static_cast<int>(offset) + 1;
}

// The first of the five slots of bin k: the nearest whole slot to o + 5k - 2.5, a half
// going up, brought onto the circle.
int firstSlotOfBin(float shoreAngle, int k) {
    return wrappedSlot(std::floor(static_cast<double>(shoreAngle) + 5.0 * k - 2.0));
}

}  // namespace

std::optional<int> firstFoldedSlot(float shoreAngle) {
    if (!std::isfinite(shoreAngle)) return std::nullopt;
    const int first = firstSlotOfBin(shoreAngle, -kHalfPlaneReach);
    int expected = first;
    for (int k = -kHalfPlaneReach; k <= kHalfPlaneReach; ++k) {
        if (firstSlotOfBin(shoreAngle, k) != expected) return std::nullopt;
        expected = (expected + 4) % kOneDegreeSlots + 1;
    }
    return first;
}

void foldToHalfPlane(const FullPlaneSpectrum& source, int frequencyCount, float shoreAngle, HalfPlaneSpectrum& target) {
    if (!std::isfinite(shoreAngle)) {
        // No slot stands for such a direction; the bins carry the non-number onwards.
        for (int i = 0; i < frequencyCount; ++i) target.bins[i].fill(std::numeric_limits<float>::quiet_NaN());
        return;
    }
    for (int k = -kHalfPlaneReach; k <= kHalfPlaneReach; ++k) {
        const int first = firstSlotOfBin(shoreAngle, k);
        for (int i = 0; i < frequencyCount; ++i) {
            float mean = 0.0f;
            // Five slots in order from the first, across the seam 360 -> 1 where it lies.
            for (int t = 0; t < 5; ++t) {
                int slot = first + t;
                if (slot > kOneDegreeSlots) slot -= kOneDegreeSlots;
                mean = static_cast<float>(static_cast<double>(source.at(i, slot)) / 5.0 + static_cast<double>(mean));
            }
            target.at(i, k) = mean;
        }
    }
}

float depthExponentFor(float saveDepth, float boundaryDepth) {
    const float exponent =
        static_cast<float>(std::log(static_cast<double>(saveDepth) / static_cast<double>(boundaryDepth)));
    return exponent > kMaxDepthExponent ? kMaxDepthExponent : exponent;
}

DepthFactors depthFactors(float depthExponent) {
    DepthFactors factors{};
    for (int k = -kHalfPlaneReach; k <= kHalfPlaneReach; ++k) {
        const double theta = k * static_cast<double>(kHalfPlaneBinRadians);
        factors[k + kHalfPlaneReach] = std::pow(std::cos(theta), static_cast<double>(depthExponent));
    }
    return factors;
}

void applyDepthFactor(HalfPlaneSpectrum& spectrum, int frequencyCount, const DepthFactors& factors) {
    for (int i = 0; i < frequencyCount; ++i) {
        for (int b = 0; b < kHalfPlaneBins; ++b) {
            spectrum.bins[i][b] = static_cast<float>(static_cast<double>(spectrum.bins[i][b]) * factors[b]);
        }
    }
}

void applyDepthFactor(HalfPlaneSpectrum& spectrum, int frequencyCount, float depthExponent) {
    applyDepthFactor(spectrum, frequencyCount, depthFactors(depthExponent));
}

BinDirections binDirections(float shoreAngle) {
    BinDirections directions{};
    const double shoreRadians = static_cast<double>(shoreAngle) * static_cast<double>(kRadiansPerDegree);
    for (int k = -kHalfPlaneReach; k <= kHalfPlaneReach; ++k) {
        const double phi = k * static_cast<double>(kHalfPlaneBinRadians) + shoreRadians;
        directions.cosines[k + kHalfPlaneReach] = std::cos(phi);
        directions.sines[k + kHalfPlaneReach] = std::sin(phi);
    }
    return directions;
}

HalfPlaneParameters computeHalfPlaneParameters(const HalfPlaneSpectrum& spectrum, const SpectralGrid& grid,
                                               const BinDirections& directions) {
    // The bins are five degrees wide whatever the direction count of the input.
    return spectrumParameters(grid, spectrum.bins, kHalfPlaneBins, directions.cosines.data(),
                              directions.sines.data(), kHalfPlaneBinRadians);
}

HalfPlaneParameters computeHalfPlaneParameters(const HalfPlaneSpectrum& spectrum, const SpectralGrid& grid,
                                               float shoreAngle) {
    return computeHalfPlaneParameters(spectrum, grid, binDirections(shoreAngle));
}

}  // namespace ww3b
