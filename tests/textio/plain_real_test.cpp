// The fast road for plain numbers must give the very float of the general road
// (parseReal, which rounds through std::from_chars) wherever it takes a number.

#include "textio/plain_real.hpp"

#include <bit>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "textio/number_syntax.hpp"

namespace ww3b {
namespace {

#ifdef NDEBUG
constexpr int kRandomNumbers = 4'000'000;
#else
constexpr int kRandomNumbers = 200'000;  // the sanitizer build checks a sample
#endif

struct Scanned {
    bool taken = false;
    float value = 0;
    std::size_t length = 0;
};

Scanned scan(const std::string& text) {
    Scanned result;
    const char* stop = scanPlainReal(text.data(), text.data() + text.size(), result.value);
    result.taken = stop != nullptr;
    if (stop) result.length = static_cast<std::size_t>(stop - text.data());
    return result;
}

// Returns whether the fast road took the whole text.
bool expectGeneralRoadValue(const std::string& text) {
    const Scanned fast = scan(text);
    if (!fast.taken || fast.length != text.size()) return false;
    float general = 0;
    EXPECT_EQ(parseReal(text, general), NumberStatus::Ok) << text;
    EXPECT_EQ(std::bit_cast<std::uint32_t>(fast.value), std::bit_cast<std::uint32_t>(general))
        << text << ": " << fast.value << " against " << general;
    return true;
}

std::string digits(unsigned value, int count) {
    std::string text = std::to_string(value);
    return std::string(static_cast<std::size_t>(count) - text.size(), '0') + text;
}

TEST(PlainReal, EveryThreeDigitMantissaWithEveryExponentInTheWaveModelsShape) {
    // "0.ddd" with E-16 to E+16: the shape of every density of a WW3 block.
    for (const char* sign : {"", "-", "+"}) {
        for (unsigned m = 0; m < 1000; ++m) {
            for (int e = -16; e <= 16; ++e) {
                const std::string text = sign + ("0." + digits(m, 3)) + (e < 0 ? "E-" : "E+") + digits(static_cast<unsigned>(std::abs(e)), 2);
                const bool taken = expectGeneralRoadValue(text);
                // Taken whenever w * 10^(e - 3) has |e - 3| <= 10, and for every zero.
                EXPECT_EQ(taken, m == 0 || std::abs(e - 3) <= 10) << text;
            }
        }
    }
}

TEST(PlainReal, NearMissesOfTheWaveModelShape) {
    // Every byte in every place of "0.123E-01" and of "-0.456E+02": what the road takes,
    // in whole or in part, reads as the general road reads that part.
    for (const std::string base : {"0.123E-01", "-0.456E+02"}) {
        for (std::size_t place = 0; place < base.size(); ++place) {
            for (int byte = 1; byte < 256; ++byte) {
                std::string text = base;
                text[place] = static_cast<char>(byte);
                const Scanned fast = scan(text + " ");
                if (fast.taken) expectGeneralRoadValue(text.substr(0, fast.length));
            }
        }
    }
}

TEST(PlainReal, OtherPlacesOfThePointAndLowerCaseExponents) {
    for (unsigned m = 0; m < 100000; m += 7) {
        const std::string d = std::to_string(m);
        for (std::size_t point = 0; point <= d.size(); ++point) {
            const std::string text = d.substr(0, point) + "." + d.substr(point);
            EXPECT_TRUE(expectGeneralRoadValue(text)) << text;
            EXPECT_TRUE(expectGeneralRoadValue("-" + text + "e-5")) << text;
        }
        EXPECT_TRUE(expectGeneralRoadValue(d));
        EXPECT_TRUE(expectGeneralRoadValue(d + "e3"));
    }
}

TEST(PlainReal, RandomNumbersReadAsTheGeneralRoadReadsThem) {
    std::mt19937_64 random(20240611);
    int taken = 0;
    for (int n = 0; n < kRandomNumbers; ++n) {
        const std::uint64_t bits = random();
        std::string text;
        if (bits & 1) text += (bits & 2) ? '-' : '+';
        const int integerDigits = static_cast<int>((bits >> 2) % 6);
        const int fractionDigits = static_cast<int>((bits >> 5) % 10);
        for (int i = 0; i < integerDigits; ++i) text += static_cast<char>('0' + random() % 10);
        if (fractionDigits > 0 || integerDigits == 0 || (bits & 0x100)) text += '.';
        for (int i = 0; i < fractionDigits || (integerDigits == 0 && i == 0); ++i) text += static_cast<char>('0' + random() % 10);
        if (bits & 0x200) {
            const int exponent = static_cast<int>((bits >> 10) % 51) - 25;
            text += (bits & 0x400000) ? 'e' : 'E';
            if (exponent < 0 || (bits & 0x800000)) text += exponent < 0 ? '-' : '+';
            text += std::to_string(std::abs(exponent));
        }
        taken += expectGeneralRoadValue(text) ? 1 : 0;
    }
    EXPECT_GT(taken, kRandomNumbers / 3);  // the road is tested, not merely declined
}

TEST(PlainReal, EdgesOfTheRoad) {
    // The largest whole number and powers of ten that the road takes, and the next ones.
    EXPECT_TRUE(expectGeneralRoadValue("16777216"));
    EXPECT_FALSE(scan("16777217").taken);
    EXPECT_FALSE(scan("1677721.7").taken);
    EXPECT_TRUE(expectGeneralRoadValue("1E10"));
    EXPECT_TRUE(expectGeneralRoadValue("16777216E10"));
    EXPECT_TRUE(expectGeneralRoadValue("1E-10"));
    EXPECT_TRUE(expectGeneralRoadValue("16777215E-10"));
    EXPECT_FALSE(scan("1E11").taken);
    EXPECT_FALSE(scan("1E-11").taken);
    EXPECT_FALSE(scan("0.1E-10").taken);
    // Products and quotients that need rounding, some of them to even.
    for (const char* text : {"16777215E1", "16777213E2", "9999999E10", "8388609E1", "3E-1", "1677721.5E+1", "0.999E-07"})
        EXPECT_TRUE(expectGeneralRoadValue(text)) << text;
    // Zeros keep their sign, whatever their exponent.
    EXPECT_TRUE(expectGeneralRoadValue("-0.000E+00"));
    EXPECT_EQ(std::bit_cast<std::uint32_t>(scan("-0.000E+00").value), 0x80000000u);
    EXPECT_TRUE(expectGeneralRoadValue("0E99"));
    EXPECT_TRUE(expectGeneralRoadValue("0.000000000000000000"));
    // Long exponents and mantissas of more than 19 digits, zeros included, go the general way.
    EXPECT_FALSE(scan("0.0000000000000000000").taken);
    EXPECT_TRUE(expectGeneralRoadValue("1E+005"));
    EXPECT_FALSE(scan("1E+0005").taken);
    EXPECT_FALSE(scan("1.0000000000000000000").taken);
    // Exponents far too long are refused whole, without overflowing on the way (found by
    // fuzzing: the digits of a time line run into an exponent).
    EXPECT_FALSE(scan("2.309E-05020100604").taken);
    EXPECT_FALSE(scan("10.1E+9900060400").taken);
    // Not a plain number at all.
    for (const char* text : {"", "-", "+", ".", "-.", "E5", ".E5", "1E", "1E+", "abc"}) EXPECT_FALSE(scan(text).taken) << text;
    // The scan stops where the plain shape stops; what follows is the caller's to judge.
    EXPECT_EQ(scan("1.5D2").length, 3u);
    EXPECT_EQ(scan("1.5,2").length, 3u);
    EXPECT_EQ(scan("2*1.5").length, 1u);
    EXPECT_EQ(scan("1.5+3").length, 3u);
}

}  // namespace
}  // namespace ww3b

