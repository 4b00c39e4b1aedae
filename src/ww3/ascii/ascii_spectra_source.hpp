#pragma once
// The text file of WW3 point spectra as a source of spectra. Each time step holds one or
// more points: after a spectrum block, a line that starts with a quote is the point line
// of another point of the same step. Every point is read by the same rules; the chosen
// one goes into the record, the others are passed over.

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "textio/input_file.hpp"
#include "textio/io_diagnostic.hpp"
#include "ww3/spectra_source.hpp"

namespace ww3b {

// The diagnostic of a time step that does not hold the chosen point (told apart from the
// others by the early point check).
class MissingPointFailure : public RunFailure {
public:
    using RunFailure::RunFailure;
};

class AsciiSpectraSource final : public SpectraSource {
public:
    AsciiSpectraSource(std::unique_ptr<InputFile> in, PointChoice point, SourceWarnings warnings = {});

    bool readHeader(SpectralGrid& grid) override;
    StepStart startStep(InputRecord& record) override;
    void readPoint(InputRecord& record) override;
    void skipStep(InputRecord& record) override;
    void close() override;

    int unit() const override { return in_->unit(); }
    std::string_view formatName() const override { return "ASCII"; }
    const std::string& name() const override { return in_->name(); }
    long directionListLine() const override;
    long pointLineNumber() const override { return pointLine_; }

private:
    // How the chosen point is found in a step. A choice of digits stays Unresolved until
    // the first step read shows whether a point has that name.
    enum class Match { First, ByName, ByPosition, Unresolved };

    void readStep(InputRecord& record);
    void readOnePoint(InputRecord* target, std::size_t index);
    std::string peekPointName();
    void warnAboutFirstStep();
    [[noreturn]] void endRunForMissingPoint() const;

    std::unique_ptr<InputFile> in_;
    std::string wantedName_;
    std::optional<std::size_t> wantedPosition_;  // from 1
    Match match_ = Match::First;
    SourceWarnings warnings_;
    SpectralGrid grid_;
    long stepLine_ = 0;  // the time line of the started step
    long pointLine_ = 0;  // the chosen point's point line in the step read last
    bool firstStepRead_ = false;
    std::vector<std::string> names_;  // of the points of the step read last
    InputRecord otherPoint_;          // the point lines of the points not chosen
};

}  // namespace ww3b
