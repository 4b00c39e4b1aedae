#include "output/brevolan_spectrum_file.hpp"

#include "output/spectral_block.hpp"

namespace ww3b {

void BrevolanSpectrumFile::writeHeader(OutputFile& file, const SpectralGrid& grid) {
    writeSpectralHeader(file, grid, kHalfPlaneBins);
}

void BrevolanSpectrumFile::writeBlock(OutputFile& file, const SpectralGrid& grid, RecordStamp stamp, float windSpeed,
                                      float windDirection, const HalfPlaneSpectrum& spectrum, int peakBand) {
    writeSpectralRecordLine(file, stamp, windSpeed, windDirection, grid.frequencies[peakBand]);
    for (int i = 0; i < grid.frequencyCount; ++i) writeSpectralDensities(file, spectrum.bins[i]);
}

}  // namespace ww3b
