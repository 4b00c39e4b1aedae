// Typical mistakes of a new user, end to end: each ends with a refusal (status 2, a
// diagnostic naming the question or the file, no empty file created), a run that did not
// deliver (status 1, a line that says so even under -q) or a run that says what went
// wrong (status 0, warnings, then the summary line); never a silent success.

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include <unistd.h>

#include <gtest/gtest.h>

#include "support/program_run.hpp"
#include "support/temp_folder.hpp"
#include "support/ww3_text.hpp"

namespace ww3b {
namespace {

using namespace ww3b::testing;

std::string oneStep(float depth = 46.6f) { return Ww3Text::withGrid(3, 4).step(20100603, 120000, depth).text; }

// All the energy comes from the first direction of the file.
std::string oneDirection() {
    return Ww3Text::withGrid(3, 4)
        .step(20100603, 120000, 46.6f, 5.2f, 180.0f, [](int, int j) { return j == 0 ? 1.0f : 0.0f; })
        .text;
}

// Two hourly steps, then what `tail` adds.
std::string twoStepsThen(const std::string& tail) {
    return Ww3Text::withGrid(3, 4).step(20100603, 120000).step(20100603, 130000).text + tail;
}

std::vector<std::string> answers(const std::string& start, const std::string& end, const std::string& mode,
                                 const std::string& name, std::vector<std::string> more = {}) {
    std::vector<std::string> all{"in.spec", start, end, "0", mode, name};
    all.insert(all.end(), more.begin(), more.end());
    return all;
}

std::string error(const std::string& text) { return "ww3-brevolan: error: " + text + "\r\n"; }
std::string warning(const std::string& text) { return "ww3-brevolan: warning: " + text + "\r\n"; }
std::string done(const std::string& text) { return "ww3-brevolan: done: " + text + "\r\n"; }

// Where a warning about an answer points: the answer's line of standard input.
std::string atAnswerLine(int line) { return " (unit 5, standard input, line " + std::to_string(line) + ")"; }

const std::string kNothing = "incomplete: no time step written, no line written to any file";
const std::string kNothingInWindow =
    "no time step was written: \"in.spec\" holds the time steps 10060312 (yymmddhh); asked were 11010100 to 99999999, "
    "every time step; check the window and the interval (--list shows the times a file holds)";
const std::string kOneStepToBay = "1 time step written, 10060312, to \"bay.out\", \"bay.txt\", \"bay.eng\" and \"bay.dat\"";
const std::vector<std::string> kBayFiles{"bay.dat", "bay.eng", "bay.out", "bay.txt"};

struct Mistake {
    std::string name;
    std::vector<std::string> answers;
    std::string spectra;  // in.spec
    int status;
    std::vector<std::string> created;
    std::string errors;   // standard error before the summary line
    std::string summary;  // the summary line, empty when there is none
    std::map<std::string, std::string> before = {};
    std::vector<std::string> arguments = {};
};

class Mistakes : public ::testing::TestWithParam<Mistake> {};

TEST_P(Mistakes, NeverEndInSilentSuccess) {
    const Mistake& c = GetParam();
    TempFolder folder;
    writeFile(folder / "in.spec", c.spectra);
    for (const auto& [name, contents] : c.before) writeFile(folder / name, contents);
    const ProgramRun run = runProgram(folder.path(), answerLines(c.answers), c.arguments);
    EXPECT_EQ(run.status, c.status);
    EXPECT_EQ(run.errors, c.errors);
    EXPECT_EQ(run.summary, c.summary);
    std::vector<std::string> files = c.created;
    files.push_back("in.spec");
    for (const auto& [name, contents] : c.before) files.push_back(name);
    std::sort(files.begin(), files.end());
    EXPECT_EQ(filesIn(folder.path()), files);
    for (const auto& [name, contents] : c.before) EXPECT_EQ(readFile(folder / name), contents) << name;
}

INSTANTIATE_TEST_SUITE_P(
    Refused, Mistakes,
    ::testing::Values(
        Mistake{"BlankWw3Name", {"", "0", "99999999", "0", "0", "p.out"}, oneStep(), 2, {},
                error("the WW3 directional data file: no name was given (unit 5, standard input, line 1)"), ""},
        Mistake{"MissingWw3File", {"nne.spec", "0", "99999999", "0", "2", "bay.eng", "180", "12"}, oneStep(), 2, {},
                error("the WW3 directional data file: file not found (unit 11, file \"nne.spec\")"), ""},
        Mistake{"Ww3NameOfAFolder", {".", "0", "99999999", "0", "0", "p.out"}, oneStep(), 2, {},
                error("the WW3 directional data file: is a directory, not a file (unit 11, file \".\")"), ""},
        Mistake{"EmptyWw3File", answers("0", "99999999", "0", "p.out"), "", 2, {},
                error("the WW3 directional data file: holds no bytes (an empty file) (unit 11, file \"in.spec\")"), ""},
        Mistake{"NameCutInTheMiddle", answers("0", "99999999", "0", "this_is_a_long_name_full_plane.out"), oneStep(), 2,
                {},
                error("the output full-plane wave file name (*.out): \"this_is_a_long_name_full_plane.out\" is longer "
                      "than the 30 characters a name may hold (unit 5, standard input, line 6)"),
                ""},
        Mistake{"Ww3FileWithoutAHeaderLine", {"/dev/null", "0", "99999999", "0", "0", "p.out"}, oneStep(), 2,
                {},
                error("the WW3 spectral file holds no header line: nothing could be read from it (unit 11, file "
                      "\"/dev/null\")"),
                ""},
        Mistake{"LetterOForAZero", answers("2010O603", "99999999", "0", "p.out"), oneStep(), 2, {},
                error("the starting time stamp (yymmddhh or 0): \"2010O603\" is not a whole number (unit 5, standard "
                      "input, line 2)"),
                ""},
        Mistake{"WW3PointWithoutDepth", answers("0", "99999999", "2", "bay.eng", {"180", "12"}), oneStep(0.0f), 2,
                {"bay.out"},
                error("the depth of the WW3 point, 0 m, gives no direction factor: the half plane needs a depth above 0 "
                      "(unit 11, file \"in.spec\", line 5)"),
                ""},
        // Checked from the first time step's point lines before the time questions.
        Mistake{"NoSuchPointInATextFile", {"in.spec"}, oneStep(), 2, {},
                error("the time step starting at this line holds no point \"NOSUCH\"; it holds 1 point: \"44097\" (unit "
                      "11, file \"in.spec\", line 4)"),
                "", {}, {"--point", "NOSUCH"}},
        Mistake{"AnswersEndAfterTheFilesOpened", answers("0", "99999999", "2", "bay.eng"), oneStep(), 2, {},
                error("the local shoreline orientation (degrees): no answer, the input ended (unit 5, standard input, "
                      "after line 6)"),
                ""}),
    [](const ::testing::TestParamInfo<Mistake>& info) { return info.param.name; });

INSTANTIATE_TEST_SUITE_P(
    Incomplete, Mistakes,
    ::testing::Values(
        Mistake{"WindowAfterTheFile", answers("11010100", "99999999", "0", "p.out"), oneStep(), 1, {},
                warning(kNothingInWindow), done(kNothing)},
        Mistake{"EndBeforeTheStart", answers("10060312", "10060300", "0", "p.out"), oneStep(), 1, {},
                warning("no time step was written: the time steps read run from 10060312 (yymmddhh), where reading "
                        "stopped beyond the end of the window; asked were 10060312 to 10060300, every time step (the start lies "
                        "after the end); check the window and the interval (--list shows the times a file holds)"),
                done(kNothing)},
        Mistake{"NoTimeStepInTheFile", answers("0", "99999999", "0", "p.out"), Ww3Text::withGrid(3, 4).text, 1,
                {}, warning("no time step was written: \"in.spec\" holds no time step; check that it is the file meant"),
                done(kNothing)},
        Mistake{"RerunThatSelectsNothing", answers("11010100", "99999999", "0", "p.out"), oneStep(), 1, {},
                warning(kNothingInWindow) +
                    warning("\"p.out\" received nothing and keeps the contents of an earlier run (unit 12, file \"p.out\")"),
                done(kNothing), {{"p.out", "earlier\r\n"}}},
        Mistake{"QuietRerunThatSelectsNothing", answers("11010100", "99999999", "0", "p.out"), oneStep(), 1, {},
                warning(kNothingInWindow), "", {{"p.out", "earlier\r\n"}}, {"-q"}},
        Mistake{"QuietRun", answers("11010100", "99999999", "0", "p.out"), oneStep(), 1, {}, warning(kNothingInWindow),
                "", {}, {"-q"}},
        // A broken download: "20100603 140000" cut to "201006".
        Mistake{"CutDownload", answers("0", "99999999", "0", "p.out"), twoStepsThen("201006"), 1, {"p.out"},
                warning("the WW3 file ends inside a time line: it was cut short (an interrupted download or copy); the "
                        "time steps before the cut were converted, the rest is missing: fetch the whole file again "
                        "(unit 11, file \"in.spec\", line 12)"),
                done("incomplete: 2 time steps written, 10060312 to 10060313, to \"p.out\"")},
        Mistake{"UnreadableTimeLineUnderQuiet", answers("0", "99999999", "0", "p.out"),
                twoStepsThen("20100603 14OOOO\n") + oneStep().substr(oneStep().find("20100603")), 1, {"p.out"},
                warning("the time line at line 12 of \"in.spec\" cannot be read (syntax error in free-form input: "
                        "\"14OOOO\"); "
                        "the run ends there and the time steps after it are not converted: mend the line or fetch the "
                        "file again"),
                "", {}, {"-q"}},
        Mistake{"NegativeDensity", answers("0", "99999999", "0", "p.out"),
                Ww3Text::withGrid(3, 4)
                    .step(20100603, 120000, 46.6f, 5.2f, 180.0f, [](int i, int j) { return i == 1 && j == 2 ? -1.0f : 1.0f; })
                    .text,
                1, {"p.out"},
                warning("the chosen point's spectrum holds a density below zero or not a number in 1 written time step, "
                        "the first at 10060312, frequency 2, direction 3: WW3 never writes one, so the file is damaged or "
                        "misread and the values written from those steps are wrong; fetch the file again (unit 11, file "
                        "\"in.spec\")"),
                done("incomplete: 1 time step written, 10060312, to \"p.out\"")}),
    [](const ::testing::TestParamInfo<Mistake>& info) { return info.param.name; });

INSTANTIATE_TEST_SUITE_P(
    Warned, Mistakes,
    ::testing::Values(
        Mistake{"NamesUnderAFolder", answers("0", "99999999", "2", "./y.eng", {"180", "12"}), oneStep(), 0,
                {"y.dat", "y.eng", "y.out", "y.txt"}, "",
                done("1 time step written, 10060312, to \"./y.out\", \"./y.txt\", \"./y.eng\" and \"./y.dat\"")},
        Mistake{"ModeThree", answers("0", "99999999", "3", "bay.eng"), oneStep(), 0, {"bay.out"},
                warning("the output mode (1, 2 or 0): 3 is none of 0, 1 and 2; the run goes on as in mode 0 and writes "
                        "only the full-plane parameter file (*.out)" + atAnswerLine(5)),
                done("1 time step written, 10060312, to \"bay.out\"")},
        // Words after a number are a note, and no second value.
        Mistake{"CommaForADecimalPoint", answers("0  from the start", "99999999", "2", "bay.eng", {"180", "12,5"}),
                oneStep(), 0,
                kBayFiles,
                warning("the seaward grid boundary depth (m): the line \"12,5\" holds more than one value; 12 was used "
                        "(values are separated by blanks or commas; a decimal point is written \".\")" + atAnswerLine(8)),
                done(kOneStepToBay)},
        Mistake{"FourDigitYear", answers("0", "2010060412", "0", "p.out"), oneStep(), 0, {"p.out"},
                warning("the ending time stamp (yymmddhh or 99999999): 2010060412 looks like yyyymmddhh, but the stamps "
                        "are yymmddhh (two digits of the year): 10060412 may be meant" + atAnswerLine(3)),
                done("1 time step written, 10060312, to \"p.out\"")},
        Mistake{"OrientationBeyondATurn", answers("0", "99999999", "2", "bay.eng", {"400", "12"}), oneStep(), 0,
                kBayFiles,
                warning("the local shoreline orientation (degrees): 400 lies outside 0 to 360 degrees; it is used as "
                        "typed" + atAnswerLine(7)),
                done(kOneStepToBay)},
        Mistake{"BoundaryDepthZero", answers("0", "99999999", "2", "bay.eng", {"180", "0"}), oneStep(), 0, kBayFiles,
                warning("the seaward grid boundary depth (m): a depth of 0 m gives the largest depth exponent, 30: the "
                        "oblique directions of the half plane lose nearly all their energy" + atAnswerLine(8)),
                done(kOneStepToBay)},
        Mistake{"BoundaryDeeperThanThePoint", answers("0", "99999999", "2", "bay.eng", {"180", "60"}), oneStep(), 0,
                kBayFiles,
                warning("the seaward grid boundary depth (m): 60 m is deeper than the WW3 point (46.6 m): the depth "
                        "exponent is negative and the oblique directions of the half plane are amplified" + atAnswerLine(8)),
                done(kOneStepToBay)},
        Mistake{"HalfPlaneFacingLand", answers("0", "99999999", "2", "bay.eng", {"90", "12"}), oneDirection(),
                0, kBayFiles,
                warning("the half plane kept 6.7 % of the full-plane energy over the run: check the shoreline "
                        "orientation (the bearing the coast faces plus 90)"),
                done(kOneStepToBay)},
        Mistake{"ColdStart", answers("0", "99999999", "0", "p.out"),
                Ww3Text::withGrid(3, 4).step(20100603, 120000, 46.6f, 5.2f, 180.0f, [](int, int) { return 0.0f; }).text,
                0, {"p.out"},
                warning("an all-zero spectrum (a cold start) in 1 written time step, the first at 10060312: Hs is 0 "
                        "there, and the periods and the direction written (20.0, NaN, 270) mean nothing"),
                done("1 time step written, 10060312, to \"p.out\"")},
        Mistake{"TenMinuteSteps", answers("0", "99999999", "0", "p.out"),
                Ww3Text::withGrid(3, 4).step(20100603, 115000).step(20100603, 120000).step(20100603, 121000).text, 0,
                {"p.out"},
                warning("2 written time steps share a stamp with another, the first 10060312: the steps are less than "
                        "an hour apart and the stamp (yymmddhh) holds no minutes; an interval of 1 keeps one step per "
                        "hour"),
                done("3 time steps written, 10060311 to 10060312, to \"p.out\"")},
        Mistake{"TenMinuteStepsAtAnIntervalOfOne", {"in.spec", "0", "99999999", "1", "0", "p.out"},
                Ww3Text::withGrid(3, 4).step(20100603, 120000).step(20100603, 121000).step(20100603, 130000).text, 0,
                {"p.out"}, "", done("2 time steps written, 10060312 to 10060313, to \"p.out\"")}),
    [](const ::testing::TestParamInfo<Mistake>& info) { return info.param.name; });

// An existing output file that may not be written is refused when it is opened, before
// the questions that follow, and the file the run made before it goes.
TEST(Mistakes, UnwritableOutputIsRefusedWhenOpened) {
    TempFolder folder;
    writeFile(folder / "in.spec", oneStep());
    if (::geteuid() != 0) {
        writeFile(folder / "bay.txt", "kept\r\n");
        std::filesystem::permissions(folder / "bay.txt", std::filesystem::perms::owner_read);
    } else if (std::filesystem::exists("/sys/kernel/uevent_seqnum")) {
        // Even the superuser may not write this file.
        std::filesystem::create_symlink("/sys/kernel/uevent_seqnum", folder / "bay.txt");
    } else {
        GTEST_SKIP() << "no file here that this user may not write";
    }
    const ProgramRun run = runProgram(folder.path(), answerLines(answers("0", "99999999", "2", "bay.eng")));
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.errors, error("cannot open file for writing: Permission denied (unit 15, file \"bay.txt\")"));
    EXPECT_EQ(filesIn(folder.path()), (std::vector<std::string>{"bay.txt", "in.spec"}));
}

}  // namespace
}  // namespace ww3b
