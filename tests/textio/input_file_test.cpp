// Reading lines through the block reader: the same text gives the same lines whatever
// the size of the buffer and wherever its blocks end.

#include "textio/input_file.hpp"

#include <fcntl.h>

#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "support/temp_folder.hpp"
#include "textio/byte_search.hpp"

namespace ww3b {
namespace {

struct LineCase {
    std::string name;
    std::string text;      // one line and its end
    std::string expected;  // what a read of at most 30 characters gives
};

class ReadLineInBlocks : public ::testing::TestWithParam<LineCase> {};

// Found by fuzzing: with the line in several blocks, a carriage return copied as the 30th
// character of a longer line was taken for the one before the line feed and dropped.
TEST_P(ReadLineInBlocks, GivesTheSameLineForEveryBufferSize) {
    const LineCase& c = GetParam();
    testing::TempFolder folder;
    const std::string text = c.text + "next\n";
    testing::writeFile(folder / "lines.txt", text);
    for (const std::size_t bufferSize : {0u, 1u, 2u, 3u, 29u, 30u, 31u, 32u, 4096u}) {
        auto in = bufferSize == 0
                      ? std::make_unique<InputFile>(11, "lines.txt", std::string_view(text))
                      : std::make_unique<InputFile>(11, "lines.txt", ::open((folder / "lines.txt").c_str(), O_RDONLY),
                                                    true, bufferSize);
        char head[30];
        const long length = in->readLine(head, sizeof head);
        EXPECT_EQ(std::string(head, static_cast<std::size_t>(length)), c.expected) << "buffer " << bufferSize;
        EXPECT_EQ(in->lineNumber(), 2) << "buffer " << bufferSize;
        EXPECT_EQ(in->readLine(head, sizeof head), 4) << "buffer " << bufferSize;
    }
}

const std::string k29(29, 'a');

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadLineInBlocks,
    ::testing::Values(LineCase{"CrLfEnd", k29 + "\r\n", k29},
                      LineCase{"CrAsThe30thCharacterOfALongerLine", k29 + "\r\r\n", k29 + "\r"},
                      LineCase{"CrAsThe30thCharacterThenText", k29 + "\rbc\r\n", k29 + "\r"},
                      LineCase{"ExactlyThirtyAndCrLf", k29 + "b\r\n", k29 + "b"},
                      LineCase{"LongerThanTheLimit", k29 + "bcdef\r\n", k29 + "b"},
                      LineCase{"CrInsideTheLine", "a\rb\n", "a\rb"},
                      LineCase{"LoneCrLine", "\r\n", ""},
                      LineCase{"TwoCrsBeforeTheFeed", "ab\r\r\n", "ab\r"}),
    [](const ::testing::TestParamInfo<LineCase>& info) { return info.param.name; });

// The backward search that finds the last whole line: at either end, several, none.
TEST(FindLast, FindsTheLastByteOrNone) {
    const std::string text = "\nab\ncd\n";
    const char* begin = text.data();
    EXPECT_EQ(findLast(begin, begin + text.size(), '\n'), begin + 6);
    EXPECT_EQ(findLast(begin, begin + 6, '\n'), begin + 3);
    EXPECT_EQ(findLast(begin, begin + 1, '\n'), begin);
    EXPECT_EQ(findLast(begin + 1, begin + 3, '\n'), nullptr);
    EXPECT_EQ(findLast(begin, begin, '\n'), nullptr);
}

}  // namespace
}  // namespace ww3b
