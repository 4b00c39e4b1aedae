#include "model/direction_convention.hpp"

namespace ww3b {

float toCompassDegrees(double radians) {
    const double degrees = radians / static_cast<double>(kRadiansPerDegree);
    float compass = static_cast<float>(270.0 - degrees);
    // One correction only: atan2 keeps the angle within (-180, 180], so 360 itself stays.
    if (compass > 360.0f) {
        compass = static_cast<float>(static_cast<double>(compass) - 360.0);
    }
    return compass;
}

}  // namespace ww3b
