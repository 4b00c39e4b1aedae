#include "model/record_time.hpp"

#include <gtest/gtest.h>

#include "run/run_dialogue.hpp"

namespace ww3b {
namespace {

TEST(RecordTime, SplitsDateAndTimeIntoFieldsAndStamp) {
    const RecordTime noon = splitRecordTime(20100603, 120000);
    EXPECT_EQ(noon.year2, 10);
    EXPECT_EQ(noon.month, 6);
    EXPECT_EQ(noon.day, 3);
    EXPECT_EQ(noon.hour, 12);
    EXPECT_EQ(noon.minute, 0);
    EXPECT_EQ(noon.decimalHour, 12.0f);
    EXPECT_EQ(noon.stamp, 10060312);

    const RecordTime early = splitRecordTime(20100603, 13000);  // 01:30:00 without its leading zero
    EXPECT_EQ(early.hour, 1);
    EXPECT_EQ(early.minute, 30);
    EXPECT_EQ(early.decimalHour, 1.5f);
    const RecordTime late = splitRecordTime(20100603, 235959);
    EXPECT_EQ(late.hour, 23);
    EXPECT_EQ(late.minute, 59);
    EXPECT_EQ(splitRecordTime(20000101, 0).stamp, 10100);
    EXPECT_EQ(splitRecordTime(20000101, 0).year2, 0);
}

TEST(DeriveOutputNames, OverwritesThreeCharactersAfterTheFirstDot) {
    auto derive = [](const std::string& typed) {
        RunOptions options;
        options.spectrumFile = typed + std::string(30 - typed.size(), ' ');
        deriveOutputNames(options);
        return options;
    };
    const RunOptions bay = derive("bay.eng");
    EXPECT_EQ(bay.parameterFile.substr(0, 8), "bay.out ");
    EXPECT_EQ(bay.halfPlaneFile.substr(0, 8), "bay.dat ");
    EXPECT_EQ(bay.brevolanParameterFile.substr(0, 8), "bay.txt ");
    EXPECT_EQ(bay.spectrumFile.substr(0, 8), "bay.eng ");
    EXPECT_EQ(derive("bay.spec").parameterFile.substr(0, 9), "bay.outc ");
    EXPECT_EQ(derive("a.b.eng").parameterFile.substr(0, 8), "a.outng ");
    EXPECT_EQ(derive("bay.").parameterFile.substr(0, 8), "bay.out ");
    // The suffix never reaches past the 30-character field.
    EXPECT_EQ(derive(std::string(28, 'x') + ".e").parameterFile, std::string(28, 'x') + ".o");
}

}  // namespace
}  // namespace ww3b
