#include "run/run_conversion.hpp"

#include <algorithm>
#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "run/brevolan_record.hpp"
#include "run/header_directions.hpp"
#include "run/output_table.hpp"
#include "run/command_line_answers.hpp"
#include "run/run_dialogue.hpp"
#include "run/run_summary.hpp"
#include "spectral/full_plane_parameters.hpp"
#include "textio/io_diagnostic.hpp"
#include "process/output_lock.hpp"
#include "ww3/direction_list.hpp"
#include "ww3/input_formats.hpp"

namespace ww3b {

namespace {

struct RecordLoop {
    Console& console;
    const RunOptions& options;
    const ProgramOptions& programOptions;
    RunFiles& files;
    const SpectralGrid& grid;
    InputRecord record{};
    std::unique_ptr<BrevolanState> brevolan;
    // This mode's writers in the order they write each selected record.
    std::vector<std::unique_ptr<RecordWriter>> writers;
    RunSummary& summary;
    bool flushedOnce = false;
    std::chrono::steady_clock::time_point lastFlush{};
    static constexpr std::chrono::milliseconds kFlushInterval{50};

    void run() {
        SpectraSource& source = *files.spectral;
        makeWriters();
        for (int passesLeft = kMaxPasses; passesLeft > 0; --passesLeft) {
            const StepStart start = source.startStep(record);
            if (start.outcome != StepStart::Outcome::Started) {
                if (start.outcome != StepStart::Outcome::End) {
                    console.output.flush();  // the warning follows what the console already shows
                    summary.fellShort(start.warning);
                }
                return;
            }
            const RecordTime time = splitRecordTime(record.date, record.time);
            summary.saw(time.stamp);
            // "Exact every n-hr data": a step between whole hours is no such step.
            if (options.intervalHours != 0 && (time.hour % options.intervalHours != 0 || time.minute != 0)) {
                source.skipStep(record);
                continue;
            }
            if (time.stamp > options.endStamp) {
                summary.stoppedBeyondWindow = true;
                return;
            }
            source.readPoint(record);
            if (brevolan && !brevolan->depthAsked) {
                // The depth question's save depth comes from this point line.
                brevolan->spectralFile = source.name();
                brevolan->pointLine = source.pointLineNumber();
            }
            const FullPlaneParameters parameters = computeFullPlaneParameters(grid, record);
            if (time.stamp < options.startStamp) continue;
            writeSelected(time, parameters);
            flushWhenDue();
        }
        // The last allowed pass is done: more of the file left means steps not converted.
        if (source.startStep(record).outcome == StepStart::Outcome::Started) {
            summary.fellShort(describeFailure(
                "the run stopped after its last allowed pass (" + std::to_string(kMaxPasses) +
                    " time steps read) with more of the WW3 file left, from " +
                    std::to_string(splitRecordTime(record.date, record.time).stamp) +
                    " on: split the file or narrow the window",
                source.unit(), source.name(), 0));
        }
    }

    // In the order the file lists them (direction by direction, frequency fastest): a
    // density below zero or not a number means a damaged or misread file, an all-zero
    // spectrum a cold start. Both are counted over the written steps for the verdict.
    void judgeDensities(RecordStamp stamp) {
        // One branch-free pass in memory order first: nearly every step is sound, and
        // only a step with a bad density needs the search in the file's order below.
        unsigned bad = 0;
        unsigned nonZero = 0;
        for (int i = 0; i < grid.frequencyCount; ++i) {
            for (int j = 0; j < grid.directionCount; ++j) {
                const float density = record.spectrum[i][j];
                bad |= static_cast<unsigned>(!(density >= 0.0f));
                nonZero |= static_cast<unsigned>(density != 0.0f);
            }
        }
        if (bad == 0) {
            if (nonZero == 0) summary.zeroSpectrumSteps.add(stamp);
            return;
        }
        bool allZero = true;
        for (int j = 0; j < grid.directionCount; ++j) {
            for (int i = 0; i < grid.frequencyCount; ++i) {
                const float density = record.spectrum[i][j];
                if (!(density >= 0.0f)) {
                    if (summary.badDensitySteps.count == 0) {
                        summary.badFrequency = i + 1;
                        summary.badDirection = j + 1;
                    }
                    summary.badDensitySteps.add(stamp);
                    return;
                }
                if (density != 0.0f) allZero = false;
            }
        }
        if (allZero) summary.zeroSpectrumSteps.add(stamp);
    }

    void makeWriters() {
        std::vector<const OpenOutput*> byOrder;
        for (const OpenOutput& output : files.outputs) byOrder.push_back(&output);
        std::stable_sort(byOrder.begin(), byOrder.end(), [](const OpenOutput* a, const OpenOutput* b) {
            return a->row->writeOrder < b->row->writeOrder;
        });
        for (const OpenOutput* output : byOrder) {
            writers.push_back(output->row->makeWriter(*output->file));
            if (writers.back()->needsHalfPlane() && !brevolan) brevolan = std::make_unique<BrevolanState>();
        }
    }