namespace ww3b {
namespace {

// The wave model's own shape with every two-digit exponent: the road takes every value up
// to E+38 and gives parseReal's float, subnormal results, zeros of either sign and the
// largest floats included; beyond E+38 it leaves the value (and its diagnostic) to
// parseReal. Every float tie that a three-digit mantissa can reach is among these.
TEST(WaveModelReal, EveryThreeDigitMantissaWithEveryExponentAgainstTheGeneralRoad) {
    int taken = 0;
    for (const char* sign : {"", "-"}) {
        for (unsigned m = 0; m < 1000; ++m) {
            for (int e = -99; e <= 99; ++e) {
                const std::string text = sign + ("0." + digits(m, 3)) + (e < 0 ? "E-" : "E+") +
                                         digits(static_cast<unsigned>(std::abs(e)), 2);
                const char* end = text.data() + text.size();
                float fast = 0;
                const char* stop = scanWaveModelReal(text.data(), end, fast);
                ASSERT_EQ(skipWaveModelReal(text.data(), end), stop) << text;
                if (e > 38) {
                    ASSERT_EQ(stop, nullptr) << text;
                    continue;
                }
                ASSERT_EQ(stop, end) << text;
                float general = 0;
                ASSERT_EQ(parseReal(text, general), NumberStatus::Ok) << text;
                ASSERT_EQ(std::bit_cast<std::uint32_t>(fast), std::bit_cast<std::uint32_t>(general)) << text;
                ++taken;
            }
        }
    }
    EXPECT_EQ(taken, 2 * 1000 * (38 + 99 + 1));
    // The edges of the range, in bits: the least subnormal, what rounds to zero below it,
    // a negative zero at the least exponent.
    struct Edge {
        const char* text;
        std::uint32_t bits;
    };
    for (const Edge& edge : {Edge{"0.701E-45", 0x00000001u}, Edge{"0.700E-45", 0u}, Edge{"-0.142E-99", 0x80000000u}}) {
        float value = -1;
        scanWaveModelReal(edge.text, edge.text + std::strlen(edge.text), value);
        EXPECT_EQ(std::bit_cast<std::uint32_t>(value), edge.bits) << edge.text;
    }
}

TEST(WaveModelReal, NearMissesAreLeftOrReadAsTheGeneralRoadReadsThem) {
    // Every byte in every place, and texts cut short: what the road takes is the whole
    // shape and nothing else.
    for (const std::string base : {"0.142E-33", "-0.999E+38"}) {
        for (std::size_t place = 0; place <= base.size(); ++place) {
            for (int byte = 1; byte < 256; ++byte) {
                std::string text = base;
                if (place < base.size()) text[place] = static_cast<char>(byte);
                if (place == base.size()) text.resize(static_cast<std::size_t>(byte) % base.size());
                float fast = 0;
                const char* stop = scanWaveModelReal(text.data(), text.data() + text.size(), fast);
                if (stop == nullptr) continue;
                const std::string takenText(text.c_str(), static_cast<std::size_t>(stop - text.data()));
                float general = 0;
                ASSERT_EQ(parseReal(takenText, general), NumberStatus::Ok) << takenText;
                EXPECT_EQ(std::bit_cast<std::uint32_t>(fast), std::bit_cast<std::uint32_t>(general)) << takenText;
                EXPECT_EQ(takenText.size(), takenText[0] == '-' ? 10u : 9u) << takenText;
            }
        }
    }
}

}  // namespace
}  // namespace ww3b
