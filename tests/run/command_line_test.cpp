// The program's arguments: --help (-h) and --version answer and end at once; an unknown
// option, a stray argument, an option without its value or an answer the run cannot take
// is a usage error that touches no file. Without a WW3 file the run is the dialogue (see
// the golden runs); with one, its answers come from options and its files are those of
// the dialogue with the same answers. --list --json and --record write JSON.

#include <cmath>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "support/program_run.hpp"
#include "support/temp_folder.hpp"
#include "support/ww3_text.hpp"

namespace ww3b {
namespace {

using namespace ww3b::testing;

// Every line ends in CR LF, and there is no text after the last line end.
bool allLinesEndInCrLf(const std::string& text) {
    if (text.empty() || text.back() != '\n') return false;
    for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 1)) {
        if (at == 0 || text[at - 1] != '\r') return false;
    }
    return true;
}

// A folder with a WW3 file and the answers of a mode-0 run piped in: an argument that
// started the dialogue would read them and write bay.out.
struct ArgumentRun {
    TempFolder folder;
    ProgramRun result;
    explicit ArgumentRun(const std::vector<std::string>& arguments) {
        writeFile(folder / "in.spec", Ww3Text::withGrid(3, 4).step(20100603, 120000).text);
        result = runProgram(folder.path(), answerLines({"in.spec", "0", "99999999", "0", "0", "bay.out"}), arguments);
    }
    bool untouched() const { return filesIn(folder.path()) == std::vector<std::string>{"in.spec"}; }
};

class Help : public ::testing::TestWithParam<std::vector<std::string>> {};

TEST_P(Help, TellsTheQuestionsTheOptionsThePipeAndTheGuide) {
    ArgumentRun run(GetParam());
    EXPECT_EQ(run.result.status, 0);
    EXPECT_EQ(run.result.errors, "");
    EXPECT_TRUE(run.untouched());
    const std::string& help = run.result.output;
    EXPECT_TRUE(allLinesEndInCrLf(help));
    EXPECT_EQ(help.rfind("Usage: ww3-brevolan [options] WW3FILE\r\n       ww3-brevolan [options] < answers\r\n", 0),
              0u)
        << help;
    for (const char* part : {"WW3 spectral file name", "starting time stamp", "ending time stamp", "interval",
                             "output mode", "shoreline orientation", "boundary depth", "< bay.answers", "--point",
                             "--list", "--header-directions", "--quiet", "UTC",
                             "--mode", "--start", "--end", "--interval", "--output", "--orientation",
                             "--boundary-depth", "YYYY-MM-DD", "--json", "--record",
                             "Exit status: 0", "README.md", "ww3-brevolan(1)"}) {
        EXPECT_NE(help.find(part), std::string::npos) << part;
    }
    for (std::size_t start = 0, end; (end = help.find("\r\n", start)) != std::string::npos; start = end + 2) {
        EXPECT_LE(end - start, 80u) << help.substr(start, end - start);
    }
}

INSTANTIATE_TEST_SUITE_P(Arguments, Help,
                         ::testing::Values(std::vector<std::string>{"--help"}, std::vector<std::string>{"-h"},
                                           std::vector<std::string>{"-q", "--help", "--version"}));

TEST(CommandLine, VersionIsTheProjectVersion) {
    ArgumentRun run({"--version"});
    EXPECT_EQ(run.result.status, 0);
    EXPECT_EQ(run.result.errors, "");
    EXPECT_EQ(run.result.output, "ww3-brevolan " WW3B_VERSION "\r\n");
    EXPECT_TRUE(std::regex_match(std::string(WW3B_VERSION), std::regex("[0-9]+\\.[0-9]+\\.[0-9]+")));
    EXPECT_TRUE(run.untouched());
}

class UsageError : public ::testing::TestWithParam<std::vector<std::string>> {};

TEST_P(UsageError, GoesToStandardErrorWithStatusTwoAndNoFile) {
    ArgumentRun run(GetParam());
    EXPECT_EQ(run.result.status, 2);
    EXPECT_EQ(run.result.output, "");
    EXPECT_TRUE(run.untouched());
    const std::string& errors = run.result.errors;
    EXPECT_TRUE(allLinesEndInCrLf(errors)) << errors;
    EXPECT_EQ(errors.rfind("ww3-brevolan: usage error: ", 0), 0u) << errors;
    EXPECT_NE(errors.find("Usage: ww3-brevolan [options] WW3FILE, or ww3-brevolan [options] < answers"),
              std::string::npos)
        << errors;
    if (GetParam().size() == 1) {
        EXPECT_NE(errors.find("\"" + GetParam()[0] + "\""), std::string::npos) << errors;
    }
}

