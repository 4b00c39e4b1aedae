#include "ww3/ascii/ascii_spectra_source.hpp"

#include <algorithm>
#include <span>
#include <string_view>
#include <utility>

#include "textio/io_diagnostic.hpp"
#include "ww3/point_choice.hpp"
#include "ww3/ascii/ww3_spectral_file.hpp"

namespace ww3b {

AsciiSpectraSource::AsciiSpectraSource(std::unique_ptr<InputFile> in, PointChoice point, SourceWarnings warnings)
    : in_(std::move(in)),
      wantedName_(trimmedName(point.wanted)),
      wantedPosition_(positionOf(point)),
      warnings_(std::move(warnings)) {
    if (wantedPosition_) {
        match_ = Match::Unresolved;
    } else if (!wantedName_.empty()) {
        match_ = Match::ByName;
    }
}

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
    stepLine_ = in_->lineNumber();
    const FreeFormResult result = readTimeLine(*in_, record);
    if (result.outcome == ReadOutcome::Ok) return {};
    if (result.outcome == ReadOutcome::EndOfFile && result.valuesTaken == 0) return {StepStart::Outcome::End, {}};
    if (result.outcome == ReadOutcome::EndOfFile) {
        return {StepStart::Outcome::Cut,
                describeFailure("the WW3 file ends inside a time line: it was cut short (an interrupted download or "
                                "copy); the time steps before the cut were converted, the rest is missing: fetch "
                                "the whole file again",
                                in_->unit(), in_->name(), result.line)};
    }
    return {StepStart::Outcome::Unreadable, "the time line at line " + std::to_string(result.line) + " of \"" +
                                                in_->name() + "\" cannot be read (" + result.problem +
                                                "); the run ends there and the time steps after it are not "
                                                "converted: mend the line or fetch the file again"};
}

void AsciiSpectraSource::readPoint(InputRecord& record) { readStep(record); }

void AsciiSpectraSource::skipStep(InputRecord& record) {
    // Null values in a later block keep what the record holds, so the chosen point of a
    // passed-over step is read into the record like any other.
    readStep(record);
}

void AsciiSpectraSource::close() { in_->close(); }

void AsciiSpectraSource::readStep(InputRecord& record) {
    names_.clear();
    std::optional<std::size_t> chosen;
    // Unresolved: the point of that name goes here, the point at that position into the
    // record; the record's values before the step are where both start from.
    std::unique_ptr<InputRecord> named;
    std::optional<std::size_t> namedIndex;
    if (match_ == Match::Unresolved) named = std::make_unique<InputRecord>(record);
    long recordLine = 0;
    long namedLine = 0;
    walkStepPoints(*in_, [&](std::size_t k) {
        names_.push_back(peekPointName());
        const std::string& name = names_.back();
        InputRecord* target = nullptr;
        if (match_ == Match::Unresolved && !namedIndex && name == wantedName_) {
            target = named.get();
            namedIndex = k;
        } else if (!chosen && ((match_ == Match::First && k == 0) || (match_ == Match::ByName && name == wantedName_) ||
                               (match_ != Match::First && match_ != Match::ByName && k + 1 == *wantedPosition_))) {
            target = &record;
            chosen = k;
        }
        if (target) (target == &record ? recordLine : namedLine) = in_->lineNumber();
        readOnePoint(target, k);
    });

    if (match_ == Match::Unresolved) {
        match_ = namedIndex ? Match::ByName : Match::ByPosition;
        if (namedIndex) {
            record = *named;
            chosen = namedIndex;
            recordLine = namedLine;
        }
    }
    pointLine_ = recordLine;
    if (!firstStepRead_) {
        firstStepRead_ = true;
        warnAboutFirstStep();
    }
    // Checked before the run uses the record, so nothing is written for a missing point.
    if (!chosen) endRunForMissingPoint();
    // In a file of several points, the point chosen by position (or the first, by
    // default) is from the first step on that point by its name: a later step that lacks
    // it cannot slip another point in at its place.
    if ((match_ == Match::First || match_ == Match::ByPosition) && names_.size() > 1) {
        const std::string& name = names_[*chosen];
        if (!name.empty() && std::count(names_.begin(), names_.end(), name) == 1) {
            wantedName_ = name;
            match_ = Match::ByName;
        }
    }
}

void AsciiSpectraSource::readOnePoint(InputRecord* target, std::size_t index) {
    try {
        if (target) {
            readPointLine(*in_, *target);
            readSpectrumBlock(*in_, grid_, *target);
        } else {
            passOverPoint(*in_, grid_, otherPoint_);
        }
    } catch (const RunFailure& failure) {
        // A file of one point keeps the diagnostics it always had.
        if (index == 0 && grid_.pointCount <= 1) throw;
        endRunWithDiagnostic("point " + std::to_string(index + 1) + " " +
                                 pointList(std::span<const std::string>(&names_[index], 1)) + ": " +
                                 failure.condition(),
                             failure.unit(), failure.file(), failure.line(), failure.position());
    }
}

std::string AsciiSpectraSource::peekPointName() {
    // The name stands between the quotes at the start of the point line; the buffer is
    // filled until it holds the line (or enough of it for any name).
    constexpr std::ptrdiff_t kLongestLook = 256;
    while (in_->limit() - in_->cursor() < kLongestLook && std::find(in_->cursor(), in_->limit(), '\n') == in_->limit() &&
           in_->refill()) {
    }
    const char* start = in_->cursor();
    const char* end = std::find(start, in_->limit(), '\n');
    if (start == end || *start != '\'') return {};
    const char* close = std::find(start + 1, end, '\'');
    std::string_view name(start + 1, static_cast<std::size_t>(close - (start + 1)));
    if (close == end && !name.empty() && name.back() == '\r') name.remove_suffix(1);
    return trimmedName(name);
}

void AsciiSpectraSource::warnAboutFirstStep() {
    if (!warnings_) return;
    const std::size_t count = names_.size();
    if (count != static_cast<std::size_t>(std::max(grid_.pointCount, 0))) {
        warnings_("the header of \"" + in_->name() + "\" gives " + std::to_string(grid_.pointCount) +
                  " points, but its first time step (line " + std::to_string(stepLine_) + ") holds " +
                  std::to_string(count) + "; the points are told apart by their point lines, not by that count");
    }
    if (count > 1 && match_ == Match::First) {
        warnings_("\"" + in_->name() + "\" holds " + std::to_string(count) + " points per time step (" +
                  pointList(names_) + "); the first is converted. Choose another with --point NAME or --point N "
                  "(its position, from 1)");
    }
}

void AsciiSpectraSource::endRunForMissingPoint() const {
    const std::string wanted = match_ == Match::ByPosition ? "no point " + std::to_string(*wantedPosition_)
                                                           : "no point \"" + wantedName_ + "\"";
    throw MissingPointFailure("the time step starting at this line holds " + wanted + "; it holds " +
                                  std::to_string(names_.size()) + (names_.size() == 1 ? " point: " : " points: ") +
                                  pointList(names_),
                              in_->unit(), in_->name(), stepLine_);
}

}  // namespace ww3b