    // Lines go out in large blocks, but never much later than they were made: at the end
    // of the first written record, and at the end of any record once a short while has
    // passed since the last flush. A failed write is thus met promptly, and a long run's
    // files show its progress, at the cost of a few writes a second.
    void flushWhenDue() {
        const auto now = std::chrono::steady_clock::now();
        if (flushedOnce && now - lastFlush < kFlushInterval) return;
        files.flushOutputs();
        flushedOnce = true;
        lastFlush = now;
    }

    void writeSelected(const RecordTime& time, const FullPlaneParameters& parameters) {
        SelectedRecord selected{grid, time, record, parameters};
        summary.wrote(time.stamp);
        judgeDensities(time.stamp);
        std::optional<HalfPlaneRecord> halfPlane;
        for (const auto& writer : writers) {
            if (writer->needsHalfPlane() && !halfPlane) {
                halfPlane.emplace(processBrevolanRecord(console, grid, record, options, files, *brevolan));
                selected.halfPlane = &*halfPlane;
            }
            writer->write(selected);
        }
    }
};

// After a failure: everything written so far goes out whole, the output files this run
// made and left empty go while it still holds them, every file is closed, and the
// diagnostic (with any failure met while closing) goes to standard error.
void abandonRun(Console& console, RunFiles& files, RunSummary& summary, const RunFailure& failure) {
    std::string messages = console.output.closeAfterFailure();
    if (files.spectral) files.spectral->close();
    for (OpenOutput& output : files.outputs) messages += output.file->flushAfterFailure();
    removeEmptyOutputsThisRunCreated();
    for (OpenOutput& output : files.outputs) messages += output.file->closeAfterFailure();
    writeToStandardError(diagnosticMessage(failure) + messages);
    summary.failed = true;
    summary.warnings = warningsIssued();
}

}  // namespace

void finishRun(RunFiles& files) {
    if (files.spectral) files.spectral->close();
    // Every line goes out first: a file this run made is removed only when it is empty.
    files.flushOutputs();
    removeEmptyOutputsThisRunCreated();
    for (OpenOutput& output : files.outputs) output.file->close();
}

namespace {

// The one place a run's outcome is filled from what it did, for its record.
void keepOutcome(RunOutcome* outcome, const RunFiles& files, const RecordLoop* loop, const RunSummary& summary) {
    if (outcome == nullptr) return;
    outcome->summary = summary;
    outcome->warnings = summary.warnings;
    outcome->exitStatus = exitStatusOf(summary);
    if (files.spectral) outcome->spectralFormat = std::string(files.spectral->formatName());
    for (const OpenOutput& output : files.outputs) outcome->outputFiles.push_back(output.file->name());
    if (loop == nullptr) return;
    if (loop->brevolan && loop->brevolan->depthAsked) {
        outcome->depthTaken = true;
        outcome->saveDepth = loop->brevolan->saveDepth;
        outcome->boundaryDepth = loop->brevolan->boundaryDepth;
        outcome->depthExponent = loop->brevolan->depthExponent;
    }
}

}  // namespace

RunSummary convert(Console& console, const ProgramOptions& programOptions, RunOutcome* outcome) {
    silenceWarnings(programOptions.quiet);
    forgetIssuedWarnings();
    // The checks made after the WW3 file is named and the run share one reading of it.
    const InputReadingScope inputReading;
    RunFiles files;
    RunSummary summary;
    std::unique_ptr<RecordLoop> loop;
    SpectralGrid grid;
    try {
        const RunOptions options = programOptions.spectralFile.empty()
                                       ? setUpRun(console, files, programOptions)
                                       : setUpRunFromCommandLine(console, files, programOptions);
        if (outcome != nullptr) {
            outcome->answered = true;
            outcome->options = options;
        }
        console.output.flush();  // the file announcements show while the file is read
        files.spectral = openSpectraSource(kSpectralFileUnit, options.inputFile, PointChoice{programOptions.point},
                                           [&](const std::string& text) {
                                               console.output.flush();
                                               warn(text);
                                           });
        if (files.spectral->readHeader(grid)) {
            if (outcome != nullptr) {
                // Judged as listed, before --header-directions places them.
                outcome->directionsJudged = true;
                outcome->directions = judgeDirectionList(listedDirections(grid));
            }
            honourDirectionList(grid, programOptions, *files.spectral, files.directionListJudged);
            loop = std::make_unique<RecordLoop>(
                RecordLoop{console, options, programOptions, files, grid, {}, nullptr, {}, summary});
            loop->run();
            if (loop->brevolan) {
                summary.foldedEnergy = loop->brevolan->foldedEnergy;
                summary.fullPlaneEnergy = loop->brevolan->fullPlaneEnergy;
            }
        } else {
            // A pipe or device that gave nothing at all: no run to speak of, and a refused
            // run leaves no file of its own.
            files.refused = true;
            endRunWithDiagnostic("the WW3 spectral file holds no header line: nothing could be read from it",
                                 kSpectralFileUnit, files.spectral->name());
        }
        console.output.flush();
        finishRun(files);
        console.output.close();
        reportRunEnd(summary, options, files);
    } catch (const RunFailure& failure) {
        abandonRun(console, files, summary, failure);
    }
    keepOutcome(outcome, files, loop.get(), summary);
    return summary;
}

int runConversion(Console& console, const ProgramOptions& programOptions, RunOutcome* outcome) {
    return exitStatusOf(convert(console, programOptions, outcome));
}

}  // namespace ww3b
