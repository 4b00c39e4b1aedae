// ww3-brevolan: converts the point spectra of a WW3 spectral file into wave parameter
// and spectrum files, with its answers given as options or read in a console dialogue
// from standard input.

#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <span>
#include <string>
#include <string_view>

#include "process/child_process.hpp"
#include "run/command_line_run.hpp"
#include "run/inventory_report.hpp"
#include "run/option_suggestion.hpp"
#include "run/program_options.hpp"
#include "process/process_policy.hpp"
#include "run/run_conversion.hpp"
#include "run/run_record.hpp"
#include "textio/io_diagnostic.hpp"
#include "ww3/input_formats.hpp"

namespace {

constexpr int kUsageErrorStatus = ww3b::kDiagnosticExitStatus;

constexpr std::string_view kHelp[] = {
    "Usage: ww3-brevolan [options] WW3FILE",
    "       ww3-brevolan [options] < answers",
    "",
    "Converts the point spectra of a WW3 spectral file (ASCII or netCDF) into",
    "wave parameter and spectrum files, among them the half-plane boundary spectrum",
    "of the nearshore model Brevolan.",
    "",
    "With a WW3 file named on the command line the program asks nothing: it takes",
    "its answers from these options (the dialogue's defaults in brackets) and",
    "prints nothing on standard output:",
    "  --mode 0|1|2          0 parameters only, 1 also the full 2-D spectra,",
    "                        2 also the Brevolan files [0]",
    "  --start STAMP         first time step written [0: from the first]",
    "  --end STAMP           last time step read [99999999: to the end]",
    "  --interval HOURS      hours of the day that are multiples of HOURS",
    "                        [0: every time step]",
    "  -o, --output NAME     the output name the dialogue asks for [the WW3 file's",
    "                        base name with .out (mode 0) or .eng, here]",
    "  --orientation DEGREES mode 2, required: the shoreline orientation",
    "  --boundary-depth METRES  mode 2, required: the seaward grid boundary depth",
    "A STAMP is yymmddhh, or YYYY-MM-DD (the first hour for --start, the last",
    "for --end), or YYYY-MM-DDTHH (UTC). Names and paths may be of any length.",
    "",
    "Without a WW3 file it asks its questions on standard output and reads one",
    "answer per line from standard input, in this order:",
    "  1  the WW3 spectral file name (at most 30 characters)",
    "  2  the starting time stamp, yymmddhh (0: from the first time step)",
    "  3  the ending time stamp, yymmddhh (99999999: to the end of the file)",
    "  4  the output interval in hours (0: every time step)",
    "  5  the output mode: 0, 1 or 2, as for --mode",
    "  6  the output name: in mode 0 the parameter file (bay.out); in modes 1 and 2",
    "     the spectrum file (bay.eng), from which bay.out (and in mode 2 bay.txt",
    "     and bay.dat) are named",
    "  7  mode 2: the shoreline orientation in degrees: the compass bearing the",
    "     coast faces plus 90 (180 for a coast facing east, 270 facing south)",
    "  8  mode 2: the seaward grid boundary depth in metres, asked once, after the",
    "     depth of the WW3 point is shown",
    "An answer file can be piped in: ww3-brevolan < bay.answers",
    "",
    "Options of both forms:",
    "  --point NAME|N        convert the output point of that name, or the N-th",
    "                        point of each time step (default: the first)",
    "  --header-directions   place the directions where the file's direction",
    "                        list (WW3 bearings of travel) puts them, when it is",
    "                        the converter's grid turned by an offset; any list",
    "                        that is no regular grid then stops the run",
    "  --record FILE         write a JSON record of the run at its end",
    "  -q, --quiet           no warnings and no closing summary (diagnostics, and",
    "                        the warning of an incomplete run, stay)",
    "Other uses:",
    "  --list FILE [--json]  tell what a WW3 file holds (grid, points, times),",
    "                        as text or as one JSON object, and convert nothing",
    "  -h, --help            this text",
    "  --version             the version",
    "",
    "Conventions: WW3 lists its directions as bearings of travel (clockwise from",
    "north); the converter places direction j at (j - 1) x 360/nd degrees",
    "counter-clockwise from east and writes the bearing the waves come from; a",
    "warning says when the file's list is turned from that grid. The wind",
    "direction (where it comes from) and speed pass through as WW3 writes them.",
    "Times are UTC, as WW3 writes them.",
    "",
    "A netCDF file is read by a child process; when the netCDF library sends",
    "nothing for 30 seconds the file is taken as damaged. WW3B_NETCDF_STALL_SECONDS",
    "sets another wait (0.1 to 86400), for a slow disk or network share.",
    "",
    "Exit status: 0 when the run delivered; 1 when it ended in order but did not",
    "deliver what was asked (no time step written, a WW3 file cut short or",
    "unreadable, damaged densities: one warning says which); 2 after a usage",
    "error or when the run stopped on a problem (one line on standard error",
    "names it). Warnings and a closing summary also go to standard error. No run",
    "leaves behind an empty file that it created.",
    "",
    "The user guide is README.md (with the sources, and installed under",
    "share/doc/ww3-brevolan); the manual page is ww3-brevolan(1).",
};

// Lines on standard output, each ending in CR LF like every line the program writes.
int writeLines(ww3b::OutputFile& output, std::span<const std::string_view> lines) {
    try {
        for (std::string_view line : lines) output.writeLine(line);
        output.close();
        return 0;
    } catch (const ww3b::RunFailure& failure) {
        ww3b::writeToStandardError(ww3b::diagnosticMessage(failure) + output.closeAfterFailure());
        return ww3b::kDiagnosticExitStatus;
    }
}

// What the command line asks for: a run (with its options), the help, the version, or a
// usage error with its message.
struct CommandLine {
    enum class Action { Run, Help, Version, UsageError } action = Action::Run;
    ww3b::ProgramOptions options;
    std::string problem;  // for UsageError
};

std::string quoted(std::string_view text) {
    std::string result(1, '"');
    result.append(text).push_back('"');
    return result;
}

// The long options, for the suggestion after a misspelt one.
constexpr std::string_view kLongOptions[] = {
    "--help",   "--version",  "--quiet",       "--header-directions", "--point",          "--list",   "--json",
    "--record", "--mode",     "--start",       "--end",               "--interval",       "--output", "--orientation",
    "--boundary-depth"};

std::string unknownOption(std::string_view argument) {
    const std::string nearest = ww3b::nearestOption(argument, kLongOptions);
    std::string problem = "unknown option " + quoted(argument);
    if (!nearest.empty()) problem += ": did you mean " + quoted(nearest) + "?";
    return problem;
}

// The first answer option given, for the error that names it.
std::string firstAnswerOption(const ww3b::ProgramOptions& options) {
    const std::pair<const std::string*, const char*> answers[] = {
        {&options.mode, "--mode"},         {&options.start, "--start"},
        {&options.end, "--end"},           {&options.interval, "--interval"},
        {&options.output, "--output"},     {&options.orientation, "--orientation"},
        {&options.boundaryDepth, "--boundary-depth"}};
    for (const auto& [value, name] : answers) {
        if (!value->empty()) return name;
    }
    return {};
}

// Options that do not go together; empty when they do.
std::string misfitOf(const ww3b::ProgramOptions& options, bool helpOrVersion) {
    if (helpOrVersion) return options.spectralFile.empty() ? "" : "unexpected argument " + quoted(options.spectralFile);
    if (!options.listFile.empty() && !options.spectralFile.empty()) {
        return "--list describes a WW3 file and converts nothing: give either --list " + quoted(options.listFile) +
               " or the WW3 file " + quoted(options.spectralFile);
    }
    if (options.listJson && options.listFile.empty()) return "option \"--json\" belongs to --list FILE";
    if (!options.listFile.empty() && !options.recordFile.empty()) {
        return "option \"--record\" records a conversion; --list converts nothing";
    }
    if (options.spectralFile.empty() && options.givesAnswers()) {
        return "option " + quoted(firstAnswerOption(options)) +
               " gives an answer of the dialogue: name the WW3 file on the command line to give the answers as "
               "options (ww3-brevolan [options] WW3FILE)";
    }
    return {};
}

CommandLine parseCommandLine(std::span<char* const> arguments) {
    CommandLine command;
    ww3b::ProgramOptions& options = command.options;
    bool help = false;
    bool version = false;
    bool optionsEnded = false;  // after "--" every argument is the WW3 file
    for (std::size_t at = 0; at < arguments.size() && command.problem.empty(); ++at) {
        const std::string_view argument = arguments[at];
        // A long option's value follows it as the next argument or after "=".
        const auto valueOf = [&](std::string_view name, std::string& value) {
            if (argument == name) {
                if (at + 1 >= arguments.size()) {
                    command.problem = "option " + quoted(name) + " needs a value";
                    return true;
                }
                value = arguments[++at];
            } else if (argument.starts_with(std::string(name) + "=")) {
                value = argument.substr(name.size() + 1);
            } else {
                return false;
            }
            if (value.empty()) command.problem = "option " + quoted(name) + " needs a value";
            return true;
        };
        if (optionsEnded || !argument.starts_with("-") || argument == "-") {
            if (argument.empty() || !options.spectralFile.empty()) {
                command.problem = "unexpected argument " + quoted(argument);
                if (!argument.empty()) command.problem += ": one WW3 file per run";
            } else {
                options.spectralFile = argument;
            }
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (argument == "-h" || argument == "--help") {
            help = true;
        } else if (argument == "--version") {
            version = true;
        } else if (argument == "-q" || argument == "--quiet") {
            options.quiet = true;
        } else if (argument == "--header-directions") {
            options.headerDirections = true;
        } else if (argument == "--json") {
            options.listJson = true;
        } else if (valueOf("--point", options.point) || valueOf("--list", options.listFile) ||
                   valueOf("--record", options.recordFile) || valueOf("--mode", options.mode) ||
                   valueOf("--start", options.start) || valueOf("--end", options.end) ||
                   valueOf("--interval", options.interval) || valueOf("--output", options.output) ||
                   valueOf("-o", options.output) || valueOf("--orientation", options.orientation) ||
                   valueOf("--boundary-depth", options.boundaryDepth)) {
            continue;  // taken, or its problem noted
        } else if (argument.starts_with("--")) {
            command.problem = unknownOption(argument);
        } else {
            command.problem = "unexpected argument " + quoted(argument);
        }
    }
    if (command.problem.empty()) command.problem = misfitOf(options, help || version);
    if (!command.problem.empty()) {
        command.action = CommandLine::Action::UsageError;
    } else if (help) {
        command.action = CommandLine::Action::Help;
    } else if (version) {
        command.action = CommandLine::Action::Version;
    }
    return command;
}

// A slow disk or network share may need a longer wait for the netCDF library than the
// default before a file is taken to stall it.
void takeNetcdfStallLimit(const char* text) {
    if (text == nullptr) return;
    constexpr double kShortest = 0.1, kLongest = 86400;
    char* end = nullptr;
    const double seconds = std::strtod(text, &end);
    if (end == text || *end != '\0' || !(seconds >= kShortest && seconds <= kLongest)) {
        ww3b::writeToStandardError(ww3b::warningMessage(
            "WW3B_NETCDF_STALL_SECONDS=\"" + std::string(text) + "\" is not a number of seconds from 0.1 to 86400; " +
            std::to_string(ww3b::kDefaultStallLimitOfReaders.count() / 1000) + " seconds are waited"));
        return;
    }
    ww3b::setStallLimitOfReaders(std::chrono::milliseconds(std::llround(seconds * 1000)));
}

}  // namespace

int main(int argc, char** argv) {
    ww3b::ignoreSignalsOfFailedWrites();
    // Started with SIGCHLD ignored (some batch systems do so), the child that reads a
    // netCDF file could not be waited for.
    ww3b::restoreDefaultChildSignal();
    takeNetcdfStallLimit(std::getenv("WW3B_NETCDF_STALL_SECONDS"));
    ww3b::OutputFile output(ww3b::kConsoleOutputUnit, "standard output", ::dup(STDOUT_FILENO),
                            ww3b::OutputFile::Kind::Stream);
    const CommandLine command = parseCommandLine(std::span<char* const>(argv + 1, argc > 0 ? argc - 1 : 0));
    switch (command.action) {
    case CommandLine::Action::Help:
        return writeLines(output, kHelp);
    case CommandLine::Action::Version: {
        const std::string_view version[] = {"ww3-brevolan " WW3B_VERSION};
        return writeLines(output, version);
    }
    case CommandLine::Action::UsageError:
        ww3b::writeToStandardError(ww3b::usageErrorMessage(command.problem));
        return kUsageErrorStatus;
    case CommandLine::Action::Run:
        break;
    }
    if (!command.options.listFile.empty()) return ww3b::listInventory(output, command.options);
    if (!command.options.spectralFile.empty()) return ww3b::convertFromCommandLine(output, command.options);
    ww3b::InputFile input(ww3b::kConsoleInputUnit, "standard input", STDIN_FILENO, false);
    ww3b::Console console{input, output, ::isatty(STDIN_FILENO) == 1};
    return ww3b::convertAndRecord(console, command.options);
}
