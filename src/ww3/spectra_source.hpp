#pragma once
// A forward-only source of point spectra: the grid once, then one time step after the
// other, each read or passed over as a whole before the next is started. The run drives
// it and knows nothing of the file's layout.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "model/spectral_grid.hpp"

namespace ww3b {

// The output point a run converts, given to the source when it is opened, as typed
// after --point: a name (as written between the quotes, trailing blanks ignored) or a
// position from 1. Empty: the first point of every time step.
struct PointChoice {
    std::string wanted;
};

// How the start of a time step went.
struct StepStart {
    // Cut: the input ends inside a time line (a file cut short, as by a broken download).
    enum class Outcome { Started, End, Unreadable, Cut };
    Outcome outcome = Outcome::Started;
    // Unreadable and Cut: one sentence for standard error saying where, why and what to
    // do; the run then ends in order, as at the end of the input, but incomplete.
    std::string warning;
};

// Where a source sends its notices and warnings (standard error, unless the run is quiet).
using SourceWarnings = std::function<void(const std::string&)>;

class SpectraSource {
public:
    virtual ~SpectraSource() = default;

    // Reads the grid. False when the input holds nothing (the run then ends in order);
    // a grid that cannot be read or lies outside the limits ends the run.
    virtual bool readHeader(SpectralGrid& grid) = 0;
    // Starts the next time step: its date and time go into the record.
    virtual StepStart startStep(InputRecord& record) = 0;
    // Reads the chosen point's values of the started step into the record.
    virtual void readPoint(InputRecord& record) = 0;
    // Passes over the rest of the started step. A layout whose values can carry over
    // from one step to the next (null values of text) still reads them into the record.
    virtual void skipStep(InputRecord& record) = 0;
    virtual void close() = 0;

    // For diagnostics: the unit and the file name, and the line where the header's
    // direction list starts (0 for a layout without lines).
    virtual int unit() const = 0;
    virtual const std::string& name() const = 0;
    // The input format's name, as --list and the run record give it.
    virtual std::string_view formatName() const = 0;
    virtual long directionListLine() const { return 0; }
    // The line of the chosen point's point line in the step last read (0 for a layout
    // without lines).
    virtual long pointLineNumber() const { return 0; }
};

}  // namespace ww3b
