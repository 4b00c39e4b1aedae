#include "run/run_summary.hpp"

#include <sys/stat.h>

#include <cstdio>
#include <string>
#include <vector>

#include "textio/io_diagnostic.hpp"

namespace ww3b {

namespace {

// Below this share of the full-plane energy the half plane most likely faces land.
constexpr double kLeastHalfPlaneShare = 0.1;

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

std::string stampRange(RecordStamp first, RecordStamp last) {
    return first == last ? std::to_string(first) : std::to_string(first) + " to " + std::to_string(last);
}

std::string intervalInWords(std::int32_t hours) {
    if (hours == 0) return "every time step";
    return "the hours of the day that are multiples of " + std::to_string(hours);
}

std::vector<const OutputFile*> openedOutputs(const RunFiles& files) {
    std::vector<const OutputFile*> opened;
    for (const OpenOutput& output : files.outputs) opened.push_back(output.file.get());
    return opened;
}

std::string steps(long count) { return std::to_string(count) + (count == 1 ? " written time step" : " written time steps"); }

void warnNothingWritten(RunSummary& summary, const RunOptions& options, const RunFiles& files) {
    const std::string input = files.spectral ? quoted(files.spectral->name()) : "the WW3 file";
    std::string text = "no time step was written: ";
    if (summary.stepsSeen == 0) {
        text += input + " holds no time step; check that it is the file meant";
    } else {
        text += summary.stoppedBeyondWindow
                    ? "the time steps read run from " + stampRange(summary.firstSeen, summary.lastSeen) +
                          " (yymmddhh), where reading stopped beyond the end of the window"
                    : input + " holds the time steps " + stampRange(summary.firstSeen, summary.lastSeen) +
                          " (yymmddhh)";
        text += "; asked were " + std::to_string(options.startStamp) + " to " +
                std::to_string(options.endStamp) + ", " + intervalInWords(options.intervalHours);
        if (options.startStamp > options.endStamp) text += " (the start lies after the end)";
        text += "; check the window and the interval (--list shows the times a file holds)";
    }
    summary.fellShort(text);
    // A file that receives no line keeps what it held: tell the user it is not this run's.
    for (const OutputFile* file : openedOutputs(files)) {
        struct stat info {};
        if (::stat(file->name().c_str(), &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0) {
            warnAt(quoted(file->name()) + " received nothing and keeps the contents of an earlier run", file->unit(),
                   file->name());
        }
    }
}

void warnAboutHalfPlane(const RunSummary& summary) {
    if (!(summary.fullPlaneEnergy > 0) || summary.foldedEnergy >= kLeastHalfPlaneShare * summary.fullPlaneEnergy) {
        return;
    }
    char share[32];
    std::snprintf(share, sizeof share, "%.1f", 100.0 * summary.foldedEnergy / summary.fullPlaneEnergy);
    warn(std::string("the half plane kept ") + share +
         " % of the full-plane energy over the run: check the shoreline orientation (the bearing the coast "
         "faces plus 90)");
}

void warnAboutDensities(RunSummary& summary, const RunFiles& files) {
    const CountedSteps& bad = summary.badDensitySteps;
    if (bad.count == 0) return;
    std::string text = "the chosen point's spectrum holds a density below zero or not a number in " +
                       steps(bad.count) + ", the first at " + std::to_string(bad.first) + ", frequency " +
                       std::to_string(summary.badFrequency) + ", direction " + std::to_string(summary.badDirection) +
                       ": WW3 never writes one, so the file is damaged or misread and the values written from those "
                       "steps are wrong; fetch the file again";
    if (files.spectral) text = describeFailure(text, files.spectral->unit(), files.spectral->name(), 0);
    summary.fellShort(text);
}

void warnAboutMeaninglessValues(const RunSummary& summary) {
    if (const CountedSteps& zero = summary.zeroSpectrumSteps; zero.count > 0) {
        warn("an all-zero spectrum (a cold start) in " + steps(zero.count) + ", the first at " +
             std::to_string(zero.first) +
             ": Hs is 0 there, and the periods and the direction written (20.0, NaN, 270) mean nothing");
    }
    if (const CountedSteps& shared = summary.sharedStampSteps; shared.count > 0) {
        warn(steps(shared.count) + " share a stamp with another, the first " + std::to_string(shared.first) +
             ": the steps are less than an hour apart and the stamp (yymmddhh) holds no minutes; an interval of 1 "
             "keeps one step per hour");
    }
}

}  // namespace

void RunSummary::fellShort(const std::string& text) {
    shortfalls.push_back(text);
    warnEvenWhenQuiet(text);
}

int exitStatusOf(const RunSummary& summary) {
    if (summary.failed) return kDiagnosticExitStatus;
    return summary.shortfalls.empty() ? 0 : kIncompleteExitStatus;
}

void reportRunEnd(RunSummary& summary, const RunOptions& options, const RunFiles& files) {
    if (summary.stepsWritten == 0) warnNothingWritten(summary, options, files);
    warnAboutDensities(summary, files);
    warnAboutMeaninglessValues(summary);
    if (summary.stepsWritten > 0 && options.outputMode == kBrevolanMode) warnAboutHalfPlane(summary);
    summary.warnings = warningsIssued();
    if (warningsSilenced()) return;
    std::string line = "ww3-brevolan: done: ";
    if (!summary.shortfalls.empty()) line += "incomplete: ";
    if (summary.stepsWritten == 0) {
        line += "no time step written, no line written to any file";
    } else {
        line += std::to_string(summary.stepsWritten) + (summary.stepsWritten == 1 ? " time step" : " time steps") +
                " written, " + stampRange(summary.firstWritten, summary.lastWritten) + ", to ";
        const auto written = openedOutputs(files);
        for (std::size_t k = 0; k < written.size(); ++k) {
            if (k > 0) line += k + 1 == written.size() ? " and " : ", ";
            line += quoted(written[k]->name());
        }
    }
    writeToStandardError(line + "\r\n");
}

}  // namespace ww3b
