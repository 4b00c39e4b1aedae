#include "textio/free_form.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <bit>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "support/temp_folder.hpp"
#include "support/text_io_helpers.hpp"
#include "textio/io_diagnostic.hpp"
#include "textio/printed_line_pairs.hpp"

namespace ww3b {
namespace {

struct Source {
    explicit Source(std::string text) : text_(std::move(text)), in(5, "standard input", text_) {}
    std::string text_;
    InputFile in;
};

template <class T>
std::vector<T> readAll(InputFile& in, std::vector<T> targets) {
    readFreeForm(in, std::span<T>(targets));
    return targets;
}

TEST(ReadFreeForm, SeparatorsAndLineEnds) {
    Source source("\n   \n1\t2 , 3,4\r\n5\n6 7 8\n9\n");
    EXPECT_EQ(readAll<std::int32_t>(source.in, {0, 0, 0, 0, 0}), (std::vector<std::int32_t>{1, 2, 3, 4, 5}));
    // The rest of the line that held the last value is skipped.
    EXPECT_EQ(readAll<std::int32_t>(source.in, {0}), (std::vector<std::int32_t>{6}));
    EXPECT_EQ(readAll<std::int32_t>(source.in, {0}), (std::vector<std::int32_t>{9}));
}

TEST(ReadFreeForm, RepeatCountsNullValuesAndSlash) {
    Source source("2*5\n3*1.5 9\n,4\n1,,3\n2*,7\n/\n1 /\n8\n");
    EXPECT_EQ(readAll<std::int32_t>(source.in, {0}), (std::vector<std::int32_t>{5}));
    EXPECT_EQ(readAll<float>(source.in, {0, 0, 0, 0}), (std::vector<float>{1.5f, 1.5f, 1.5f, 9.0f}));
    EXPECT_EQ(readAll<std::int32_t>(source.in, {-1, -1}), (std::vector<std::int32_t>{-1, 4}));
    EXPECT_EQ(readAll<std::int32_t>(source.in, {-1, -1, -1}), (std::vector<std::int32_t>{1, -1, 3}));
    EXPECT_EQ(readAll<std::int32_t>(source.in, {-1, -1, -1}), (std::vector<std::int32_t>{-1, -1, 7}));
    EXPECT_EQ(readAll<std::int32_t>(source.in, {-1}), (std::vector<std::int32_t>{-1}));
    EXPECT_EQ(readAll<std::int32_t>(source.in, {-1, -1}), (std::vector<std::int32_t>{1, -1}));
    EXPECT_EQ(readAll<std::int32_t>(source.in, {-1}), (std::vector<std::int32_t>{8}));
}

TEST(ReadFreeForm, IntegerTargetsTruncateRealsTowardZero) {
    Source source("3.7\n-2.9\n1e3\n2147483647.9\n-0.5\n+12\n");
    EXPECT_EQ(readAll<std::int32_t>(source.in, {0, 0, 0, 0, 0, 0}),
              (std::vector<std::int32_t>{3, -2, 1000, 2147483647, 0, 12}));
}

TEST(ReadFreeForm, RealTargetsTakeWholeNumbersAndEOrDExponents) {
    Source source("180 1.8e2 1.8D2 1.8d+2 .18E3 180. 1e-50 -1e-50\n");
    const auto values = readAll<float>(source.in, std::vector<float>(8));
    for (int i = 0; i < 6; ++i) EXPECT_EQ(values[i], 180.0f) << i;
    EXPECT_EQ(values[6], 0.0f);
    EXPECT_EQ(values[7], 0.0f);
}

struct Refused {
    const char* input;
    bool integerTarget;
    ReadOutcome outcome;
    const char* problem;
};

class ReadFreeFormFailure : public ::testing::TestWithParam<Refused> {};

TEST_P(ReadFreeFormFailure, ReportsOrEndsTheRun) {
    const Refused& c = GetParam();
    auto attempt = [&](InputFile& in, OnFailure onFailure) {
        std::int32_t integer = 0;
        float real = 0;
        return c.integerTarget ? readFreeForm(in, std::span<std::int32_t>(&integer, 1), onFailure)
                               : readFreeForm(in, std::span<float>(&real, 1), onFailure);
    };
    Source reported(std::string("\n") + c.input);
    const FreeFormResult result = attempt(reported.in, OnFailure::Report);
    EXPECT_EQ(result.outcome, c.outcome);
    EXPECT_NE(result.problem.find(c.problem), std::string::npos) << result.problem;
    EXPECT_EQ(result.line, 2);

    Source fatal(std::string("\n") + c.input);
    try {
        attempt(fatal.in, OnFailure::EndRun);
        FAIL() << "no failure";
    } catch (const RunFailure& failure) {
        EXPECT_EQ(failure.unit(), 5);
        EXPECT_EQ(failure.line(), 2);
        const std::string message = failure.what();
        EXPECT_NE(message.find("(unit 5, standard input, "), std::string::npos) << message;
        EXPECT_NE(message.find("line 2)"), std::string::npos) << message;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadFreeFormFailure,
    ::testing::Values(Refused{"abc\n", true, ReadOutcome::Failed, "syntax error in free-form input: \"abc\""},
                      Refused{"1.2.3\n", false, ReadOutcome::Failed, "syntax error"},
                      Refused{"- 5\n", false, ReadOutcome::Failed, "syntax error"},
                      Refused{"1.5+3\n", false, ReadOutcome::Failed, "syntax error"},
                      Refused{"inf\n", false, ReadOutcome::Failed, "syntax error"},
                      Refused{"0*5\n", false, ReadOutcome::Failed, "syntax error"},
                      Refused{"'44097     '  40.98\n", false, ReadOutcome::Failed, "syntax error"},
                      Refused{"1\r2\n", false, ReadOutcome::Failed, "syntax error"},
                      Refused{"\r 2\n", false, ReadOutcome::Failed, "syntax error"},
                      Refused{"2147483648\n", true, ReadOutcome::Failed, "number out of range"},
                      Refused{"1e39\n", false, ReadOutcome::Failed, "number out of range"},
                      Refused{"-1e39\n", false, ReadOutcome::Failed, "number out of range"},
                      Refused{"0.1E+99\n", false, ReadOutcome::Failed, "number out of range"},
                      Refused{"  ", false, ReadOutcome::EndOfFile, "end of file"}));

TEST(ReadFreeForm, ValuesThatStartPlainButEndOtherwiseFollowTheGeneralRules) {
    // A D exponent, a comma, a repeat count and a carriage return before the line feed.
    Source source("1.5D2 2.5,3.5 2*4.5 1.5\r\n0.25E+01/ 9\n7\n");
    EXPECT_EQ(readAll<float>(source.in, std::vector<float>(6)), (std::vector<float>{150, 2.5f, 3.5f, 4.5f, 4.5f, 1.5f}));
    EXPECT_EQ(readAll<float>(source.in, {-1, -1}), (std::vector<float>{2.5f, -1}));
    EXPECT_EQ(readAll<float>(source.in, {-1}), (std::vector<float>{7}));
    for (const char* text : {"12abc\n", "1.5E+3x\n", "0.1E-01.\n"}) {
        Source bad(text);
        float value = 0;
        const FreeFormResult result = readFreeForm(bad.in, std::span<float>(&value, 1), OnFailure::Report);
        EXPECT_EQ(result.outcome, ReadOutcome::Failed) << text;
        EXPECT_NE(result.problem.find("syntax error"), std::string::npos) << text;
    }
}

TEST(ReadFreeForm, AValueNeverContinuesOntoTheNextLineAndEndOfFileEndsTheLastOne) {
    Source source("12\n34");
    EXPECT_EQ(readAll<std::int32_t>(source.in, {0, 0}), (std::vector<std::int32_t>{12, 34}));
}

TEST(ReadFreeForm, ValuesCutByTheBufferEdgeReadTheSameAsInMemory) {
    std::string text = "20100603 120000\n";
    for (int i = 0; i < 300; ++i) text += (i % 7 == 6) ? "  0.123E-01\n" : "  0.456E+02";
    text += "\nlast\n";
    testing::TempFolder folder;
    testing::writeFile(folder / "block.txt", text);
    Source memory(text);
    std::vector<std::int32_t> expectedTime(2);
    std::vector<float> expectedValues(300);
    readFreeForm(memory.in, std::span<std::int32_t>(expectedTime));
    readFreeForm(memory.in, std::span<float>(expectedValues));
    EXPECT_EQ(expectedTime[1], 120000);
    EXPECT_EQ(expectedValues[6], 0.0123f);
    for (std::size_t bufferSize : {16u, 17u, 64u, 4096u}) {
        InputFile small(11, "block.txt", ::open((folder / "block.txt").c_str(), O_RDONLY), true, bufferSize);
        std::vector<std::int32_t> time(2);
        std::vector<float> values(300);
        readFreeForm(small, std::span<std::int32_t>(time));
        readFreeForm(small, std::span<float>(values));
        EXPECT_EQ(time, expectedTime);
        EXPECT_EQ(values, expectedValues) << bufferSize;
        EXPECT_EQ(small.lineNumber(), memory.in.lineNumber());
        char head[8];
        EXPECT_EQ(small.readLine(head, sizeof head), 4);
    }
}

TEST(InputFileLines, ACarriageReturnIsDroppedOnlyRightBeforeTheLineFeed) {
    testing::TempFolder folder;
    testing::writeFile(folder / "lines.txt", "AB\rCD\nAB\r\n");
    InputFile tiny(11, "lines.txt", ::open((folder / "lines.txt").c_str(), O_RDONLY), true, 5);
    char head[8];
    ASSERT_EQ(tiny.readLine(head, 3), 3);  // the line is longer than the limit: the return is data
    EXPECT_EQ(std::string(head, 3), "AB\r");
    ASSERT_EQ(tiny.readLine(head, 3), 2);
    EXPECT_EQ(std::string(head, 2), "AB");
}

TEST(WriteFreeFormLine, StartsWithABlankAndEndsWithCrLf) {
    EXPECT_EQ(testing::writtenText([](OutputFile& out) { writeFreeFormLine(out, " "); }), "  \r\n");
    EXPECT_EQ(testing::writtenText([](OutputFile& out) { writeFreeFormLine(out, "WW3 save location depth (m) =", 10.5f); }),
              " WW3 save location depth (m) =   10.50000    \r\n");
}

TEST(ConsoleAnswers, NamesAreThirtyColumnsAndNumbersStartAtZero) {
    Source source("bay.eng\n\n" + std::string(40, 'n') + "\n/\n7 8\n");
    testing::TempFolder folder;
    auto out = testing::openForTest(folder / "console.txt");
    Console console{source.in, *out};
    EXPECT_EQ(readTextAnswer(console), "bay.eng" + std::string(23, ' '));
    EXPECT_EQ(readTextAnswer(console), std::string(30, ' '));  // an empty name is not passed over
    EXPECT_EQ(readTextAnswer(console), std::string(30, 'n'));
    EXPECT_EQ(readIntegerAnswer(console), 0);
    EXPECT_EQ(readRealAnswer(console), 7.0f);
    EXPECT_THROW(readIntegerAnswer(console), RunFailure);
}

}  // namespace
}  // namespace ww3b

namespace ww3b {
namespace {

// Found by fuzzing: a value longer than the limit was refused only where it met the end
// of the read buffer, so a file read differently depending on its block boundaries.
struct LongValue {
    std::size_t digits;     // "0...07" of this many characters
    std::size_t bufferSize; // 0: the text held in memory
    bool lastOnCrLfLine = false;  // the value ends a line that ends with CR LF
    std::size_t blanksBefore = 1;     // between the first value and the long one
};

class ReadFreeFormLongValue : public ::testing::TestWithParam<LongValue> {};

TEST_P(ReadFreeFormLongValue, ReadsAlikeWhereverTheBufferEnds) {
    const LongValue& c = GetParam();
    const std::string text = "1" + std::string(c.blanksBefore, ' ') + std::string(c.digits - 1, '0') +
                             (c.lastOnCrLfLine ? "7\r\n3\n" : "7 3\n");
    testing::TempFolder folder;
    testing::writeFile(folder / "long.txt", text);
    std::unique_ptr<InputFile> in =
        c.bufferSize == 0 ? std::make_unique<InputFile>(11, "long.txt", text)
                          : std::make_unique<InputFile>(11, "long.txt", ::open((folder / "long.txt").c_str(), O_RDONLY),
                                                        true, c.bufferSize);
    float values[3] = {0, 0, 0};
    const FreeFormResult result = readFreeForm(*in, std::span<float>(values), OnFailure::Report);
    if (c.digits <= 4096) {
        EXPECT_EQ(result.outcome, ReadOutcome::Ok) << result.problem;
        EXPECT_EQ(values[1], 7.0f);
        EXPECT_EQ(values[2], 3.0f);
    } else {
        EXPECT_EQ(result.outcome, ReadOutcome::Failed);
        EXPECT_EQ(result.problem, "syntax error in free-form input: a value of more than 4096 characters");
        EXPECT_EQ(result.line, 1);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, ReadFreeFormLongValue,
                         ::testing::Values(LongValue{4096, 0}, LongValue{4096, 4098}, LongValue{4096, 5000},
                                           LongValue{4097, 0}, LongValue{4097, 4098}, LongValue{4501, 0},
                                           LongValue{4501, 4098}, LongValue{4501, 8000}, LongValue{100000, 0},
                                           LongValue{100000, 4500},
                                           // Found by fuzzing the merged reader: the carriage
                                           // return of the line end counted at a buffer edge.
                                           LongValue{4096, 0, true}, LongValue{4096, 4098, true},
                                           LongValue{4097, 4098, true},
                                           // The first block ends right after that return.
                                           LongValue{4096, 5000, true, 5000 - 4098}));

}  // namespace
}  // namespace ww3b

namespace ww3b {
namespace {

// Passing over values reads the input as reading them does: the same statements end on
// the same lines with the same outcome and diagnostic, through a small buffer as well.
struct SkippedBlocks {
    const char* text;
    std::size_t count;  // values per statement
};

// Reads and passes over the same statements of `text`, from memory (bufferSize 0) or
// from a file through a buffer of that size, and expects the same ends, outcomes,
// diagnostics and lines.
void expectSkipsAsReads(const std::string& text, std::size_t count, std::initializer_list<std::size_t> bufferSizes) {
    testing::TempFolder folder;
    testing::writeFile(folder / "blocks.txt", text);
    for (const std::size_t bufferSize : bufferSizes) {
        auto open = [&] {
            return bufferSize == 0 ? std::make_unique<InputFile>(11, "blocks.txt", std::string_view(text))
                                   : std::make_unique<InputFile>(11, "blocks.txt",
                                                                 ::open((folder / "blocks.txt").c_str(), O_RDONLY), true,
                                                                 bufferSize);
        };
        std::unique_ptr<InputFile> read = open();
        std::unique_ptr<InputFile> skipped = open();
        std::vector<float> values(count);
        for (int statement = 0; statement < 8; ++statement) {
            SCOPED_TRACE("statement " + std::to_string(statement) + ", buffer " + std::to_string(bufferSize));
            const FreeFormResult expected = readFreeForm(*read, std::span<float>(values), OnFailure::Report);
            const FreeFormResult got = skipFreeForm(*skipped, count, OnFailure::Report);
            EXPECT_EQ(got.outcome, expected.outcome);
            EXPECT_EQ(got.problem, expected.problem);
            EXPECT_EQ(got.line, expected.line);
            EXPECT_EQ(got.value, expected.value);
            EXPECT_EQ(got.valuesTaken, expected.valuesTaken);
            if (expected.outcome != ReadOutcome::Ok) break;
            ASSERT_EQ(skipped->lineNumber(), read->lineNumber());
            ASSERT_EQ(skipped->lastLineNumber(), read->lastLineNumber());
            if (bufferSize == 0) {
                ASSERT_EQ(skipped->cursor(), read->cursor());
            }
        }
    }
}

class SkipFreeForm : public ::testing::TestWithParam<SkippedBlocks> {};

TEST_P(SkipFreeForm, StopsWhereReadingStops) {
    expectSkipsAsReads(GetParam().text, GetParam().count, {0, 4098, 160, 161});
}

// Lines of seven printed values, in pairs counted whole or left to the exact reading.
#define PRINTED_LINE "  0.100E+01  0.200E-01  0.300E+29  0.400E-29  0.500E+00  0.600E-05  0.700E+01\n"
#define PRINTED_PAIR PRINTED_LINE PRINTED_LINE

// Blocks of printed lines with random values, and now and then something else where a
// pair would be: exponents past 29 (and past a float's range), a carriage return, a comma
// for a sign, a tab, a letter, a short or long line, a blank line. Passing over must end
// every statement where reading it does.
TEST(SkipFreeForm, RandomPrintedBlocksStopWhereReadingStops) {
    std::mt19937 random(24);
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    const std::size_t counts[] = {1, 14, 15, 21, 28, 35, 100, 1800};
    for (int round = 0; round < 150; ++round) {
        std::string text;
        const int lines = 20 + pick(300);
        for (int line = 0; line < lines; ++line) {
            const int odd = pick(40);
            const int groups = odd == 0 ? pick(9) : 7;
            for (int g = 0; g < groups; ++g) {
                char value[16];
                const char sign = pick(2) ? '+' : '-';
                // Now and then an exponent past 29: tiny when negative, near or past a
                // float's largest when positive.
                const int tens = pick(20) == 0 ? (sign == '-' ? 3 + pick(7) : 3) : pick(3);
                std::snprintf(value, sizeof value, "  0.%03dE%c%d%d", pick(1000), sign, tens, pick(10));
                text += value;
            }
            if (odd == 1) text[text.size() - 3 - static_cast<std::size_t>(pick(60))] = ",\tx."[pick(4)];
            text += odd == 2 ? "\r\n" : odd == 3 ? "\n\n" : odd == 4 ? " \n" : "\n";
        }
        const std::size_t count = counts[pick(8)];
        SCOPED_TRACE("round " + std::to_string(round) + ", count " + std::to_string(count));
        expectSkipsAsReads(text, count, {0, 160, 4098 + static_cast<std::size_t>(pick(200))});
        // Whichever vectors the processor has, pairs are counted alike from every line start.
#if defined(__x86_64__)
        if (__builtin_cpu_supports("avx2")) {
            for (std::size_t at = 0; at < text.size(); at = text.find('\n', at) + 1) {
                const char* begin = text.data() + at;
                ASSERT_EQ(printed_pair_detail::countBy16Bytes(begin, text.data() + text.size(), 1000),
                          printed_pair_detail::countBy32Bytes(begin, text.data() + text.size(), 1000));
                if (text.find('\n', at) == std::string::npos) break;
            }
        }
#endif
        if (::testing::Test::HasFailure()) break;
    }
}

// Printed blocks read whole, through buffers that cut pairs anywhere: every value is
// the float that std::from_chars makes of its text alone, bit for bit, whichever road
// (pairs, single lines, groups) took it.
TEST(ReadFreeForm, PrintedBlocksReadAsEachValueParsedAlone) {
    std::mt19937 random(7);
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    for (int round = 0; round < 40; ++round) {
        std::string text;
        std::vector<float> expected;
        for (int line = 0, lines = 10 + pick(200); line < lines; ++line) {
            for (int g = 0; g < 7; ++g) {
                char value[16];
                const bool tiny = pick(8) == 0;  // E-30 to E-99: subnormals and zeros too
                std::snprintf(value, sizeof value, "  0.%03dE%c%d%d", pick(1000), tiny || pick(2) ? '-' : '+',
                              tiny ? 3 + pick(7) : pick(3), pick(10));
                text += value;
                float parsed = 0;
                std::from_chars(value + 2, value + std::strlen(value), parsed);
                expected.push_back(parsed);
            }
            text += pick(30) == 0 ? "\r\n" : "\n";
        }
        // The pairs' values one by one and four at a time (the latter where the processor
        // has AVX2), bit for bit alike, over every run of pairs.
#if defined(__x86_64__)
        for (std::size_t at = 0; __builtin_cpu_supports("avx2") && at < text.size();) {
            const char* begin = text.data() + at;
            const std::size_t pairs = printed_pair_detail::countBy16Bytes(begin, text.data() + text.size(), text.size());
            std::vector<float> oneByOne(14 * pairs + 1, -1.0f);
            std::vector<float> fourAtATime(14 * pairs + 1, -1.0f);
            printed_pair_detail::readOneByOne(begin, pairs, oneByOne.data());
            printed_pair_detail::readFourAtATime(begin, pairs, fourAtATime.data());
            ASSERT_EQ(std::memcmp(oneByOne.data(), fourAtATime.data(), oneByOne.size() * sizeof(float)), 0)
                << "round " << round << ", at " << at;
            const std::size_t lineEnd = text.find('\n', at);
            if (lineEnd == std::string::npos) break;
            at = pairs > 0 ? at + pairs * 156 : lineEnd + 1;
        }
#endif
        testing::TempFolder folder;
        testing::writeFile(folder / "printed.txt", text);
        for (const std::size_t bufferSize : {std::size_t{160}, std::size_t{4099}, InputFile::kDefaultBufferSize}) {
            InputFile in(11, "printed.txt", ::open((folder / "printed.txt").c_str(), O_RDONLY), true, bufferSize);
            std::vector<float> values(expected.size(), -1.0f);
            ASSERT_EQ(readFreeForm(in, values, OnFailure::Report).outcome, ReadOutcome::Ok);
            for (std::size_t v = 0; v < values.size(); ++v) {
                ASSERT_EQ(std::bit_cast<std::uint32_t>(values[v]), std::bit_cast<std::uint32_t>(expected[v]))
                    << "round " << round << ", value " << v << ", buffer " << bufferSize;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SkipFreeForm,
    ::testing::Values(
        // Blocks of the wave model's shape, tiny values and zeros, over several lines.
        SkippedBlocks{"  0.000E+00  0.142E-33 -0.999E+38\n  0.701E-45  0.123E+01\r\n  0.5E-1 7\n9\n", 3},
        // Repeat counts, null values and a slash; values that need the general road.
        SkippedBlocks{"2*0.1E-01 3*\n,, 1.5D2 /\n4*7 8\n1,2\n\n 3\n", 4},
        // The end of the input in the middle of a block, and a last line without a line feed.
        SkippedBlocks{"  0.123E-01  0.456E+02\n  0.789E-40", 4},
        // Bad values: a syntax error, a real out of range, a bad repeat count.
        SkippedBlocks{"  0.123E-01  0.1x3E-01\n", 2}, SkippedBlocks{"1 2\n 0.999E+39\n", 2},
        SkippedBlocks{"1 2\n-2*5\n", 2}, SkippedBlocks{"1 2\n 1e39 4\n", 2},
        // Whole lines as the wave model prints them, counted by their groups, among lines that
        // only look like them: a blank line, CR LF, a tab, an exponent beyond a float's range,
        // a comma for the exponent's sign, the statement's end inside a line.
        SkippedBlocks{"  0.123E-01  0.456E+02  0.789E-40\n  0.100E+38  0.999E-99\r\n  0.100E+01\n\n"
                      "  0.200E+01  0.300E+01\n  0.400E+01\n  0.700E+01\t 0.800E+01\n  0.900E+01  0.100E+02\n"
                      "  0.100E+01  0.200E+01  0.300E+01  0.400E+01  0.500E+01  0.600E+01  0.700E+01\n"
                      "  0.100E+01  0.200E+01  0.300E+01  0.400E+01  0.500E+01  0.600E+01  0.700E+01\r\n"
                      "  0.100E+39  0.5E-01\n  0.1\n",
                      4},
        SkippedBlocks{"  0.100E+01  0.200E+01  0.300E+01  0.400E+01  0.500E+01  0.600E+01  0.700E+01\n"
                      "  0.100E+01  0.200E+01  0.300E+01\n  0.123E,01  0.456E-01  0.789E-01\n  0.1 0.2\n",
                      9},
        SkippedBlocks{"  0.100E+01  0.200E+01\n  0.300E+01  0.400E+01\n  0.100E+01  0.200E-01\n"
                      "  0.300E+01 0.400E+01\n  0.500E+01\r  0.600E+01\n  0.100E+01  0.200E+01\n  0.3E+39\n",
                      3},
        // Pairs of printed lines counted whole, among pairs that are not: a CR LF line end,
        // an exponent past 29 or past a float's range, a comma for a sign, a blank line;
        // the statement's last value at the end of a pair or in the line after it.
        SkippedBlocks{PRINTED_PAIR PRINTED_LINE "  0.100E+01  0.200E-31\n" PRINTED_PAIR
                      "  0.100E+01  0.200E-01  0.300E+29  0.400E-29  0.500E+00  0.600E-05  0.700E+01\r\n"
                      PRINTED_PAIR "\n" PRINTED_PAIR PRINTED_LINE,
                      15},
        SkippedBlocks{PRINTED_PAIR PRINTED_PAIR PRINTED_PAIR PRINTED_PAIR PRINTED_LINE, 21},
        SkippedBlocks{PRINTED_PAIR PRINTED_LINE "  0.100E+01  0.200E,01  0.300E+29  0.400E-29  0.500E+00  0.600E-05  0.700E+01\n"
                      PRINTED_PAIR,
                      40},
        SkippedBlocks{PRINTED_PAIR PRINTED_LINE "  0.100E+01  0.200E-01  0.300E+39  0.400E-29  0.500E+00  0.600E-05  0.700E+01\n"
                      PRINTED_PAIR,
                      40}));

}  // namespace
}  // namespace ww3b
