#pragma once
// The direction list of a WW3 header against the grid the converter works on: direction
// j (from 0) at j * 2 pi / nd radians, counter-clockwise from the first direction.

#include <string>

#include "model/spectral_grid.hpp"

namespace ww3b {

// True when every listed direction is the grid value within the precision the list is
// written with: three significant digits (the 0.ddd E form), and never finer than three
// decimals in radians. Angles are compared on the circle, so 6.283 stands for 0.
bool directionListIsGrid(const SpectralGrid& grid);

// How the list runs, from the steps between neighbours taken on the circle.
enum class DirectionOrder { Increasing, Decreasing, Unordered };
DirectionOrder directionListOrder(const SpectralGrid& grid);

// One sentence for standard error when the list is not the grid (empty when it is): what
// the file lists, what the converter takes instead, and what follows that grid.
std::string directionListWarning(const SpectralGrid& grid, const std::string& fileName);

}  // namespace ww3b
