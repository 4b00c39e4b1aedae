#pragma once
// The direction list of a WW3 header, read the way WW3 writes it, against the grid the
// converter works on.
//
// WW3 lists direction j (from 0) as the bearing it travels towards, clockwise from north,
// in radians with three significant digits: b_j = (5 pi / 2 - theta_j) mod 2 pi, where
// theta_j = theta_0 + j 2 pi / nd is its angle counter-clockwise from east. The offset
// theta_0 is 0 in many set-ups and half a bin in others. The converter places direction j
// at j 2 pi / nd, that is it takes theta_0 = 0.

#include <span>
#include <string>

#include "model/spectral_grid.hpp"

namespace ww3b {

enum class DirectionGrid {
    Assumed,    // theta_0 = 0 within the list's precision: the converter's own grid
    Offset,     // a regular grid in WW3's order, turned by theta_0
    Irregular,  // anything else: uneven steps, another step, another order
};

struct DirectionListVerdict {
    DirectionGrid grid = DirectionGrid::Assumed;
    // Offset: theta_0 in radians, from -pi up to pi: the file's directions lie this far
    // counter-clockwise (clockwise when negative) of where the converter places them.
    double offset = 0;
    // Irregular: the list is a regular grid whose bearings increase from one direction to
    // the next, the reverse of WW3's order.
    bool reversed = false;
};

// The angle counter-clockwise from east, from 0 up to 2 pi, of a listed bearing of travel.
double angleOfListedBearing(double radians);

// The verdict on a list of bearings of travel in radians, direction j at index j. Every
// value may be off by half a unit of its third significant digit (no finer than the third
// decimal), as a list written with three digits is. theta_0 is the simplest value (whole
// degrees, else tenths, hundredths or thousandths of a degree) within that precision.
DirectionListVerdict judgeDirectionList(std::span<const float> listedRadians);

// The words of one warning when the list is not the assumed grid (empty when it is): what
// the file's directions are, where the converter places them, what that does to the
// written directions and what to do. The caller adds where the list stands.
std::string directionListWarning(const DirectionListVerdict& verdict, std::span<const float> listedRadians);

// The run's short form of the warning for an offset grid (empty for any other list): the
// turn, what it does to every mean direction written, and the option; the long form above
// is for --list, the README and the manual page.
std::string directionOffsetWarning(const DirectionListVerdict& verdict);

// Why the directions of an irregular list cannot be placed as listed.
std::string directionListRefusal(const DirectionListVerdict& verdict, std::span<const float> listedRadians);

// The listed values of a grid read from its header.
std::span<const float> listedDirections(const SpectralGrid& grid);

}  // namespace ww3b
