// The three skills of the computer pilot: one way of flying, with slower
// reactions and a less steady hand further down.
#pragma once

enum class PilotLevel { Easy, Normal, Hard };
constexpr int PILOT_LEVEL_COUNT = 3;

struct PilotSkill {
    int reactionMs = 0;          // the plan (aim point, course, weapon) is renewed this often; 0: every frame
    double aimErrorRad = 0.0;    // largest aim error, drawn anew with each plan
    int leadRefinements = 0;     // corrections of the lead for gravity and shot engines
    bool dodges = false;         // boosts out of the way of shots
    double lookAheadS = 0.0;     // how far ahead its own path is checked for planets
    double planetMarginPx = 0.0; // how close it lets itself come to a planet
    double fireTolerance = 1.0;  // how far off target it still fires, in target radii
    int weaponThinkMs = 0;       // how often it weighs its weapons
};

const PilotSkill& skillOf(PilotLevel level);
// "easy", "normal" or "hard" (case-sensitive). Returns false for anything else.
bool pilotLevelFromName(const char* name, PilotLevel& level);
const char* pilotLevelName(PilotLevel level);
