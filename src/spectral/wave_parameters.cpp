#include "spectral/wave_parameters.hpp"

#include <cmath>

namespace ww3b {

WaveParameters reduceBandSums(const SpectralGrid& grid, const BandDirectionSums& directionSums, float binRadians) {
    const int nf = grid.frequencyCount;
    WaveParameters p;

    for (int i = 0; i < nf; ++i) {
        const double product = directionSums[i] * static_cast<double>(grid.bandwidths[i]);
        p.bandEnergy[i] = static_cast<float>(product);
        // The unrounded product goes into the total, not the stored band energy.
        p.totalEnergy = static_cast<float>(static_cast<double>(p.totalEnergy) + product);
    }

    float maximum = p.bandEnergy[0];
    p.peakBand = 0;
    p.firstMoment = static_cast<float>(static_cast<double>(p.bandEnergy[0]) * static_cast<double>(grid.frequencies[0]));
    for (int i = 1; i < nf; ++i) {
        const double moment = static_cast<double>(p.bandEnergy[i]) * static_cast<double>(grid.frequencies[i]);
        p.firstMoment = static_cast<float>(moment + static_cast<double>(p.firstMoment));
        if (p.bandEnergy[i] > maximum) {  // strict: the lowest of equal maxima stays
            maximum = p.bandEnergy[i];
            p.peakBand = i;
        }
    }

    p.significantHeight =
        static_cast<float>(4.0 * std::sqrt(static_cast<double>(p.totalEnergy) * static_cast<double>(binRadians)));
    p.peakPeriod = static_cast<float>(1.0 / static_cast<double>(grid.frequencies[p.peakBand]));
    p.meanPeriod = static_cast<float>(static_cast<double>(p.totalEnergy) / static_cast<double>(p.firstMoment));
    return p;
}

}  // namespace ww3b
