// Fixed-field reads of arbitrary text through the layouts that the program reads with:
// the WW3 header counts, the frequency and direction lists, the point line and the
// 30-column name answer.
//
// Input: a configuration byte (layout and count of values), a byte choosing a buffer
// size, then the text. The statements are read from the text in memory and from a file
// through a buffer of 1 to 256 bytes, so that every line spans refills; the two readings
// must agree, and every statement must move on by at least one line.

#include <array>
#include <cstdint>
#include <cstring>
#include <string>

#include "fuzz_support.hpp"
#include "textio/fixed_record.hpp"
#include "textio/io_diagnostic.hpp"
#include "textio/record_layout.hpp"

namespace {

using namespace ww3b;

const RecordLayout kHeader({blankSkip(24), integerField(6, 3)});
const RecordLayout kFrequencies({numericInputField(10, 3, 8)});
const RecordLayout kDirections({numericInputField(11, 3, 7)});
const RecordLayout kPoint({blankSkip(29), numericInputField(7, 0, 3)});
const RecordLayout kName({textField(30)});

std::string readEveryStatement(InputFile& in, unsigned config) {
    const unsigned layoutChoice = config % 5;
    const std::size_t count = 1 + (config / 5) % 50;
    std::string transcript;
    for (std::size_t statement = 0;; ++statement) {
        const long lineBefore = in.lineNumber();
        std::array<std::int32_t, 3> integers{7, 7, 7};
        std::array<float, 50> reals{};
        reals.fill(7.0f);
        std::string name(30, '#');
        ReadOutcome outcome = ReadOutcome::Ok;
        try {
            switch (layoutChoice) {
                case 0: {
                    const FieldTarget targets[] = {FieldTarget::of(integers[0]), FieldTarget::of(integers[1]),
                                                   FieldTarget::of(integers[2])};
                    outcome = readFixedRecord(in, kHeader, targets, OnFailure::Report);
                    break;
                }
                case 1:
                    outcome = readFixedRecord(in, kFrequencies, std::span<float>(reals.data(), count), OnFailure::Report);
                    break;
                case 2:
                    outcome = readFixedRecord(in, kDirections, std::span<float>(reals.data(), count), OnFailure::Report);
                    break;
                case 3: {
                    const FieldTarget targets[] = {FieldTarget::of(reals[0]), FieldTarget::of(reals[1]),
                                                   FieldTarget::of(reals[2])};
                    outcome = readFixedRecord(in, kPoint, targets, OnFailure::Report);
                    break;
                }
                default: {
                    const FieldTarget target = FieldTarget::of(std::span<char>(name));
                    outcome = readFixedRecord(in, kName, std::span<const FieldTarget>(&target, 1), OnFailure::Report);
                    break;
                }
            }
        } catch (const RunFailure& failure) {
            transcript += std::string("ended the run: ") + failure.what() + "\n";
            return transcript;
        }
        transcript += std::to_string(static_cast<int>(outcome)) + "|" + std::to_string(in.lineNumber()) + "|" +
                      std::to_string(in.lastLineNumber()) + "|" + name + "|";
        transcript.append(reinterpret_cast<const char*>(integers.data()), sizeof integers);
        transcript.append(reinterpret_cast<const char*>(reals.data()), sizeof reals);
        transcript += "\n";
        if (outcome != ReadOutcome::Ok) return transcript;
        if (in.lineNumber() <= lineBefore && !in.atEnd()) fuzz::finding("a fixed-field statement did not move on");
        if (statement > (1u << 20)) fuzz::finding("too many statements");
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::setUpProcess(std::size_t{64} << 20);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const unsigned config = data[0];
    const std::size_t bufferSize = 1 + std::size_t{data[1]};
    const std::string text(reinterpret_cast<const char*>(data + 2), size - 2);

    InputFile inMemory(11, "memory", text);
    const std::string expected = readEveryStatement(inMemory, config);
    InputFile fromFile(11, "memory", fuzz::memoryFile(text), true, bufferSize);
    const std::string got = readEveryStatement(fromFile, config);
    if (expected != got) {
        fuzz::finding("the text read from memory and through a small buffer differ:\n" + expected + "----\n" + got);
    }
    return 0;
}
