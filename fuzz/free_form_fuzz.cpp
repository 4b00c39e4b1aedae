// Free-form reads (time lines, spectrum blocks, console answers) of arbitrary text.
//
// Input: a configuration byte (integer or real targets, how many, whether failures reach
// the caller), a byte choosing a buffer size, then the text. The same statements are read
// from the text held in memory and from a file through a reader whose buffer is only a
// little larger than the longest value, so that values, blank runs and line ends fall
// across refills: the two readings must agree value for value, line for line. Each
// statement must also move on through the input, or the record loop could spin. With real
// targets the statements are also passed over through the small buffer, as a point not
// chosen is: each must end where reading it ends, with the same outcome and diagnostic.

#include <cstdint>
#include <cstring>
#include <string>

#include "fuzz_support.hpp"
#include "textio/free_form.hpp"
#include "textio/io_diagnostic.hpp"

namespace {

using namespace ww3b;

constexpr std::size_t kTargetCounts[8] = {1, 2, 3, 7, 12, 75, 600, 2500};

// How the statements are taken: read with their values in the transcript, read without
// them, or passed over (which must end where reading into reals ends).
enum class Taking { Values, Read, PassedOver };

template <class T>
std::string readEveryStatement(InputFile& in, std::size_t count, OnFailure onFailure, bool checkProgress,
                               Taking taking = Taking::Values) {
    std::string transcript;
    T targets[2500];
    for (std::size_t k = 0; k < count; ++k) targets[k] = static_cast<T>(k + 1);
    // Every statement takes at least one character, so this bounds the loop.
    for (std::size_t statement = 0;; ++statement) {
        const long lineBefore = in.lineNumber();
        const char* cursorBefore = in.cursor();
        FreeFormResult result;
        try {
            result = taking == Taking::PassedOver ? skipFreeForm(in, count, onFailure)
                                                  : readFreeForm(in, std::span<T>(targets, count), onFailure);
        } catch (const RunFailure& failure) {
            transcript += std::string("ended the run: ") + failure.what() + "\n";
            return transcript;
        }
        transcript += std::to_string(static_cast<int>(result.outcome)) + "|" + result.problem + "|" +
                      std::to_string(result.line) + "|" + result.value + "|" + std::to_string(result.valuesTaken) + "|";
        if (taking == Taking::Values) transcript.append(reinterpret_cast<const char*>(targets), count * sizeof(T));
        // After a failed read the run ends: where the reader then stands is never used.
        if (result.outcome != ReadOutcome::Ok) return transcript + "\n";
        transcript += "|" + std::to_string(in.lineNumber()) + "|" + std::to_string(in.lastLineNumber()) + "\n";
        // (In memory the cursor never moves back, so an unchanged cursor means nothing read.)
        if (checkProgress && in.lineNumber() == lineBefore && in.cursor() == cursorBefore && !in.atEnd()) {
            fuzz::finding("a free-form statement read nothing and did not reach the end");
        }
        if (statement > (1u << 20)) fuzz::finding("too many statements");
    }
}

std::string readAll(InputFile& in, bool integers, std::size_t count, OnFailure onFailure, bool checkProgress) {
    return integers ? readEveryStatement<std::int32_t>(in, count, onFailure, checkProgress)
                    : readEveryStatement<float>(in, count, onFailure, checkProgress);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::setUpProcess(std::size_t{64} << 20);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const unsigned config = data[0];
    const std::size_t bufferSize = 4098 + std::size_t{data[1]} * 7;
    const std::string text(reinterpret_cast<const char*>(data + 2), size - 2);
    const bool integers = config & 1;
    const OnFailure onFailure = (config & 2) ? OnFailure::Report : OnFailure::EndRun;
    const std::size_t count = kTargetCounts[(config >> 2) & 7];

    InputFile inMemory(kConsoleInputUnit, "memory", text);
    const std::string expected = readAll(inMemory, integers, count, onFailure, true);

    InputFile fromFile(11, "memory", fuzz::memoryFile(text), true, bufferSize);
    const std::string got = readAll(fromFile, integers, count, onFailure, false);
    // The unit differs on purpose only in the diagnostic's "unit" text; compare the rest.
    auto withoutUnit = [](std::string s) {
        for (const char* unit : {"(unit 5, memory", "(unit 11, file \"memory\""}) {
            for (std::size_t at = s.find(unit); at != std::string::npos; at = s.find(unit)) s.replace(at, std::strlen(unit), "(");
        }
        return s;
    };
    if (withoutUnit(expected) != withoutUnit(got)) {
        fuzz::finding("the text read from memory and through a small buffer differ:\n" + expected + "----\n" + got);
    }
    if (!integers) {
        // Values passed over through the small buffer end as reading them ends.
        InputFile readAgain(11, "memory", text);
        const std::string read = readEveryStatement<float>(readAgain, count, onFailure, false, Taking::Read);
        InputFile passed(11, "memory", fuzz::memoryFile(text), true, bufferSize);
        const std::string skipped = readEveryStatement<float>(passed, count, onFailure, false, Taking::PassedOver);
        if (read != skipped) {
            fuzz::finding("passing over and reading differ:\n" + read + "----\n" + skipped);
        }
    }
    return 0;
}
