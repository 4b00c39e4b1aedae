#include "run/header_directions.hpp"

#include <sys/stat.h>

#include "run/run_options.hpp"
#include "textio/file_opening.hpp"
#include "ww3/input_formats.hpp"
#include "textio/io_diagnostic.hpp"
#include "ww3/direction_list.hpp"

namespace ww3b {

namespace {

[[noreturn]] void refuse(const DirectionListVerdict& verdict, const SpectralGrid& grid, const SpectraSource& source) {
    endRunWithDiagnostic(directionListRefusal(verdict, listedDirections(grid)), source.unit(), source.name(),
                         source.directionListLine());
}

}  // namespace

namespace {

// The warning without --header-directions: the short form for an offset grid, the whole
// account for a list that is no grid.
void warnAboutDirectionList(const DirectionListVerdict& verdict, const SpectralGrid& grid, const SpectraSource& source) {
    std::string warning = directionOffsetWarning(verdict);
    if (warning.empty()) warning = directionListWarning(verdict, listedDirections(grid));
    if (!warning.empty()) warnAt(warning, source.unit(), source.name(), source.directionListLine());
}

}  // namespace

bool checkDirectionListEarly(const std::string& inputField, const ProgramOptions& options) {
    // Only a plain file can be read twice: the run reads it again from the start.
    struct stat status {};
    const std::string name = fileNameFromField(inputField);
    if (name.empty() || ::stat(name.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) return false;
    SpectralGrid grid;
    std::unique_ptr<SpectraSource> source;
    try {
        source = openSpectraSource(kSpectralFileUnit, inputField, PointChoice{});
        if (!source->readHeader(grid)) return false;
    } catch (const RunFailure&) {
        return false;
    }
    source->close();
    const DirectionListVerdict verdict = judgeDirectionList(listedDirections(grid));
    if (!options.headerDirections) {
        warnAboutDirectionList(verdict, grid, *source);
    } else if (verdict.grid == DirectionGrid::Irregular) {
        refuse(verdict, grid, *source);
    }
    return true;
}

void honourDirectionList(SpectralGrid& grid, const ProgramOptions& options, const SpectraSource& source,
                         bool judgedEarly) {
    const DirectionListVerdict verdict = judgeDirectionList(listedDirections(grid));
    if (options.headerDirections) {
        if (verdict.grid == DirectionGrid::Irregular) refuse(verdict, grid, source);
        if (verdict.grid == DirectionGrid::Offset) placeDirectionsFrom(grid, verdict.offset);
        return;
    }
    if (!judgedEarly) warnAboutDirectionList(verdict, grid, source);
}

}  // namespace ww3b
