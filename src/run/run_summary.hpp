#pragma once
// The verdict at the normal end of a run: warnings about what it did not write, then one
// summary line on standard error (both silenced by -q, --quiet).

#include "model/record_time.hpp"
#include "run/run_options.hpp"

namespace ww3b {

// What the record loop met and wrote.
struct RunSummary {
    long stepsSeen = 0;
    RecordStamp firstSeen = 0;
    RecordStamp lastSeen = 0;
    long stepsWritten = 0;
    RecordStamp firstWritten = 0;
    RecordStamp lastWritten = 0;
    // The loop stopped at a time step beyond the ending stamp, before the end of the file.
    bool stoppedBeyondWindow = false;
    // Mode 2, over the run: the folded half plane's energy before the direction factor,
    // and the full plane's.
    double foldedEnergy = 0;
    double fullPlaneEnergy = 0;

    void saw(RecordStamp stamp) {
        if (stepsSeen++ == 0) firstSeen = stamp;
        lastSeen = stamp;
    }
    void wrote(RecordStamp stamp) {
        if (stepsWritten++ == 0) firstWritten = stamp;
        lastWritten = stamp;
    }
};

// After the files are closed: the warnings (no time step written, output files that keep
// an earlier run's contents, a half plane that keeps little of the energy) and the
// summary line.
void reportRunEnd(const RunSummary& summary, const RunOptions& options, const RunFiles& files);

}  // namespace ww3b
