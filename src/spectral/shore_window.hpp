#pragma once
// The mode-2 chain from the input spectrum to the folded half plane, computed only where
// the fold looks. The fold reads 175 consecutive one-degree slots; each smoothing pass
// reads two slots on either side of the one it writes, so the second pass is needed on
// those 175 slots, the first on two more on each side, and the regridding on four more.
// The arrays hold one slot's frequencies side by side, so every step runs over the
// frequencies of a slot at once; each value gets the same operations, in the same
// order, as in regridAndSmoothTwice followed by foldToHalfPlane, so the half plane is
// the same bit for bit.

#include <array>

#include "spectral/half_plane_spectrum.hpp"
#include "spectral/one_degree_spectrum.hpp"
#include "model/spectral_grid.hpp"

namespace ww3b {

// Slots that one smoothing pass reads on either side of the slot it writes.
inline constexpr int kSmoothingReach = 2;

// The rows of the work arrays: the frequencies rounded up to whole steps of 8 (two AVX2
// vectors), so that every loop over a row runs in whole steps; the values past the grid's
// frequencies are zeros, computed and never read.
inline constexpr int kWindowRowStep = 8;
inline constexpr int kWindowRowLength = (kMaxFrequencies + kWindowRowStep - 1) / kWindowRowStep * kWindowRowStep;

// Work arrays for one record, reused by every record of the run.
struct ShoreWindowWork {
    using Frequencies = std::array<double, kWindowRowLength>;
    // The directions of the input spectrum that the window reads, widened to double (exactly).
    std::array<Frequencies, kMaxDirections> byDirection;
    // After the first pass, on the folded slots and two more on each side (float values,
    // held in double).
    std::array<Frequencies, kFoldedSlots + 2 * kSmoothingReach> once;
    // The half plane bin by bin, as the fold adds the second pass into it.
    std::array<std::array<float, kWindowRowLength>, kHalfPlaneBins> folded;
    // The whole-circle chain, for shore angles whose bins do not follow each other.
    FullPlaneSpectrum oneDegree;
    FullPlaneSpectrum scratch;
};

// Exactly static_cast<double>(v) / 5.0 for every float v, by two multiplications and an
// addition instead of a division. A and B are 0.2 cut to 29 significant bits and the
// next 29 bits of 0.2, so that v * A and v * B (24 + 29 bits) are exact and only the sum
// rounds; the sum is off 0.2 v by less than 2^-59 of it, which a test over every float
// significand (times any power of two, the same) shows is always rounded to the double
// nearest to v / 5. Both are positive, so -0 stays -0.
inline double fifthOfFloat(float v) {
    constexpr double kA = 0x1.9999999p-3;
    constexpr double kB = 0x1.3333333p-32;
    const double widened = static_cast<double>(v);
    return widened * kA + widened * kB;
}

// What regridAndSmoothTwice and then foldToHalfPlane give.
void regridSmoothAndFold(const SpectralGrid& grid, const InputRecord& record, float shoreAngle,
                         ShoreWindowWork& work, HalfPlaneSpectrum& target);

}  // namespace ww3b
