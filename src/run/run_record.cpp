#include "run/run_record.hpp"

#include <sys/stat.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <string_view>

#include <nlohmann/json.hpp>

#include "run/run_conversion.hpp"
#include "run/run_dialogue.hpp"
#include "textio/file_opening.hpp"
#include "textio/io_diagnostic.hpp"

namespace ww3b {

namespace {

using Json = nlohmann::ordered_json;

// A float as the shortest decimal that reads back as it (12.1, not 12.100000381469727).
double plain(float value) {
    if (!std::isfinite(value)) return static_cast<double>(value);
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text - 1, value).ptr;
    *end = '\0';
    return std::strtod(text, nullptr);
}

const char* verdictName(DirectionGrid grid) {
    switch (grid) {
    case DirectionGrid::Assumed: return "converter grid";
    case DirectionGrid::Offset: return "offset";
    case DirectionGrid::Irregular: return "irregular";
    }
    return "";
}

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
                         {"orientation", brevolan ? Json(plain(answers.orientation)) : Json(nullptr)},
                         {"boundary_depth", !brevolan                  ? Json(nullptr)
                                            : answers.boundaryDepth    ? Json(plain(*answers.boundaryDepth))
                                            : outcome.depthTaken       ? Json(plain(outcome.boundaryDepth))
                                                                       : Json(nullptr)}};
    record["point"] = options.point.empty() ? Json(nullptr) : Json(options.point);
    Json directions = {{"header_directions", options.headerDirections}};
    if (outcome.directionsJudged) {
        directions["verdict"] = verdictName(outcome.directions.grid);
        directions["offset_degrees"] =
            outcome.directions.grid == DirectionGrid::Offset
                ? plain(static_cast<float>(outcome.directions.offset * 180.0 / std::numbers::pi))
                : 0.0;
    } else {
        directions["verdict"] = nullptr;
        directions["offset_degrees"] = nullptr;
    }
    record["directions"] = directions;
    record["depths"] = outcome.depthTaken ? Json{{"save_depth", plain(outcome.saveDepth)},
                                                 {"boundary_depth", plain(outcome.boundaryDepth)},
                                                 {"depth_exponent", plain(outcome.depthExponent)}}
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
        const std::string json = runRecordJson(outcome, options);
        // One JSON line per written line, each ending in CR LF like every line written.
        for (std::size_t start = 0; start <= json.size();) {
            const std::size_t end = std::min(json.find('\n', start), json.size());
            file->writeLine(std::string_view(json).substr(start, end - start));
            start = end + 1;
        }
        file->close();
        return status;
    } catch (const RunFailure& failure) {
        writeToStandardError(diagnosticMessage(failure) + (file ? file->closeAfterFailure() : std::string()));
        return kDiagnosticExitStatus;
    }
}

}  // namespace ww3b
