#include "fire.h"

#include <algorithm>

namespace {

constexpr int STOPS = 5;

Rgb ramp(const Rgb (&stops)[STOPS], double heat)
{
    const double scaled = std::clamp(heat, 0.0, 1.0) * (STOPS - 1);
    const int i = std::min(STOPS - 2, static_cast<int>(scaled));
    return mix(stops[i], stops[i + 1], scaled - i);
}

} // namespace

Rgb fireColour(double heat)
{
    static constexpr Rgb STOPS_FIRE[STOPS] = {{90, 20, 10}, {200, 50, 15}, {250, 140, 30}, {255, 220, 90}, {255, 255, 235}};
    return ramp(STOPS_FIRE, heat);
}

Rgb laserColour(double heat)
{
    static constexpr Rgb STOPS_LASER[STOPS] = {{20, 90, 40}, {30, 170, 60}, {70, 235, 90}, {170, 255, 170}, {240, 255, 240}};
    return ramp(STOPS_LASER, heat);
}
