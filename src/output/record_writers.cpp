#include "output/record_writers.hpp"

#include "output/brevolan_parameter_file.hpp"
#include "output/brevolan_spectrum_file.hpp"
#include "output/full_spectral_file.hpp"
#include "output/parameter_files.hpp"

namespace ww3b {

void FullPlaneParameterWriter::writeRecord(const SelectedRecord& selected) {
    FullPlaneParameterFile::appendLine(file(), selected.time, selected.fullPlane, selected.record);
}

void FullSpectralWriter::writeHeader(const SelectedRecord& selected) {
    FullSpectralFile::writeHeader(file(), selected.grid);
}

void FullSpectralWriter::writeRecord(const SelectedRecord& selected) {
    FullSpectralFile::writeBlock(file(), selected.grid, selected.time, selected.record, selected.fullPlane.peakBand);
}

void HalfPlaneParameterWriter::writeRecord(const SelectedRecord& selected) {
    HalfPlaneParameterFile::appendLine(file(), selected.time, selected.halfPlane->parameters, selected.record);
}

void BrevolanSpectrumWriter::writeHeader(const SelectedRecord& selected) {
    BrevolanSpectrumFile::writeHeader(file(), selected.grid);
}

void BrevolanSpectrumWriter::writeRecord(const SelectedRecord& selected) {
    const HalfPlaneRecord& half = *selected.halfPlane;
    BrevolanSpectrumFile::writeBlock(file(), selected.grid, selected.time.stamp, selected.record.windSpeed,
                                     selected.record.windDirection, half.spectrum, half.parameters.peakBand);
}

void BrevolanParameterWriter::writeHeader(const SelectedRecord&) { BrevolanParameterFile::writeHeader(file()); }

void BrevolanParameterWriter::writeRecord(const SelectedRecord& selected) {
    const HalfPlaneRecord& half = *selected.halfPlane;
    BrevolanParameterFile::appendLine(file(), selected.grid, selected.time.stamp, half.parameters,
                                      selected.record.windSpeed, half.shoreAngle, half.boundaryDepth);
}

}  // namespace ww3b
