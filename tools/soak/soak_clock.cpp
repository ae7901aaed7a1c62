#include "soak_clock.h"

#include <SDL/SDL.h>
#include <atomic>

namespace {

std::atomic<uint64_t> readings{0};

} // namespace

int32_t countedTicks()
{
    readings.fetch_add(1, std::memory_order_relaxed);
    return static_cast<int32_t>(SDL_GetTicks());
}

uint64_t tickReadings() { return readings.load(std::memory_order_relaxed); }
