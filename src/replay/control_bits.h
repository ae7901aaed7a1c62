// The control flags of a frame as one number: a bit per flag.
#pragma once
#include <cstdint>
#include "sim/match_controls.h"

constexpr int CONTROL_BIT_COUNT = 27;

uint32_t packControls(const ControlState& controls);
// Only the low CONTROL_BIT_COUNT bits are read.
ControlState unpackControls(uint32_t bits);
