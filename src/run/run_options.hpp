#pragma once
// The answers of the dialogue and the open files of a run.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "model/record_time.hpp"
#include "textio/output_file.hpp"
#include "ww3/spectra_source.hpp"

namespace ww3b {

// Units of the run's files, named in every diagnostic about them.
inline constexpr int kSpectralFileUnit = 11;
inline constexpr int kParameterFileUnit = 12;
inline constexpr int kBrevolanParameterFileUnit = 15;
inline constexpr int kSpectrumFileUnit = 18;
inline constexpr int kHalfPlaneFileUnit = 19;

// The output modes offered; any other integer runs like mode 0 after the spectrum prompt.
inline constexpr std::int32_t kParametersOnly = 0;
inline constexpr std::int32_t kFullSpectrumMode = 1;
inline constexpr std::int32_t kBrevolanMode = 2;

struct RunOptions {
    // File names are 30-character fields padded with blanks, as typed.
    std::string inputFile;
    RecordStamp startStamp = 0;  // first stamp written (0: from the first record)
    RecordStamp endStamp = 0;    // last stamp read (99999999: to the end of the file)
    std::int32_t intervalHours = 0;  // 0: every record; n: hours of day that are multiples of n
    std::int32_t outputMode = 0;
    std::string parameterFile;
    std::string spectrumFile;
    std::string brevolanParameterFile;
    std::string halfPlaneFile;
    float shoreAngle = 0;  // degrees: 360 minus the shoreline orientation typed (mode 2)
    float orientation = 0;  // the shoreline orientation as typed (mode 2)
    // Given with the other answers (on the command line): the depth question is not asked.
    std::optional<float> boundaryDepth;
};

struct OutputFileRow;

// One output file of the run: its row of the mode's table and the open file.
struct OpenOutput {
    const OutputFileRow* row;
    std::unique_ptr<OutputFile> file;
};

struct RunFiles {
    std::unique_ptr<SpectraSource> spectral;  // unit 11
    // The output files this mode opened, in the order of its table: the order they are
    // flushed and closed.
    std::vector<OpenOutput> outputs;
    // The run is refused as a whole (the output files it created and left empty go, as at
    // every end).
    bool refused = false;
    // The WW3 file's direction list was judged (and any warning given) right after the
    // file was named.
    bool directionListJudged = false;

    // Hands every complete line to the system, so that a failed write is met at once.
    void flushOutputs() const {
        for (const OpenOutput& output : outputs) output.file->flush();
    }
};

}  // namespace ww3b
