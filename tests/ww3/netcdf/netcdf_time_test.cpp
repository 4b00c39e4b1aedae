#include "ww3/netcdf/netcdf_time.hpp"

#include <cmath>
#include <string>

#include <gtest/gtest.h>

namespace ww3b {
namespace {

TEST(NetcdfTime, UnitsAndReferencesGiveTheStampsOfTheirValues) {
    struct Case {
        const char* units;
        double value;
        NetcdfStamp stamp;
    };
    const Case cases[] = {
        {"days since 1990-01-01 00:00:00", 7458.75, {20100603, 180000}},
        {"days since 1990-01-01", 7458.0 + 1.0 / 24, {20100603, 10000}},
        {"days since 1990-1-1 00:00", -0.5, {19891231, 120000}},
        {"Days since 1990-01-01T06:00:00Z", 1, {19900102, 60000}},
        {"hours since 2010-06-03 18:00:00 UTC", 30, {20100605, 0}},
        {"hour since 2000-02-28T00:00Z", 47.99999, {20000301, 0}},
        {"h since 2000-02-28", 24, {20000229, 0}},
        {"minutes since 2000-03-01 12:30", -1, {20000301, 122900}},
        {"seconds since 1970-01-01 00:00:00.0", 1275588000.4, {20100603, 180000}},
        {"s since 1970-01-01 GMT", 59.5, {19700101, 100}},
    };
    for (const Case& c : cases) {
        const auto units = parseNetcdfTimeUnits(c.units);
        ASSERT_TRUE(units) << c.units;
        const auto stamp = netcdfStampAt(*units, c.value);
        ASSERT_TRUE(stamp) << c.units;
        EXPECT_EQ(stamp->date, c.stamp.date) << c.units;
        EXPECT_EQ(stamp->time, c.stamp.time) << c.units;
    }
}

TEST(NetcdfTime, UnknownUnitsAndImpossibleValuesAreRefused) {
    for (const char* units : {"fortnights since 1990-01-01", "days", "days since", "days after 1990-01-01",
                              "days since 1990-13-01", "days since 1990-02-30", "days since 1990-01-01 25:00",
                              "days since 1990-01-01 00:00:00 +01:00", "days since 1990-01-01 CET", ""}) {
        EXPECT_FALSE(parseNetcdfTimeUnits(units)) << units;
    }
    const NetcdfTimeUnits days = *parseNetcdfTimeUnits("days since 1990-01-01");
    for (double value : {1e300, -1e9, std::nan(""), 3e6}) EXPECT_FALSE(netcdfStampAt(days, value)) << value;
}

}  // namespace
}  // namespace ww3b
