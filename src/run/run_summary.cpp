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

void warnNothingWritten(const RunSummary& summary, const RunOptions& options, const RunFiles& files) {
    const std::string input = files.spectral ? quoted(files.spectral->name()) : "the WW3 file";
    std::string text = "no time step was written: ";
    if (summary.stepsSeen == 0) {
        text += input + " holds no time step";
    } else {
        text += summary.stoppedBeyondWindow
                    ? "the time steps read run from " + stampRange(summary.firstSeen, summary.lastSeen) +
                          " (yymmddhh), where reading stopped beyond the end of the window"
                    : input + " holds the time steps " + stampRange(summary.firstSeen, summary.lastSeen) +
                          " (yymmddhh)";
        text += "; asked were " + std::to_string(options.startStamp) + " to " +
                std::to_string(options.endStamp) + ", " + intervalInWords(options.intervalHours);
        if (options.startStamp > options.endStamp) text += " (the start lies after the end)";
    }
    warn(text);
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

}  // namespace

void reportRunEnd(const RunSummary& summary, const RunOptions& options, const RunFiles& files) {
    // Warned also when silenced: a run record keeps them.
    if (summary.stepsWritten == 0) {
        warnNothingWritten(summary, options, files);
    } else if (options.outputMode == kBrevolanMode) {
        warnAboutHalfPlane(summary);
    }
    if (warningsSilenced()) return;
    std::string line = "ww3-brevolan: done: ";
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
