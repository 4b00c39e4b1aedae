#include "run/run_conversion.hpp"

#include <chrono>
#include <memory>
#include <string>

#include "output/parameter_files.hpp"
#include "output/full_spectral_file.hpp"
#include "run/brevolan_record.hpp"
#include "run/run_dialogue.hpp"
#include "run/run_summary.hpp"
#include "spectral/full_plane_parameters.hpp"
#include "textio/io_diagnostic.hpp"
#include "ww3/direction_list.hpp"
#include "ww3/ww3_spectral_file.hpp"

namespace ww3b {

namespace {

// A time line that cannot be read ends the run in order, but the user hears of it.
void warnAboutTimeLine(Console& console, const InputFile& in, const FreeFormResult& result) {
    console.output.flush();  // the warning follows what the console already shows
    std::string text = "the time line at line " + std::to_string(result.line) + " of \"" + in.name() +
                       "\" cannot be read (" + result.problem + "); the run ends there";
    if (result.valuesTaken == 0 && !result.value.empty() && result.value.front() == '\'') {
        text += ". The file seems to hold more than one output point per time step; only the first "
                "time step of the first point was read";
    }
    warn(text);
}

struct RecordLoop {
    Console& console;
    const RunOptions& options;
    RunFiles& files;
    const SpectralGrid& grid;
    InputRecord record;
    std::unique_ptr<BrevolanState> brevolan;
    int selectedCount = 0;
    RunSummary summary{};
    bool flushedOnce = false;
    std::chrono::steady_clock::time_point lastFlush{};
    static constexpr std::chrono::milliseconds kFlushInterval{50};

    void run() {
        InputFile& in = *files.spectral;
        if (options.outputMode == kBrevolanMode) brevolan = std::make_unique<BrevolanState>();
        for (int passesLeft = kMaxPasses; passesLeft > 0; --passesLeft) {
            const FreeFormResult timeLine = readTimeLine(in, record);
            if (timeLine.outcome != ReadOutcome::Ok) {
                if (timeLine.outcome == ReadOutcome::Failed) warnAboutTimeLine(console, in, timeLine);
                return;
            }
            const RecordTime time = splitRecordTime(record.date, record.time);
            summary.saw(time.stamp);
            if (options.intervalHours != 0 && time.hour % options.intervalHours != 0) {
                readPointLine(in, record);
                readSpectrumBlock(in, grid, record);
                continue;
            }
            if (time.stamp > options.endStamp) {
                summary.stoppedBeyondWindow = true;
                return;
            }
            if (brevolan && selectedCount == 0) {
                brevolan->spectralFile = in.name();
                brevolan->pointLine = in.lineNumber();
            }
            readPointLine(in, record);
            readSpectrumBlock(in, grid, record);
            const FullPlaneParameters parameters = computeFullPlaneParameters(grid, record);
            if (time.stamp < options.startStamp) continue;
            writeSelected(time, parameters);
            flushWhenDue();
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
        FullPlaneParameterFile::appendLine(*files.parameter, time, parameters, record);
        summary.wrote(time.stamp);
        if (options.outputMode == kFullSpectrumMode) {
            FullSpectralFile::writeRecord(*files.spectrum, grid, time, record, parameters.peakBand, selectedCount);
            ++selectedCount;
        } else if (options.outputMode == kBrevolanMode) {
            processBrevolanRecord(console, grid, record, time, options, files, selectedCount == 0, *brevolan);
            ++selectedCount;
        }
    }
};

// After a failure: everything written so far goes out whole, every file is closed, and
// the diagnostic (with any failure met while closing) goes to standard error.
int abandonRun(Console& console, RunFiles& files, const IoFailure& failure) {
    std::string messages = console.output.closeAfterFailure();
    if (files.spectral) files.spectral->close();
    for (OutputFile* file : files.outputs()) {
        if (file) messages += file->closeAfterFailure();
    }
    writeToStandardError(diagnosticMessage(failure) + messages);
    return kDiagnosticExitStatus;
}

}  // namespace

void finishRun(RunFiles& files) {
    if (files.spectral) files.spectral->close();
    for (OutputFile* file : files.outputs()) {
        if (file) file->close();
    }
}

int runConversion(Console& console, const ProgramOptions& programOptions) {
    silenceWarnings(programOptions.quiet);
    RunFiles files;
    try {
        const RunOptions options = setUpRun(console, files);
        RunSummary summary;
        console.output.flush();  // the file announcements show while the file is read
        SpectralGrid grid;
        if (readSpectralHeader(*files.spectral, grid)) {
            const std::string directions = directionListWarning(grid, files.spectral->name());
            if (!directions.empty()) warn(directions);
            auto loop = std::make_unique<RecordLoop>(RecordLoop{console, options, files, grid, {}, nullptr, 0});
            loop->run();
            summary = loop->summary;
            if (loop->brevolan) {
                summary.foldedEnergy = loop->brevolan->foldedEnergy;
                summary.fullPlaneEnergy = loop->brevolan->fullPlaneEnergy;
            }
        } else {
            // A pipe or device that gave nothing at all: no run to speak of.
            endRunWithDiagnostic("the WW3 spectral file holds no header line: nothing could be read from it",
                                 kSpectralFileUnit, files.spectral->name());
        }
        console.output.flush();
        finishRun(files);
        console.output.close();
        reportRunEnd(summary, options, files);
        return 0;
    } catch (const IoFailure& failure) {
        return abandonRun(console, files, failure);
    }
}

}  // namespace ww3b
