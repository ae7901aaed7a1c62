// A step's events made into sounds: which event plays which effect, where,
// how loud, how many events of a step are heard as one, and the engines.
#include <gtest/gtest.h>

#include <vector>
#include "app/match_sounds.h"
#include "sim/match_state.h"

namespace {

constexpr double WIDTH = 1000000000.0;  // world units across the arena
constexpr double MIDDLE_Y = 400000000.0; // inside the arena
const EngineInfo NO_ENGINES[PLAYER_COUNT] = {};

MatchEvent event(MatchEventKind kind, int player, int detail, double x = WIDTH / 2, double y = MIDDLE_Y)
{
    MatchEvent e;
    e.kind = kind;
    e.player = static_cast<int8_t>(player);
    e.detail = static_cast<uint8_t>(detail);
    e.position = Vec2{x, y};
    return e;
}

StepSounds plan(const std::vector<MatchEvent>& list, const EngineInfo engines[PLAYER_COUNT] = NO_ENGINES)
{
    StepEvents events;
    for (const MatchEvent& e : list)
        events.events[events.count++] = e;
    StepSounds sounds;
    planStepSounds(events, engines, sounds);
    return sounds;
}

} // namespace

TEST(MatchSounds, EachEventPlaysItsEffectOrNone)
{
    using K = MatchEventKind;
    using S = SoundEffect;
    struct Case {
        MatchEvent event;
        bool heard;
        SoundEffect effect;
    };
    const Case cases[] = {
        {event(K::SHOT_FIRED, 0, 0), true, S::FIRE_CORONA_DEVICE},
        {event(K::SHOT_FIRED, 1, 8), true, S::FIRE_MINES},
        {event(K::SHOT_FIRED, 1, 9), true, S::FIRE_ARMAGEDDON},
        {event(K::SHOT_FIRED, 0, 10), false, S::MENU_MOVE},
        {event(K::SHIELD_HIT, 0, 0), true, S::SHIELD_HOLDS},
        {event(K::SHIELD_HIT, 0, 1), true, S::SHIELD_BREAKS},
        {event(K::HULL_HIT, 1, 0), true, S::HULL_HIT},
        {event(K::SHOT_WENT_OFF, 0, 1), true, S::BLAST},
        {event(K::SHOT_WENT_OFF, 0, 0), false, S::MENU_MOVE},
        {event(K::SHIP_DESTROYED, 0, DEATH_BY_SHOT), true, S::SHIP_DESTROYED},
        {event(K::SHIP_DESTROYED, 1, DEATH_BY_PLANET), true, S::PLANET_CRASH},
        {event(K::SHIP_DESTROYED, 1, DEATH_BY_RAMMING), true, S::SHIP_DESTROYED},
        {event(K::RAMMING, -1, 0), true, S::RAMMING},
        {event(K::BOOST_STARTED, 0, 0), true, S::BOOST},
        {event(K::BANNER_SHOWN, -1, BANNER_KILL), true, S::KILL_STING},
        {event(K::BANNER_SHOWN, -1, BANNER_CRASH), false, S::MENU_MOVE},
        {event(K::NEW_MATCH, -1, 0), true, S::NEW_MATCH},
        {event(K::LIVES_CHANGED, 0, 2), false, S::MENU_MOVE},
        {event(K::KILLS_CHANGED, 1, 1), false, S::MENU_MOVE},
        {event(K::WEAPON_CHANGED, 1, 3), false, S::MENU_MOVE},
    };
    for (const Case& c : cases) {
        const StepSounds sounds = plan({c.event});
        const int row = static_cast<int>(&c - cases);
        ASSERT_EQ(sounds.count, c.heard ? 1 : 0) << "row " << row;
        if (c.heard) {
            EXPECT_EQ(sounds.sounds[0].effect, c.effect) << "row " << row;
        }
    }
}

TEST(MatchSounds, PlaceFollowsXAndOffTheArenaIsQuieter)
{
    struct Case {
        double x, y;
        float pan, volume; // volume 0: less than 1
    };
    const Case cases[] = {
        {0.0, MIDDLE_Y, 0.0f, 1.0f},         {WIDTH, MIDDLE_Y, 1.0f, 1.0f},   {WIDTH / 4, MIDDLE_Y, 0.25f, 1.0f},
        {-WIDTH / 2, MIDDLE_Y, 0.0f, 0.0f},  {WIDTH * 3, MIDDLE_Y, 1.0f, 0.0f}, {WIDTH / 2, -WIDTH, 0.5f, 0.0f},
    };
    for (const Case& c : cases) {
        const StepSounds sounds = plan({event(MatchEventKind::HULL_HIT, 0, 0, c.x, c.y)});
        ASSERT_EQ(sounds.count, 1);
        EXPECT_NEAR(sounds.sounds[0].pan, c.pan, 1e-6) << "x " << c.x;
        EXPECT_EQ(sounds.sounds[0].volume == 1.0f, c.volume == 1.0f) << "x " << c.x << " y " << c.y;
    }
    EXPECT_LT(volumeAt({-2 * WIDTH, MIDDLE_Y}), volumeAt({-WIDTH / 10, MIDDLE_Y})) << "the further, the quieter";
    // Announcements come from the middle, wherever the event stood.
    const StepSounds banner = plan({event(MatchEventKind::BANNER_SHOWN, -1, BANNER_KILL, 0.0, 0.0)});
    EXPECT_EQ(banner.sounds[0].pan, 0.5f);
    EXPECT_EQ(banner.sounds[0].volume, 1.0f);
}

TEST(MatchSounds, OneKindFromOnePlayerInAStepIsOneSound)
{
    using K = MatchEventKind;
    // Player 1's blasts, two at the left edge and a quiet one off the arena to the right.
    const StepSounds blasts = plan({event(K::SHOT_WENT_OFF, 0, 1, 0.0), event(K::SHOT_WENT_OFF, 0, 1, 0.0),
                                    event(K::SHOT_WENT_OFF, 0, 1, 2 * WIDTH), event(K::SHOT_WENT_OFF, 1, 1, WIDTH)});
    ASSERT_EQ(blasts.count, 2);
    EXPECT_EQ(blasts.sounds[0].volume, 1.0f);
    EXPECT_GT(blasts.sounds[0].pan, 0.0f);
    EXPECT_LT(blasts.sounds[0].pan, 0.5f) << "the loud ones on the left outweigh the quiet one";
    EXPECT_EQ(blasts.sounds[1].pan, 1.0f);
    // Both ships blown up in one frame: one blast between them.
    const StepSounds both = plan({event(K::SHIP_DESTROYED, 0, DEATH_BY_RAMMING, WIDTH * 0.4),
                                  event(K::SHIP_DESTROYED, 1, DEATH_BY_RAMMING, WIDTH * 0.6)});
    ASSERT_EQ(both.count, 2) << "each ship's own blast";
    // An engine runs while its living ship thrusts.
    const EngineInfo engines[PLAYER_COUNT] = {{true, 0.0, true}, {true, WIDTH, false}};
    EXPECT_TRUE(plan({}, engines).engines[0].running);
    EXPECT_FALSE(plan({}, engines).engines[1].running) << "a dead ship's engine";
}
