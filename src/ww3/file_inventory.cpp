#include "ww3/file_inventory.hpp"

#include <span>

#include "ww3/direction_list.hpp"

namespace ww3b {

GridSummary summarizeGrid(const SpectralGrid& grid) {
    GridSummary summary;
    summary.frequencyCount = grid.frequencyCount;
    summary.firstFrequency = grid.frequencies[0];
    summary.lastFrequency = grid.frequencies[static_cast<std::size_t>(grid.frequencyCount - 1)];
    summary.directionCount = grid.directionCount;
    summary.listedDirections.assign(grid.directions.begin(), grid.directions.begin() + grid.directionCount);
    const std::span<const float> listed = listedDirections(grid);
    summary.directionVerdict = directionListWarning(judgeDirectionList(listed), listed);
    summary.headerPointCount = grid.pointCount;
    return summary;
}

}  // namespace ww3b
