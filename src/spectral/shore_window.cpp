#include "spectral/shore_window.hpp"

#include <optional>

#include "spectral/wide_vectors.hpp"

namespace ww3b {

namespace {


constexpr int kOnceSlots = kFoldedSlots + 2 * kSmoothingReach;
constexpr int kRegriddedSlots = kFoldedSlots + 4 * kSmoothingReach;

int nextSlot(int slot) { return slot == kOneDegreeSlots ? 1 : slot + 1; }

// One smoothing pass at one slot, for every frequency: the five rows from the slot two
// below to the slot two above, added left to right in double, divided by 5 and rounded
// to float. Returns the row of the result: where the five rows are one and the same
// (inside a run of slots that took one direction) that row itself, since for any float
// v the sum v + v + v + v + v is exactly 5v in double and 5v / 5 is exactly v again.
// The five rows at frequency i added left to right in double: the double sum of five
// floats is not always exact, so the order is that of the whole-circle smoothing.
inline double fiveRowSum(const double* const* rows, int i) {
    double sum = rows[0][i];
    sum += rows[1][i];
    sum += rows[2][i];
    sum += rows[3][i];
    sum += rows[4][i];
    return sum;
}

const double* smoothSlot(const double* const* rows, int frequencyCount, double* out) {
    if (rows[0] == rows[1] && rows[0] == rows[2] && rows[0] == rows[3] && rows[0] == rows[4]) return rows[0];
    for (int i = 0; i < frequencyCount; ++i) out[i] = static_cast<float>(fiveRowSum(rows, i) / 5.0);
    return out;
}

// The fold's running mean of one bin takes the twice-smoothed slot divided by 5: each
// addition stored as a float, as the fold does it.
void addFifths(const double* smoothed, int frequencyCount, float* mean) {
    for (int i = 0; i < frequencyCount; ++i) {
        mean[i] = static_cast<float>(fifthOfFloat(static_cast<float>(smoothed[i])) + static_cast<double>(mean[i]));
    }
}

// The second pass at one slot, added at once to the running means (the smoothed row is not
// stored): the same sum, quotient and rounding as smoothSlot.
void smoothAndAddFifths(const double* const* rows, int frequencyCount, float* mean) {
    for (int i = 0; i < frequencyCount; ++i) {
        const auto smoothed = static_cast<float>(fiveRowSum(rows, i) / 5.0);
        mean[i] = static_cast<float>(fifthOfFloat(smoothed) + static_cast<double>(mean[i]));
    }
}

}  // namespace

WW3B_WIDE_VECTOR_CLONES
void regridSmoothAndFold(const SpectralGrid& grid, const InputRecord& record, float shoreAngle,
                         ShoreWindowWork& work, HalfPlaneSpectrum& target) {
    const int nf = grid.frequencyCount;
    const std::optional<int> first = firstFoldedSlot(shoreAngle);
    if (!first) {
        regridAndSmoothTwice(grid, record, work.oneDegree, work.scratch);
        foldToHalfPlane(work.oneDegree, nf, shoreAngle, target);
        return;
    }
    const int width = (nf + kWindowRowStep - 1) / kWindowRowStep * kWindowRowStep;
    // Regridding is a plain copy, so a regridded slot is the row of its direction, widened
    // to double (exactly) when a slot first takes it: the other half of the circle is never
    // read. Entry t stands for the slot 4 + t below the first folded slot, on the circle.
    std::array<bool, kMaxDirections> widened{};
    std::array<const double*, kRegriddedSlots> regridded;
    int slot = *first - 2 * kSmoothingReach;
    if (slot < 1) slot += kOneDegreeSlots;
    for (int t = 0; t < kRegriddedSlots; ++t, slot = nextSlot(slot)) {
        const int j = directionOfSlot(grid, slot);
        double* row = work.byDirection[j].data();
        if (!widened[j]) {
            for (int i = 0; i < nf; ++i) row[i] = static_cast<double>(record.spectrum[i][j]);
            for (int i = nf; i < width; ++i) row[i] = 0.0;
            widened[j] = true;
        }
        regridded[t] = row;
    }
    // First pass: onceRows[t] stands for the slot two below the first folded slot, plus t.
    std::array<const double*, kOnceSlots> onceRows;
    for (int t = 0; t < kOnceSlots; ++t) onceRows[t] = smoothSlot(&regridded[t], width, work.once[t].data());
    // Second pass and fold together: bin b (k = b - 17) takes folded slots 5b to 5b + 4 in
    // order, each divided by 5, from 0.0. Where the five first-pass rows of a slot are one
    // and the same, its smoothed row is that row (see smoothSlot).
    for (int b = 0; b < kHalfPlaneBins; ++b) {
        float* mean = work.folded[b].data();
        for (int i = 0; i < width; ++i) mean[i] = 0.0f;
        for (int t = 5 * b; t < 5 * b + 5; ++t) {
            const double* const* rows = &onceRows[t];
            if (rows[0] == rows[1] && rows[0] == rows[2] && rows[0] == rows[3] && rows[0] == rows[4]) {
                addFifths(rows[0], width, mean);
            } else {
                smoothAndAddFifths(rows, width, mean);
            }
        }
    }
    for (int i = 0; i < nf; ++i) {
        for (int b = 0; b < kHalfPlaneBins; ++b) target.bins[i][b] = work.folded[b][i];
    }
}

}  // namespace ww3b
