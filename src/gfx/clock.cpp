#include "gfx/clock.h"

#include <SDL/SDL.h>

static int32_t sdlTicks() { return static_cast<int32_t>(SDL_GetTicks()); }

static TickSource tickSource = sdlTicks;

int32_t ticksNow() { return tickSource(); }

void setTickSource(TickSource source) { tickSource = source ? source : sdlTicks; }