INSTANTIATE_TEST_SUITE_P(Arguments, UsageError,
                         ::testing::Values(std::vector<std::string>{"--verbose"}, std::vector<std::string>{"-x"},
                                           std::vector<std::string>{"in.spec", "other.spec"},
                                           std::vector<std::string>{""},
                                           std::vector<std::string>{"--point"},
                                           std::vector<std::string>{"--point", ""}, std::vector<std::string>{"--list", ""},
                                           std::vector<std::string>{"--version", "extra"},
                                           // answers an option cannot take, or a missing one
                                           std::vector<std::string>{"missing.spec"},
                                           std::vector<std::string>{"--mode", "1"},
                                           std::vector<std::string>{"in.spec", "--orientaton", "270"},
                                           std::vector<std::string>{"in.spec", "--mode", "2", "--orientation", "270"},
                                           std::vector<std::string>{"in.spec", "--mode", "2", "--boundary-depth", "9"},
                                           std::vector<std::string>{"in.spec", "--orientation", "270"},
                                           std::vector<std::string>{"in.spec", "--mode", "3"},
                                           std::vector<std::string>{"in.spec", "--start", "2010-02-29"},
                                           std::vector<std::string>{"in.spec", "--end", "2010-06-03T12:30"},
                                           std::vector<std::string>{"in.spec", "--interval", "-3"},
                                           std::vector<std::string>{"in.spec", "--mode", "1", "-o", "bay"},
                                           std::vector<std::string>{"in.spec", "-o", "in.spec"},
                                           std::vector<std::string>{"in.spec", "--record", "in.out"},
                                           std::vector<std::string>{"--json"},
                                           std::vector<std::string>{"--list", "in.spec", "in.spec"},
                                           std::vector<std::string>{"in.spec", "--mode", "2", "--orientation", "270",
                                                                    "--boundary-depth", "-1"}));

TEST(CommandLine, UsageErrorsSayWhatToDo) {
    for (const auto& [arguments, words] :
         std::vector<std::pair<std::vector<std::string>, std::string>>{
             {{"in.spec", "--orientaton", "270"}, "unknown option \"--orientaton\": did you mean \"--orientation\"?"},
             {{"in.spec", "--boundary-dept=2"}, "did you mean \"--boundary-depth\"?"},
             {{"--start", "0"}, "name the WW3 file on the command line"},
             {{"in.spec", "--mode", "2", "--orientation", "270"}, "mode 2 needs --boundary-depth"}}) {
        ArgumentRun run(arguments);
        EXPECT_NE(run.result.errors.find(words), std::string::npos) << run.result.errors;
    }
}

// A WW3 file of five time steps, 12 and 18 h on 3 June 2010, then 0, 6 and 12 h.
std::string fiveSteps() {
    Ww3Text text = Ww3Text::withGrid(3, 4);
    for (const auto& [date, time] : {std::pair{20100603, 120000}, {20100603, 180000}, {20100604, 0},
                                     {20100604, 60000}, {20100604, 120000}}) {
        text.step(date, time, 46.6f, 5.2f, 180.0f,
                  [&](int i, int j) { return 0.01f * static_cast<float>((i + 1) * (j + 2) + time / 60000); });
    }
    return text.text;
}

struct OptionsAgainstDialogue {
    const char* name;
    std::vector<std::string> arguments;
    std::vector<std::string> answers;
    // Each file of the options run, then the file of the dialogue run it must equal.
    std::vector<std::pair<std::string, std::string>> files;
};

class AnswersAsOptions : public ::testing::TestWithParam<OptionsAgainstDialogue> {};

