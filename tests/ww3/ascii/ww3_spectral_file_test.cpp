#include "ww3/ascii/ww3_spectral_file.hpp"

#include <string>

#include <gtest/gtest.h>

#include "support/ww3_text.hpp"
#include "textio/io_diagnostic.hpp"

namespace ww3b {
namespace {

struct Spectra {
    explicit Spectra(std::string text) : text_(std::move(text)), in(11, "in.spec", text_) {}
    std::string text_;
    InputFile in;
    SpectralGrid grid;
    InputRecord record;
};

TEST(Ww3Header, CountsListsAndTheLineOfTheFirstTimeStep) {
    Spectra file(testing::Ww3Text::withGrid(25, 24).step(20100603, 120000).text);
    ASSERT_TRUE(readSpectralHeader(file.in, file.grid));
    EXPECT_EQ(file.grid.frequencyCount, 25);
    EXPECT_EQ(file.grid.directionCount, 24);
    EXPECT_EQ(file.grid.pointCount, 1);
    EXPECT_FLOAT_EQ(file.grid.frequencies[24], 1.25f);
    EXPECT_NEAR(file.grid.directions[23], 1.83f, 0.005f);  // 345 degrees travels towards bearing 105
    // 4 frequency lines (8, 8, 8, 1) and 4 direction lines (7, 7, 7, 3): the time line is line 10.
    EXPECT_EQ(file.in.lineNumber(), 10);
    EXPECT_EQ(file.grid.degreesPerDirection, 15);
}

TEST(Ww3Header, FieldsWithoutAPointHaveThreeImpliedDecimalsAndCrLfLinesReadAlike) {
    Spectra file("'WAVEWATCH III SPECTRA'      3     1     3 'x'\r\n       412       500 0.600E+00\r\n      1234\r\n");
    ASSERT_TRUE(readSpectralHeader(file.in, file.grid));
    EXPECT_FLOAT_EQ(file.grid.frequencies[0], 0.412f);
    EXPECT_FLOAT_EQ(file.grid.frequencies[1], 0.5f);
    EXPECT_FLOAT_EQ(file.grid.frequencies[2], 0.6f);
    EXPECT_FLOAT_EQ(file.grid.directions[0], 1.234f);
    EXPECT_EQ(file.grid.pointCount, 3);  // read, never used
}

TEST(Ww3Header, AnEmptyFileHasNoHeader) {
    Spectra file("");
    EXPECT_FALSE(readSpectralHeader(file.in, file.grid));
}

TEST(Ww3Header, AListCutShortEndsTheRun) {
    Spectra file("'WAVEWATCH III SPECTRA'     10     1     1 'x'\n 0.1 0.2\n");
    EXPECT_THROW(readSpectralHeader(file.in, file.grid), RunFailure);
}

TEST(Ww3TimeStep, TimeLinesTakeTheirFirstTwoValuesFromAsManyLinesAsNeeded) {
    Spectra file("20100603 120000 17\n20100604\n  30000\n");
    ASSERT_EQ(readTimeLine(file.in, file.record).outcome, ReadOutcome::Ok);
    EXPECT_EQ(file.record.date, 20100603);
    EXPECT_EQ(file.record.time, 120000);
    ASSERT_EQ(readTimeLine(file.in, file.record).outcome, ReadOutcome::Ok);
    EXPECT_EQ(file.record.time, 30000);
    EXPECT_EQ(readTimeLine(file.in, file.record).outcome, ReadOutcome::EndOfFile);
}

TEST(Ww3TimeStep, PointLinesReadOnlyColumns30To50) {
    Spectra file(testing::pointLine(46.6f, 1.45f, 225.6f) + "\n" + "xxxxxxxxxxxxxxxxxxxxxxxxxxxxx   16.0  5.2\n" +
                 "'44097     '  40.98 -71.12      46.6   1.45\r\n");
    readPointLine(file.in, file.record);
    EXPECT_FLOAT_EQ(file.record.depth, 46.6f);
    EXPECT_FLOAT_EQ(file.record.windSpeed, 1.45f);
    EXPECT_FLOAT_EQ(file.record.windDirection, 225.6f);
    readPointLine(file.in, file.record);
    EXPECT_FLOAT_EQ(file.record.depth, 16.0f);
    EXPECT_FLOAT_EQ(file.record.windSpeed, 5.2f);
    readPointLine(file.in, file.record);  // ends at column 43: no wind direction
    EXPECT_EQ(file.record.windDirection, 0.0f);
}

TEST(Ww3TimeStep, ASpectrumBlockReadsAlikeWhateverItsLinesAndKeepsFrequencyByFrequency) {
    SpectralGrid grid;
    grid.frequencyCount = 3;
    grid.directionCount = 2;
    for (const std::string& block : {std::string("1 2 3 4 5 6\nnext\n"), std::string("1\n2\n3\n4\n5\n6 7\nnext\n"),
                                    std::string("  1,2 3\r\n\n 4 5 6\r\nnext\n")}) {
        Spectra file(block);
        readSpectrumBlock(file.in, grid, file.record);
        // Frequency varies fastest in the file: direction 0 holds 1, 2, 3.
        EXPECT_EQ(file.record.spectrum[0][0], 1.0f);
        EXPECT_EQ(file.record.spectrum[2][0], 3.0f);
        EXPECT_EQ(file.record.spectrum[0][1], 4.0f);
        EXPECT_EQ(file.record.spectrum[2][1], 6.0f);
        char rest[8];
        EXPECT_EQ(file.in.readLine(rest, sizeof rest), 4) << block;
    }
}

}  // namespace
}  // namespace ww3b
