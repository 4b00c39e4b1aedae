#pragma once
// The sum of each row of a spectrum, in double, from 0.0, its values added in column
// order: the band sums of the parameters and the energies of a record.

#include <array>
#include <cstddef>

#include "model/spectral_grid.hpp"

namespace ww3b {

// sums[i] for the `rows` rows that start `stride` floats apart from `first`, over their
// first `columns` values. Four rows go side by side in one vector, each lane adding its
// own row in column order, so every sum gets the scalar loop's operations in its order.
void sumRowsInColumnOrder(const float* first, std::size_t stride, int rows, int columns, double* sums);

template <std::size_t Width>
std::array<double, kMaxFrequencies> rowSums(const std::array<std::array<float, Width>, kMaxFrequencies>& values,
                                            int rows, int columns) {
    std::array<double, kMaxFrequencies> sums{};
    sumRowsInColumnOrder(values.front().data(), Width, rows, columns, sums.data());
    return sums;
}

}  // namespace ww3b
