#include "run/answer_checks.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "textio/field_render.hpp"
#include "textio/file_opening.hpp"

namespace ww3b {

namespace {

// The largest stamp the dialogue offers: read to the end of the file.
constexpr RecordStamp kReadToTheEnd = 99999999;

[[noreturn]] void refuseFile(std::string_view problem, const std::string& name) {
    throw RefusedAnswer(std::string(kSpectralFileQuestion.name) + ": " + std::string(problem), kSpectralFileUnit, name,
                        0);
}

}  // namespace

void checkSpectralFileName(Console& console, const std::string& nameField) {
    const std::string name = fileNameFromField(nameField);
    if (name.empty()) refuseConsoleAnswer(console, kSpectralFileQuestion.name, "no name was given");
    if (name.find('\0') != std::string::npos) {
        refuseConsoleAnswer(console, kSpectralFileQuestion.name, "the name holds a NUL character");
    }
    struct stat info {};
    if (::stat(name.c_str(), &info) != 0) {
        const int error = errno;
        refuseFile(error == ENOENT ? std::string("file not found")
                                   : std::string("cannot be read: ") + std::strerror(error),
                   name);
    }
    if (S_ISDIR(info.st_mode)) refuseFile("is a directory, not a file", name);
    // Pipes and devices are taken as they are: opening one here could block, or take
    // input meant for the run.
    if (!S_ISREG(info.st_mode)) return;
    if (info.st_size == 0) refuseFile("holds no bytes (an empty file)", name);
    const int fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        refuseFile(std::string("cannot be read: ") + std::strerror(error), name);
    }
    ::close(fd);
}

namespace {

// A warning about the answer just read: where it stands in the answers.
void warnAboutAnswer(const Console& console, const std::string& text) {
    warnAt(text, console.input.unit(), console.input.name(), console.input.lastLineNumber());
}

}  // namespace

std::string stampWarning(std::string_view question, RecordStamp stamp) {
    if (stamp <= kReadToTheEnd) return {};
    return std::string(question) + ": " + std::to_string(stamp) +
           " looks like yyyymmddhh, but the stamps are yymmddhh (two digits of the year): " +
           std::to_string(stamp % 100000000) + " may be meant";
}

std::string orientationWarning(float orientation) {
    if (orientation >= 0.0f && orientation <= 360.0f) return {};
    return std::string(kOrientationQuestion.name) + ": " + shortestText(orientation) +
           " lies outside 0 to 360 degrees; it is used as typed";
}

std::string boundaryDepthWarning(float boundaryDepth, float saveDepth) {
    const std::string question(kBoundaryDepthQuestion.name);
    if (boundaryDepth == 0.0f) {
        return question + ": a depth of 0 m gives the largest depth exponent, 30: the oblique directions of the half "
                          "plane lose nearly all their energy";
    }
    if (boundaryDepth > saveDepth) {
        return question + ": " + shortestText(boundaryDepth) + " m is deeper than the WW3 point (" + shortestText(saveDepth) +
               " m): the depth exponent is negative and the oblique directions of the half plane are amplified";
    }
    return {};
}

void warnAboutStamp(const Console& console, std::string_view question, RecordStamp stamp) {
    const std::string warning = stampWarning(question, stamp);
    if (!warning.empty()) warnAboutAnswer(console, warning);
}

void warnAboutMode(const Console& console, std::int32_t mode) {
    if (mode == kParametersOnly || mode == kFullSpectrumMode || mode == kBrevolanMode) return;
    warnAboutAnswer(console, std::string(kModeQuestion.name) + ": " + std::to_string(mode) +
         " is none of 0, 1 and 2; the run goes on as in mode 0 and writes only the full-plane parameter file "
         "(*.out)");
}

void warnAboutOrientation(const Console& console, float orientation) {
    const std::string warning = orientationWarning(orientation);
    if (!warning.empty()) warnAboutAnswer(console, warning);
}

void warnAboutBoundaryDepth(const Console& console, float boundaryDepth, float saveDepth) {
    const std::string warning = boundaryDepthWarning(boundaryDepth, saveDepth);
    if (!warning.empty()) warnAboutAnswer(console, warning);
}

}  // namespace ww3b
