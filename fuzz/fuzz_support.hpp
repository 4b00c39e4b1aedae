#pragma once
// Shared pieces of the fuzz targets: in-memory files, the private folder that the runs
// write into, the checks that every target makes after a run, and the report of a finding.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace ww3b::fuzz {

// Keeps a descriptor of the real standard error for findings (libFuzzer may silence
// descriptor 2, where the program's own diagnostics go), and caps the size of any file
// the process writes so that no input can fill the disk: a write beyond the cap fails
// with EFBIG, which the program must report like any failed write.
void setUpProcess(std::size_t fileSizeLimit);

// An unlinked in-memory file holding `bytes`, positioned at its start.
int memoryFile(std::string_view bytes);

// Makes a fresh folder under the system's temporary folder and makes it the working
// directory, so that every file a run creates by a relative name stays in it.
void enterPrivateFolder();

// Everything in the working directory but `keep`: each must be a regular file holding
// whole lines only (every line ending in CR LF), and not empty (a run removes the files it
// made and wrote nothing to); then it is removed.
void checkAndRemoveOutputs(std::string_view keep);

// True when `text` is empty or is a sequence of lines that each end in CR LF.
bool holdsWholeLinesOnly(std::string_view text);

std::string readWholeFile(const char* path);
void writeWholeFile(const char* path, std::string_view contents);

// True when some line of a console answer stream, read as a name answer, would name a
// file outside the working directory (an absolute path, or a ".." anywhere). Such inputs
// are not run: the fuzzer must never create or cut files elsewhere on the machine.
bool namesAFileOutside(std::string_view answers);

// Reports a broken invariant on the real standard error and aborts, so that libFuzzer
// keeps the input as a finding.
[[noreturn]] void finding(const std::string& what);

// A 64-bit FNV-1a checksum.
std::uint64_t checksum(std::string_view bytes);

}  // namespace ww3b::fuzz
