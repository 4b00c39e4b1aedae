// netCDF point spectra end to end: a file converts byte for byte like its text twin, and
// a bad file is refused with a diagnostic.

#include <netcdf.h>

#include <signal.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/program_run.hpp"
#include "support/run_files.hpp"
#include "support/temp_folder.hpp"

namespace ww3b {
namespace {

using namespace testing;

// ww3-synth's text file and its netCDF twin, three stations a time step.
void synthesize(const TempFolder& folder, const std::string& format, const std::string& more = "") {
    const std::string command = std::string(WW3B_SYNTH) + " --points 3 --steps 4 --output " +
                                (folder / "multi.spec").string() + " --netcdf " + (folder / "multi.nc").string() +
                                " --netcdf-format " + format + " " + more;
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

// The single-point text file of point `k` (from 0) of a multi-point text file: the header
// (its point count made 1), then per time step the time line and that point's lines.
std::string singlePoint(const std::string& multi, int k) {
    static const std::regex timeLine(R"(^\d{8} \d{6}\r?$)");
    std::istringstream in(multi);
    std::string out;
    int point = -1;
    bool header = true;
    for (std::string line; std::getline(in, line);) {
        if (std::regex_match(line, timeLine)) {
            header = false;
            point = -1;
        } else if (!header && line.starts_with("'")) {
            ++point;
        }
        if (out.empty()) line.replace(36, 6, "     1");
        if (header || point == -1 || point == k) out += line + "\n";
    }
    return out;
}

TEST(NetcdfRun, ConvertsLikeTheTextFileOfTheSameStation) {
    struct Case {
        std::string format;
        std::vector<std::string> arguments;
        int station;  // from 0
        bool notice;  // the default choice among several stations is told
    };
    const Case cases[] = {
        {"netcdf4", {}, 0, true},
        {"classic", {"-q"}, 0, false},
        {"classic", {"--point", "44097-2"}, 1, false},
        {"netcdf4", {"--point", "3"}, 2, false},
    };
    for (const Case& c : cases) {
        TempFolder source;
        synthesize(source, c.format);
        // --list tells the same of both but their format.
        const ProgramRun listText = runProgram(source.path(), "", {"--list", "multi.spec"});
        const ProgramRun listNetcdf = runProgram(source.path(), "", {"--list", "multi.nc"});
        ASSERT_EQ(listNetcdf.status, 0) << listNetcdf.errors;
        EXPECT_EQ(std::regex_replace(listNetcdf.output, std::regex("multi.nc\" \\(netCDF"), "multi.spec\" (ASCII"),
                  listText.output);
        for (int mode : {0, 1, 2}) {
            SCOPED_TRACE(c.format + " station " + std::to_string(c.station) + " mode " + std::to_string(mode));
            // Both inputs carry the same name, so that the consoles can be compared too.
            TempFolder text, netcdf;
            writeFile(text / "in.spec", singlePoint(readFile(source / "multi.spec"), c.station));
            std::filesystem::copy_file(source / "multi.nc", netcdf / "in.spec");
            const std::string answers = answerLines(standardAnswers(mode));
            const ProgramRun fromText = runProgram(text.path(), answers);
            const ProgramRun fromNetcdf = runProgram(netcdf.path(), answers, c.arguments);
            ASSERT_EQ(fromText.status, 0) << fromText.errors;
            ASSERT_EQ(fromNetcdf.status, 0) << fromNetcdf.errors;
            EXPECT_EQ(fromNetcdf.output, fromText.output);
            EXPECT_EQ(outputsIn(netcdf.path(), mode), outputsIn(text.path(), mode));
            // The same warnings about the run (a station facing away from the shore keeps
            // little of its energy in the half plane), after the notice of the stations.
            EXPECT_EQ(fromNetcdf.errors,
                      (c.notice ? "ww3-brevolan: warning: \"in.spec\" holds 3 stations (\"44097\", \"44097-2\", "
                                  "\"44097-3\"); the first is converted. Choose another with --point NAME or "
                                  "--point N (its position, from 1)\r\n"
                                : std::string()) +
                          fromText.errors);
        }
    }
}

// Spoils a netCDF file in place with the library.
void spoil(const std::filesystem::path& file, void (*change)(int nc)) {
    int nc = -1;
    ASSERT_EQ(nc_open(file.c_str(), NC_WRITE, &nc), NC_NOERR);
    nc_redef(nc);
    change(nc);
    ASSERT_EQ(nc_close(nc), NC_NOERR);
}

int varid(int nc, const char* name) {
    int id = -1;
    nc_inq_varid(nc, name, &id);
    return id;
}

TEST(NetcdfRun, RefusesBadFilesWithADiagnostic) {
    struct Case {
        std::string name;
        std::string format;
        std::string synthOptions;
        void (*change)(int nc);  // nullptr: as written
        long cutTo;              // >= 0: the file cut to that many bytes; < 0: from the end
        std::vector<std::string> arguments;
        std::string diagnostic;  // part of it
        bool outputsMade;        // false: refused before any output file is made
        std::string seed;        // non-empty: this fuzz seed of the WW3 file instead
    };
    const Case cases[] = {
        {"no efth", "netcdf4", "", [](int nc) { nc_rename_var(nc, varid(nc, "efth"), "efthx"); }, 0, {},
         "the netCDF file has no variable efth (unit 11, file \"in.spec\")", true, ""},
        {"fill value", "classic", "",
         [](int nc) {
             nc_enddef(nc);
             const std::size_t at[4] = {2, 1, 3, 4};
             const float fill = NC_FILL_FLOAT;
             nc_put_var1_float(nc, varid(nc, "efth"), at, &fill);
         },
         0, {"--point", "2"},
         "the variable efth holds a fill value or a value that is not a number at time step 3 (20100604 000000), "
         "station 2 (\"44097-2\"), frequency 4, direction 5",
         true, ""},
        {"60 frequencies", "classic", "--frequencies 60", nullptr, 0, {},
         "the header gives 60 frequencies; 3 to 50 can be read (netCDF dimensions frequency and direction)", true, ""},
        {"no such name", "netcdf4", "", nullptr, 0, {"--point", "44097-9"},
         "the file holds no station \"44097-9\"; it holds 3 stations: \"44097\", \"44097-2\", \"44097-3\"", false, ""},
        {"no such position", "classic", "", nullptr, 0, {"--point", "4"}, "the file holds no station 4; it holds 3",
         false, ""},
        // Units other than those the reader knows are refused, never converted on a guess.
        {"efth in other units", "netcdf4", "",
         [](int nc) { nc_put_att_text(nc, varid(nc, "efth"), "units", 5, "J m-2"); }, 0, {},
         "the variable efth is in \"J m-2\"; it can be read in m2 s rad-1 or as log10(m2 s rad-1 +1E-12)", false, ""},
        {"log-coded efth of another unit", "classic", "--efth-encoding log10",
         [](int nc) { nc_put_att_text(nc, varid(nc, "efth"), "units", 20, "log10(m2 s-1 +1E-12)"); }, 0, {},
         "the variable efth is in \"log10(m2 s-1 +1E-12)\"", false, ""},
        {"frequencies in radians", "classic", "",
         [](int nc) { nc_put_att_text(nc, varid(nc, "frequency"), "units", 7, "rad s-1"); }, 0, {},
         "the variable frequency is in \"rad s-1\"; it can be read in s-1 or Hz", false, ""},
        {"directions in radians", "netcdf4", "",
         [](int nc) { nc_put_att_text(nc, varid(nc, "direction"), "units", 3, "rad"); }, 0, {},
         "the variable direction is in \"rad\"", false, ""},
        {"calendar without leap years", "netcdf4", "",
         [](int nc) { nc_put_att_text(nc, varid(nc, "time"), "calendar", 6, "noleap"); }, 0, {},
         "the variable time uses the calendar \"noleap\"", false, ""},
        {"classic cut in its header", "classic", "", nullptr, 200, {}, "the header of the netCDF file is cut short", true, ""},
        {"classic cut in its data", "classic", "", nullptr, -1000, {}, "the netCDF file is cut short", true, ""},
        {"netCDF-4 cut in its header", "netcdf4", "", nullptr, 3000, {}, "the file is cut short or damaged", true, ""},
        {"netCDF-4 cut in its data", "netcdf4", "", nullptr, -1000, {}, "the file is cut short or damaged", true, ""},
        {"netCDF-4 file the library fails on", "", "", nullptr, 0, {}, "the netCDF-4 file is damaged", true,
         "netcdf4-damaged-library-crash"},
        // Refused by the library in the trial (in order, or by the sanitizers of the child).
        {"netCDF-4 file with a damaged attribute", "", "", nullptr, 0, {}, "damaged", true,
         "netcdf4-damaged-attribute"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        const std::filesystem::path file = folder / "in.spec";
        if (c.seed.empty()) {
            synthesize(folder, c.format, c.synthOptions);
            std::filesystem::rename(folder / "multi.nc", file);
            std::filesystem::remove(folder / "multi.spec");
        } else {  // after the seed's two bytes of configuration
            writeFile(file, readFile(std::filesystem::path(WW3B_SOURCE_DIR) / "fuzz/seeds/ww3_file" / c.seed).substr(2));
        }
        if (c.change) spoil(file, c.change);
        if (c.cutTo != 0) {
            const auto size = static_cast<long>(std::filesystem::file_size(file));
            std::filesystem::resize_file(file, static_cast<std::uintmax_t>(c.cutTo > 0 ? c.cutTo : size + c.cutTo));
        }
        const ProgramRun run = runProgram(folder.path(), answerLines(standardAnswers(2)), c.arguments);
        EXPECT_EQ(run.status, 2);
        EXPECT_NE(run.errors.find("ww3-brevolan: error: "), std::string::npos) << run.errors;
        EXPECT_NE(run.errors.find(c.diagnostic), std::string::npos) << run.errors;
        if (!c.outputsMade) {
            EXPECT_EQ(filesIn(folder.path()), std::vector<std::string>{"in.spec"});
        }
    }
}

// The numbers of a text and what stands between them, blanks left out (a number of
// another width moves its field's blanks).
struct NumbersAndText {
    std::vector<std::string> numbers;
    std::string text;
};

NumbersAndText splitNumbers(const std::string& text) {
    static const std::regex number(R"([-+]?(\d+\.?\d*|\.\d+)([EeDd][-+]?\d+)?)");
    NumbersAndText split;
    std::size_t from = 0;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), number); it != std::sregex_iterator(); ++it) {
        split.text += text.substr(from, static_cast<std::size_t>(it->position()) - from) + "#";
        split.numbers.push_back(it->str());
        from = static_cast<std::size_t>(it->position() + it->length());
    }
    split.text += text.substr(from);
    std::erase(split.text, ' ');
    return split;
}

// One unit of the last digit a number is printed with: 0.123E-04 gives 1e-7, 12.5 gives 0.1.
double lastDigitUnit(const std::string& number) {
    const std::size_t exponent = number.find_first_of("EeDd");
    const std::size_t point = number.find('.');
    const std::size_t mantissaEnd = exponent == std::string::npos ? number.size() : exponent;
    const int decimals = point == std::string::npos ? 0 : static_cast<int>(mantissaEnd - point - 1);
    const int power = exponent == std::string::npos ? 0 : std::stoi(number.substr(exponent + 1));
    return std::pow(10.0, power - decimals);
}

// The log-coded densities differ from the floats by up to 0.046 % (half a step of 0.0004
// in log10); what is derived from them may differ by 0.1 % of itself and one unit of its
// last printed digit. Everything else must be the same.
void expectWithinLogPrecision(const std::string& coded, const std::string& floats, const std::string& what) {
    const NumbersAndText a = splitNumbers(coded), b = splitNumbers(floats);
    ASSERT_EQ(a.text, b.text) << what;
    ASSERT_EQ(a.numbers.size(), b.numbers.size()) << what;
    for (std::size_t k = 0; k < a.numbers.size(); ++k) {
        const double x = std::stod(a.numbers[k]), y = std::stod(b.numbers[k]);
        const double tolerance =
            1e-3 * std::fabs(y) + std::max(lastDigitUnit(a.numbers[k]), lastDigitUnit(b.numbers[k])) * 1.0001;
        ASSERT_LE(std::fabs(x - y), tolerance) << what << ": number " << k << ", " << a.numbers[k] << " for "
                                               << b.numbers[k];
    }
}

// As WW3 writes them: densities as packed logarithms, positions as x and y in metres.
TEST(NetcdfRun, LogCodedAndCartesianFilesConvertLikeTheFloatFile) {
    TempFolder floats, coded;
    synthesize(floats, "netcdf4");
    synthesize(coded, "classic", "--efth-encoding log10 --positions xy");
    const ProgramRun list = runProgram(coded.path(), "", {"--list", "multi.nc"});
    ASSERT_EQ(list.status, 0) << list.errors;
    EXPECT_NE(list.output.find("   no  name              x (m)        y (m)   depth (m)\r\n"
                               "    1  44097          -71120.0      40980.0        46.6\r\n"),
              std::string::npos)
        << list.output;
    // Stations that face the shore: the mean direction of the little energy the third keeps
    // in the half plane near 0 degrees moves by more than a relative 0.1 %.
    for (const char* station : {"1", "2"}) {
        for (int mode : {0, 1, 2}) {
            SCOPED_TRACE(std::string("station ") + station + " mode " + std::to_string(mode));
            TempFolder fromFloats, fromCoded;
            std::filesystem::copy_file(floats / "multi.nc", fromFloats / "in.spec");
            std::filesystem::copy_file(coded / "multi.nc", fromCoded / "in.spec");
            const std::string answers = answerLines(standardAnswers(mode));
            const ProgramRun a = runProgram(fromFloats.path(), answers, {"-q", "--point", station});
            const ProgramRun b = runProgram(fromCoded.path(), answers, {"-q", "--point", station});
            ASSERT_EQ(a.status, 0) << a.errors;
            ASSERT_EQ(b.status, 0) << b.errors;
            expectWithinLogPrecision(b.output, a.output, "the console");
            const auto expected = outputsIn(fromFloats.path(), mode);
            const auto got = outputsIn(fromCoded.path(), mode);
            ASSERT_EQ(got.size(), expected.size());
            for (const auto& [name, contents] : expected) expectWithinLogPrecision(got.at(name), contents, name);
        }
    }
}

// The file is read in one child of the run: it works when the run was started with
// SIGCHLD ignored, and a library that stalls in the middle of the data ends the run with
// the diagnostic, the steps before it written, and no process left behind.
TEST(NetcdfRun, TheReadingChildEndsWithTheRun) {
    TempFolder source;
    const std::string command = std::string(WW3B_SYNTH) + " --steps 300 --output " + (source / "in.txt").string() +
                                " --netcdf " + (source / "in.nc").string();
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    const std::string answers = answerLines(standardAnswers(1));

    TempFolder ignored;
    std::filesystem::copy_file(source / "in.nc", ignored / "in.spec");
    RunInheritance inheritance;
    inheritance.childSignalIgnored = true;
    const ProgramRun run = runProgram(ignored.path(), answers, inheritance);
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_NE(run.summary.find("300 time steps written"), std::string::npos) << run.summary;

    // Six float reads fill the axes and the first block of steps; the seventh, in the
    // second block, stalls.
    TempFolder stalled;
    std::filesystem::copy_file(source / "in.nc", stalled / "in.spec");
    const std::string idFile = (source / "stalled.id").string();
    inheritance = {};
    inheritance.environment = {"LD_PRELOAD=" WW3B_STALL_LIBRARY, "WW3B_TEST_STALL_AFTER_READS=6",
                            "WW3B_TEST_STALL_ID_FILE=" + idFile, "WW3B_NETCDF_STALL_SECONDS=2",
                            "ASAN_OPTIONS=verify_asan_link_order=0"};
    const ProgramRun stall = runProgram(stalled.path(), answers, inheritance);
    EXPECT_EQ(stall.status, 2);
    EXPECT_NE(stall.errors.find("the netCDF-4 file is damaged: the netCDF library had not finished reading it after "
                                "2 seconds (reading time step 218)"),
              std::string::npos)
        << stall.errors;
    const std::string written = readFile(stalled / "bay.out");
    EXPECT_GT(std::count(written.begin(), written.end(), '\n'), 200);
    const pid_t id = static_cast<pid_t>(std::stol(readFile(idFile)));
    EXPECT_TRUE(::kill(id, 0) != 0 && errno == ESRCH) << "the stalled child " << id << " is still there";
}

}  // namespace
}  // namespace ww3b
