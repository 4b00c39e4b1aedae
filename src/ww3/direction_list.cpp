#include "ww3/direction_list.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <numbers>

#include "textio/field_render.hpp"

namespace ww3b {

namespace {

constexpr double kTurn = 2.0 * std::numbers::pi;
constexpr double kDegreesPerRadian = 180.0 / std::numbers::pi;
constexpr std::size_t kShownValues = 3;
constexpr double kLargestListed = kTurn + 0.01;

// An angle brought into -pi to pi.
double onHalfTurns(double radians) { return std::remainder(radians, kTurn); }

// Half a unit of the last digit that a listed value of this size keeps: the third
// significant digit, but no finer than the third decimal. A little more is allowed for
// the single-precision value the list was read into.
double listPrecision(double magnitude) {
    double half = 0.5e-3;
    if (magnitude > 0) half = std::max(half, 0.5 * std::pow(10.0, std::floor(std::log10(magnitude)) - 2));
    return half + 1e-6 * std::max(1.0, magnitude);
}

// The feasible values of theta_0 for a list read as a regular grid of `sense` steps of
// 2 pi / nd: theta_0 = base + x for every x from low to high; `mean` is the mean of the
// values' own offsets. Empty (low > high) when no single theta_0 fits every value.
struct OffsetRange {
    double base = 0;
    double low = 0;
    double high = 0;
    double mean = 0;
    bool fits() const { return low <= high; }
};

OffsetRange offsetRange(std::span<const float> listed, int sense) {
    const std::size_t nd = listed.size();
    const double step = sense * kTurn / static_cast<double>(nd);
    OffsetRange range;
    range.low = -kTurn;
    range.high = kTurn;
    double sum = 0;
    for (std::size_t j = 0; j < nd; ++j) {
        const double own = angleOfListedBearing(listed[j]) - static_cast<double>(j) * step;
        if (j == 0) range.base = own;
        const double x = onHalfTurns(own - range.base);
        const double precision = listPrecision(std::fabs(static_cast<double>(listed[j])));
        range.low = std::max(range.low, x - precision);
        range.high = std::min(range.high, x + precision);
        sum += x;
    }
    range.mean = nd > 0 ? sum / static_cast<double>(nd) : 0.0;
    if (nd == 0) range.low = 1, range.high = 0;
    return range;
}

// Within the range, the value nearest its mean among whole degrees, else tenths,
// hundredths or thousandths of a degree; else the mean itself.
double simplestOffset(const OffsetRange& range) {
    const double mean = std::clamp(range.mean, range.low, range.high);
    for (double unit : {1.0, 0.1, 0.01, 0.001}) {
        const double unitRadians = unit / kDegreesPerRadian;
        const double absolute = (range.base + mean) / unitRadians;
        double best = NAN;
        for (double candidate : {std::floor(absolute), std::ceil(absolute)}) {
            const double x = candidate * unitRadians - range.base;
            if (x >= range.low && x <= range.high && !(std::fabs(x - mean) >= std::fabs(best - mean))) best = x;
        }
        if (!std::isnan(best)) return range.base + best;
    }
    return range.base + mean;
}

// Degrees with at most `decimals` decimals, trailing zeros dropped: 15, 14.4, 51.43.
std::string degreesText(double degrees, int decimals) {
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, degrees);
    std::string s = text;
    if (s.find('.') != std::string::npos) {
        while (s.back() == '0') s.pop_back();
        if (s.back() == '.') s.pop_back();
    }
    if (s == "-0") s = "0";
    return s;
}

std::string stepText(std::size_t nd) { return degreesText(360.0 / static_cast<double>(nd), 2); }

// The first values, then ", ..." when there are more.
template <typename Show>
std::string firstValues(std::span<const float> listed, Show show) {
    std::string text;
    for (std::size_t j = 0; j < std::min(listed.size(), kShownValues); ++j) {
        if (j > 0) text += ", ";
        text += show(listed[j]);
    }
    if (listed.size() > kShownValues) text += ", ...";
    return text;
}

std::string asListed(float value) {
    return shortestText(value);
}

std::string asBearing(float value) {
    double degrees = std::fmod(static_cast<double>(value) * kDegreesPerRadian, 360.0);
    if (degrees < 0) degrees += 360.0;
    const std::string text = degreesText(degrees, 1);
    return text == "360" ? "0" : text;
}

// What is wrong with a list that is not a regular grid in WW3's order.
std::string irregularity(const DirectionListVerdict& verdict, std::span<const float> listed) {
    const std::string step = stepText(listed.size());
    if (verdict.reversed) {
        return "the listed bearings increase by " + step +
               " degrees from one direction to the next, while WW3 lists them decreasing (counter-clockwise "
               "turns)";
    }
    return "the list is not a regular grid of " + step + "-degree steps in WW3's order (bearings of travel decreasing by " +
           step + " degrees from one direction to the next)";
}

std::string listedWords(std::span<const float> listed) {
    return "the list reads " + firstValues(listed, asListed) + " radians, that is bearings of travel " +
           firstValues(listed, asBearing) + " degrees";
}

}  // namespace

