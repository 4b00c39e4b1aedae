#include "spectral/one_degree_spectrum.hpp"

namespace ww3b {

namespace {

// A slot number within two of the circle 1..360, brought onto it.
int onCircle(int slot) {
    if (slot < 1) return slot + kOneDegreeSlots;
    if (slot > kOneDegreeSlots) return slot - kOneDegreeSlots;
    return slot;
}

}  // namespace

int directionOfSlot(const SpectralGrid& grid, int slot) {
    // Directions placed as listed turn the circle: slot m takes what slot m - slotShift
    // takes otherwise (|slotShift| <= 180).
    if (grid.slotShift != 0) slot = (slot - 1 - grid.slotShift + 2 * kOneDegreeSlots) % kOneDegreeSlots + 1;
    // Direction k (from 1). With 1 <= nd <= 50, k - 1 <= 368 / w < 2 nd, so one
    // correction brings it into 1..nd.
    int k = (slot + 8) / grid.degreesPerDirection + 1;
    if (k > grid.directionCount) k -= grid.directionCount;
    return k - 1;
}

void regridToOneDegree(const SpectralGrid& grid, const InputRecord& record, FullPlaneSpectrum& target) {
    for (int j = 1; j <= kOneDegreeSlots; ++j) {
        const int k = directionOfSlot(grid, j);
        for (int i = 0; i < grid.frequencyCount; ++i) {
            target.at(i, j) = record.spectrum[i][k];
        }
    }
}

void smoothOneDegree(const FullPlaneSpectrum& source, FullPlaneSpectrum& target, int frequencyCount) {
    for (int i = 0; i < frequencyCount; ++i) {
        for (int j = 1; j <= kOneDegreeSlots; ++j) {
            // Added left to right: the double sum of five floats is not always exact.
            double sum = static_cast<double>(source.at(i, onCircle(j - 2)));
            sum += static_cast<double>(source.at(i, onCircle(j - 1)));
            sum += static_cast<double>(source.at(i, j));
            sum += static_cast<double>(source.at(i, onCircle(j + 1)));
            sum += static_cast<double>(source.at(i, onCircle(j + 2)));
            target.at(i, j) = static_cast<float>(sum / 5.0);
        }
    }
}

void regridAndSmoothTwice(const SpectralGrid& grid, const InputRecord& record, FullPlaneSpectrum& target,
                          FullPlaneSpectrum& scratch) {
    regridToOneDegree(grid, record, target);
    smoothOneDegree(target, scratch, grid.frequencyCount);
    smoothOneDegree(scratch, target, grid.frequencyCount);
}

}  // namespace ww3b
