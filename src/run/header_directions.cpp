#include "run/header_directions.hpp"

#include <sys/stat.h>

#include "run/run_options.hpp"
#include "textio/file_opening.hpp"
#include "textio/io_diagnostic.hpp"
#include "ww3/direction_list.hpp"
#include "ww3/ww3_spectral_file.hpp"

namespace ww3b {

namespace {

constexpr int kFrequenciesPerLine = 8;

// The line of the file where the direction list starts: after the header line and the
// frequency lines.
long firstDirectionLine(const SpectralGrid& grid) {
    return 2 + (grid.frequencyCount + kFrequenciesPerLine - 1) / kFrequenciesPerLine;
}

[[noreturn]] void refuse(const DirectionListVerdict& verdict, const SpectralGrid& grid, const InputFile& in) {
    endRunWithDiagnostic(directionListRefusal(verdict, listedDirections(grid)), in.unit(), in.name(),
                         firstDirectionLine(grid));
}

}  // namespace

void refuseUnplaceableDirections(const std::string& inputField, const ProgramOptions& options) {
    if (!options.headerDirections) return;
    // Only a plain file can be read twice: the run reads it again from the start.
    struct stat status {};
    const std::string name = fileNameFromField(inputField);
    if (name.empty() || ::stat(name.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) return;
    SpectralGrid grid;
    std::unique_ptr<InputFile> in;
    try {
        in = openInputFile(kSpectralFileUnit, inputField);
        if (!readSpectralHeader(*in, grid)) return;
    } catch (const IoFailure&) {
        return;
    }
    in->close();
    const DirectionListVerdict verdict = judgeDirectionList(listedDirections(grid));
    if (verdict.grid == DirectionGrid::Irregular) refuse(verdict, grid, *in);
}

void honourDirectionList(SpectralGrid& grid, const ProgramOptions& options, const InputFile& in) {
    const DirectionListVerdict verdict = judgeDirectionList(listedDirections(grid));
    if (options.headerDirections) {
        if (verdict.grid == DirectionGrid::Irregular) refuse(verdict, grid, in);
        if (verdict.grid == DirectionGrid::Offset) placeDirectionsFrom(grid, verdict.offset);
        return;
    }
    const std::string warning = directionListWarning(verdict, listedDirections(grid));
    if (!warning.empty() && !options.quiet) {
        writeToStandardError(warningMessage(describeFailure(warning, in.unit(), in.name(), firstDirectionLine(grid))));
    }
}

}  // namespace ww3b
