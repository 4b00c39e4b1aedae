// Output that cannot be written, end to end: a full device, a directory where a file
// should be, the console on a full device, and a file size limit that stops a write part
// way. Each ends with the diagnostic naming the unit and the file and exit status 2; every
// output file holds whole lines only, and the lines it holds are the run's own.

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/program_run.hpp"
#include "support/run_files.hpp"
#include "support/temp_folder.hpp"
#include "support/ww3_text.hpp"

namespace ww3b {
namespace {

using namespace ww3b::testing;

std::string steps(int count, int nf = 25, int nd = 24) {
    Ww3Text file = Ww3Text::withGrid(nf, nd);
    for (int k = 0; k < count; ++k) file.step(20100601 + k / 24, (k % 24) * 10000);
    return file.text;
}

std::string diagnostic(const std::string& condition, int unit, const std::string& file) {
    return "ww3-brevolan: error: " + condition + " (unit " + std::to_string(unit) + ", file \"" + file + "\")\r\n";
}

// Every output file holds whole lines only, each the start of what a clean run writes
// there; `failed` less than that.
void expectWholeLinesOfTheRun(const std::map<std::string, std::string>& clean,
                              const std::map<std::string, std::string>& after, const std::string& failed) {
    for (const auto& [name, contents] : clean) {
        ASSERT_TRUE(after.count(name)) << name;
        const std::string& kept = after.at(name);
        EXPECT_TRUE(holdsWholeLinesOnly(kept)) << name;
        EXPECT_TRUE(kept == contents.substr(0, kept.size())) << name << " holds lines the run did not write";
        if (name == failed) {
            EXPECT_LT(kept.size(), contents.size()) << name;
        }
    }
}

struct FullDevice {
    std::string name;
    int mode;
    std::string onDevice;  // output file made a link to /dev/full
    int unit;
    int stepCount;
};

class OutputOnAFullDevice : public ::testing::TestWithParam<FullDevice> {};

TEST_P(OutputOnAFullDevice, EndsNamingTheFileAndKeepsEveryOtherLineWhole) {
    const FullDevice& c = GetParam();
    const std::string spectra = steps(c.stepCount);
    const auto clean = cleanRunOutputs(spectra, c.mode);
    TempFolder folder;
    writeFile(folder / "in.spec", spectra);
    std::filesystem::create_symlink("/dev/full", folder / c.onDevice);
    const ProgramRun run = runProgram(folder.path(), answerLines(standardAnswers(c.mode)));
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.errors, diagnostic("write failed: No space left on device", c.unit, c.onDevice));
    auto after = outputsIn(folder.path(), c.mode);
    after[c.onDevice] = "";  // what reached the device is lost
    expectWholeLinesOfTheRun(clean, after, c.onDevice);
    // Lines go out record by record: the run stops at the first record, whose lines the
    // other files hold in full.
    const auto firstRecord = cleanRunOutputs(steps(1), c.mode);
    for (const auto& [name, contents] : firstRecord) {
        if (name != c.onDevice) {
            EXPECT_EQ(after.at(name), contents) << name;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OutputOnAFullDevice,
    ::testing::Values(FullDevice{"ModeZero", 0, "bay.out", 12, 3}, FullDevice{"ModeOneSpectrum", 1, "bay.eng", 18, 3},
                      FullDevice{"ModeOneParameters", 1, "bay.out", 12, 3},
                      FullDevice{"ModeTwoBrevolanParameters", 2, "bay.txt", 15, 3},
                      FullDevice{"ModeTwoHalfPlane", 2, "bay.dat", 19, 3},
                      FullDevice{"ModeTwoSpectrumLongRun", 2, "bay.eng", 18, 60}),
    [](const ::testing::TestParamInfo<FullDevice>& info) { return info.param.name; });

TEST(OutputOnAFullDevice, TypedAsTheParameterFileName) {
    TempFolder folder;
    writeFile(folder / "in.spec", steps(2));
    const ProgramRun run = runProgram(folder.path(), answerLines({"in.spec", "0", "99999999", "0", "0", "/dev/full"}));
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.errors, diagnostic("write failed: No space left on device", 12, "/dev/full"));
    EXPECT_EQ(filesIn(folder.path()), std::vector<std::string>{"in.spec"});
}

TEST(OutputOnAFullDevice, TheConsole) {
    TempFolder folder;
    writeFile(folder / "in.spec", steps(2));
    RunSettings settings;
    settings.standardOutput = "/dev/full";
    const ProgramRun run = runProgram(folder.path(), answerLines(standardAnswers(2)), settings);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.errors, "ww3-brevolan: error: write failed: No space left on device (unit 6, standard output)\r\n");
    EXPECT_EQ(filesIn(folder.path()), std::vector<std::string>{"in.spec"});
}

struct DirectoryOutput {
    std::string name;
    int mode;
    std::string directory;
    int unit;
    std::vector<std::string> openedBefore;  // made by the run and removed again
};

class OutputNameIsADirectory : public ::testing::TestWithParam<DirectoryOutput> {};

TEST_P(OutputNameIsADirectory, EndsBeforeAnyLineIsWritten) {
    const DirectoryOutput& c = GetParam();
    TempFolder folder;
    writeFile(folder / "in.spec", steps(2));
    std::filesystem::create_directory(folder / c.directory);
    const ProgramRun run = runProgram(folder.path(), answerLines(standardAnswers(c.mode)));
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.errors, diagnostic("is a directory, not a file", c.unit, c.directory));
    // The files opened before it were made by the run and are removed again.
    std::vector<std::string> expected{c.directory, "in.spec"};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(filesIn(folder.path()), expected);
    EXPECT_TRUE(std::filesystem::is_empty(folder / c.directory));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OutputNameIsADirectory,
    ::testing::Values(DirectoryOutput{"ModeZero", 0, "bay.out", 12, {}},
                      DirectoryOutput{"ModeOneSpectrum", 1, "bay.eng", 18, {"bay.out"}},
                      DirectoryOutput{"ModeTwoBrevolanParameters", 2, "bay.txt", 15, {"bay.out"}},
                      DirectoryOutput{"ModeTwoHalfPlane", 2, "bay.dat", 19, {"bay.eng", "bay.out", "bay.txt"}}),
    [](const ::testing::TestParamInfo<DirectoryOutput>& info) { return info.param.name; });

