#pragma once
// How the converter places and writes directions: input direction j (from 0) stands at
// j times the direction step, counter-clockwise from the first direction of the file, and
// every written direction is a compass direction worked out by toCompassDegrees.

namespace ww3b {

// A full turn in radians, as the single-precision constant that every direction step uses.
inline constexpr float kFullTurnRadians = 6.2831855f;

// Degrees to radians, as the single-precision constant used in every angle.
inline constexpr float kRadiansPerDegree = 0.017453292f;

// The angle in radians of direction j (from 0): j times the step, in double, the step
// widened exactly.
inline double directionAngle(float directionStep, int j) {
    return static_cast<double>(j) * static_cast<double>(directionStep);
}

// The written compass direction of a mathematical angle: 270 minus the angle in degrees,
// less 360 when above 360 (so that 360 stays 360).
float toCompassDegrees(double radians);

}  // namespace ww3b
