#include "pilot/pilot_skill.h"

#include <cstring>

namespace {

constexpr const char* LEVEL_NAMES[PILOT_LEVEL_COUNT] = {"easy", "normal", "hard"};

constexpr PilotSkill SKILLS[PILOT_LEVEL_COUNT] = {
    // easy: late, shaky, never dodges, and sees trouble coming late
    {380, 0.16, 0, false, 1.0, 22.0, 2.2, 1500},
    // normal
    {170, 0.06, 1, true, 1.6, 30.0, 1.4, 600},
    // hard
    {0, 0.0, 2, true, 2.2, 38.0, 0.9, 150},
};

} // namespace

const PilotSkill& skillOf(PilotLevel level) { return SKILLS[static_cast<int>(level)]; }

bool pilotLevelFromName(const char* name, PilotLevel& level)
{
    for (int i = 0; i < PILOT_LEVEL_COUNT; ++i)
        if (std::strcmp(name, LEVEL_NAMES[i]) == 0) {
            level = static_cast<PilotLevel>(i);
            return true;
        }
    return false;
}

const char* pilotLevelName(PilotLevel level) { return LEVEL_NAMES[static_cast<int>(level)]; }
