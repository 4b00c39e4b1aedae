#include "run/header_directions.hpp"

#include <sys/stat.h>

#include "run/run_options.hpp"
#include "textio/file_opening.hpp"
#include "ww3/open_spectra_source.hpp"
#include "textio/io_diagnostic.hpp"
#include "ww3/direction_list.hpp"

namespace ww3b {

namespace {

[[noreturn]] void refuse(const DirectionListVerdict& verdict, const SpectralGrid& grid, const SpectraSource& source) {
    endRunWithDiagnostic(directionListRefusal(verdict, listedDirections(grid)), source.unit(), source.name(),
                         source.directionListLine());
}

}  // namespace

void refuseUnplaceableDirections(const std::string& inputField, const ProgramOptions& options) {
    if (!options.headerDirections) return;
    // Only a plain file can be read twice: the run reads it again from the start.
    struct stat status {};
    const std::string name = fileNameFromField(inputField);
    if (name.empty() || ::stat(name.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) return;
    SpectralGrid grid;
    std::unique_ptr<SpectraSource> source;
    try {
        source = openSpectraSource(kSpectralFileUnit, inputField, PointChoice{});
        if (!source->readHeader(grid)) return;
    } catch (const RunFailure&) {
        return;
    }
    source->close();
    const DirectionListVerdict verdict = judgeDirectionList(listedDirections(grid));
    if (verdict.grid == DirectionGrid::Irregular) refuse(verdict, grid, *source);
}

void honourDirectionList(SpectralGrid& grid, const ProgramOptions& options, const SpectraSource& source) {
    const DirectionListVerdict verdict = judgeDirectionList(listedDirections(grid));
    if (options.headerDirections) {
        if (verdict.grid == DirectionGrid::Irregular) refuse(verdict, grid, source);
        if (verdict.grid == DirectionGrid::Offset) placeDirectionsFrom(grid, verdict.offset);
        return;
    }
    const std::string warning = directionListWarning(verdict, listedDirections(grid));
    if (!warning.empty()) warnAt(warning, source.unit(), source.name(), source.directionListLine());
}

}  // namespace ww3b
