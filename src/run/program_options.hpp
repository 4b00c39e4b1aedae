#pragma once
// The options given on the command line, which shape a run without changing its dialogue.

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
};

}  // namespace ww3b
