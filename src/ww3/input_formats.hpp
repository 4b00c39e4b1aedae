#pragma once
// The registry of input formats: the one place that knows which formats there are. The
// run opens, lists and checks its input through it, whatever the format.

#include <chrono>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "ww3/file_inventory.hpp"
#include "ww3/input_format.hpp"
#include "ww3/spectra_source.hpp"

namespace ww3b {

// Every format, in the order they are tried; the last (text) takes any file.
std::span<const InputFormat* const> inputFormats();

// The format of the file open as `in`, from its first bytes; they stay to be read.
const InputFormat& recogniseFormat(InputFile& in);

// `nameField` as typed (trailing blanks are not part of the name). A missing or
// unreadable file ends the run with a diagnostic. Notices and warnings of the source
// (such as how many points the file holds) go to `warnings`.
std::unique_ptr<SpectraSource> openSpectraSource(int unit, const std::string& nameField, const PointChoice& point,
                                                 SourceWarnings warnings = {});

// What --list shows of the file named by `nameField`.
FileInventory readInventory(int unit, const std::string& nameField);

// Right after the WW3 file name is answered: ends the run when the named file holds no
// point answering `point`, where its format can tell that early. A file that is not a
// plain readable file, or cannot be read, is left to the run.
void refuseMissingPoint(int unit, const std::string& nameField, const PointChoice& point);

// One run or one --list: while it lives, the checks made right after the file is named
// and the run itself share one reading of the file, whatever its format.
class InputReadingScope {
public:
    InputReadingScope();
    InputReadingScope(const InputReadingScope&) = delete;
    InputReadingScope& operator=(const InputReadingScope&) = delete;

private:
    std::vector<std::shared_ptr<void>> shared_;
};

// How long a reader in a helper process may send nothing before the file is taken to
// stall its library; a slow disk or network share may want longer.
inline constexpr std::chrono::milliseconds kDefaultStallLimitOfReaders{30000};
void setStallLimitOfReaders(std::chrono::milliseconds limit);

}  // namespace ww3b
