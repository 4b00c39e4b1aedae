#include "run/command_line_answers.hpp"

#include <cmath>
#include <string>
#include <tuple>

#include "run/answer_checks.hpp"
#include "run/header_directions.hpp"
#include "run/output_table.hpp"
#include "run/run_dialogue.hpp"
#include "run/stamp_option.hpp"
#include "textio/file_opening.hpp"
#include "textio/io_diagnostic.hpp"
#include "textio/number_syntax.hpp"
#include "ww3/input_formats.hpp"

namespace ww3b {

namespace {

// The dialogue's defaults: the whole file, every time step, parameters only.
constexpr RecordStamp kFirstStep = 0;
constexpr RecordStamp kLastStep = 99999999;

[[noreturn]] void refuse(const std::string& problem) { throw CommandLineRefusal(problem); }

std::int32_t wholeNumber(std::string_view option, const std::string& text) {
    std::int32_t value = 0;
    if (parseWholeNumber(text, value) != NumberStatus::Ok) {
        refuse("option " + std::string(option) + ": \"" + text + "\" is not a whole number");
    }
    return value;
}

float realNumber(std::string_view option, const std::string& text) {
    float value = 0;
    if (parseReal(text, value) != NumberStatus::Ok || !std::isfinite(value)) {
        refuse("option " + std::string(option) + ": \"" + text + "\" is not a number");
    }
    return value;
}

RecordStamp stamp(std::string_view option, const std::string& text, RecordStamp otherwise, WindowEnd end) {
    if (text.empty()) return otherwise;
    const StampOption parsed = parseStampOption(text, end);
    if (!parsed.problem.empty()) refuse("option " + std::string(option) + ": " + parsed.problem);
    return parsed.stamp;
}

// The WW3 file's base name with its suffix (from the first "." on) replaced, in the
// current folder.
std::string defaultOutputName(const std::string& spectralFile, std::string_view suffix) {
    const auto slash = spectralFile.rfind('/');
    const std::string base = spectralFile.substr(slash == std::string::npos ? 0 : slash + 1);
    return base.substr(0, base.find('.')) + std::string(suffix);
}

// Derived names replace the three characters after the typed name's first "."; the
// dialogue's field has blanks there when the typed suffix is shorter, a full-length
// name gets them here (they are no part of any name).
void deriveFromSpectrumName(RunOptions& answers, const std::string& name) {
    if (suffixDot(name) == std::string::npos) {
        refuse("option --output: \"" + name +
               "\" needs a \".\" after its last \"/\", so that the names of the other output files can be "
               "derived from it");
    }
    answers.spectrumFile = name + "   ";
    deriveOutputNames(answers);
}

}  // namespace

RunOptions answersFromCommandLine(const ProgramOptions& options) {
    RunOptions answers;
    answers.inputFile = options.spectralFile;
    answers.outputMode = options.mode.empty() ? kParametersOnly : wholeNumber("--mode", options.mode);
    if (answers.outputMode != kParametersOnly && answers.outputMode != kFullSpectrumMode &&
        answers.outputMode != kBrevolanMode) {
        refuse("option --mode: \"" + options.mode + "\" is none of 0, 1 and 2");
    }
    answers.startStamp = stamp("--start", options.start, kFirstStep, WindowEnd::Start);
    answers.endStamp = stamp("--end", options.end, kLastStep, WindowEnd::End);
    answers.intervalHours = options.interval.empty() ? 0 : wholeNumber("--interval", options.interval);
    if (answers.intervalHours < 0) refuse("option --interval: \"" + options.interval + "\" is below 0 hours");

    if (answers.outputMode == kParametersOnly) {
        answers.parameterFile = options.output.empty() ? defaultOutputName(options.spectralFile, ".out")
                                                       : options.output;
    } else {
        deriveFromSpectrumName(answers,
                               options.output.empty() ? defaultOutputName(options.spectralFile, ".eng") : options.output);
    }
    const std::string clash = outputNameClash(answers);
    if (!clash.empty()) refuse(clash + " (choose another name with --output)");
    if (!options.recordFile.empty()) {
        if (sameFile(options.recordFile, options.spectralFile)) {
            refuse("option --record: \"" + options.recordFile + "\" would overwrite the WW3 spectral file");
        }
        for (const OutputFileRow& row : outputFilesOf(answers.outputMode)) {
            if (sameFile(options.recordFile, fileNameFromField(answers.*row.name))) {
                refuse("option --record: \"" + options.recordFile + "\" is also the " + row.role);
            }
        }
    }

    if (answers.outputMode == kBrevolanMode) {
        if (options.orientation.empty()) refuse("mode 2 needs --orientation DEGREES (the shoreline orientation)");
        if (options.boundaryDepth.empty()) refuse("mode 2 needs --boundary-depth METRES (the seaward grid boundary depth)");
        answers.orientation = realNumber("--orientation", options.orientation);
        if (std::fabs(answers.orientation) > kLargestOrientation) {
            refuse("option --orientation: must lie within 1000000 degrees either way");
        }
        answers.shoreAngle = static_cast<float>(360.0 - static_cast<double>(answers.orientation));
        const float depth = realNumber("--boundary-depth", options.boundaryDepth);
        // A negative depth gives no direction factor; 0 gives the largest exponent (a warning).
        if (std::signbit(depth)) refuse("option --boundary-depth: a depth is 0 m or more");
        answers.boundaryDepth = depth;
    } else if (!options.orientation.empty() || !options.boundaryDepth.empty()) {
        refuse(std::string("option ") + (options.orientation.empty() ? "--boundary-depth" : "--orientation") +
               " belongs to mode 2 (--mode 2)");
    }
    return answers;
}

RunOptions setUpRunFromCommandLine(Console& console, RunFiles& files, const ProgramOptions& options) {
    RunOptions answers;
    try {
        answers = answersFromCommandLine(options);
    } catch (const CommandLineRefusal& refusal) {
        endRunWithDiagnostic(refusal.what(), kConsoleInputUnit, console.input.name());
    }
    checkSpectralFileName(console, answers.inputFile);
    files.directionListJudged = checkDirectionListEarly(answers.inputFile, options);
    refuseMissingPoint(kSpectralFileUnit, answers.inputFile, PointChoice{options.point});
    for (const auto& [option, question, given] :
         {std::tuple{"--start", kStartQuestion.name, answers.startStamp},
          std::tuple{"--end", kEndQuestion.name, answers.endStamp}}) {
        const std::string warning = stampWarning(question, given);
        if (!warning.empty()) warn(warning + " (option " + option + ")");
    }
    if (answers.outputMode == kBrevolanMode) {
        const std::string warning = orientationWarning(answers.orientation);
        if (!warning.empty()) warn(warning + " (option --orientation)");
    }
    for (const OutputFileRow& row : outputFilesOf(answers.outputMode)) {
        files.outputs.push_back({&row, openOutputFile(row.unit, answers.*row.name)});
    }
    return answers;
}

}  // namespace ww3b
