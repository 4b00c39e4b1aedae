#pragma once
// What a run did, kept for its record: the answers taken, what the record loop met and
// wrote, the direction verdict, the mode-2 depths, the warnings and the exit status. The
// run fills it in one place, at each of its ends.

#include <string>
#include <vector>

#include "run/run_options.hpp"
#include "run/run_summary.hpp"
#include "ww3/direction_list.hpp"

namespace ww3b {

struct RunOutcome {
    // Every answer was taken (the run went past its questions); the rest is kept only then.
    bool answered = false;
    RunOptions options;
    std::string spectralFormat;  // "ASCII", "netCDF"; empty when the file was never opened
    bool directionsJudged = false;  // the header was read and its direction list judged
    DirectionListVerdict directions;
    bool depthTaken = false;  // mode 2 reached its first selected record
    float saveDepth = 0;
    float boundaryDepth = 0;
    float depthExponent = 0;
    RunSummary summary;
    std::vector<std::string> warnings;  // every warning met, also those -q kept off the screen
    std::vector<std::string> outputFiles;  // the names of the files the run opened, in order
    int exitStatus = 0;
};

}  // namespace ww3b
