#pragma once
// The questions of the dialogue, asked again at a terminal while their answer cannot be
// taken, and the checks made on answers as soon as they are given: refusals of answers
// the run cannot go on with, warnings about answers that are taken but look wrong.

#include <array>
#include <string>
#include <string_view>

#include "run/run_options.hpp"
#include "textio/console_answer.hpp"

namespace ww3b {

// A question: its name in messages, and the prompt lines that ask it.
struct Question {
    std::string_view name;
    std::array<std::string_view, 4> prompt;  // unused places empty
};

inline constexpr Question kSpectralFileQuestion{
    "the WW3 directional data file", {"Type in an WW3 directional data filename", "        (e.g., enp.eka65.spec)"}};
inline constexpr Question kStartQuestion{"the starting time stamp (yymmddhh or 0)",
                                         {"input starting time stamp (yymmddhh or 0)"}};
inline constexpr Question kEndQuestion{"the ending time stamp (yymmddhh or 99999999)",
                                       {"input ending time stamp (yymmddhh or 99999999)"}};
inline constexpr Question kIntervalQuestion{
    "the output interval (0, or n hours)",
    {"Type 0 to output all available results", "  or n to output exact every n-hr data"}};
inline constexpr Question kModeQuestion{"the output mode (1, 2 or 0)",
                                        {"Type 1 to write a full 2-D spectral file",
                                         "  or 2 to write a Brevolan spectral file", "  or 0 to skip:"}};
inline constexpr Question kParameterNameQuestion{"the output full-plane wave file name (*.out)",
                                                 {"Type output full-plane wave filename (*.out)"}};
inline constexpr Question kSpectrumNameQuestion{"the output spectrum file name (*.eng)",
                                                {"Type output spectrum filename (*.eng)"}};
inline constexpr Question kOrientationQuestion{"the local shoreline orientation (degrees)",
                                               {"*** Type the local shoreline orientation (y-axis)",
                                                "    in polar coordinates (deg, positive from North",
                                                "    covering the sea, e.g., 180 deg for St Marys,",
                                                "    Entrance, FL/GA)"}};
inline constexpr Question kBoundaryDepthQuestion{"the seaward grid boundary depth (m)",
                                                 {"Type the seaward grid boundary depth (m)"}};

// Writes the question's prompt lines and returns what `read` gives. At a terminal, an
// answer that `read` refuses is explained on standard error and the question asked
// again; otherwise the refusal ends the run.
template <class Read>
auto ask(Console& console, const Question& question, Read&& read) {
    for (;;) {
        for (std::string_view line : question.prompt) {
            if (!line.empty()) writeFreeFormLine(console.output, line);
        }
        try {
            return read();
        } catch (const RefusedAnswer& refusal) {
            if (!console.interactive) throw;
            console.output.flush();
            writeToStandardError(std::string("ww3-brevolan: ") + refusal.what() + "; please answer again\r\n");
        }
    }
}

// The WW3 file named by the answer must be there to be read: a blank name, a missing
// file, a folder, a file that cannot be read or a regular file of no bytes is refused.
// The file is not opened for good here (a pipe must not be read before its time).
void checkSpectralFileName(Console& console, const std::string& nameField);

// The words of the warnings about answers that are taken as given (empty: no warning);
// the caller adds where the answer was given.
std::string stampWarning(std::string_view question, RecordStamp stamp);
std::string orientationWarning(float orientation);
std::string boundaryDepthWarning(float boundaryDepth, float saveDepth);

// Warnings about answers that are taken as given.
void warnAboutStamp(const Console& console, std::string_view question, RecordStamp stamp);
void warnAboutMode(const Console& console, std::int32_t mode);
void warnAboutOrientation(const Console& console, float orientation);
void warnAboutBoundaryDepth(const Console& console, float boundaryDepth, float saveDepth);

}  // namespace ww3b
