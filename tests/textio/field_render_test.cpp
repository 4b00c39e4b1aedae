#include "textio/field_render.hpp"

#include <cmath>
#include <limits>
#include <string>

#include <gtest/gtest.h>

namespace ww3b {
namespace {

std::string fixed(float value, int width, int decimals) {
    std::string field(static_cast<std::size_t>(width), '?');
    renderFixed(field.data(), width, decimals, value);
    return field;
}

std::string integer(std::int32_t value, int width) {
    std::string field(static_cast<std::size_t>(width), '?');
    renderInteger(field.data(), width, value);
    return field;
}

struct IntegerCase {
    std::int32_t value;
    int width;
    const char* written;
};

class RenderIntegerTable : public ::testing::TestWithParam<IntegerCase> {};

TEST_P(RenderIntegerTable, RightAlignedWithoutLeadingZeros) {
    EXPECT_EQ(integer(GetParam().value, GetParam().width), GetParam().written);
}

INSTANTIATE_TEST_SUITE_P(Table, RenderIntegerTable,
                         ::testing::Values(IntegerCase{5, 2, " 5"}, IntegerCase{0, 3, "  0"},
                                           IntegerCase{-1, 3, " -1"}, IntegerCase{-12, 3, "-12"},
                                           IntegerCase{20, 8, "      20"}, IntegerCase{123, 2, "**"},
                                           IntegerCase{-123, 3, "***"},
                                           IntegerCase{-2147483647 - 1, 11, "-2147483648"}));

struct FixedCase {
    float value;
    int width;
    int decimals;
    const char* written;
};

class RenderFixedTable : public ::testing::TestWithParam<FixedCase> {};

TEST_P(RenderFixedTable, RoundsTheExactFloatHalfToEven) {
    const FixedCase& c = GetParam();
    EXPECT_EQ(fixed(c.value, c.width, c.decimals), c.written) << c.value;
}

INSTANTIATE_TEST_SUITE_P(
    Table, RenderFixedTable,
    ::testing::Values(
        FixedCase{3.14159f, 9, 4, "   3.1416"}, FixedCase{0.1f, 10, 5, "   0.10000"},
        FixedCase{0.05f, 8, 5, " 0.05000"}, FixedCase{-1.0f, 12, 4, "     -1.0000"},
        FixedCase{0.0f, 12, 4, "      0.0000"}, FixedCase{-0.00004f, 9, 4, "   0.0000"},
        FixedCase{-0.00006f, 9, 4, "  -0.0001"}, FixedCase{9.99995f, 9, 4, "  10.0000"},
        FixedCase{12345.6789f, 12, 4, "  12345.6787"}, FixedCase{123.45f, 6, 1, " 123.4"},
        FixedCase{12.25f, 6, 1, "  12.2"}, FixedCase{12.75f, 6, 1, "  12.8"},
        FixedCase{0.125f, 6, 2, "  0.12"}, FixedCase{0.375f, 6, 2, "  0.38"},
        FixedCase{2.5f, 6, 0, "    2."}, FixedCase{3.5f, 6, 0, "    4."},
        FixedCase{1234.0f, 9, 0, "    1234."}, FixedCase{0.4f, 9, 0, "       0."},
        FixedCase{100.0f, 6, 2, "100.00"}, FixedCase{12.34f, 4, 1, "12.3"},
        FixedCase{0.5f, 4, 2, "0.50"}, FixedCase{-0.5f, 4, 2, "-.50"}, FixedCase{0.5f, 3, 2, ".50"},
        FixedCase{-0.5f, 3, 2, "***"}, FixedCase{99.96f, 4, 1, "****"},
        FixedCase{-12.3f, 4, 1, "****"}, FixedCase{1000.0f, 5, 2, "*****"},
        FixedCase{10000000.0f, 12, 4, "************"},
        // No minus sign on anything that rounds to zero, in any width.
        FixedCase{-0.0f, 6, 1, "   0.0"}, FixedCase{-0.04f, 6, 1, "   0.0"}, FixedCase{-0.4f, 6, 0, "    0."},
        FixedCase{-0.004f, 3, 2, ".00"},
        // A width of decimals + 1 never shows the leading zero; a negative value overflows.
        FixedCase{0.3f, 2, 1, ".3"}, FixedCase{-0.3f, 2, 1, "**"},
        // The largest float renders in full when the field is wide enough.
        FixedCase{std::numeric_limits<float>::max(), 41, 0, " 340282346638528859811704183484516925440."}));

TEST(RenderFixed, NotANumberAndInfinityStandRightAlignedWhenTheyFit) {
    const float inf = std::numeric_limits<float>::infinity();
    EXPECT_EQ(fixed(std::nanf(""), 6, 1), "   NaN");
    EXPECT_EQ(fixed(inf, 9, 0), " Infinity");
    EXPECT_EQ(fixed(-inf, 9, 0), "-Infinity");
    EXPECT_EQ(fixed(std::nanf(""), 2, 0), "**");
    EXPECT_EQ(fixed(inf, 6, 1), "******");
}

TEST(RenderText, RightAlignsShortTextsAndCutsLongOnes) {
    std::string field(5, '?');
    renderText(field.data(), 5, "ab");
    EXPECT_EQ(field, "   ab");
    renderText(field.data(), 5, "abcdefg");
    EXPECT_EQ(field, "abcde");
}

struct FreeFormCase {
    float value;
    const char* written;
};

class RenderFreeFormRealTable : public ::testing::TestWithParam<FreeFormCase> {};

TEST_P(RenderFreeFormRealTable, FixedFormFromOneTenthToTenMillionElseExponentForm) {
    std::string field(kFreeFormRealWidth, '?');
    renderFreeFormReal(field.data(), GetParam().value);
    EXPECT_EQ(field, GetParam().written);
}

INSTANTIATE_TEST_SUITE_P(Table, RenderFreeFormRealTable,
                         ::testing::Values(FreeFormCase{10.0f, "   10.00000    "}, FreeFormCase{10.5f, "   10.50000    "},
                                           FreeFormCase{2.5f, "   2.500000    "}, FreeFormCase{0.5f, "  0.5000000    "},
                                           FreeFormCase{-3.25f, "  -3.250000    "},
                                           FreeFormCase{123.456f, "   123.4560    "},
                                           FreeFormCase{1234567.0f, "   1234567.    "},
                                           FreeFormCase{0.05f, "  5.0000001E-02"},
                                           FreeFormCase{0.0f, "  0.0000000E+00"},
                                           FreeFormCase{-0.0f, "  0.0000000E+00"},
                                           FreeFormCase{10000000.0f, "  1.0000000E+07"},
                                           FreeFormCase{-0.05f, " -5.0000001E-02"},
                                           FreeFormCase{0.1f, "  0.1000000    "},
                                           FreeFormCase{0.099999994f, "  9.9999994E-02"},
                                           FreeFormCase{9999999.0f, "   9999999.    "},
                                           FreeFormCase{1e-40f, "  9.9999461E-41"}));

}  // namespace
}  // namespace ww3b
