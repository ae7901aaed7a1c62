// The computer pilot: flies one player's ship by producing, once per frame,
// the control flags that player's keys would produce. It reads the match as
// a player sees it on screen and never changes it.
#pragma once
#include <cstdint>
#include "pilot/aim.h"
#include "pilot/forecast.h"
#include "pilot/pilot_keys.h"
#include "pilot/pilot_random.h"
#include "pilot/pilot_skill.h"
#include "sim/match_state.h"

// The plan a pilot follows between two of its decisions.
struct PilotPlan {
    double course = 0.0;        // heading to turn to, radians
    bool thrust = false;        // thrust once the heading is within thrustCone of the course
    double thrustCone = 0.0;
    bool fire = false;          // fire once the heading is within fireCone of aimHeading
    double aimHeading = 0.0;
    double fireCone = 0.0;
    bool reload = false;
};

struct Pilot {
    int player = 0;
    PilotLevel level = PilotLevel::Normal;
    PilotRandom random;
    PilotPlan plan;
    int sincePlanMs = 0;          // ms since the plan was made
    int sinceWeaponThoughtMs = 0; // ms since the weapons were weighed
    bool planned = false;         // a first plan exists
    double aimError = 0.0;        // radians, drawn with each plan
    bool correcting = false;      // flying a course correction rather than aiming
    bool escaping = false;        // steering away from a planet
    int boostDirection = 0;       // of the boost being held
    int boostLeftMs = 0;
    int wantedSlot = 0;
    double preferredRange = 0.0;  // world units from the opponent
    int mapIndex = -1;            // what the reaches were measured for
    int shipIndex = -1;
    ContactReaches reaches;
    HeldKeys held;
    PlanetForecast forecast;      // working space of each decision
    TargetPath targetPath;
};

void startPilot(Pilot& pilot, int player, PilotLevel level, uint32_t matchSeed);
// One frame's decision for the pilot's player: fills that player's flags only.
void pilotFrame(Pilot& pilot, const MatchState& m, const MatchContent& c, PlayerControls& controls,
                WeaponCycling& cycling);

// The players of a match that the computer flies.
struct PilotSeats {
    bool flown[PLAYER_COUNT] = {};
    Pilot pilots[PLAYER_COUNT];
};

void seatPilot(PilotSeats& seats, int player, PilotLevel level, uint32_t matchSeed);
// Replaces the flown players' flags, whatever the keys gave, with their pilots' decisions.
void flyPilots(PilotSeats& seats, const MatchState& m, const MatchContent& c, ControlState& controls);
