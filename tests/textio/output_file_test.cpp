#include "textio/output_file.hpp"

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "support/temp_folder.hpp"
#include "support/text_io_helpers.hpp"
#include "textio/file_opening.hpp"
#include "textio/io_diagnostic.hpp"

namespace ww3b {
namespace {

using testing::readFile;
using testing::TempFolder;
using testing::writeFile;

TEST(OpenOutputFile, StatusUnknownKeepsAnUnwrittenFileAndCutsAWrittenOne) {
    TempFolder folder;
    writeFile(folder / "kept.out", "old line 1\r\nold line 2\r\n");
    writeFile(folder / "cut.out", "old line 1\r\nold line 2\r\nold line 3\r\n");
    auto kept = openOutputFile(12, (folder / "kept.out").string());
    auto cut = openOutputFile(15, (folder / "cut.out").string());
    auto created = openOutputFile(18, (folder / "new.out").string());
    cut->writeLine("new");
    kept->close();
    cut->close();
    created->close();
    EXPECT_EQ(readFile(folder / "kept.out"), "old line 1\r\nold line 2\r\n");
    EXPECT_EQ(readFile(folder / "cut.out"), "new\r\n");
    EXPECT_EQ(readFile(folder / "new.out"), "");
}

TEST(OpenOutputFile, ManyBlocksEndUpWholeAndInOrder) {
    TempFolder folder;
    writeFile(folder / "big.out", std::string(3 << 20, 'x'));
    auto out = openOutputFile(12, (folder / "big.out").string());
    std::string expected;
    for (int i = 0; i < 50000; ++i) {
        const std::string line = "line " + std::to_string(i);
        out->writeLine(line);
        expected += line + "\r\n";
    }
    out->close();
    EXPECT_EQ(readFile(folder / "big.out"), expected);
}

TEST(OpenFiles, RefusalsNameTheConditionUnitAndFile) {
    TempFolder folder;
    std::filesystem::create_directory(folder / "adir");
    auto expectFailure = [](auto open, const std::string& condition, int unit) {
        try {
            open();
            FAIL() << "opened";
        } catch (const RunFailure& failure) {
            EXPECT_EQ(failure.condition().substr(0, condition.size()), condition);
            EXPECT_EQ(failure.unit(), unit);
        }
    };
    expectFailure([&] { openOutputFile(12, (folder / "adir").string()); }, "is a directory", 12);
    expectFailure([&] { openOutputFile(19, "                              "); }, "no file name given", 19);
    expectFailure([&] { openOutputFile(15, (folder / "no/such/dir.out").string()); }, "cannot open file for writing", 15);
    expectFailure([&] { openInputFile(11, (folder / "missing.spec").string()); }, "file not found", 11);
    expectFailure([&] { openInputFile(11, (folder / "adir").string()); }, "is a directory", 11);
}

TEST(OpenFiles, NamesLoseLeadingAndTrailingBlanks) {
    EXPECT_EQ(fileNameFromField("   bay.out                    "), "bay.out");
    EXPECT_EQ(fileNameFromField(std::string(30, ' ')), "");
}

TEST(OutputFile, AFullDeviceEndsTheRunNamingTheFile) {
    auto out = openOutputFile(18, "/dev/full");
    out->writeLine("a line");
    try {
        out->flush();
        FAIL() << "no failure";
    } catch (const RunFailure& failure) {
        EXPECT_EQ(failure.unit(), 18);
        EXPECT_EQ(failure.file(), "/dev/full");
        EXPECT_NE(failure.condition().find("No space left on device"), std::string::npos);
    }
}

TEST(OutputFile, AFileOpenedForReadingOnlyFailsAtItsFirstLine) {
    TempFolder folder;
    writeFile(folder / "ro.out", "old\r\n");
    OutputFile out(12, "ro.out", ::open((folder / "ro.out").c_str(), O_RDONLY), OutputFile::Kind::FileFromStart, true);
    EXPECT_THROW(out.writeLine("x"), RunFailure);
    EXPECT_EQ(out.closeAfterFailure(), "");
    EXPECT_EQ(readFile(folder / "ro.out"), "old\r\n");
}

TEST(OutputFile, AWriteCutShortKeepsOnlyWholeLines) {
    // A file size limit makes the system take part of a block and then refuse the rest.
    TempFolder folder;
    const auto file = folder / "limited.out";
    auto out = openOutputFile(12, file.string());
    for (int i = 0; i < 100; ++i) out->writeLine("0123456789");  // 12 bytes a line
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    const auto previousHandler = signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved;
    limited.rlim_cur = 500;
    setrlimit(RLIMIT_FSIZE, &limited);
    EXPECT_THROW(out->flush(), RunFailure);
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, previousHandler);
    out->closeAfterFailure();
    const std::string kept = readFile(file);
    EXPECT_EQ(kept.size(), 41u * 12u);
    EXPECT_EQ(kept.substr(kept.size() - 2), "\r\n");
}

}  // namespace
}  // namespace ww3b
