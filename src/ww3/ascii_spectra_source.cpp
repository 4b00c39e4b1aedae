#include "ww3/ascii_spectra_source.hpp"

#include <utility>

#include "ww3/ww3_spectral_file.hpp"

namespace ww3b {

AsciiSpectraSource::AsciiSpectraSource(std::unique_ptr<InputFile> in, PointChoice point)
    : in_(std::move(in)), point_(std::move(point)) {}

bool AsciiSpectraSource::readHeader(SpectralGrid& grid) {
    if (!readSpectralHeader(*in_, grid)) return false;
    grid_ = grid;
    return true;
}

long AsciiSpectraSource::directionListLine() const {
    // After the header line and the frequency lines, eight values to a line.
    constexpr int kFrequenciesPerLine = 8;
    return 2 + (grid_.frequencyCount + kFrequenciesPerLine - 1) / kFrequenciesPerLine;
}

StepStart AsciiSpectraSource::startStep(InputRecord& record) {
    const FreeFormResult result = readTimeLine(*in_, record);
    if (result.outcome == ReadOutcome::Ok) return {};
    if (result.outcome == ReadOutcome::EndOfFile) return {StepStart::Outcome::End, {}};
    std::string text = "the time line at line " + std::to_string(result.line) + " of \"" + in_->name() +
                       "\" cannot be read (" + result.problem + "); the run ends there";
    if (result.valuesTaken == 0 && !result.value.empty() && result.value.front() == '\'') {
        text += ". The file seems to hold more than one output point per time step; only the first "
                "time step of the first point was read";
    }
    return {StepStart::Outcome::Unreadable, std::move(text)};
}

void AsciiSpectraSource::readPoint(InputRecord& record) {
    readPointLine(*in_, record);
    readSpectrumBlock(*in_, grid_, record);
}

void AsciiSpectraSource::skipStep(InputRecord& record) {
    // Null values in a later block keep what the record holds, so a passed-over step is
    // read into the record like any other.
    readPoint(record);
}

void AsciiSpectraSource::close() { in_->close(); }

}  // namespace ww3b
