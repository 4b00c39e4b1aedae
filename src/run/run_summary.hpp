#pragma once
// The verdict of a run: what it read and wrote, the warnings it issued, and why it did
// not deliver what was asked, if it did not. At the normal end: the lines that say it did
// not deliver (never silenced), the other warnings, then one summary line on standard
// error (both silenced by -q, --quiet). The exit status is decided from it alone.

#include <string>
#include <vector>

#include "model/record_time.hpp"
#include "run/run_options.hpp"

namespace ww3b {

// Exit status of a run that ended in order but did not deliver what was asked.
inline constexpr int kIncompleteExitStatus = 1;

// A written time step that the summary keeps count of: how many, and the first one.
struct CountedSteps {
    long count = 0;
    RecordStamp first = 0;
    void add(RecordStamp stamp, long steps = 1) {
        if (count == 0) first = stamp;
        count += steps;
    }
};

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
    // Written steps whose chosen spectrum holds a density below zero or not a number, and
    // where the first such value sits (frequency and direction numbers, from 1).
    CountedSteps badDensitySteps;
    int badFrequency = 0;
    int badDirection = 0;
    // Written steps whose spectrum is all zero (a cold start).
    CountedSteps zeroSpectrumSteps;
    // Written steps that share their stamp with the step written before or after them.
    CountedSteps sharedStampSteps;
    bool lastStampShared = false;

    // The end: the text of every warning issued, the reasons the run did not deliver
    // (each also one of the warnings), and whether a diagnostic ended it.
    std::vector<std::string> warnings;
    std::vector<std::string> shortfalls;
    bool failed = false;

    void saw(RecordStamp stamp) {
        if (stepsSeen++ == 0) firstSeen = stamp;
        lastSeen = stamp;
    }
    void wrote(RecordStamp stamp) {
        const bool shared = stepsWritten > 0 && stamp == lastWritten;
        if (shared) sharedStampSteps.add(stamp, lastStampShared ? 1 : 2);
        lastStampShared = shared;
        if (stepsWritten++ == 0) firstWritten = stamp;
        lastWritten = stamp;
    }
    // The run did not deliver what was asked: the line that says so goes out at once,
    // even from a quiet run.
    void fellShort(const std::string& text);
};

// 2 after a diagnostic, 1 when the run fell short of what was asked, 0 otherwise.
int exitStatusOf(const RunSummary& summary);

// After the files are closed: the lines of what was not delivered (no time step written,
// damaged densities), the warnings (output files that keep an earlier run's contents,
// steps whose values mean nothing, a half plane that keeps little of the energy), the
// summary line; then the warnings issued go into the verdict.
void reportRunEnd(RunSummary& summary, const RunOptions& options, const RunFiles& files);

}  // namespace ww3b
