// Millisecond ticks of the clock the match and the menus run on.
#pragma once
#include <cstdint>

// Milliseconds from one reading to a later one, also across the counter's
// wrap after 49 days (an int's subtraction overflows after 24).
inline int32_t ticksBetween(int32_t earlier, int32_t later)
{
    return static_cast<int32_t>(static_cast<uint32_t>(later) - static_cast<uint32_t>(earlier));
}
