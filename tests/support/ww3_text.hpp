#pragma once
// Builds the text of small WW3 point-spectra files for tests, laid out as the wave model
// writes them.

#include <functional>
#include <string>
#include <vector>

namespace ww3b::testing {

struct Ww3Text {
    int frequencyCount = 3;
    int directionCount = 4;
    std::vector<float> frequencies;  // default: 0.05, 0.10, 0.15, ...
    std::string text;

    // The header, the frequency list and the direction list as WW3 writes it for direction
    // j (from 0) at theta_0 + j 2 pi / nd counter-clockwise from east: the bearings of
    // travel (5 pi / 2 - theta_j) mod 2 pi, in radians. theta_0 = 0 is the converter's grid.
    static Ww3Text withGrid(int nf, int nd, double theta0 = 0.0);
    // A time step: time line, point line, spectrum block (density of frequency i and
    // direction j, both from 0, given by `density`).
    Ww3Text& step(int date, int time, float depth = 46.6f, float windSpeed = 5.2f, float windDirection = 180.0f,
                  const std::function<float(int, int)>& density = {});
};

// The point line of a time step, WW3 style: depth right-aligned in columns 27-36.
std::string pointLine(float depth, float windSpeed, float windDirection);

}  // namespace ww3b::testing
