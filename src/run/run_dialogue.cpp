#include "run/run_dialogue.hpp"

#include <sys/stat.h>

#include <cmath>
#include <string_view>

#include "run/header_directions.hpp"
#include "run/output_table.hpp"
#include "textio/file_opening.hpp"
#include "textio/fixed_record.hpp"
#include "textio/io_diagnostic.hpp"
#include "textio/record_layout.hpp"
#include "ww3/netcdf_spectra_source.hpp"

namespace ww3b {

namespace {

// The suffix after the first "." must fit in the 30-character field.
constexpr std::size_t kLastDotPosition = 27;
// Beyond this an orientation is no usable angle; it also bounds the loops that bring
// relative directions into one turn.
constexpr float kLargestOrientation = 1.0e6f;

void say(Console& console, std::string_view text) { writeFreeFormLine(console.output, text); }

// Five blanks, then the whole 30-column name field.
void showName(Console& console, const std::string& name) {
    static const RecordLayout nameLine({blankSkip(5), textField(static_cast<int>(kNameFieldLength))});
    const FieldValue value{std::string_view(name)};
    writeFixedRecord(console.output, nameLine, std::span<const FieldValue>(&value, 1));
}

[[noreturn]] void refuseAnswer(Console& console, const std::string& condition) {
    endRunWithDiagnostic(condition, console.input.unit(), console.input.name(), console.input.lastLineNumber());
}

bool isBlank(const std::string& field) { return fileNameFromField(field).empty(); }

void requireRoomForSuffix(Console& console, const std::string& name) {
    if (isBlank(name)) return;  // refused when its file is opened
    const auto dot = name.find('.');
    if (dot == std::string::npos || dot + 1 > kLastDotPosition) {
        refuseAnswer(console, "the output name \"" + fileNameFromField(name) +
                                  "\" needs a \".\" within its first 27 characters, so that the names of "
                                  "the other output files can be derived from it");
    }
}

bool sameFile(const std::string& a, const std::string& b) {
    if (a == b) return true;
    struct stat first {}, second {};
    return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 && first.st_dev == second.st_dev &&
           first.st_ino == second.st_ino;
}

// A run must not write two of its outputs into one file, nor over its own input.
void refuseClashingNames(Console& console, const RunOptions& options) {
    const std::span<const OutputFileRow> outputs = outputFilesOf(options.outputMode);
    const std::string input = fileNameFromField(options.inputFile);
    for (std::size_t a = 0; a < outputs.size(); ++a) {
        const std::string name = fileNameFromField(options.*outputs[a].name);
        if (name.empty()) continue;
        for (std::size_t b = a + 1; b < outputs.size(); ++b) {
            const std::string other = fileNameFromField(options.*outputs[b].name);
            if (!other.empty() && sameFile(name, other)) {
                refuseAnswer(console, std::string("output names clash: the ") + outputs[a].role + " and the " +
                                          outputs[b].role + " would both be \"" + other + "\"");
            }
        }
        if (!input.empty() && sameFile(name, input)) {
            refuseAnswer(console, std::string("output names clash: the ") + outputs[a].role + " \"" + name +
                                      "\" would overwrite the WW3 spectral file \"" + input + "\"");
        }
    }
}

}  // namespace

void deriveOutputNames(RunOptions& options) {
    const std::string& typed = options.spectrumFile;
    const auto dot = typed.find('.');
    for (std::int32_t mode : {kParametersOnly, kFullSpectrumMode, kBrevolanMode, kBrevolanMode + 1}) {
        for (const OutputFileRow& row : outputFilesOf(mode)) {
            if (row.suffix == nullptr) continue;
            std::string& name = options.*row.name;
            name = typed;
            if (dot == std::string::npos) continue;
            for (std::size_t k = 0; k < 3 && dot + 1 + k < name.size(); ++k) name[dot + 1 + k] = row.suffix[k];
        }
    }
}

RunOptions setUpRun(Console& console, RunFiles& files, const ProgramOptions& programOptions) {
    RunOptions options;
    say(console, "Type in an WW3 directional data filename");
    say(console, "        (e.g., enp.eka65.spec)");
    options.inputFile = readTextAnswer(console);
    refuseUnplaceableDirections(options.inputFile, programOptions);
    refuseMissingNetcdfStation(kSpectralFileUnit, options.inputFile, PointChoice{programOptions.point});

    say(console, " ");
    say(console, "input starting time stamp (yymmddhh or 0)");
    options.startStamp = readIntegerAnswer(console);
    say(console, "input ending time stamp (yymmddhh or 99999999)");
    options.endStamp = readIntegerAnswer(console);

    say(console, " ");
    say(console, "Type 0 to output all available results");
    say(console, "  or n to output exact every n-hr data");
    options.intervalHours = readIntegerAnswer(console);

    say(console, " ");
    say(console, "Type 1 to write a full 2-D spectral file");
    say(console, "  or 2 to write a Brevolan spectral file");
    say(console, "  or 0 to skip:");
    options.outputMode = readIntegerAnswer(console);

    say(console, " ");
    if (options.outputMode == kParametersOnly) {
        say(console, "Type output full-plane wave filename (*.out)");
        options.parameterFile = readTextAnswer(console);
    } else {
        say(console, "Type output spectrum filename (*.eng)");
        options.spectrumFile = readTextAnswer(console);
        requireRoomForSuffix(console, options.spectrumFile);
        deriveOutputNames(options);
    }
    refuseClashingNames(console, options);

    say(console, " ");
    for (const OutputFileRow& row : outputFilesOf(options.outputMode)) {
        say(console, row.announcement);
        showName(console, options.*row.name);
        files.outputs.push_back({&row, openOutputFile(row.unit, options.*row.name)});
    }
    if (options.outputMode == kBrevolanMode) {
        say(console, " ");
        say(console, "*** Type the local shoreline orientation (y-axis)");
        say(console, "    in polar coordinates (deg, positive from North");
        say(console, "    covering the sea, e.g., 180 deg for St Marys,");
        say(console, "    Entrance, FL/GA)");
        const float orientation = readRealAnswer(console);
        if (!std::isfinite(orientation) || std::fabs(orientation) > kLargestOrientation) {
            refuseAnswer(console, "the shoreline orientation must lie within 1000000 degrees either way");
        }
        options.shoreAngle = static_cast<float>(360.0 - static_cast<double>(orientation));
    }
    return options;
}

}  // namespace ww3b
