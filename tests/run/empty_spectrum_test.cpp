// A time step whose spectrum holds no energy: no guard is placed, the run goes on.

#include <gtest/gtest.h>

#include "support/program_run.hpp"
#include "support/temp_folder.hpp"
#include "support/ww3_text.hpp"

namespace ww3b {
namespace {

using namespace ww3b::testing;

TEST(EmptySpectrum, MeanPeriodIsNotANumberAndTheDirectionIs270) {
    TempFolder folder;
    Ww3Text file = Ww3Text::withGrid(3, 4);
    file.step(20100603, 120000, 46.6f, 5.2f, 180.0f, [](int, int) { return 0.0f; });
    file.step(20100603, 130000);
    writeFile(folder / "in.spec", file.text);
    const ProgramRun run = runProgram(folder.path(), answerLines({"in.spec", "0", "99999999", "0", "0", "p.out"}));
    EXPECT_EQ(run.status, 0) << run.errors;
    // Peak band 1 (all bands equal), so Tp = 1 / 0.05 Hz; Tm = 0 / 0.
    const std::string lines = readFile(folder / "p.out");
    EXPECT_EQ(lines.substr(0, 55), "   0 10  6  3 12.0 0.00  20.0   NaN  270.   5.2  180.\r\n");
    EXPECT_EQ(lines.size(), 110u);
}

}  // namespace
}  // namespace ww3b
