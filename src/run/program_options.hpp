#pragma once
// The options given on the command line: they shape a run without changing its dialogue,
// and in the command-line form (a WW3 file named) they give its answers.

#include <string>

namespace ww3b {

struct ProgramOptions {
    // -q, --quiet: no warnings and no closing summary on standard error; diagnostics stay.
    bool quiet = false;
    // --header-directions: place the directions where the WW3 file's direction list says,
    // when that list is a regular grid turned by an offset.
    bool headerDirections = false;
    // --point NAME|N: the output point converted, by its name or its position from 1;
    // empty: the first point of every time step.
    std::string point;
    // --list FILE: describe what the WW3 file holds instead of converting it.
    std::string listFile;
    // --json: the --list inventory as one JSON object.
    bool listJson = false;
    // --record FILE: a JSON record of the run, written at its end.
    std::string recordFile;

    // The command-line form: the WW3 file named as an argument; the run then asks nothing
    // and takes its answers from the options below, as given (empty: not given, so the
    // dialogue's default).
    std::string spectralFile;
    std::string mode;           // --mode 0|1|2
    std::string start;          // --start STAMP
    std::string end;            // --end STAMP
    std::string interval;       // --interval HOURS
    std::string output;         // -o, --output NAME
    std::string orientation;    // --orientation DEGREES (mode 2)
    std::string boundaryDepth;  // --boundary-depth METRES (mode 2)

    // Any answer of the command-line form was given.
    bool givesAnswers() const {
        return !mode.empty() || !start.empty() || !end.empty() || !interval.empty() || !output.empty() ||
               !orientation.empty() || !boundaryDepth.empty();
    }
};

}  // namespace ww3b