struct SizeLimit {
    std::string name;
    int mode;
    int stepCount;
    std::uint64_t limit;
    std::string failed;
    int unit;
    bool oldContents;  // the failed file held a megabyte of an earlier run's lines
};

class WriteStoppedPartWay : public ::testing::TestWithParam<SizeLimit> {};

TEST_P(WriteStoppedPartWay, KeepsEveryWholeLineThatFitAndNoPartialLine) {
    const SizeLimit& c = GetParam();
    const std::string spectra = steps(c.stepCount);
    const auto clean = cleanRunOutputs(spectra, c.mode);
    ASSERT_GT(clean.at(c.failed).size(), c.limit);
    TempFolder folder;
    writeFile(folder / "in.spec", spectra);
    if (c.oldContents) {
        std::string old;
        while (old.size() < (1u << 20)) old += "an earlier run's line\r\n";
        writeFile(folder / c.failed, old);
    }
    RunSettings settings;
    settings.fileSizeLimit = c.limit;
    const ProgramRun run = runProgram(folder.path(), answerLines(standardAnswers(c.mode)), settings);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.errors, diagnostic("write failed: File too large", c.unit, c.failed));
    const auto after = outputsIn(folder.path(), c.mode);
    expectWholeLinesOfTheRun(clean, after, c.failed);
    // Every whole line that fit under the limit is there.
    const std::string& kept = after.at(c.failed);
    EXPECT_LE(kept.size(), c.limit);
    EXPECT_GT(clean.at(c.failed).find("\r\n", kept.size()) + 2, c.limit);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WriteStoppedPartWay,
    ::testing::Values(SizeLimit{"ModeZero", 0, 300, 10000, "bay.out", 12, false},
                      SizeLimit{"ModeZeroOverAnEarlierRun", 0, 300, 10000, "bay.out", 12, true},
                      SizeLimit{"ModeOneSpectrum", 1, 30, 50000, "bay.eng", 18, false},
                      SizeLimit{"ModeOneSpectrumOverAnEarlierRun", 1, 30, 50000, "bay.eng", 18, true},
                      SizeLimit{"ModeTwoSpectrum", 2, 30, 50000, "bay.eng", 18, false}),
    [](const ::testing::TestParamInfo<SizeLimit>& info) { return info.param.name; });

}  // namespace
}  // namespace ww3b
