#include "textio/fixed_record.hpp"

#include <array>
#include <vector>

#include <gtest/gtest.h>

#include "support/text_io_helpers.hpp"
#include "textio/io_diagnostic.hpp"

namespace ww3b {
namespace {

using testing::writtenText;

std::string written(const RecordLayout& layout, std::vector<FieldValue> values) {
    return writtenText([&](OutputFile& out) { writeFixedRecord(out, layout, values); });
}

std::string writtenReals(const RecordLayout& layout, const std::vector<float>& values) {
    return writtenText([&](OutputFile& out) { writeFixedRecord(out, layout, values); });
}

const RecordLayout kSevenPerLine({group(1, {group(7, {blankSkip(1), fixedField(10, 5)})})});

std::string repeated(const std::string& text, int times) {
    std::string all;
    for (int i = 0; i < times; ++i) all += text;
    return all;
}

TEST(WriteFixedRecord, RestartsTheLayoutOnANewLineWhileValuesRemain) {
    EXPECT_EQ(writtenReals(kSevenPerLine, std::vector<float>(7, 1.0f)), repeated("    1.00000", 7) + "\r\n");
    EXPECT_EQ(writtenReals(kSevenPerLine, std::vector<float>(8, 0.5f)),
              repeated("    0.50000", 7) + "\r\n    0.50000\r\n");
    const RecordLayout tenPerLine({group(1, {fixedField(8, 5, 10)})});
    const std::string full = repeated(" 0.05000", 10) + "\r\n";
    EXPECT_EQ(writtenReals(tenPerLine, std::vector<float>(25, 0.05f)), full + full + repeated(" 0.05000", 5) + "\r\n");
}

TEST(WriteFixedRecord, ResumesAtTheLastTopLevelGroupOrElseAtTheStart) {
    const RecordLayout headedGroup({integerField(3), group(2, {fixedField(6, 1)})});
    EXPECT_EQ(written(headedGroup, {1, 2.0f, 3.0f, 4.0f, 5.0f}), "  1   2.0   3.0\r\n   4.0   5.0\r\n");
    // Blanks that lead up to the group belong to the first line only; those inside it to every line.
    const RecordLayout skippedGroup({integerField(3), blankSkip(2), group(2, {blankSkip(1), fixedField(4, 1)})});
    EXPECT_EQ(written(skippedGroup, {1, 2.0f, 3.0f, 4.0f, 5.0f}), "  1    2.0  3.0\r\n  4.0  5.0\r\n");
    const RecordLayout noGroup({integerField(3), integerField(3)});
    EXPECT_EQ(written(noGroup, {1, 2, 3}), "  1  2\r\n  3\r\n");
}

TEST(WriteFixedRecord, EndsTheLineAfterTheLastValueWithoutTrailingBlanks) {
    const RecordLayout layout({blankSkip(1), integerField(3), blankSkip(1), fixedField(6, 1, 3), blankSkip(4)});
    EXPECT_EQ(written(layout, {0, 1.5f}), "   0    1.5\r\n");
    // Literals before the first field without a value are still written.
    const RecordLayout withLiteral({integerField(3), literal("ab"), integerField(3)});
    EXPECT_EQ(written(withLiteral, {7}), "  7ab\r\n");
    EXPECT_EQ(written(RecordLayout({literal("SPECTRAL TABLE")}), {}), "SPECTRAL TABLE\r\n");
}

TEST(WriteFixedRecord, LeadingSkipGivesBlanksBeforeAField) {
    const RecordLayout nameLine({blankSkip(5), textField(30)});
    const std::string name = "bay.out                       ";
    EXPECT_EQ(written(nameLine, {std::string_view(name)}), "     " + name + "\r\n");
}

TEST(WriteFixedRecord, RefusesAValueOfTheWrongType) {
    const RecordLayout layout({integerField(3)});
    EXPECT_THROW(written(layout, {1.5f}), std::logic_error);
}

// ---- Reading ----

struct Reader {
    explicit Reader(std::string text) : text_(std::move(text)), in(11, "in.spec", text_) {}
    std::string text_;
    InputFile in;
};

std::vector<float> readReals(const std::string& text, const RecordLayout& layout, std::size_t count) {
    Reader reader(text);
    std::vector<float> values(count, -99.0f);
    readFixedRecord(reader.in, layout, std::span<float>(values));
    return values;
}

float readOne(const std::string& field, int impliedDecimals = 3) {
    return readReals(field + "\n", RecordLayout({numericInputField(10, impliedDecimals)}), 1)[0];
}

TEST(ReadFixedRecord, NumericFieldsIgnoreBlanksAndUseImpliedDecimalsOnlyWithoutAPoint) {
    EXPECT_FLOAT_EQ(readOne("   1.5    "), 1.5f);
    EXPECT_FLOAT_EQ(readOne("      1500"), 1.5f);
    EXPECT_FLOAT_EQ(readOne("1234"), 1.234f);
    EXPECT_FLOAT_EQ(readOne("5"), 0.005f);
    EXPECT_FLOAT_EQ(readOne("12E1"), 0.12f);  // an exponent without a point: still scaled
    EXPECT_EQ(readOne("          "), 0.0f);
    EXPECT_FLOAT_EQ(readOne("  1 5 0 0 "), 1.5f);
    EXPECT_FLOAT_EQ(readOne("16", 0), 16.0f);
    EXPECT_FLOAT_EQ(readOne(" 0.412E-01"), 0.0412f);
}

TEST(ReadFixedRecord, ExponentsTakeEOrDInEitherCaseOrASignAlone) {
    for (const char* text : {"1.5E3", "1.5e3", "1.5D3", "1.5d+3", "1.5+3", "+1.5E+03"}) {
        EXPECT_FLOAT_EQ(readOne(text), 1500.0f) << text;
    }
    EXPECT_FLOAT_EQ(readOne("-1.5-3"), -0.0015f);
    EXPECT_FLOAT_EQ(readOne("15+2"), 1.5f);  // implied decimals apply before the exponent
    EXPECT_EQ(readOne("1.0E-50"), 0.0f);  // too small for a float: zero, not an error
}

TEST(ReadFixedRecord, ACommaEndsAFieldEarlyAndIsConsumed) {
    const auto values = readReals("1.5,2.5\n", RecordLayout({numericInputField(10, 3, 2)}), 2);
    EXPECT_FLOAT_EQ(values[0], 1.5f);
    EXPECT_FLOAT_EQ(values[1], 2.5f);
}

TEST(ReadFixedRecord, ShortAndCrLfLinesReadAsPaddedWithBlanks) {
    const RecordLayout pointLine({blankSkip(29), numericInputField(7, 0, 3)});
    const std::string full = "'44097     '  40.98 -71.12      46.6   1.45 225.6   0.18  94.1";
    const auto values = readReals(full + "\r\n", pointLine, 3);
    EXPECT_EQ(values, (std::vector<float>{46.6f, 1.45f, 225.6f}));
    EXPECT_EQ(readReals(full.substr(0, 43) + "\n", pointLine, 3)[2], 0.0f);
    EXPECT_EQ(readReals(full.substr(0, 43), pointLine, 3)[1], 1.45f);  // no final line feed
}

TEST(ReadFixedRecord, AListTakesAsManyLinesAsItNeeds) {
    std::string text;
    for (int line = 0; line < 3; ++line) text += "     1.000     2.000     3.000     4.000     5.000     6.000     7.000     8.000\n";
    text += "     9.000\nnext\n";
    Reader reader(text);
    std::vector<float> values(25);
    readFixedRecord(reader.in, RecordLayout({group(1, {numericInputField(10, 3, 8)})}), std::span<float>(values));
    EXPECT_EQ(values[24], 9.0f);
    EXPECT_EQ(reader.in.lineNumber(), 5);
}

TEST(ReadFixedRecord, IntegerFields) {
    const RecordLayout header({blankSkip(24), integerField(6, 3)});
    Reader reader("'WAVEWATCH III SPECTRA'     25    24     1 'spectral resolution for points'\n");
    std::int32_t counts[3] = {-1, -1, -1};
    const FieldTarget targets[] = {FieldTarget::of(counts[0]), FieldTarget::of(counts[1]), FieldTarget::of(counts[2])};
    EXPECT_EQ(readFixedRecord(reader.in, header, targets), ReadOutcome::Ok);
    EXPECT_EQ(counts[0], 25);
    EXPECT_EQ(counts[1], 24);
    EXPECT_EQ(counts[2], 1);
    EXPECT_EQ(readFixedRecord(reader.in, header, targets, OnFailure::Report), ReadOutcome::EndOfFile);
}

struct BadField {
    const char* line;
    const char* condition;
};

class ReadFixedRecordFailure : public ::testing::TestWithParam<BadField> {};

TEST_P(ReadFixedRecordFailure, EndsTheRunNamingTheUnitFileAndLine) {
    Reader reader(std::string("ok\n") + GetParam().line);
    reader.in.skipRestOfLine();
    std::int32_t count = 0;
    float real = 0;
    const FieldTarget targets[] = {FieldTarget::of(count), FieldTarget::of(real)};
    try {
        readFixedRecord(reader.in, RecordLayout({integerField(6), numericInputField(10, 3)}), targets,
                        OnFailure::Report);
        FAIL() << "no failure";
    } catch (const RunFailure& failure) {
        EXPECT_EQ(failure.unit(), 11);
        EXPECT_EQ(failure.file(), "in.spec");
        EXPECT_EQ(failure.line(), 2);
        EXPECT_NE(failure.condition().find(GetParam().condition), std::string::npos) << failure.condition();
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, ReadFixedRecordFailure,
                         ::testing::Values(BadField{"    2x", "invalid number \"    2x\" at column 1"},
                                           BadField{"   1.5", "invalid number"},
                                           BadField{"     1    1.0E39", "number out of range"},
                                           BadField{"     1   -1.0E39", "number out of range"},
                                           BadField{"     1    1.5.2", "invalid number"},
                                           BadField{"     1    1.5E", "invalid number"},
                                           BadField{"     -", "invalid number"},
                                           BadField{"     1\t", "invalid number"}));

TEST(ReadFixedRecord, EndOfFileInsideAStatementAlwaysEndsTheRun) {
    Reader reader("     1.000\n");
    std::vector<float> values(2);
    EXPECT_THROW(readFixedRecord(reader.in, RecordLayout({numericInputField(10, 3)}), std::span<float>(values),
                                 OnFailure::Report),
                 RunFailure);
}

TEST(ReadFixedRecord, TextFieldsKeepCommasAndPadShortLines) {
    Reader reader("a,b.eng\n" + std::string(35, 'x') + "\n");
    const RecordLayout nameLayout({textField(30)});
    std::string name(30, '?');
    const FieldTarget target = FieldTarget::of(std::span<char>(name));
    readFixedRecord(reader.in, nameLayout, std::span<const FieldTarget>(&target, 1));
    EXPECT_EQ(name, "a,b.eng" + std::string(23, ' '));
    readFixedRecord(reader.in, nameLayout, std::span<const FieldTarget>(&target, 1));
    EXPECT_EQ(name, std::string(30, 'x'));
}

}  // namespace
}  // namespace ww3b
