#include "run/run_dialogue.hpp"

#include <sys/stat.h>

#include <cmath>
#include <string_view>

#include "run/answer_checks.hpp"
#include "run/header_directions.hpp"
#include "run/output_table.hpp"
#include "textio/file_opening.hpp"
#include "textio/fixed_record.hpp"
#include "textio/io_diagnostic.hpp"
#include "textio/record_layout.hpp"
#include "ww3/input_formats.hpp"

namespace ww3b {

namespace {

// The suffix after the first "." must fit in the 30-character field.
constexpr std::size_t kLastDotPosition = 27;

void say(Console& console, std::string_view text) { writeFreeFormLine(console.output, text); }

// Five blanks, then the whole 30-column name field.
void showName(Console& console, const std::string& name) {
    static const RecordLayout nameLine({blankSkip(5), textField(static_cast<int>(kNameFieldLength))});
    const FieldValue value{std::string_view(name)};
    writeFixedRecord(console.output, nameLine, std::span<const FieldValue>(&value, 1));
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

void refuseClashingNames(Console& console, std::string_view question, const RunOptions& options) {
    const std::string clash = outputNameClash(options);
    if (!clash.empty()) refuseConsoleAnswer(console, question, clash);
}

}  // namespace

bool sameFile(const std::string& a, const std::string& b) {
    if (a == b) return true;
    struct stat first {}, second {};
    return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 && first.st_dev == second.st_dev &&
           first.st_ino == second.st_ino;
}

std::size_t suffixDot(const std::string& name) {
    const auto slash = name.rfind('/');
    return name.find('.', slash == std::string::npos ? 0 : slash + 1);
}

std::string outputNameClash(const RunOptions& options) {
    const std::span<const OutputFileRow> outputs = outputFilesOf(options.outputMode);
    const std::string input = fileNameFromField(options.inputFile);
    for (std::size_t a = 0; a < outputs.size(); ++a) {
        const std::string name = fileNameFromField(options.*outputs[a].name);
        if (name.empty()) continue;
        for (std::size_t b = a + 1; b < outputs.size(); ++b) {
            const std::string other = fileNameFromField(options.*outputs[b].name);
            if (!other.empty() && sameFile(name, other)) {
                return std::string("output names clash: the ") + outputs[a].role + " and the " + outputs[b].role +
                       " would both be \"" + other + "\"";
            }
        }
        if (!input.empty() && sameFile(name, input)) {
            return std::string("output names clash: the ") + outputs[a].role + " \"" + name +
                   "\" would overwrite the WW3 spectral file \"" + input + "\"";
        }
    }
    return {};
}

void deriveOutputNames(RunOptions& options) {
    const std::string& typed = options.spectrumFile;
    const auto dot = suffixDot(typed);
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
    options.inputFile = ask(console, kSpectralFileQuestion, [&] {
        std::string name = answerName(console, kSpectralFileQuestion.name);
        checkSpectralFileName(console, name);
        return name;
    });
    files.directionListJudged = checkDirectionListEarly(options.inputFile, programOptions);
    refuseMissingPoint(kSpectralFileUnit, options.inputFile, PointChoice{programOptions.point});

    say(console, " ");
    options.startStamp = ask(console, kStartQuestion, [&] { return answerInteger(console, kStartQuestion.name); });
    warnAboutStamp(console, kStartQuestion.name, options.startStamp);
    options.endStamp = ask(console, kEndQuestion, [&] { return answerInteger(console, kEndQuestion.name); });
    warnAboutStamp(console, kEndQuestion.name, options.endStamp);

    say(console, " ");
    options.intervalHours =
        ask(console, kIntervalQuestion, [&] { return answerInteger(console, kIntervalQuestion.name); });

    say(console, " ");
    options.outputMode = ask(console, kModeQuestion, [&] { return answerInteger(console, kModeQuestion.name); });
    warnAboutMode(console, options.outputMode);

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
    for (const OutputFileRow& row : outputFilesOf(options.outputMode)) {
        say(console, row.announcement);
        showName(console, options.*row.name);
        files.outputs.push_back({&row, openOutputFile(row.unit, options.*row.name)});
    }
    if (options.outputMode == kBrevolanMode) {
        say(console, " ");
        const float orientation = ask(console, kOrientationQuestion, [&] {
            const float answer = answerReal(console, kOrientationQuestion.name);
            if (!std::isfinite(answer) || std::fabs(answer) > kLargestOrientation) {
                refuseConsoleAnswer(console, kOrientationQuestion.name, "must lie within 1000000 degrees either way");
            }
            return answer;
        });
        warnAboutOrientation(console, orientation);
        options.orientation = orientation;
        options.shoreAngle = static_cast<float>(360.0 - static_cast<double>(orientation));
    }
    return options;
}

}  // namespace ww3b
