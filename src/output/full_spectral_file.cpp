#include "output/full_spectral_file.hpp"

#include "output/spectral_block.hpp"

namespace ww3b {

void FullSpectralFile::writeHeader(OutputFile& file, const SpectralGrid& grid) {
    writeSpectralHeader(file, grid, grid.directionCount);
}

void FullSpectralFile::writeBlock(OutputFile& file, const SpectralGrid& grid, const RecordTime& time,
                                  const InputRecord& record, int peakBand) {
    writeSpectralRecordLine(file, time.stamp, record.windSpeed, record.windDirection, grid.frequencies[peakBand]);
    for (int i = 0; i < grid.frequencyCount; ++i) {
        writeSpectralDensities(file, std::span<const float>(record.spectrum[i].data(),
                                                            static_cast<std::size_t>(grid.directionCount)));
    }
}

}  // namespace ww3b