TEST_P(AnswersAsOptions, WriteTheFilesOfTheDialogueAndNothingOnStandardOutput) {
    const OptionsAgainstDialogue& row = GetParam();
    TempFolder dialogue, options;
    for (const TempFolder* folder : {&dialogue, &options}) writeFile(*folder / "in.spec", fiveSteps());
    const auto slash = row.files.front().first.rfind('/');
    if (slash != std::string::npos) std::filesystem::create_directory(options / row.files.front().first.substr(0, slash));
    const ProgramRun asked = runProgram(dialogue.path(), answerLines(row.answers));
    const ProgramRun given = runProgram(options.path(), "", row.arguments);
    ASSERT_EQ(asked.status, 0) << asked.errors;
    ASSERT_EQ(given.status, 0) << given.errors;
    EXPECT_EQ(given.output, "");
    EXPECT_EQ(given.errors, "");
    EXPECT_NE(given.summary.find("ww3-brevolan: done: "), std::string::npos);
    for (const auto& [mine, theirs] : row.files) {
        const std::string bytes = readFile(options / mine);
        EXPECT_FALSE(bytes.empty()) << mine;
        EXPECT_EQ(bytes, readFile(dialogue / theirs)) << mine;
    }
    std::size_t made = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(options.path())) {
        made += entry.is_regular_file() ? 1 : 0;
    }
    EXPECT_EQ(made, row.files.size() + 1);  // and in.spec
}

INSTANTIATE_TEST_SUITE_P(
    Rows, AnswersAsOptions,
    ::testing::Values(
        OptionsAgainstDialogue{"mode0_defaults", {"in.spec"}, {"in.spec", "0", "99999999", "0", "0", "in.out"},
                               {{"in.out", "in.out"}}},
        OptionsAgainstDialogue{"mode1_iso_stamps",
                               {"in.spec", "--mode", "1", "--start", "2010-06-03T18", "--end", "2010-06-04", "-o",
                                "bay.eng"},
                               {"in.spec", "10060318", "10060423", "0", "1", "bay.eng"},
                               {{"bay.eng", "bay.eng"}, {"bay.out", "bay.out"}}},
        OptionsAgainstDialogue{"mode2_plain_stamps_and_defaults",
                               {"--mode=2", "--start=10060318", "--end", "10060400", "--interval", "6",
                                "--orientation", "290", "--boundary-depth", "12.0", "in.spec"},
                               {"in.spec", "10060318", "10060400", "6", "2", "in.eng", "290", "12.0"},
                               {{"in.out", "in.out"}, {"in.txt", "in.txt"}, {"in.eng", "in.eng"}, {"in.dat", "in.dat"}}},
        OptionsAgainstDialogue{
            "mode2_long_path",
            {"in.spec", "--mode", "2", "--output", "a_folder_named_at_length_for_its_path/shinnecock_inlet_a19_181steps.e",
             "--orientation", "236.6", "--boundary-depth", "30", "--end", "2010-06-04T06:00:00Z"},
            {"in.spec", "0", "10060406", "0", "2", "bay.e", "236.6", "30"},
            {{"a_folder_named_at_length_for_its_path/shinnecock_inlet_a19_181steps.e", "bay.e"},
             {"a_folder_named_at_length_for_its_path/shinnecock_inlet_a19_181steps.out", "bay.out"},
             {"a_folder_named_at_length_for_its_path/shinnecock_inlet_a19_181steps.txt", "bay.txt"},
             {"a_folder_named_at_length_for_its_path/shinnecock_inlet_a19_181steps.dat", "bay.dat"}}}),
    [](const ::testing::TestParamInfo<OptionsAgainstDialogue>& info) { return std::string(info.param.name); });

TEST(CommandLine, ListJsonParsesBackToTheInventory) {
    TempFolder folder;
    writeFile(folder / "in.spec", fiveSteps());
    const ProgramRun run = runProgram(folder.path(), "", {"--list", "in.spec", "--json"});
    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_TRUE(allLinesEndInCrLf(run.output));
    const auto inventory = nlohmann::json::parse(run.output);
    EXPECT_EQ(inventory["format"], "ASCII");
    EXPECT_EQ(inventory["grid"]["frequencies"]["count"], 3);
    EXPECT_EQ(inventory["grid"]["directions"]["listed_degrees"].size(), 4u);
    EXPECT_EQ(inventory["directions"]["verdict"], "converter grid");
    ASSERT_EQ(inventory["points"].size(), 1u);
    EXPECT_EQ(inventory["points"][0]["depth"], 46.6);
    EXPECT_EQ(inventory["time_steps"], 5);
    EXPECT_EQ(inventory["first_time"], "2010-06-03T12:00:00Z");
    EXPECT_EQ(inventory["last_time"], "2010-06-04T12:00:00Z");
}

