#include "support/text_io_helpers.hpp"

#include "textio/file_opening.hpp"

namespace ww3b::testing {

std::unique_ptr<OutputFile> openForTest(const std::filesystem::path& file) {
    return openOutputFile(12, file.string());
}

std::string writtenText(const std::function<void(OutputFile&)>& write) {
    TempFolder folder;
    const auto file = folder / "out.txt";
    {
        auto out = openForTest(file);
        write(*out);
        out->close();
    }
    return readFile(file);
}

}  // namespace ww3b::testing
