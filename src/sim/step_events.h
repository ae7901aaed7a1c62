// What one step of the match did, reported as plain data: the presentation,
// the sound and the tools react after the step instead of being called from
// inside the rules, so a step taken again reports again and changes nothing.
#pragma once
#include <cstdint>
#include "sim/geometry.h"

enum class MatchEventKind : uint8_t {
    SHOT_FIRED,     // player fired a volley; detail: the weapon's row in the weapon table
    SHIELD_HIT,     // a shot entered player's bubble; detail: 1 when the shield broke
    HULL_HIT,       // a shot or a blast hurt player's hull
    SHOT_WENT_OFF,  // a shot went off (end of flight, planet or ship); detail: 1 when it blasts
    SHIP_DESTROYED, // player died; other: who scores (-1: nobody); detail: a DeathCause
    BOOST_STARTED,  // player's boost began
    LIVES_CHANGED,  // player's lives
    KILLS_CHANGED,  // player's kills
    WEAPON_CHANGED, // player's selected weapon
    BANNER_SHOWN,   // the message banner was (re)started; detail: its BannerKind
    NEW_MATCH,      // lives and kills were reset for a new match
    RAMMING,        // the ships rammed each other, whether or not either died
};

enum DeathCause : uint8_t { DEATH_BY_SHOT = 0, DEATH_BY_PLANET = 1, DEATH_BY_RAMMING = 2 };

// Plain, without defaults: a step starts with room for many and fills only what it reports.
struct MatchEvent {
    MatchEventKind kind;
    int8_t player; // 0 or 1; -1 for events of the whole match
    int8_t other;
    uint8_t detail;
    Vec2 position; // world units: where it happened (the ship, or the shot)
};

// Shot effects beyond the capacity are counted, not kept; the few events of
// lives, kills, weapons, deaths and the banner always find room.
constexpr int STEP_EVENT_CAPACITY = 256;
constexpr int STEP_EVENT_RESERVE = 16; // slots only those events may take

struct StepEvents {
    int32_t count = 0;
    int32_t dropped = 0; // shot effects that found no room
    MatchEvent events[STEP_EVENT_CAPACITY]; // the first count are filled
};

void report(StepEvents& events, const MatchEvent& event);
void report(StepEvents& events, MatchEventKind kind, int player, const Vec2& position = Vec2{}, int detail = 0,
            int other = -1);
