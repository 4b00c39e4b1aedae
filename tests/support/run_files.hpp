#pragma once
// The standard run of the failure tests: the WW3 file in.spec converted in a given mode
// into bay.out (and bay.eng, bay.txt, bay.dat), with the output files a run leaves behind.

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace ww3b::testing {

// Every answer of a run in `mode` from start to end: in.spec, the whole time window, every
// record, the mode, bay.out (mode 0) or bay.eng, shoreline 270, boundary depth 12.
std::vector<std::string> standardAnswers(int mode);

// The output files of such a run.
std::vector<std::string> outputNames(int mode);

// The contents of the output files in a folder, by name.
std::map<std::string, std::string> outputsIn(const std::filesystem::path& folder, int mode);

// The output files of a run on `spectra` that must end normally.
std::map<std::string, std::string> cleanRunOutputs(const std::string& spectra, int mode);

// True when the text is empty or a sequence of lines that each end in CR LF.
bool holdsWholeLinesOnly(const std::string& text);

}  // namespace ww3b::testing
