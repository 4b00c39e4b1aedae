// The mode-2 chain computed only where the fold looks must give the half plane of the
// whole-circle chain bit for bit, for every kind of shore angle and grid.

#include "spectral/shore_window.hpp"

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <random>
#include <vector>

#include <gtest/gtest.h>

namespace ww3b {
namespace {

#ifdef NDEBUG
constexpr std::uint32_t kSignificandStride = 1;
#else
constexpr std::uint32_t kSignificandStride = 61;  // the sanitizer build checks a sample
#endif

TEST(FifthOfFloat, IsTheDivisionByFiveForEverySignificandAndScale) {
    // A float is a whole significand below 2^24 times a power of two; the products and the
    // sum scale with that power exactly, so these scales stand for all of them.
    long mismatches = 0;
    for (std::uint32_t m = 1; m < (1u << 24); m += kSignificandStride) {
        for (const int scale : {-149, -126, -24, 0, 60, 104}) {
            const float v = std::ldexp(static_cast<float>(m), scale);
            for (const float value : {v, -v}) {
                if (fifthOfFloat(value) != static_cast<double>(value) / 5.0 && ++mismatches <= 5)
                    ADD_FAILURE() << std::hexfloat << value;
            }
        }
    }
    EXPECT_EQ(mismatches, 0);
    const float inf = std::numeric_limits<float>::infinity();
    EXPECT_EQ(std::bit_cast<std::uint64_t>(fifthOfFloat(-0.0f)), std::bit_cast<std::uint64_t>(-0.0));
    EXPECT_EQ(std::bit_cast<std::uint64_t>(fifthOfFloat(0.0f)), 0u);
    EXPECT_EQ(fifthOfFloat(inf), inf);
    EXPECT_EQ(fifthOfFloat(-inf), -inf);
}

SpectralGrid gridOf(int frequencies, int directions) {
    SpectralGrid grid{.frequencyCount = frequencies, .directionCount = directions};
    for (int i = 0; i < frequencies; ++i) grid.frequencies[i] = 0.035f * std::pow(1.1f, static_cast<float>(i));
    completeSpectralGrid(grid);
    return grid;
}

// Densities of every kind: zeros of both signs, tiny and huge values side by side (so
// that sums round), negative values, and plain sea-like values.
InputRecord randomRecord(const SpectralGrid& grid, std::mt19937& random) {
    InputRecord record;
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    for (int i = 0; i < grid.frequencyCount; ++i) {
        for (int j = 0; j < grid.directionCount; ++j) {
            float& value = record.spectrum[i][j];
            switch (random() % 8) {
                case 0: value = 0.0f; break;
                case 1: value = -0.0f; break;
                case 2: value = unit(random) * 1e-30f; break;
                case 3: value = unit(random) * 1e20f; break;
                case 4: value = -unit(random); break;
                default: value = unit(random) * 0.3f; break;
            }
        }
    }
    return record;
}

struct Chains {
    ShoreWindowWork work;
    FullPlaneSpectrum oneDegree, scratch;
    HalfPlaneSpectrum windowed, whole;
};

void expectSameHalfPlane(const SpectralGrid& grid, const InputRecord& record, float shoreAngle, Chains& c) {
    regridSmoothAndFold(grid, record, shoreAngle, c.work, c.windowed);
    regridAndSmoothTwice(grid, record, c.oneDegree, c.scratch);
    foldToHalfPlane(c.oneDegree, grid.frequencyCount, shoreAngle, c.whole);
    for (int i = 0; i < grid.frequencyCount; ++i) {
        for (int b = 0; b < kHalfPlaneBins; ++b) {
            ASSERT_EQ(std::bit_cast<std::uint32_t>(c.windowed.bins[i][b]), std::bit_cast<std::uint32_t>(c.whole.bins[i][b]))
                << "shore angle " << shoreAngle << ", " << grid.directionCount << " directions, frequency " << i
                << ", bin " << b - kHalfPlaneReach;
        }
    }
}

TEST(ShoreWindow, SameHalfPlaneAsTheWholeCircleForEveryKindOfShoreAngle) {
    std::vector<float> angles;
    for (int o = -5; o <= 365; ++o) angles.push_back(static_cast<float>(o));  // integers, the seam within the bins
    for (const float o : {0.5f, 2.5f, 87.5f, 89.9999f, 90.0001f, 177.25f, 272.5f, 359.5f, 359.99f, 123.4f,  // fractions
                          -0.5f, -85.0f, -100.5f, -10000.3f, -1e6f,                                        // negative
                          360.5f, 445.0f, 725.3f, 1e6f, 3e7f, 1e9f,                                        // beyond 360
                          1e15f, 1e20f, 3e38f})                                                            // bins together
        angles.push_back(o);
    std::mt19937 random(7);
    const auto chains = std::make_unique<Chains>();
    for (const int nd : {36, 24, 25, 7, 1, 2, 45, 50}) {
        const SpectralGrid grid = gridOf(nd == 36 ? 50 : 5, nd);
        const InputRecord record = randomRecord(grid, random);
        for (const float o : angles) expectSameHalfPlane(grid, record, o, *chains);
    }
}

TEST(ShoreWindow, RandomSpectraAndAnglesAndNonFiniteAngles) {
    std::mt19937 random(11);
    std::uniform_real_distribution<float> angle(-720.0f, 720.0f);
    const auto chains = std::make_unique<Chains>();
    for (int n = 0; n < 300; ++n) {
        const SpectralGrid grid = gridOf(3 + static_cast<int>(random() % 48), 1 + static_cast<int>(random() % 50));
        expectSameHalfPlane(grid, randomRecord(grid, random), angle(random), *chains);
    }
    const SpectralGrid grid = gridOf(4, 24);
    for (const float o : {INFINITY, -INFINITY, std::nanf("")}) {
        regridSmoothAndFold(grid, randomRecord(grid, random), o, chains->work, chains->windowed);
        EXPECT_TRUE(std::isnan(chains->windowed.bins[3][0])) << o;
    }
}

TEST(FirstFoldedSlot, FirstSlotOfBinMinusSeventeenWhileTheBinsFollowEachOther) {
    EXPECT_EQ(firstFoldedSlot(180.0f), 93);
    EXPECT_EQ(firstFoldedSlot(80.0f), 353);   // bin -17 takes slots 353 to 357
    EXPECT_EQ(firstFoldedSlot(360.0f), 273);
    EXPECT_EQ(firstFoldedSlot(87.0f), 360);
    EXPECT_EQ(firstFoldedSlot(88.0f), 1);
    EXPECT_EQ(firstFoldedSlot(-100.5f), 172);  // floor(-187.5) = -188
    EXPECT_EQ(firstFoldedSlot(1e20f), std::nullopt);
    EXPECT_EQ(firstFoldedSlot(INFINITY), std::nullopt);
    EXPECT_EQ(firstFoldedSlot(std::nanf("")), std::nullopt);
}

}  // namespace
}  // namespace ww3b
