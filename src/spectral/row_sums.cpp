#include "spectral/row_sums.hpp"

#include "model/four_floats.hpp"
#include "spectral/wide_vectors.hpp"

namespace ww3b {

namespace {

using FourDoubles = double __attribute__((vector_size(32)));

}  // namespace

WW3B_WIDE_VECTOR_CLONES
void sumRowsInColumnOrder(const float* first, std::size_t stride, int rows, int columns, double* sums) {
    int i = 0;
    for (; i + 4 <= rows; i += 4) {
        const float* a = first + static_cast<std::size_t>(i) * stride;
        const float* b = a + stride;
        const float* c = b + stride;
        const float* d = c + stride;
        FourDoubles sum = {0.0, 0.0, 0.0, 0.0};
        int j = 0;
        for (; j + 4 <= columns; j += 4) {
            // Four columns of the four rows, turned so that each vector is one column.
            const FourFloats fourRows[4] = {loadFourFloats(a + j), loadFourFloats(b + j), loadFourFloats(c + j),
                                            loadFourFloats(d + j)};
            const FourColumns turned = transposeFourByFour(fourRows);
            for (const FourFloats& column : turned.column) sum += __builtin_convertvector(column, FourDoubles);
        }
        for (; j < columns; ++j) {
            const FourFloats column = {a[j], b[j], c[j], d[j]};
            sum += __builtin_convertvector(column, FourDoubles);
        }
        for (int k = 0; k < 4; ++k) sums[i + k] = sum[k];
    }
    for (; i < rows; ++i) {
        const float* row = first + static_cast<std::size_t>(i) * stride;
        double sum = 0.0;
        for (int j = 0; j < columns; ++j) sum += static_cast<double>(row[j]);
        sums[i] = sum;
    }
}

}  // namespace ww3b