double angleOfListedBearing(double radians) {
    double angle = std::fmod(2.5 * std::numbers::pi - radians, kTurn);
    if (angle < 0) angle += kTurn;
    return angle;
}

DirectionListVerdict judgeDirectionList(std::span<const float> listedRadians) {
    DirectionListVerdict verdict;
    // A value that is no angle of at most a turn either way is no grid of any kind (and
    // a huge one would widen its own tolerance beyond any use).
    for (float value : listedRadians) {
        if (!(std::fabs(static_cast<double>(value)) <= kLargestListed)) {
            verdict.grid = DirectionGrid::Irregular;
            return verdict;
        }
    }
    const OffsetRange range = offsetRange(listedRadians, 1);
    if (!range.fits()) {
        verdict.grid = DirectionGrid::Irregular;
        verdict.reversed = listedRadians.size() > 2 && offsetRange(listedRadians, -1).fits();
        return verdict;
    }
    const double zero = onHalfTurns(-range.base);
    if (zero >= range.low && zero <= range.high) return verdict;
    verdict.grid = DirectionGrid::Offset;
    verdict.offset = onHalfTurns(simplestOffset(range));
    return verdict;
}

std::string directionListWarning(const DirectionListVerdict& verdict, std::span<const float> listedRadians) {
    const std::string step = stepText(listedRadians.size());
    if (verdict.grid == DirectionGrid::Irregular) {
        return "the direction list of the WW3 file is not as WW3 writes it: " + irregularity(verdict, listedRadians) +
               "; " + listedWords(listedRadians) + ". The converter places direction j at (j - 1) x " + step +
               " degrees counter-clockwise from east whatever the list says, so its mean directions and its half "
               "plane follow that grid; --header-directions refuses such a list";
    }
    if (verdict.grid != DirectionGrid::Offset) return "";
    const bool counterClockwise = verdict.offset > 0;
    const std::string turn = degreesText(std::fabs(verdict.offset) * kDegreesPerRadian, 3);
    const std::string sense = counterClockwise ? "counter-clockwise" : "clockwise";
    const std::string placed = counterClockwise ? turn + " + (j - 1) x " + step : "(j - 1) x " + step + " - " + turn;
    return "the directions of the WW3 file lie " + turn + " degrees " + sense +
           " of where the converter places them: its header lists the bearings of travel " +
           firstValues(listedRadians, asBearing) + " degrees, which WW3 writes for direction j at " + placed +
           " degrees counter-clockwise from east, while the converter takes (j - 1) x " + step +
           " degrees. So every mean direction written is " + turn + " degrees too " +
           (counterClockwise ? "large (turned clockwise)" : "small (turned counter-clockwise)") + ", ANGLE(1) is " +
           turn + " degrees too " + (counterClockwise ? "small" : "large") + ", and the half plane is centred " +
           turn + " degrees " + sense + " of the shore normal typed, as for a shoreline orientation " + turn +
           " degrees " + (counterClockwise ? "smaller" : "larger") +
           "; --header-directions places the directions as listed";
}

std::string directionOffsetWarning(const DirectionListVerdict& verdict) {
    if (verdict.grid != DirectionGrid::Offset) return "";
    const bool counterClockwise = verdict.offset > 0;
    const std::string turn = degreesText(std::fabs(verdict.offset) * kDegreesPerRadian, 3);
    return "the directions lie " + turn + " degrees " + (counterClockwise ? "counter-clockwise" : "clockwise") +
           " of the converter's grid: every mean direction written is " + turn + " degrees too " +
           (counterClockwise ? "large" : "small") + "; see --header-directions";
}

std::string directionListRefusal(const DirectionListVerdict& verdict, std::span<const float> listedRadians) {
    return "--header-directions cannot place the directions as listed: " + irregularity(verdict, listedRadians) +
           "; " + listedWords(listedRadians);
}

std::span<const float> listedDirections(const SpectralGrid& grid) {
    const auto count = static_cast<std::size_t>(std::clamp(grid.directionCount, 0, kMaxDirections));
    return std::span<const float>(grid.directions.data(), count);
}

}  // namespace ww3b
