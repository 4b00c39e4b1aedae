// The 2-D spectral file of mode 1 and the Brevolan spectrum file of mode 2.

#include <cmath>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "output/brevolan_spectrum_file.hpp"
#include "output/full_spectral_file.hpp"
#include "output/record_writers.hpp"
#include "output/spectral_block.hpp"
#include "textio/fixed_record.hpp"
#include "textio/record_layout.hpp"
#include "support/text_io_helpers.hpp"

namespace ww3b {
namespace {

using testing::writtenText;

SpectralGrid gridOf(int nf, int nd) {
    SpectralGrid grid;
    grid.frequencyCount = nf;
    grid.directionCount = nd;
    for (int i = 0; i < nf; ++i) grid.frequencies[i] = 0.05f * static_cast<float>(i + 1);
    return grid;
}

long lineCount(const std::string& text) { return std::count(text.begin(), text.end(), '\n'); }

TEST(FullSpectralFile, TheExampleOfThreeFrequenciesAndEightDirections) {
    const SpectralGrid grid = gridOf(3, 8);
    InputRecord record;
    record.windSpeed = 5.2f;
    record.windDirection = 180.0f;
    record.spectrum[0] = {0.0012f, 0.0345f, 0.125f, 0.0456f, 0.0023f, 0.0f, 0.0f, 0.0001f};
    record.spectrum[1] = {0.01f, 0.2f, 0.7311f, 0.3f, 0.004f, 0.0f, 0.0f, 0.00002f};
    record.spectrum[2] = {0.0031f, 0.052f, 0.2104f, 0.0772f, 0.0011f, 0.0f, 0.0f, 0.0f};
    const std::string written = writtenText([&](OutputFile& out) {
        const RecordTime time = splitRecordTime(20090115, 120000);
        FullPlaneParameters parameters;
        parameters.peakBand = 1;
        FullSpectralWriter(out).write({grid, time, record, parameters});
    });
    EXPECT_EQ(written,
              "  3  8\r\n"
              " 0.05000 0.10000 0.15000\r\n"
              " 9011512     5.2       180.   0.10000    0.00\r\n"
              "    0.00120    0.03450    0.12500    0.04560    0.00230    0.00000    0.00000\r\n"
              "    0.00010\r\n"
              "    0.01000    0.20000    0.73110    0.30000    0.00400    0.00000    0.00000\r\n"
              "    0.00002\r\n"
              "    0.00310    0.05200    0.21040    0.07720    0.00110    0.00000    0.00000\r\n"
              "    0.00000\r\n");
}

TEST(FullSpectralFile, HeaderOnlyWithTheFirstRecordAndLinesByCount) {
    auto twoRecords = [](int nf, int nd) {
        const SpectralGrid grid = gridOf(nf, nd);
        InputRecord record;
        return writtenText([&](OutputFile& out) {
            const RecordTime first = splitRecordTime(20000101, 0);
            const RecordTime second = splitRecordTime(20000101, 10000);
            const FullPlaneParameters parameters;
            FullSpectralWriter writer(out);
            writer.write({grid, first, record, parameters});
            writer.write({grid, second, record, parameters});
        });
    };
    // Header: 1 + ceil(nf / 10) lines; each block: 1 + nf * ceil(nd / 7) lines.
    EXPECT_EQ(lineCount(twoRecords(10, 7)), 2 + 2 * (1 + 10));
    EXPECT_EQ(lineCount(twoRecords(11, 36)), 3 + 2 * (1 + 11 * 6));
    const std::string text = twoRecords(11, 36);
    EXPECT_NE(text.find("\r\n 0.55000\r\n"), std::string::npos);  // the second frequency line holds one value
    EXPECT_NE(text.find("\r\n   10100     0.0         0.   0.05000    0.00\r\n"), std::string::npos);
    EXPECT_EQ(text.find("  3 36", 1), std::string::npos);
}

TEST(FullSpectralFile, TinyAndHugeDensities) {
    const SpectralGrid grid = gridOf(3, 2);
    InputRecord record;
    record.spectrum[0] = {0.000004f, 10000.0f};
    record.spectrum[1] = {-0.000004f, 9999.99999f};
    const std::string text = writtenText([&](OutputFile& out) {
        FullSpectralFile::writeBlock(out, grid, splitRecordTime(20100603, 120000), record, 0);
    });
    EXPECT_NE(text.find("\r\n    0.00000 **********\r\n    0.00000 **********\r\n"), std::string::npos) << text;
}

TEST(SpectralDensities, LinesAsTheGeneralRecordStatementWritesThem) {
    // The density lines are written field by field; the general statement with their
    // layout is the reference, for every count up to three lines and values of every kind.
    const RecordLayout layout({group(1, {group(7, {blankSkip(1), fixedField(10, 5)})})});
    std::mt19937 random(7);
    std::vector<float> values;
    for (std::size_t count = 0; count <= 21; ++count) {
        values.resize(count);
        for (float& v : values) {
            const int kind = static_cast<int>(random() % 6);
            const float magnitude = std::ldexp(static_cast<float>(random() % 1000000) / 1e6f, static_cast<int>(random() % 40) - 25);
            v = kind == 0 ? NAN : (kind == 1 ? -magnitude : (kind == 2 ? 0.0f : magnitude));
        }
        const std::span<const float> densities(values);
        EXPECT_EQ(writtenText([&](OutputFile& out) { writeSpectralDensities(out, densities); }),
                  writtenText([&](OutputFile& out) { writeFixedRecord(out, layout, densities); }))
            << count;
    }
}

TEST(BrevolanSpectrumFile, TheLayoutExampleOfOneFrequency) {
    SpectralGrid grid = gridOf(1, 24);
    grid.frequencies[0] = 0.1f;
    HalfPlaneSpectrum spectrum;
    const float values[35] = {0.00022f, 0.00054f, 0.00127f, 0.00285f, 0.00604f, 0.01209f, 0.02290f,
                              0.04104f, 0.06956f, 0.11155f, 0.16921f, 0.24280f, 0.32957f, 0.42318f,
                              0.51401f, 0.59059f, 0.64192f, 0.66000f, 0.64192f, 0.59059f, 0.51401f,
                              0.42318f, 0.32957f, 0.24280f, 0.16921f, 0.11155f, 0.06956f, 0.04104f,
                              0.02290f, 0.01209f, 0.00604f, 0.00285f, 0.00127f, 0.00054f, 0.00022f};
    for (int k = -17; k <= 17; ++k) spectrum.at(0, k) = values[k + 17];
    const std::string text = writtenText([&](OutputFile& out) {
        BrevolanSpectrumFile::writeHeader(out, grid);
        BrevolanSpectrumFile::writeBlock(out, grid, 10060312, 5.2f, 180.0f, spectrum, 0);
    });
    EXPECT_EQ(text,
              "  1 35\r\n"
              " 0.10000\r\n"
              "10060312     5.2       180.   0.10000    0.00\r\n"
              "    0.00022    0.00054    0.00127    0.00285    0.00604    0.01209    0.02290\r\n"
              "    0.04104    0.06956    0.11155    0.16921    0.24280    0.32957    0.42318\r\n"
              "    0.51401    0.59059    0.64192    0.66000    0.64192    0.59059    0.51401\r\n"
              "    0.42318    0.32957    0.24280    0.16921    0.11155    0.06956    0.04104\r\n"
              "    0.02290    0.01209    0.00604    0.00285    0.00127    0.00054    0.00022\r\n");
}

TEST(BrevolanSpectrumFile, FiveLinesPerFrequencyAndTheHalfPlanePeak) {
    const SpectralGrid grid = gridOf(25, 24);
    HalfPlaneSpectrum spectrum;
    spectrum.at(3, 0) = 1.0f;
    const std::string text = writtenText([&](OutputFile& out) {
        BrevolanSpectrumFile::writeHeader(out, grid);
        BrevolanSpectrumFile::writeBlock(out, grid, 9011512, 5.2f, 180.0f, spectrum, 3);
    });
    EXPECT_EQ(lineCount(text), 1 + 3 + 1 + 5 * 25);
    EXPECT_NE(text.find("\r\n 9011512     5.2       180.   0.20000    0.00\r\n"), std::string::npos);
    // The shore-normal bin is the fourth value of the third line of its frequency.
    EXPECT_NE(text.find("\r\n    0.00000    0.00000    0.00000    1.00000    0.00000"), std::string::npos);
}

}  // namespace
}  // namespace ww3b
