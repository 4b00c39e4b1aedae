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
#include "textio/output_lock.hpp"
#include "ww3/direction_list.hpp"
#include "ww3/netcdf_spectra_source.hpp"
#include "ww3/open_spectra_source.hpp"

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
    RunSummary summary{};
    bool flushedOnce = false;
    std::chrono::steady_clock::time_point lastFlush{};
    static constexpr std::chrono::milliseconds kFlushInterval{50};

    void run() {
        SpectraSource& source = *files.spectral;
        makeWriters();
        for (int passesLeft = kMaxPasses; passesLeft > 0; --passesLeft) {
            const StepStart start = source.startStep(record);
            if (start.outcome != StepStart::Outcome::Started) {
                if (start.outcome == StepStart::Outcome::Unreadable) {
                    console.output.flush();  // the warning follows what the console already shows
                    warn(start.warning);
                }
                return;
            }
            const RecordTime time = splitRecordTime(record.date, record.time);
            summary.saw(time.stamp);
            if (options.intervalHours != 0 && time.hour % options.intervalHours != 0) {
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

// After a failure: everything written so far goes out whole, every file is closed, and
// the diagnostic (with any failure met while closing) goes to standard error.
int abandonRun(Console& console, RunFiles& files, const RunFailure& failure) {
    std::string messages = console.output.closeAfterFailure();
    if (files.spectral) files.spectral->close();
    for (OpenOutput& output : files.outputs) messages += output.file->closeAfterFailure();
    if (files.refused) removeEmptyOutputsThisRunCreated();
    writeToStandardError(diagnosticMessage(failure) + messages);
    return kDiagnosticExitStatus;
}

}  // namespace

void finishRun(RunFiles& files) {
    if (files.spectral) files.spectral->close();
    for (OpenOutput& output : files.outputs) output.file->close();
}

namespace {

std::string spectralFormatOf(const SpectraSource& source) {
    return dynamic_cast<const NetcdfSpectraSource*>(&source) != nullptr ? "netCDF" : "ASCII";
}

// The one place a run's outcome is filled from what it did.
void keepOutcome(RunOutcome* outcome, const RunFiles& files, const RecordLoop* loop, int exitStatus) {
    if (outcome == nullptr) return;
    keepWarningsIn(nullptr);
    outcome->exitStatus = exitStatus;
    if (files.spectral) outcome->spectralFormat = spectralFormatOf(*files.spectral);
    for (const OpenOutput& output : files.outputs) outcome->outputFiles.push_back(output.file->name());
    if (loop == nullptr) return;
    outcome->summary = loop->summary;
    if (loop->brevolan && loop->brevolan->depthAsked) {
        outcome->depthTaken = true;
        outcome->saveDepth = loop->brevolan->saveDepth;
        outcome->boundaryDepth = loop->brevolan->boundaryDepth;
        outcome->depthExponent = loop->brevolan->depthExponent;
    }
}

}  // namespace

int runConversion(Console& console, const ProgramOptions& programOptions, RunOutcome* outcome) {
    silenceWarnings(programOptions.quiet);
    if (outcome != nullptr) keepWarningsIn(&outcome->warnings);
    RunFiles files;
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
        RunSummary summary;
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
            honourDirectionList(grid, programOptions, *files.spectral);
            loop = std::make_unique<RecordLoop>(
                RecordLoop{console, options, programOptions, files, grid, {}, nullptr, {}});
            loop->run();
            summary = loop->summary;
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
        keepOutcome(outcome, files, loop.get(), 0);
        return 0;
    } catch (const RunFailure& failure) {
        const int status = abandonRun(console, files, failure);
        keepOutcome(outcome, files, loop.get(), status);
        return status;
    }
}

}  // namespace ww3b
