// Files of several output points per time step: the chosen point converts byte for byte
// like a file of that point alone; a missing point or a bad value anywhere ends the run.

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/program_run.hpp"
#include "support/run_files.hpp"
#include "support/temp_folder.hpp"
#include "support/ww3_text.hpp"

namespace ww3b {
namespace {

using namespace ww3b::testing;

struct Point {
    const char* name;
    float depth;
    float wind;
    float scale;  // of the spectrum
};
// Names of letters, of digits (as station numbers are) and with a blank.
const Point kPoints[] = {{"NORTH", 20.0f, 5.0f, 1.0f}, {"44097", 46.6f, 7.5f, 2.0f}, {"SOUTH BAY", 80.0f, 9.0f, 0.5f}};
const int kTimes[] = {0, 30000, 60000};

// One time step of the point alone: its time line, point line and block.
std::vector<std::string> stepsOf(const Point& point) {
    Ww3Text file = Ww3Text::withGrid(3, 4);
    const std::size_t headerEnd = file.text.size();
    std::vector<std::string> steps;
    for (int time : kTimes) {
        const std::size_t begin = file.text.size();
        file.step(20100603, time, point.depth, point.wind, 180.0f + point.wind, [&](int i, int j) {
            return point.scale * 0.01f * static_cast<float>((i + 1) * (j + 2) + time / 30000);
        });
        std::string step = file.text.substr(begin);
        // The point line's name, between the quotes, as the wave model pads it.
        const std::size_t line = step.find('\n') + 1;
        char name[16];
        std::snprintf(name, sizeof name, "'%-10s'", point.name);
        step.replace(line, 12, name);
        steps.push_back(step);
    }
    steps.insert(steps.begin(), file.text.substr(0, headerEnd));
    return steps;
}

std::string header(int points) {
    std::string text = stepsOf(kPoints[0])[0];
    char count[8];
    std::snprintf(count, sizeof count, "%6d", points);
    return text.replace(35, 6, count);
}

std::string singlePointFile(const Point& point) {
    std::string text;
    for (const std::string& part : stepsOf(point)) text += part;
    return text;
}

// Every point in every step, except `missing` (index of a point) in the second step.
std::string multiPointFile(int missing = -1, int headerCount = 3) {
    std::vector<std::vector<std::string>> steps;
    for (const Point& point : kPoints) steps.push_back(stepsOf(point));
    std::string text = header(headerCount);
    for (std::size_t s = 1; s <= std::size(kTimes); ++s) {
        for (std::size_t p = 0; p < std::size(kPoints); ++p) {
            const std::string& step = steps[p][s];
            const std::size_t pointStart = step.find('\n') + 1;
            if (p == 0) text += step.substr(0, pointStart);  // the time line, once
            if (static_cast<int>(p) != missing || s != 2) text += step.substr(pointStart);
        }
    }
    return text;
}

struct Outcome {
    ProgramRun run;
    std::map<std::string, std::string> outputs;
};

Outcome convert(const std::string& spectra, int mode, const std::vector<std::string>& arguments = {}) {
    TempFolder folder;
    writeFile(folder / "in.spec", spectra);
    Outcome outcome{runProgram(folder.path(), answerLines(standardAnswers(mode)), arguments), {}};
    outcome.outputs = outputsIn(folder.path(), mode);
    return outcome;
}

struct Choice {
    std::vector<std::string> arguments;
    int point;  // index into kPoints
};

TEST(MultiPointFile, TheChosenPointConvertsLikeAFileOfItAlone) {
    const std::string file = multiPointFile();
    const Choice choices[] = {{{"--point", "NORTH"}, 0}, {{"--point=44097"}, 1},       {{"--point", "2"}, 1},
                              {{"--point", "SOUTH BAY  "}, 2}, {{"--point", "3"}, 2}};
    for (int mode : {0, 1, 2}) {
        for (const Choice& choice : choices) {
            const Outcome alone = convert(singlePointFile(kPoints[choice.point]), mode);
            const Outcome chosen = convert(file, mode, choice.arguments);
            ASSERT_EQ(alone.run.status, 0);
            EXPECT_EQ(chosen.run.status, 0) << chosen.run.errors;
            EXPECT_EQ(chosen.run.errors, "");
            EXPECT_EQ(chosen.outputs, alone.outputs) << "mode " << mode << ", " << choice.arguments.back();
        }
    }
}

TEST(MultiPointFile, WithoutAChoiceTheFirstPointAndANotice) {
    const Outcome first = convert(multiPointFile(), 1);
    EXPECT_EQ(first.run.status, 0);
    EXPECT_EQ(first.outputs, convert(singlePointFile(kPoints[0]), 1).outputs);
    EXPECT_EQ(first.run.errors,
              "ww3-brevolan: warning: \"in.spec\" holds 3 points per time step (\"NORTH\", \"44097\", \"SOUTH BAY\"); "
              "the first is converted. Choose another with --point NAME or --point N (its position, from 1)\r\n");
    // A header count that disagrees is told, and changes nothing read.
    const Outcome miscounted = convert(multiPointFile(-1, 1), 1, {"--point", "3"});
    EXPECT_EQ(miscounted.outputs, convert(singlePointFile(kPoints[2]), 1).outputs);
    EXPECT_NE(miscounted.run.errors.find("gives 1 points, but its first time step (line 4) holds 3"),
              std::string::npos)
        << miscounted.run.errors;
}

struct Failure {
    const char* what;
    std::string file;
    std::vector<std::string> arguments;
    std::string diagnostic;
    int linesWritten;  // in bay.out
};

TEST(MultiPointFile, AMissingPointOrABadValueAnywhereEndsTheRun) {
    std::string badValue = multiPointFile();
    badValue.replace(badValue.find("'SOUTH BAY '") + 70, 3, "0.x");  // in the first step's block of point 3
    const Failure failures[] = {
        {"a name no step holds", multiPointFile(), {"--point", "EAST"},
         "the time step starting at this line holds no point \"EAST\"; it holds 3 points: \"NORTH\", \"44097\", "
         "\"SOUTH BAY\" (unit 11, file \"in.spec\", line 4)",
         0},
        {"a position beyond the points", multiPointFile(), {"--point", "4"}, "holds no point 4; it holds 3 points", 0},
        {"a point missing from the second step", multiPointFile(1), {"--point", "44097"},
         "holds no point \"44097\"; it holds 2 points: \"NORTH\", \"SOUTH BAY\" (unit 11, file \"in.spec\", line 14)",
         1},
        {"a bad value in a point not chosen", badValue, {"--point", "1"}, "point 3 \"SOUTH BAY\": ", 0},
        {"by position, missing from the second step", multiPointFile(1), {"--point", "2"},
         "holds no point \"44097\"; it holds 2 points", 1},
        {"the first by default, missing from the second step", multiPointFile(0), {},
         "holds no point \"NORTH\"; it holds 2 points", 1},
    };
    for (const Failure& failure : failures) {
        const Outcome outcome = convert(failure.file, 0, failure.arguments);
        EXPECT_EQ(outcome.run.status, 2) << failure.what;
        EXPECT_NE(outcome.run.errors.find(failure.diagnostic), std::string::npos)
            << failure.what << ": " << outcome.run.errors;
        // A file that receives no line is removed again.
        const auto found = outcome.outputs.find("bay.out");
        EXPECT_EQ(found != outcome.outputs.end(), failure.linesWritten > 0) << failure.what;
        const std::string written = found == outcome.outputs.end() ? "" : found->second;
        EXPECT_EQ(std::count(written.begin(), written.end(), '\n'), failure.linesWritten) << failure.what;
    }
}

}  // namespace
}  // namespace ww3b
