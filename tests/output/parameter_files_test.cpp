// The parameter lines of the full-plane, half-plane and Brevolan parameter files.

#include <gtest/gtest.h>

#include "output/brevolan_parameter_file.hpp"
#include "output/parameter_files.hpp"
#include "support/text_io_helpers.hpp"

namespace ww3b {
namespace {

using testing::writtenText;

WaveParameters waves(float hs, float tp, float tm, float direction, int peakBand = 0) {
    WaveParameters p;
    p.significantHeight = hs;
    p.peakPeriod = tp;
    p.meanPeriod = tm;
    p.meanDirection = direction;
    p.peakBand = peakBand;
    return p;
}

InputRecord wind(float speed, float direction) {
    InputRecord record;
    record.windSpeed = speed;
    record.windDirection = direction;
    return record;
}

std::string fullPlaneLine(int date, int time, const WaveParameters& p, float speed = 5.2f, float direction = 180.0f) {
    return writtenText([&](OutputFile& out) {
        FullPlaneParameterFile::appendLine(out, splitRecordTime(date, time), p, wind(speed, direction));
    });
}

TEST(FullPlaneParameterFile, TheExampleLine) {
    EXPECT_EQ(fullPlaneLine(20090115, 120000, waves(2.346f, 12.34f, 8.51f, 270.3f)),
              "   0  9  1 15 12.0 2.35  12.3   8.5  270.   5.2  180.\r\n");
}

TEST(FullPlaneParameterFile, HoursYearsDirectionsAndOverflow) {
    const WaveParameters p = waves(1.0f, 10.0f, 8.0f, 200.0f);
    EXPECT_EQ(fullPlaneLine(20100603, 0, p).substr(0, 18), "   0 10  6  3  0.0");
    EXPECT_EQ(fullPlaneLine(20100603, 234000, p).substr(13, 5), " 23.7");
    EXPECT_EQ(fullPlaneLine(20100603, 63000, p).substr(13, 5), "  6.5");
    EXPECT_EQ(fullPlaneLine(20050101, 120000, p).substr(0, 13), "   0  5  1  1");
    EXPECT_EQ(fullPlaneLine(20100603, 0, waves(1.0f, 10.0f, 8.0f, 359.6f)).substr(35, 6), "  360.");
    EXPECT_EQ(fullPlaneLine(20100603, 0, waves(1.0f, 10.0f, 8.0f, 360.0f)).substr(35, 6), "  360.");
    // Hs of 100 m does not fit its five columns; the rest of the line is unaffected.
    EXPECT_EQ(fullPlaneLine(20100603, 120000, waves(100.0f, 12.34f, 8.51f, 270.3f)),
              "   0 10  6  3 12.0*****  12.3   8.5  270.   5.2  180.\r\n");
}

TEST(HalfPlaneParameterFile, TheExampleLine) {
    EXPECT_EQ(writtenText([](OutputFile& out) {
                  HalfPlaneParameterFile::appendLine(out, splitRecordTime(20100603, 120000),
                                                     waves(1.8234f, 12.5f, 9.1f, 184.7f), wind(5.2f, 180.0f));
              }),
              "   0 10  6  3 12.0 1.82  12.5   9.1  185.   5.2  180.\r\n");
}

const char* const kTitleLine =
    "      METHOD      OPTION        TIME       INDEX    ANGLE(1)       HS(1)       TP(1)    GAMMA(1)    ANGLE(2)"
    "       HS(2)       TP(2)    GAMMA(2)        WIND       FETCH       NN(1)       NN(2)   STDDEV(1)   STDDEV(2)"
    "       DEPTH";

TEST(BrevolanParameterFile, TheExampleTableLines) {
    SpectralGrid grid;
    grid.frequencyCount = 3;
    grid.frequencies = {0.05f, 0.08f, 0.1f};
    // o = 90 and a relative mean direction of 355.3: 270 - D - 90 = 355.3 - 360.
    const WaveParameters p = waves(1.8234f, 12.5f, 9.1f, 184.7f, 1);
    const std::string written = writtenText([&](OutputFile& out) {
        BrevolanParameterFile::writeHeader(out);
        BrevolanParameterFile::appendLine(out, grid, 10060312, p, 5.2f, 90.0f, 12.0f);
    });
    EXPECT_EQ(written, std::string("SPECTRAL TABLE\r\n") + kTitleLine + "\r\n" +
                           "           0          -1    999.0000    10060312    355.3000      1.8234     12.5000"
                           "      3.8483    999.0000    999.0000    999.0000    999.0000      5.2000    999.0000"
                           "          20           0    999.0000    999.0000     12.0000\r\n");
    EXPECT_EQ(std::string(kTitleLine).size(), 228u);
}

TEST(BrevolanParameterFile, HugeHeightsStillFitTheTable) {
    SpectralGrid grid;
    grid.frequencies = {0.1f};
    const std::string line = writtenText([&](OutputFile& out) {
        BrevolanParameterFile::appendLine(out, grid, 10060312, waves(123.4567f, 10.0f, 8.0f, 180.0f), 5.2f, 90.0f,
                                          12.0f);
    });
    EXPECT_EQ(line.substr(60, 12), "    123.4567");
}

TEST(BrevolanParameterFile, RelativeDirectionIsBroughtIntoOneTurn) {
    // Energy in bin -1 alone: the mean direction is the compass bearing of o - 5 degrees.
    for (const float o : {180.0f, 360.0f, 300.0f}) {
        const float bearing = 270.0f - (o - 5.0f) > 360.0f ? 270.0f - (o - 5.0f) - 360.0f : 270.0f - (o - 5.0f);
        EXPECT_NEAR(relativeMeanDirection(bearing, o), 355.0f, 1e-4f) << o;
    }
    EXPECT_EQ(relativeMeanDirection(270.0f, 0.0f), 0.0f);
    EXPECT_EQ(relativeMeanDirection(270.0f, 360.0f), 0.0f);
    EXPECT_NEAR(relativeMeanDirection(100.0f, -999640.0f), 90.0f, 0.1f);  // far from one turn, still ends
}

TEST(BrevolanParameterFile, PeakFactorBetweenThreeAndFour) {
    EXPECT_NEAR(peakFactor(0.1f), 3.7616f, 5e-5f);
    EXPECT_NEAR(peakFactor(0.05f), 3.9640f, 5e-5f);
    EXPECT_NEAR(peakFactor(0.25f), 3.3799f, 5e-5f);
    EXPECT_NEAR(peakFactor(0.08f), 3.8483f, 5e-5f);
}

}  // namespace
}  // namespace ww3b
