#include "run/run_dialogue.hpp"

#include <sys/stat.h>

#include <cmath>
#include <string_view>
#include <vector>

#include "run/header_directions.hpp"
#include "textio/file_opening.hpp"
#include "textio/fixed_record.hpp"
#include "textio/io_diagnostic.hpp"
#include "textio/record_layout.hpp"

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
    struct Named {
        const char* role;
        std::string name;
    };
    std::vector<Named> outputs{{"full-plane parameter file", fileNameFromField(options.parameterFile)}};
    if (options.outputMode == kFullSpectrumMode) {
        outputs.push_back({"2-D spectral file", fileNameFromField(options.spectrumFile)});
    } else if (options.outputMode == kBrevolanMode) {
        outputs.push_back({"Brevolan parameter file", fileNameFromField(options.brevolanParameterFile)});
        outputs.push_back({"Brevolan spectrum file", fileNameFromField(options.spectrumFile)});
        outputs.push_back({"half-plane parameter file", fileNameFromField(options.halfPlaneFile)});
    }
    const std::string input = fileNameFromField(options.inputFile);
    for (std::size_t a = 0; a < outputs.size(); ++a) {
        if (outputs[a].name.empty()) continue;
        for (std::size_t b = a + 1; b < outputs.size(); ++b) {
            if (!outputs[b].name.empty() && sameFile(outputs[a].name, outputs[b].name)) {
                refuseAnswer(console, std::string("output names clash: the ") + outputs[a].role + " and the " +
                                          outputs[b].role + " would both be \"" + outputs[b].name + "\"");
            }
        }
        if (!input.empty() && sameFile(outputs[a].name, input)) {
            refuseAnswer(console, std::string("output names clash: the ") + outputs[a].role + " \"" +
                                      outputs[a].name + "\" would overwrite the WW3 spectral file \"" + input + "\"");
        }
    }
}

std::unique_ptr<OutputFile> announceAndOpen(Console& console, std::string_view title, const std::string& name,
                                            int unit) {
    say(console, title);
    showName(console, name);
    return openOutputFile(unit, name);
}

}  // namespace

void deriveOutputNames(RunOptions& options) {
    const std::string& typed = options.spectrumFile;
    options.brevolanParameterFile = typed;
    options.halfPlaneFile = typed;
    options.parameterFile = typed;
    const auto dot = typed.find('.');
    if (dot == std::string::npos) return;
    auto overwrite = [&](std::string& name, const char* suffix) {
        for (std::size_t k = 0; k < 3 && dot + 1 + k < name.size(); ++k) name[dot + 1 + k] = suffix[k];
    };
    overwrite(options.brevolanParameterFile, "txt");
    overwrite(options.halfPlaneFile, "dat");
    overwrite(options.parameterFile, "out");
}

RunOptions setUpRun(Console& console, RunFiles& files, const ProgramOptions& programOptions) {
    RunOptions options;
    say(console, "Type in an WW3 directional data filename");
    say(console, "        (e.g., enp.eka65.spec)");
    options.inputFile = readTextAnswer(console);
    refuseUnplaceableDirections(options.inputFile, programOptions);

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
    files.parameter =
        announceAndOpen(console, "*** Output WW3 full-plane wave parameter file", options.parameterFile, kParameterFileUnit);
    if (options.outputMode == kFullSpectrumMode) {
        files.spectrum = announceAndOpen(console, "*** Output full-plane 2-D wave spectral file", options.spectrumFile,
                                         kSpectrumFileUnit);
    } else if (options.outputMode == kBrevolanMode) {
        files.brevolanParameter = announceAndOpen(console, "*** Output Brevolan parameter file",
                                                  options.brevolanParameterFile, kBrevolanParameterFileUnit);
        files.spectrum =
            announceAndOpen(console, "    Output Brevolan spectrum file", options.spectrumFile, kSpectrumFileUnit);
        files.halfPlane =
            announceAndOpen(console, "    Output half-plane parameter file", options.halfPlaneFile, kHalfPlaneFileUnit);

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
    files.spectral = openInputFile(kSpectralFileUnit, options.inputFile);
    return options;
}

}  // namespace ww3b