// The record keeps the warnings that -q keeps off the screen, and what the run wrote.
TEST(CommandLine, RecordParsesBackToTheRun) {
    TempFolder folder;
    writeFile(folder / "in.spec", fiveSteps());
    const ProgramRun run =
        runProgram(folder.path(), "",
                   {"in.spec", "-q", "--mode", "2", "--orientation", "400", "--boundary-depth", "12", "--start",
                    "2010-06-03T18", "--header-directions", "--record", "run.json"});
    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(run.errors + run.summary, "");
    const std::string text = readFile(folder / "run.json");
    EXPECT_TRUE(allLinesEndInCrLf(text));
    const auto record = nlohmann::json::parse(text);
    EXPECT_EQ(record["version"], WW3B_VERSION);
    EXPECT_EQ(record["ww3_file"]["format"], "ASCII");
    EXPECT_EQ(record["answers"]["mode"], 2);
    EXPECT_EQ(record["answers"]["start"], 10060318);
    EXPECT_EQ(record["answers"]["orientation"], 400.0);
    EXPECT_EQ(record["directions"]["header_directions"], true);
    EXPECT_EQ(record["directions"]["verdict"], "converter grid");
    EXPECT_EQ(record["depths"]["save_depth"], 46.6);
    EXPECT_NEAR(record["depths"]["depth_exponent"].get<double>(), std::log(46.6 / 12.0), 1e-6);
    EXPECT_EQ(record["steps"]["read"], 5);
    EXPECT_EQ(record["steps"]["written"], 4);
    EXPECT_EQ(record["first_stamp"], 10060318);
    EXPECT_EQ(record["last_stamp"], 10060412);
    ASSERT_EQ(record["warnings"].size(), 1u);
    EXPECT_NE(record["warnings"][0].get<std::string>().find("outside 0 to 360"), std::string::npos);
    EXPECT_EQ(record["exit_status"], 0);
    ASSERT_EQ(record["outputs"].size(), 4u);
    for (const auto& output : record["outputs"]) {
        EXPECT_EQ(output["bytes"], readFile(folder / output["name"].get<std::string>()).size());
    }
    // The warnings of the run's end too.
    const ProgramRun late = runProgram(folder.path(), "", {"in.spec", "-q", "--start", "2011-01-01", "-o", "late.out",
                                                           "--record", "late.json"});
    ASSERT_EQ(late.status, 1) << late.errors;  // nothing written: not delivered
    const auto lateRecord = nlohmann::json::parse(readFile(folder / "late.json"));
    EXPECT_EQ(lateRecord["exit_status"], 1);
    EXPECT_EQ(lateRecord["steps"]["written"], 0);
    EXPECT_EQ(lateRecord["first_stamp"], nullptr);
    ASSERT_EQ(lateRecord["warnings"].size(), 1u);
    EXPECT_NE(lateRecord["warnings"][0].get<std::string>().find("no time step was written"), std::string::npos);
}

// A run that fails after its answers still leaves its record, in the dialogue as well.
TEST(CommandLine, RecordOfAFailedDialogueRun) {
    TempFolder folder;
    const std::string text = fiveSteps();
    writeFile(folder / "in.spec", text.substr(0, text.size() - 30));
    const ProgramRun run = runProgram(folder.path(), answerLines({"in.spec", "0", "99999999", "0", "0", "bay.out"}),
                                      {"--record", "run.json"});
    ASSERT_EQ(run.status, 2) << run.errors;
    const auto record = nlohmann::json::parse(readFile(folder / "run.json"));
    EXPECT_EQ(record["exit_status"], 2);
    EXPECT_EQ(record["answers"]["output"], "bay.out");
    EXPECT_EQ(record["steps"]["written"], 4);
    // A record named like one of the dialogue's outputs is not written over it.
    writeFile(folder / "in.spec", text);
    const ProgramRun clash = runProgram(folder.path(), answerLines({"in.spec", "0", "99999999", "0", "0", "bay.out"}),
                                        {"--record", "bay.out"});
    EXPECT_EQ(clash.status, 2);
    EXPECT_NE(clash.errors.find("would overwrite the output file"), std::string::npos) << clash.errors;
    EXPECT_EQ(readFile(folder / "bay.out").substr(0, 1), " ");
}

}  // namespace
}  // namespace ww3b
