#pragma once
// What a WW3 point-spectra file holds, for `--list`: the spectral grid, the output points
// with their positions and depths, and the span of its time steps. Every input format
// fills the same plain structure; the run layer prints it.

#include <cstdint>
#include <string>
#include <vector>

#include "model/spectral_grid.hpp"

namespace ww3b {

struct GridSummary {
    int frequencyCount = 0;
    float firstFrequency = 0;  // hertz, as listed
    float lastFrequency = 0;
    int directionCount = 0;
    std::vector<float> listedDirections;  // radians, as the file lists them
    // Why the direction list is not the grid the converter works on; empty when it is.
    std::string directionVerdict;
    int headerPointCount = -1;  // the point count the file's header gives; -1: none given
};

// How a point's position is given: latitude and longitude in degrees, or (output of a
// cartesian grid) x and y in metres.
enum class PositionKind { Geographic, Cartesian };

struct PointSummary {
    std::string name;  // between the quotes, trailing blanks dropped
    PositionKind positionKind = PositionKind::Geographic;
    float latitude = 0;  // degrees; Geographic only
    float longitude = 0;
    float x = 0;  // metres; Cartesian only
    float y = 0;
    float depth = 0;  // metres
};

struct FileInventory {
    std::string fileName;
    std::string format;  // "ASCII", "netCDF"
    GridSummary grid;
    std::vector<PointSummary> points;  // as the first time step gives them
    long stepCount = 0;
    std::int32_t firstDate = 0, firstTime = 0;  // yyyymmdd, hhmmss
    std::int32_t lastDate = 0, lastTime = 0;
    std::vector<std::string> warnings;  // for standard error: what the scan met on its way
};

// The grid part of an inventory, from a grid as read.
GridSummary summarizeGrid(const SpectralGrid& grid);

}  // namespace ww3b
