#include "ww3/direction_list.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

namespace ww3b {

namespace {

constexpr double kTurn = 2.0 * std::numbers::pi;
constexpr double kDegreesPerRadian = 180.0 / std::numbers::pi;

// The difference of two angles, brought into -pi to pi.
double angleBetween(double a, double b) { return std::remainder(a - b, kTurn); }

double gridAngle(const SpectralGrid& grid, int j) { return kTurn * j / grid.directionCount; }

// Half a unit of the last digit that a value of this size keeps in the list: the third
// significant digit, but no finer than the third decimal. A little more is allowed for
// the single-precision value the list was read into.
double listPrecision(double magnitude) {
    double half = 0.5e-3;
    if (magnitude > 0) half = std::max(half, 0.5 * std::pow(10.0, std::floor(std::log10(magnitude)) - 2));
    return half + 1e-6 * std::max(1.0, magnitude);
}

// Degrees with at most `decimals` decimals, trailing zeros dropped: 15, 14.4, 51.43.
std::string degreesText(double degrees, int decimals) {
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, degrees);
    std::string s = text;
    while (s.back() == '0') s.pop_back();
    if (s.back() == '.') s.pop_back();
    if (s == "-0") s = "0";
    return s;
}

}  // namespace

bool directionListIsGrid(const SpectralGrid& grid) {
    for (int j = 0; j < grid.directionCount; ++j) {
        const double listed = grid.directions[static_cast<std::size_t>(j)];
        const double expected = gridAngle(grid, j);
        const double precision = listPrecision(std::max(std::fabs(listed), expected));
        if (!(std::fabs(angleBetween(listed, expected)) <= precision)) return false;
    }
    return true;
}

DirectionOrder directionListOrder(const SpectralGrid& grid) {
    int rising = 0;
    int falling = 0;
    for (int j = 1; j < grid.directionCount; ++j) {
        const double step = angleBetween(grid.directions[static_cast<std::size_t>(j)],
                                         grid.directions[static_cast<std::size_t>(j - 1)]);
        if (step > 0) ++rising;
        if (step < 0) ++falling;
    }
    const int steps = grid.directionCount - 1;
    if (steps > 0 && rising == steps) return DirectionOrder::Increasing;
    if (steps > 0 && falling == steps) return DirectionOrder::Decreasing;
    return DirectionOrder::Unordered;
}

std::string directionListWarning(const SpectralGrid& grid, const std::string& fileName) {
    if (directionListIsGrid(grid)) return "";
    const int nd = grid.directionCount;
    std::string listed;
    const int shown = std::min(nd, 3);
    for (int j = 0; j < shown; ++j) {
        if (j > 0) listed += ", ";
        listed += degreesText(static_cast<double>(grid.directions[static_cast<std::size_t>(j)]) * kDegreesPerRadian, 1);
    }
    if (nd > shown) listed += ", ...";
    std::string order;
    switch (directionListOrder(grid)) {
        case DirectionOrder::Increasing: order = "increasing"; break;
        case DirectionOrder::Decreasing: order = "decreasing, that is clockwise"; break;
        case DirectionOrder::Unordered: order = nd > 1 ? "in no steady order" : "a single direction"; break;
    }
    const std::string step = degreesText(360.0 / nd, 2);
    std::string assumed = "0";
    for (int j = 1; j < std::min(nd, 3); ++j) assumed += ", " + degreesText(gridAngle(grid, j) * kDegreesPerRadian, 2);
    if (nd > 3) assumed += ", ...";
    return "the header of \"" + fileName + "\" lists the directions " + listed + " degrees (" + order +
           "), but the converter takes direction j at (j - 1) x " + step +
           " degrees counter-clockwise from the first direction of the file (" + assumed +
           " degrees) and never uses the list; the mean directions and the half-plane spectrum follow that "
           "assumed grid";
}

}  // namespace ww3b
