#include "run/run_dialogue.hpp"

#include <sys/stat.h>

#include <cmath>
#include <string_view>
#include <vector>

#include "run/answer_checks.hpp"
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

// The first "." of the name's last part (after its last "/"): the suffix follows it.
std::size_t suffixDot(const std::string& name) {
    const auto slash = name.rfind('/');
    return name.find('.', slash == std::string::npos ? 0 : slash + 1);
}

void requireOutputName(Console& console, const Question& question, const std::string& name) {
    if (fileNameFromField(name).empty()) refuseConsoleAnswer(console, question.name, "no name was given");
}

void requireRoomForSuffix(Console& console, const std::string& name) {
    const auto dot = suffixDot(name);
    if (dot == std::string::npos || dot + 1 > kLastDotPosition) {
        refuseConsoleAnswer(console, kSpectrumNameQuestion.name,
                            "\"" + fileNameFromField(name) +
                                "\" needs a \".\" within its first 27 characters (after any \"/\"), so that the "
                                "names of the other output files can be derived from it");
    }
}

bool sameFile(const std::string& a, const std::string& b) {
    if (a == b) return true;
    struct stat first {}, second {};
    return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 && first.st_dev == second.st_dev &&
           first.st_ino == second.st_ino;
}

// A run must not write two of its outputs into one file, nor over its own input.
void refuseClashingNames(Console& console, std::string_view question, const RunOptions& options) {
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
                refuseConsoleAnswer(console, question, std::string("output names clash: the ") + outputs[a].role + " and the " +
                                          outputs[b].role + " would both be \"" + outputs[b].name + "\"");
            }
        }
        if (!input.empty() && sameFile(outputs[a].name, input)) {
            refuseConsoleAnswer(console, question, std::string("output names clash: the ") + outputs[a].role + " \"" +
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
    const auto dot = suffixDot(typed);
    if (dot == std::string::npos) return;
    auto overwrite = [&](std::string& name, const char* suffix) {
        for (std::size_t k = 0; k < 3 && dot + 1 + k < name.size(); ++k) name[dot + 1 + k] = suffix[k];
    };
    overwrite(options.brevolanParameterFile, "txt");
    overwrite(options.halfPlaneFile, "dat");
    overwrite(options.parameterFile, "out");
}

RunOptions setUpRun(Console& console, RunFiles& files) {
    RunOptions options;
    options.inputFile = ask(console, kSpectralFileQuestion, [&] {
        std::string name = answerName(console, kSpectralFileQuestion.name);
        checkSpectralFileName(console, name);
        return name;
    });

    say(console, " ");
    options.startStamp = ask(console, kStartQuestion, [&] { return answerInteger(console, kStartQuestion.name); });
    warnAboutStamp(kStartQuestion.name, options.startStamp);
    options.endStamp = ask(console, kEndQuestion, [&] { return answerInteger(console, kEndQuestion.name); });
    warnAboutStamp(kEndQuestion.name, options.endStamp);

    say(console, " ");
    options.intervalHours =
        ask(console, kIntervalQuestion, [&] { return answerInteger(console, kIntervalQuestion.name); });

    say(console, " ");
    options.outputMode = ask(console, kModeQuestion, [&] { return answerInteger(console, kModeQuestion.name); });
    warnAboutMode(options.outputMode);

    say(console, " ");
    const Question& nameQuestion =
        options.outputMode == kParametersOnly ? kParameterNameQuestion : kSpectrumNameQuestion;
    ask(console, nameQuestion, [&] {
        const std::string name = answerName(console, nameQuestion.name);
        requireOutputName(console, nameQuestion, name);
        if (options.outputMode == kParametersOnly) {
            options.parameterFile = name;
        } else {
            requireRoomForSuffix(console, name);
            options.spectrumFile = name;
            deriveOutputNames(options);
        }
        refuseClashingNames(console, nameQuestion.name, options);
        return 0;
    });

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
        const float orientation = ask(console, kOrientationQuestion, [&] {
            const float answer = answerReal(console, kOrientationQuestion.name);
            if (!std::isfinite(answer) || std::fabs(answer) > kLargestOrientation) {
                refuseConsoleAnswer(console, kOrientationQuestion.name, "must lie within 1000000 degrees either way");
            }
            return answer;
        });
        warnAboutOrientation(orientation);
        options.shoreAngle = static_cast<float>(360.0 - static_cast<double>(orientation));
    }
    files.spectral = openInputFile(kSpectralFileUnit, options.inputFile);
    return options;
}

}  // namespace ww3b
