#include "support/run_files.hpp"

#include <gtest/gtest.h>

#include "support/program_run.hpp"
#include "support/temp_folder.hpp"

namespace ww3b::testing {

std::vector<std::string> standardAnswers(int mode) {
    return {"in.spec", "0", "99999999", "0", std::to_string(mode), mode == 0 ? "bay.out" : "bay.eng", "270", "12"};
}

std::vector<std::string> outputNames(int mode) {
    if (mode == 1) return {"bay.eng", "bay.out"};
    if (mode == 2) return {"bay.dat", "bay.eng", "bay.out", "bay.txt"};
    return {"bay.out"};
}

std::map<std::string, std::string> outputsIn(const std::filesystem::path& folder, int mode) {
    std::map<std::string, std::string> contents;
    for (const auto& name : outputNames(mode)) {
        if (std::filesystem::is_regular_file(folder / name)) contents[name] = readFile(folder / name);
    }
    return contents;
}

std::map<std::string, std::string> cleanRunOutputs(const std::string& spectra, int mode) {
    TempFolder folder;
    writeFile(folder / "in.spec", spectra);
    const ProgramRun run = runProgram(folder.path(), answerLines(standardAnswers(mode)));
    EXPECT_EQ(run.status, 0) << run.errors;
    return outputsIn(folder.path(), mode);
}

bool holdsWholeLinesOnly(const std::string& text) {
    if (text.empty()) return true;
    if (text.size() < 2 || text.compare(text.size() - 2, 2, "\r\n") != 0) return false;
    for (std::size_t i = text.find('\n'); i != std::string::npos; i = text.find('\n', i + 1)) {
        if (i == 0 || text[i - 1] != '\r') return false;
    }
    return true;
}

}  // namespace ww3b::testing
