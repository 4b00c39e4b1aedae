#include "run/run_record.hpp"

#include <sys/stat.h>

#include <cmath>

#include <nlohmann/json.hpp>

#include "run/json_text.hpp"
#include "run/run_conversion.hpp"
#include "run/run_dialogue.hpp"
#include "textio/file_opening.hpp"
#include "textio/io_diagnostic.hpp"

namespace ww3b {

namespace {

using Json = nlohmann::ordered_json;

Json optionalStamp(long count, RecordStamp stamp) { return count > 0 ? Json(stamp) : Json(nullptr); }

}  // namespace

std::string runRecordJson(const RunOutcome& outcome, const ProgramOptions& options) {
    const RunOptions& answers = outcome.options;
    Json record;
    record["program"] = "ww3-brevolan";
    record["version"] = WW3B_VERSION;
    record["ww3_file"] = {{"name", fileNameFromField(answers.inputFile)},
                          {"format", outcome.spectralFormat.empty() ? Json(nullptr) : Json(outcome.spectralFormat)}};
    const bool brevolan = answers.outputMode == 2;
    const std::string typedOutput =
        fileNameFromField(answers.outputMode == 0 ? answers.parameterFile : answers.spectrumFile);
    record["answers"] = {{"start", answers.startStamp},
                         {"end", answers.endStamp},
                         {"interval_hours", answers.intervalHours},
                         {"mode", answers.outputMode},
                         {"output", typedOutput},
                         {"orientation", brevolan ? Json(jsonNumber(answers.orientation)) : Json(nullptr)},
                         {"boundary_depth", !brevolan                  ? Json(nullptr)
                                            : answers.boundaryDepth    ? Json(jsonNumber(*answers.boundaryDepth))
                                            : outcome.depthTaken       ? Json(jsonNumber(outcome.boundaryDepth))
                                                                       : Json(nullptr)}};
    record["point"] = options.point.empty() ? Json(nullptr) : Json(options.point);
    Json directions = {{"header_directions", options.headerDirections}};
    if (outcome.directionsJudged) {
        directions["verdict"] = directionVerdictName(outcome.directions.grid);
        directions["offset_degrees"] = directionOffsetDegrees(outcome.directions);
    } else {
        directions["verdict"] = nullptr;
        directions["offset_degrees"] = nullptr;
    }
    record["directions"] = directions;
    record["depths"] = outcome.depthTaken ? Json{{"save_depth", jsonNumber(outcome.saveDepth)},
                                                 {"boundary_depth", jsonNumber(outcome.boundaryDepth)},
                                                 {"depth_exponent", jsonNumber(outcome.depthExponent)}}
                                          : Json(nullptr);
    const RunSummary& summary = outcome.summary;
    record["steps"] = {{"read", summary.stepsSeen}, {"written", summary.stepsWritten}};
    record["first_stamp"] = optionalStamp(summary.stepsWritten, summary.firstWritten);
    record["last_stamp"] = optionalStamp(summary.stepsWritten, summary.lastWritten);
    record["warnings"] = outcome.warnings;
    record["exit_status"] = outcome.exitStatus;
    Json outputs = Json::array();
    for (const std::string& name : outcome.outputFiles) {
        struct stat info {};
        outputs.push_back({{"name", name},
                           {"bytes", ::stat(name.c_str(), &info) == 0 ? Json(static_cast<long long>(info.st_size))
                                                                      : Json(nullptr)}});
    }
    record["outputs"] = outputs;
    // A name that is no UTF-8 is kept with its odd bytes replaced rather than lost.
    return record.dump(2, ' ', false, Json::error_handler_t::replace);
}

int convertAndRecord(Console& console, const ProgramOptions& options) {
    if (options.recordFile.empty()) return runConversion(console, options);
    RunOutcome outcome;
    const int status = runConversion(console, options, &outcome);
    if (!outcome.answered) return status;
    outcome.exitStatus = status;
    std::unique_ptr<OutputFile> file;
    try {
        // The dialogue names its files only as the run goes: the record must not take
        // the place of one of them.
        for (const std::string& name : outcome.outputFiles) {
            if (sameFile(options.recordFile, name)) {
                endRunWithDiagnostic("the run record would overwrite the output file \"" + name +
                                         "\"; it was not written",
                                     kRunRecordUnit, options.recordFile);
            }
        }
        if (sameFile(options.recordFile, fileNameFromField(outcome.options.inputFile))) {
            endRunWithDiagnostic("the run record would overwrite the WW3 spectral file; it was not written",
                                 kRunRecordUnit, options.recordFile);
        }
        file = openOutputFile(kRunRecordUnit, options.recordFile);
        writeJsonText(*file, runRecordJson(outcome, options));
        file->close();
        return status;
    } catch (const RunFailure& failure) {
        writeToStandardError(diagnosticMessage(failure) + (file ? file->closeAfterFailure() : std::string()));
        return kDiagnosticExitStatus;
    }
}

}  // namespace ww3b
