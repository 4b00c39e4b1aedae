#pragma once
// Four floats in one vector, and the turn of a 4 x 4 block of them. Both are plain
// copies: every value keeps its bits.

#include <cstring>

namespace ww3b {

using FourFloats = float __attribute__((vector_size(16)));

inline FourFloats loadFourFloats(const float* values) {
    FourFloats four;
    std::memcpy(&four, values, sizeof four);
    return four;
}

// rows[k] holds row k of a 4 x 4 block; the result's column[k] holds its column k.
struct FourColumns {
    FourFloats column[4];
};
inline FourColumns transposeFourByFour(const FourFloats (&rows)[4]) {
    const FourFloats low01 = __builtin_shufflevector(rows[0], rows[1], 0, 4, 1, 5);
    const FourFloats high01 = __builtin_shufflevector(rows[0], rows[1], 2, 6, 3, 7);
    const FourFloats low23 = __builtin_shufflevector(rows[2], rows[3], 0, 4, 1, 5);
    const FourFloats high23 = __builtin_shufflevector(rows[2], rows[3], 2, 6, 3, 7);
    return {{__builtin_shufflevector(low01, low23, 0, 1, 4, 5), __builtin_shufflevector(low01, low23, 2, 3, 6, 7),
             __builtin_shufflevector(high01, high23, 0, 1, 4, 5), __builtin_shufflevector(high01, high23, 2, 3, 6, 7)}};
}

}  // namespace ww3b
