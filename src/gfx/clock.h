// The one seam over SDL_GetTicks: tests and tools can stand a fake clock in.
#pragma once
#include <cstdint>

using TickSource = int32_t (*)();

// Milliseconds from the installed source (SDL_GetTicks by default).
int32_t ticksNow();
// nullptr restores SDL_GetTicks.
void setTickSource(TickSource source);
// Milliseconds from one reading to a later one, also across the counter's
// wrap after 49 days (an int's subtraction overflows after 24).
inline int32_t ticksBetween(int32_t earlier, int32_t later)
{
    return static_cast<int32_t>(static_cast<uint32_t>(later) - static_cast<uint32_t>(earlier));
}
