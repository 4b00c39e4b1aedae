#include "spectral/row_sums.hpp"

#include <cstring>

#include "spectral/wide_vectors.hpp"

namespace ww3b {

namespace {

using FourFloats = float __attribute__((vector_size(16)));
using FourDoubles = double __attribute__((vector_size(32)));

FourFloats fourAt(const float* values) {
    FourFloats four;
    std::memcpy(&four, values, sizeof four);
    return four;
}

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
            const FourFloats ra = fourAt(a + j), rb = fourAt(b + j), rc = fourAt(c + j), rd = fourAt(d + j);
            const FourFloats ab01 = __builtin_shufflevector(ra, rb, 0, 4, 1, 5);
            const FourFloats cd01 = __builtin_shufflevector(rc, rd, 0, 4, 1, 5);
            const FourFloats ab23 = __builtin_shufflevector(ra, rb, 2, 6, 3, 7);
            const FourFloats cd23 = __builtin_shufflevector(rc, rd, 2, 6, 3, 7);
            sum += __builtin_convertvector(__builtin_shufflevector(ab01, cd01, 0, 1, 4, 5), FourDoubles);
            sum += __builtin_convertvector(__builtin_shufflevector(ab01, cd01, 2, 3, 6, 7), FourDoubles);
            sum += __builtin_convertvector(__builtin_shufflevector(ab23, cd23, 0, 1, 4, 5), FourDoubles);
            sum += __builtin_convertvector(__builtin_shufflevector(ab23, cd23, 2, 3, 6, 7), FourDoubles);
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
