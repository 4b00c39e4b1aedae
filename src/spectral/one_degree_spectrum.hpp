#pragma once
// The input spectrum spread onto 360 one-degree directions and smoothed along them.

#include <array>

#include "model/spectral_grid.hpp"

namespace ww3b {

inline constexpr int kOneDegreeSlots = 360;

// Densities on the input frequencies x 360 one-degree slots. Slot m (1 to 360) stands
// at m degrees in the sense of the input directions; slot 360 is 0 degrees.
struct FullPlaneSpectrum {
    // slots[i][m - 1] holds frequency i (from 0) at slot m.
    std::array<std::array<float, kOneDegreeSlots>, kMaxFrequencies> slots{};
    float& at(int frequency, int slot) { return slots[frequency][slot - 1]; }
    float at(int frequency, int slot) const { return slots[frequency][slot - 1]; }
};

// Slot j takes input direction k = (j + 8) / w + 1 (from 1), less nd when above nd;
// a plain copy, with w = degreesPerDirection. A grid whose directions are placed as
// listed turns this by its slotShift (see directionOfSlot).
void regridToOneDegree(const SpectralGrid& grid, const InputRecord& record, FullPlaneSpectrum& target);

// The input direction, counted from 0, whose density regridding copies into slot j.
int directionOfSlot(const SpectralGrid& grid, int slot);

// One circular five-slot running mean; `target` must not be `source`.
void smoothOneDegree(const FullPlaneSpectrum& source, FullPlaneSpectrum& target, int frequencyCount);

// The whole chain: regrid into `target`, smooth into `scratch`, smooth back into `target`.
void regridAndSmoothTwice(const SpectralGrid& grid, const InputRecord& record, FullPlaneSpectrum& target,
                          FullPlaneSpectrum& scratch);

}  // namespace ww3b
