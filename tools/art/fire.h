// The colour ramps of things that burn or glow, from cold (heat 0) to white
// hot (heat 1).
#pragma once
#include "image.h"

Rgb fireColour(double heat);  // ember red, orange, yellow, white
Rgb laserColour(double heat); // deep green to green-white
