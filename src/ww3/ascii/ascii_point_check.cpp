#include "ww3/ascii/ascii_point_check.hpp"

#include <memory>

#include "textio/file_opening.hpp"
#include "ww3/ascii/ascii_spectra_source.hpp"
#include "ww3/point_choice.hpp"

namespace ww3b {

void refuseMissingTextPoint(int unit, const std::string& path, const PointChoice& point) {
    if (trimmedName(point.wanted).empty()) return;
    try {
        std::unique_ptr<InputFile> in = openInputFile(unit, path);
        AsciiSpectraSource source(std::move(in), point);
        SpectralGrid grid;
        InputRecord record{};
        if (source.readHeader(grid) && source.startStep(record).outcome == StepStart::Outcome::Started) {
            source.readPoint(record);
        }
        source.close();
    } catch (const MissingPointFailure&) {
        throw;
    } catch (const RunFailure&) {
        // Left to the run, which reads the file again and reports it in its place.
    }
}

}  // namespace ww3b
