// The integer road of fixed-point fields against the reference, std::to_chars of the
// exact value: every float of whole binades where rounding, ties and the asterisk limit
// meet, millions of random floats, every kind of tie, and the values around each field's
// asterisk limit and around the ends of the road.

#include "textio/scaled_fixed_field.hpp"

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "textio/field_render.hpp"

namespace ww3b {
namespace {

#ifdef NDEBUG
constexpr std::uint32_t kBinadeStride = 1;
constexpr int kRandomFloats = 6'000'000;
#else
constexpr std::uint32_t kBinadeStride = 97;  // the sanitizer build checks a sample
constexpr int kRandomFloats = 100'000;
#endif

struct Field {
    int width;
    int decimals;
};

// The fixed-point fields of the output files, and those of the console's free-form reals.
const std::vector<Field> kFields = {{12, 4}, {9, 4}, {10, 5}, {8, 5}, {9, 0}, {6, 1}, {6, 2}, {6, 0}, {4, 1}, {5, 2},
                                    {11, 0}, {11, 1}, {11, 2}, {11, 3}, {11, 4}, {11, 5}, {11, 6}, {11, 7}};

std::string rendered(void (*render)(char*, int, int, float), float value, Field field) {
    std::string text(static_cast<std::size_t>(field.width), '?');
    render(text.data(), field.width, field.decimals, value);
    return text;
}

// Counts the mismatches and reports the first few.
class Comparison {
public:
    void check(float value, Field field) {
        const std::string fast = rendered(renderFixed, value, field);
        const std::string reference = rendered(renderFixedByToChars, value, field);
        if (field.width == 10 && field.decimals == 5) {
            // The density field's own road.
            std::string density(10, '?');
            renderFixed10x5(density.data(), value);
            if (density != reference && ++mismatches_ <= 5) ADD_FAILURE() << "10.5 field of " << std::hexfloat << value;
            // And with the blank before it, as a spectral line has it.
            std::string columns(11, '?');
            renderBlankAndFixed10x5(columns.data(), value);
            if (columns != " " + reference && ++mismatches_ <= 5) {
                ADD_FAILURE() << "density columns of " << std::hexfloat << value << ": \"" << columns << "\"";
            }
        }
        if (fast == reference) return;
        if (++mismatches_ <= 5) {
            ADD_FAILURE() << "value " << std::hexfloat << value << std::defaultfloat << " (" << value << ") in "
                          << field.width << "." << field.decimals << ": \"" << fast << "\" against \"" << reference
                          << "\"";
        }
    }
    ~Comparison() { EXPECT_EQ(mismatches_, 0); }

private:
    long mismatches_ = 0;
};

float fromBits(std::uint32_t bits) { return std::bit_cast<float>(bits); }

struct Binade {
    Field field;
    int exponent;  // the floats from 2^exponent up to below 2^(exponent + 1)
};

class WholeBinade : public ::testing::TestWithParam<Binade> {};

TEST_P(WholeBinade, EveryFloatOfBothSigns) {
    const Binade& b = GetParam();
    const std::uint32_t first = static_cast<std::uint32_t>(b.exponent + 127) << 23;
    Comparison comparison;
    for (std::uint32_t m = 0; m < (1u << 23); m += kBinadeStride) {
        comparison.check(fromBits(first | m), b.field);
        comparison.check(fromBits(0x80000000u | first | m), b.field);
    }
}

INSTANTIATE_TEST_SUITE_P(
    RoundingTiesAndLimits, WholeBinade,
    ::testing::Values(Binade{{10, 5}, -18},  // around 0.000005, where the last digit turns
                      Binade{{10, 5}, -1},   // 0.5 to 1, with ties at odd multiples of 2^-6
                      Binade{{10, 5}, 13},   // around 9999.99999, the last value that fits
                      Binade{{6, 1}, 6},     // around 99.95
                      Binade{{12, 4}, 23},   // whole numbers up to 2^24, beyond 10^7
                      Binade{{9, 0}, -2},    // 0.25 to 0.5, all rounding to 0
                      Binade{{11, 7}, -4}),  // the console's 7 decimals
    [](const auto& info) { return "Binade" + std::to_string(info.index); });

TEST(ScaledFixedField, RandomFloatsInEveryField) {
    std::mt19937 random(31337);
    Comparison comparison;
    for (int n = 0; n < kRandomFloats; ++n) {
        // Random bits, mostly of magnitudes that the fields can show.
        std::uint32_t bits = random();
        if (n % 4 != 0) bits = (bits & 0x807fffffu) | ((104u + random() % 50u) << 23);
        comparison.check(fromBits(bits), kFields[static_cast<std::size_t>(n) % kFields.size()]);
    }
}

TEST(ScaledFixedField, TiesGoToTheEvenDigit) {
    // With d decimals the exact ties are the odd multiples of 2^-(d + 1).
    Comparison comparison;
    for (int decimals = 0; decimals <= 9; ++decimals) {
        for (std::uint32_t odd = 1; odd < 400000; odd += 2) {
            const float tie = std::ldexp(static_cast<float>(odd), -(decimals + 1));
            for (const float value : {tie, -tie}) {
                comparison.check(value, {20, decimals});
                for (const Field& field : kFields) {
                    if (field.decimals == decimals) comparison.check(value, field);
                }
            }
        }
    }
}

TEST(ScaledFixedField, AroundEveryAsteriskLimitAndPowerOfTen) {
    Comparison comparison;
    for (const Field& field : kFields) {
        const double half = 0.5 * std::pow(10.0, -field.decimals);
        std::vector<double> limits;
        for (int digits = 0; digits <= field.width; ++digits) {
            limits.push_back(std::pow(10.0, digits) - half);  // rounds up to one more digit
            limits.push_back(std::pow(10.0, digits));
        }
        limits.push_back(half);
        for (const double limit : limits) {
            float value = static_cast<float>(limit);
            for (int step = 0; step < 8; ++step) value = std::nextafter(value, 0.0f);
            for (int step = 0; step <= 16; ++step, value = std::nextafter(value, INFINITY)) {
                comparison.check(value, field);
                comparison.check(-value, field);
            }
        }
    }
}

// The word-at-a-time digits of small densities, for every whole number they take.
TEST(ScaledFixedField, EverySmallDensityHasItsFiveDigits) {
    char expected[16];
    for (std::uint32_t whole = 0; whole < 100000; ++whole) {
        std::string columns(11, '?');
        renderSmallDensityColumns(columns.data(), whole);
        std::snprintf(expected, sizeof expected, "    0.%05u", static_cast<unsigned>(whole));
        ASSERT_EQ(columns, expected) << whole;
    }
}

TEST(ScaledFixedField, ZerosSubnormalsAndTheEndsOfTheRoad) {
    const float inf = std::numeric_limits<float>::infinity();
    const std::vector<float> values = {0.0f, -0.0f, std::numeric_limits<float>::denorm_min(),
                                       -std::numeric_limits<float>::denorm_min(), 0x1.fffffcp-127f,
                                       std::numeric_limits<float>::min(), 0x1.fffffep30f, 2147483648.0f, -0x1.fffffep30f,
                                       -2147483648.0f, 0x1.000002p31f, 4294967296.0f, 0x1.fffffep51f, 0x1p52f, std::numeric_limits<float>::max(),
                                       -std::numeric_limits<float>::max(), inf, -inf, std::nanf("")};
    Comparison comparison;
    for (const float value : values) {
        for (int decimals = 0; decimals <= 12; ++decimals) {
            for (const int width : {1, decimals + 1, decimals + 2, 10, 12, 41, 60}) comparison.check(value, {width, decimals});
        }
    }
    // The road ends where |value| * 10^d reaches 2^52; beyond it, and beyond 9 decimals, the
    // reference renders. Both sides of that end render alike.
    char field[64];
    for (int decimals = 0; decimals <= 9; ++decimals) {
        const double end = std::ldexp(1.0, 52) / std::pow(10.0, decimals);
        float last = static_cast<float>(end);
        while (static_cast<double>(last) >= end) last = std::nextafter(last, 0.0f);
        const float beyond = std::nextafter(last, INFINITY);
        EXPECT_TRUE(renderScaledFixedField(field, 40, decimals, last)) << decimals;
        EXPECT_TRUE(renderScaledFixedField(field, 40, decimals, -last)) << decimals;
        EXPECT_FALSE(renderScaledFixedField(field, 40, decimals, beyond)) << decimals;
        for (const float value : {last, beyond, -last, -beyond}) {
            for (const int width : {12, 30, 40}) comparison.check(value, {width, decimals});
        }
    }
    EXPECT_FALSE(renderScaledFixedField(field, 12, 10, 1.0f));
    EXPECT_FALSE(renderScaledFixedField(field, 12, 4, inf));
    EXPECT_FALSE(renderScaledFixedField(field, 12, 4, std::nanf("")));
}

}  // namespace
}  // namespace ww3b
