// netCDF point spectra end to end: a file converts byte for byte like its text twin, and
// a bad file is refused with a diagnostic.

#include <netcdf.h>

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

}  // namespace
}  // namespace ww3b
