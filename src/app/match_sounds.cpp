#include "app/match_sounds.h"

#include <algorithm>
#include <cmath>
#include "sim/match_state.h"

namespace {

constexpr float OFF_ARENA_VOLUME = 0.4f;  // just past an edge; halved again an arena's width further out
constexpr float MIDDLE = 0.5f;
constexpr int8_t WHOLE_MATCH = -1;

static_assert(FIRING_SOUND_COUNT == WEAPON_COUNT, "a firing sound for each row of the weapon table");
static_assert(ENGINE_VOICES == PLAYER_COUNT, "an engine loop for each player");

// How far outside the arena a point lies, in world units along the furthest axis; 0 inside.
double distanceOutside(const WorldRect& arena, const Vec2& p)
{
    const double dx = std::max({arena.x - p.x, p.x - (arena.x + arena.w), 0.0});
    const double dy = std::max({arena.y - p.y, p.y - (arena.y + arena.h), 0.0});
    return std::max(dx, dy);
}

// Announcements of the whole match come from the middle at full volume.
bool announces(SoundEffect effect) { return effect == SoundEffect::KILL_STING || effect == SoundEffect::NEW_MATCH; }

// Whose sound an event makes: events of one owner and kind in a step are heard as one.
int8_t ownerOf(const MatchEvent& event, SoundEffect effect)
{
    return effect == SoundEffect::RAMMING || announces(effect) ? WHOLE_MATCH : event.player;
}

struct Gathered {
    int8_t owner = WHOLE_MATCH;
    float panTimesVolume = 0.0f; // summed, for the mean pan
    float volumes = 0.0f;
};

} // namespace

float panOf(double x)
{
    const WorldRect arena = makeArenaRect();
    return static_cast<float>(std::clamp((x - arena.x) / arena.w, 0.0, 1.0));
}

float volumeAt(const Vec2& position)
{
    const WorldRect arena = makeArenaRect();
    const double outside = distanceOutside(arena, position);
    if (outside <= 0.0)
        return 1.0f;
    return static_cast<float>(OFF_ARENA_VOLUME / (1.0 + outside / arena.w));
}

bool effectOf(const MatchEvent& event, SoundEffect& effect)
{
    switch (event.kind) {
    case MatchEventKind::SHOT_FIRED:
        effect = static_cast<SoundEffect>(event.detail);
        return event.detail < FIRING_SOUND_COUNT;
    case MatchEventKind::SHIELD_HIT:
        effect = event.detail ? SoundEffect::SHIELD_BREAKS : SoundEffect::SHIELD_HOLDS;
        return true;
    case MatchEventKind::HULL_HIT: effect = SoundEffect::HULL_HIT; return true;
    case MatchEventKind::SHOT_WENT_OFF: effect = SoundEffect::BLAST; return event.detail != 0;
    case MatchEventKind::SHIP_DESTROYED:
        effect = event.detail == DEATH_BY_PLANET ? SoundEffect::PLANET_CRASH : SoundEffect::SHIP_DESTROYED;
        return true;
    case MatchEventKind::RAMMING: effect = SoundEffect::RAMMING; return true;
    case MatchEventKind::BOOST_STARTED: effect = SoundEffect::BOOST; return true;
    case MatchEventKind::BANNER_SHOWN: effect = SoundEffect::KILL_STING; return event.detail == BANNER_KILL;
    case MatchEventKind::NEW_MATCH: effect = SoundEffect::NEW_MATCH; return true;
    case MatchEventKind::LIVES_CHANGED:
    case MatchEventKind::KILLS_CHANGED:
    case MatchEventKind::WEAPON_CHANGED: return false;
    }
    return false;
}

void planStepSounds(const StepEvents& events, const EngineInfo engines[PLAYER_COUNT], StepSounds& plan)
{
    plan.count = 0;
    Gathered gathered[STEP_EVENT_CAPACITY];
    for (int i = 0; i < std::min(events.count, STEP_EVENT_CAPACITY); ++i) {
        const MatchEvent& event = events.events[i];
        SoundEffect effect = SoundEffect::MENU_MOVE;
        if (!effectOf(event, effect))
            continue;
        const int8_t owner = ownerOf(event, effect);
        const float pan = announces(effect) ? MIDDLE : panOf(event.position.x);
        const float volume = announces(effect) ? 1.0f : volumeAt(event.position);
        int s = 0;
        while (s < plan.count && (plan.sounds[s].effect != effect || gathered[s].owner != owner))
            ++s;
        if (s == plan.count)
            plan.sounds[plan.count++] = EffectRequest{effect, pan, 0.0f};
        gathered[s].owner = owner;
        gathered[s].panTimesVolume += pan * volume;
        gathered[s].volumes += volume;
        plan.sounds[s].volume = std::max(plan.sounds[s].volume, volume);
        plan.sounds[s].pan = gathered[s].panTimesVolume / gathered[s].volumes;
    }
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        const EngineInfo& e = engines[p];
        plan.engines[p] = EngineRequest{e.thrusting && e.alive, panOf(e.x), volumeAt(Vec2{e.x, makeArenaRect().y})};
    }
}

void playStepSounds(const StepEvents& events, const EngineInfo engines[PLAYER_COUNT])
{
    if (!effectsLoaded())
        return;
    StepSounds plan;
    planStepSounds(events, engines, plan);
    playEffects(plan.sounds, plan.count, plan.engines);
}
