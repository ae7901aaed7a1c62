// The one seam over SDL_GetTicks: tests and tools can stand a fake clock in.
#pragma once
#include <cstdint>

using TickSource = int32_t (*)();

// Milliseconds from the installed source (SDL_GetTicks by default).
int32_t ticksNow();
// nullptr restores SDL_GetTicks.
void setTickSource(TickSource source);
