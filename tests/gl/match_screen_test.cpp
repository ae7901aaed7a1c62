// The real game started in its folder, driven pass by pass through the frame
// loop with the control flags and the clock set by the test.
#include <SDL/SDL.h>
#include <gtest/gtest.h>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>
#include "app/game.h"
#include "draw/scene.h"
#include "gfx/clock.h"
#include "gfx/sprite.h"
#include "draw/catalogue_pictures.h"
#include "sim/match_rules.h"
#include "sim/match_setup.h"
#include "sim/random.h"
#include "sim/weapons.h"

namespace {

int32_t fakeNowMs = 0;
int32_t fakeClock() { return fakeNowMs; }

constexpr int PASS_MS = 10;
constexpr int NEW_EARTH = 0;
constexpr int DEEP_SPACE = 1; // no planets: nothing pulls or gets in the way
constexpr int PLENTY_OF_LIVES = 50; // no player runs out, so the menu never opens

// What the game showed of each step, as its observer is told it.
struct EventRecorder {
    const Game* game = nullptr;
    std::vector<std::string> messages; // the banner's text after each step that showed one
    int livesChanged[PLAYER_COUNT] = {};
    int killsChanged[PLAYER_COUNT] = {};
    int weaponChanged[PLAYER_COUNT] = {};

    void note(const StepEvents& events)
    {
        for (int i = 0; i < events.count; ++i) {
            const MatchEvent& e = events.events[i];
            if (e.kind == MatchEventKind::LIVES_CHANGED)
                ++livesChanged[e.player];
            else if (e.kind == MatchEventKind::KILLS_CHANGED)
                ++killsChanged[e.player];
            else if (e.kind == MatchEventKind::WEAPON_CHANGED)
                ++weaponChanged[e.player];
            else if (e.kind == MatchEventKind::BANNER_SHOWN) {
                char text[MESSAGE_BUFFER_SIZE];
                bannerText(*game->match, *game->content, text);
                messages.push_back(text);
            }
        }
    }
};

// The back buffer, top-down, RGBA.
struct Screen {
    std::vector<uint8_t> rgba = std::vector<uint8_t>(PLAYFIELD_WIDTH * PLAYFIELD_HEIGHT * 4);

    static Screen grab()
    {
        Screen s;
        std::vector<uint8_t> bottomUp(s.rgba.size());
        glReadBuffer(GL_BACK);
        glReadPixels(0, 0, PLAYFIELD_WIDTH, PLAYFIELD_HEIGHT, GL_RGBA, GL_UNSIGNED_BYTE, bottomUp.data());
        const size_t row = PLAYFIELD_WIDTH * 4;
        for (int y = 0; y < PLAYFIELD_HEIGHT; ++y)
            std::memcpy(&s.rgba[y * row], &bottomUp[(PLAYFIELD_HEIGHT - 1 - y) * row], row);
        return s;
    }
    const uint8_t* at(int x, int y) const { return &rgba[(y * PLAYFIELD_WIDTH + x) * 4]; }
};

struct Box {
    int left, top, right, bottom; // inclusive
    bool holds(int x, int y) const { return left <= x && x <= right && top <= y && y <= bottom; }
};

// Pixels that differ between two screens, inside and outside a box.
struct Difference {
    int inside = 0, outside = 0;
    long insideSum = 0; // summed channel differences inside
};

Difference differenceOf(const Screen& a, const Screen& b, const Box& box)
{
    Difference d;
    for (int y = 0; y < PLAYFIELD_HEIGHT; ++y)
        for (int x = 0; x < PLAYFIELD_WIDTH; ++x) {
            int sum = 0;
            for (int c = 0; c < 3; ++c)
                sum += std::abs(a.at(x, y)[c] - b.at(x, y)[c]);
            if (sum == 0)
                continue;
            if (box.holds(x, y)) {
                ++d.inside;
                d.insideSum += sum;
            } else {
                ++d.outside;
            }
        }
    return d;
}

// A catalogue texel (after colour keying) as RGBA.
const uint8_t* texel(int index, int x, int y)
{
    const Texture* t = catalogue[index].texture;
    return &t->pixels[(x + y * t->textureWidth) * 4];
}

bool sameColour(const uint8_t* a, const uint8_t* b, int tolerance = 3)
{
    for (int c = 0; c < 3; ++c)
        if (std::abs(a[c] - b[c]) > tolerance)
            return false;
    return true;
}

// One start-up for the whole program: the sound library cannot be shut down and
// started again in one process without corrupting its heap. Every test starts
// a new match instead.
class ScriptedMatch : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        fakeNowMs = 100000;
        setTickSource(fakeClock);
        // The X server here refuses a connection now and then; once video is up,
        // start-up's own SDL_Init finds it running.
        for (int tries = 0; tries < 10 && SDL_Init(SDL_INIT_VIDEO) != 0; ++tries)
            SDL_Delay(50);
        game = new Game;
        const char* argv[] = {"zentavor", "-w", "-nm"};
        ASSERT_TRUE(startUp(*game, 3, argv));
        texturesAtStart = liveTextureCount();
    }

    static void TearDownTestSuite()
    {
        setTickSource(nullptr);
        freeMatchTexts(game->texts);
        freeTextureCatalogue();
        closeFonts(game->fonts);
        soundShutdown(game->music);
        SDL_Quit();
        delete game;
        game = nullptr;
    }

    void SetUp() override
    {
        ASSERT_NE(game, nullptr);
        // The same ships and weapons whatever the game folder's config.cfg holds.
        MatchChoices choices;
        for (int p = 0; p < PLAYER_COUNT; ++p)
            std::memcpy(choices.names[p], m().nameBuffers[p], NAME_BUFFER_SIZE);
        choices.mapIndex = m().currentMapIndex;
        choices.lives = PLENTY_OF_LIVES;
        const int32_t arsenal[PLAYER_COUNT][WEAPON_SLOTS] = {{1, 3, 5, 8, 0}, {7, 2, 4, 6, 9}};
        std::memcpy(choices.weapons, arsenal, sizeof arsenal);
        makeMasksOfShips(content(), choices.shipIndex, PLAYER_COUNT, rotatedCataloguePictures());
        setUpMatch(m(), content(), choices);
        game->lastTicks = ticksNow();
        seedRandom(m().random, 2024);
        recorder.game = game;
        game->observer.context = &recorder;
        game->observer.eventsShown = [](void* r, const StepEvents& events) {
            static_cast<EventRecorder*>(r)->note(events);
        };
    }

    // Nothing may point at this test's recorder once it is gone.
    void TearDown() override { game->observer = GameObserver{}; }

    static MatchState& m() { return *game->match; }
    static MatchContent& content() { return *game->content; }

    void useMap(int index) { putMapInPlay(m(), content().maps[index]); }

    // A ship at rest at a pixel position, facing the given angle.
    void place(int i, double xPx, double yPx, double heading = 0.0)
    {
        ShipBody& body = m().players[i].body;
        body.position = Vec2{pixels(xPx), pixels(yPx)};
        body.velocity = PolarVec{};
        body.heading = PolarVec{1.0, heading};
        body.insideArena = insideRect(m().arenaRect, body.position);
        m().players[i].rotationFrame = rotationFrameOf(heading);
    }

    // Passes of the real frame loop, 10 ms apart, with the keys the script holds.
    void passes(int count, const std::function<void(ControlState&, int pass)>& keys = nullptr)
    {
        for (int pass = 0; pass < count; ++pass) {
            fakeNowMs += PASS_MS;
            ControlState controls;
            if (keys)
                keys(controls, pass);
            runPassFromControls(*game, controls);
        }
    }

    // Passes until the condition holds, at most limit; returns whether it did.
    bool passesUntil(const std::function<bool()>& done, int limit,
                     const std::function<void(ControlState&, int pass)>& keys = nullptr)
    {
        for (int pass = 0; pass < limit && !done(); ++pass)
            passes(1, [&](ControlState& c, int) {
                if (keys)
                    keys(c, pass);
            });
        return done();
    }

    // Whether a sprite holds exactly the given text as rendered with the font.
    static bool shows(const Sprite& sprite, const char* text, TTF_Font* font)
    {
        Sprite expected;
        renderText(expected, text, font);
        bool same = sprite.texture && expected.texture && sprite.texture->width == expected.texture->width &&
                    sprite.texture->height == expected.texture->height;
        for (uint32_t y = 0; same && y < expected.texture->height; ++y)
            same = std::memcmp(&sprite.texture->pixels[y * sprite.texture->textureWidth * 4],
                               &expected.texture->pixels[y * expected.texture->textureWidth * 4],
                               expected.texture->width * 4) == 0;
        clearSprite(expected);
        return same;
    }

    std::vector<std::string> tauntsOf(int killer, int victim)
    {
        std::vector<std::string> taunts;
        for (const KillMessage& k : content().killMessages)
            taunts.push_back(std::string(m().nameBuffers[killer]) + k.verb + m().nameBuffers[victim] + k.phrase);
        return taunts;
    }

    // The frame as drawn from the present state, without stepping it.
    Screen drawnFrame()
    {
        drawGameFrame(*game, fakeNowMs);
        return Screen::grab();
    }

    static Game* game;
    static int texturesAtStart;
    EventRecorder recorder;
    StepEvents events; // of changes a test makes by hand
};

Game* ScriptedMatch::game = nullptr;
int ScriptedMatch::texturesAtStart = 0;

TEST_F(ScriptedMatch, KillByAShotCreditsTheKillerTauntsAndRerendersTheLabels)
{
    useMap(DEEP_SPACE);
    const int32_t weapons[WEAPON_SLOTS] = {4, 1, 7, 3, 8}; // Alpha Cannon first
    equipWeapons(m().players[0], weapons, content().fireStates);
    place(0, 300, 400);
    place(1, 450, 400);
    m().players[1].hull = 1.0;
    m().players[1].shield = 0.0;
    ASSERT_TRUE(passesUntil([&] { return m().players[1].lifeState != ALIVE; }, 100,
                            [](ControlState& c, int) { c.players[0].fire = true; }));

    EXPECT_EQ(m().players[0].kills, 1);
    EXPECT_EQ(m().players[1].kills, 0);
    EXPECT_EQ(m().players[1].lives, PLENTY_OF_LIVES - 1);
    EXPECT_EQ(m().players[0].lives, PLENTY_OF_LIVES);
    ASSERT_EQ(recorder.messages.size(), 1u);
    const std::vector<std::string> taunts = tauntsOf(0, 1);
    EXPECT_NE(std::find(taunts.begin(), taunts.end(), recorder.messages[0]), taunts.end()) << recorder.messages[0];
    EXPECT_TRUE(shows(game->texts.banner, recorder.messages[0].c_str(), game->fonts.messageFont));
    EXPECT_EQ(recorder.killsChanged[0], 1);
    EXPECT_EQ(recorder.livesChanged[1], 1);
    EXPECT_TRUE(shows(game->texts.players[0].kills, "1", game->fonts.hudFont));
    EXPECT_TRUE(shows(game->texts.players[1].lives, std::to_string(PLENTY_OF_LIVES - 1).c_str(), game->fonts.hudFont));
    EXPECT_EQ(liveTextureCount(), texturesAtStart);

    // The banner drops by twice the frame time, from the pass of the kill on: gone
    // 160 passes of 10 ms later.
    EXPECT_EQ(m().bannerTimer, BANNER_SHOW_MS - 2 * PASS_MS);
    passes(160 - 2);
    EXPECT_GT(m().bannerTimer, 0);
    passes(1);
    EXPECT_EQ(m().bannerTimer, 0);
    // The step ended the explosion, and the next flight step placed the ship again.
    ASSERT_TRUE(passesUntil([&] { return m().players[1].lifeState == ALIVE; }, 300));
    EXPECT_EQ(m().players[1].hull, m().players[1].maxHull);
}

TEST_F(ScriptedMatch, OwnShotCostsALifeCreditsNobodyAndLeavesTheBanner)
{
    useMap(DEEP_SPACE);
    place(0, 300, 400);
    place(1, 800, 600);
    announceCrash(m(), events, 1);
    drawnFrame();
    const std::string earlier = std::string(m().nameBuffers[1]) + " tries to land";
    const Texture* bannerBefore = game->texts.banner.texture;
    Player& p1 = m().players[0];
    p1.hull = 1.0;
    p1.shield = 0.0;
    // A minigun round of player 1 flying back at its own ship.
    const ShotPools pools{m().projectiles, m().explosions};
    spawnVolley(Vec2{pixels(360), pixels(400)}, PolarVec{}, 0.0, pixels(600), PI, 0.0, 1, false,
                Volley{&weaponInSlot(content(), p1, 1), 0}, pools, m().random, fakeNowMs);
    ASSERT_TRUE(passesUntil([&] { return p1.lifeState != ALIVE; }, 100));

    EXPECT_EQ(p1.lives, PLENTY_OF_LIVES - 1);
    EXPECT_EQ(p1.kills, 0);
    EXPECT_EQ(m().players[1].kills, 0);
    EXPECT_EQ(recorder.livesChanged[0], 1);
    EXPECT_EQ(recorder.killsChanged[0] + recorder.killsChanged[1], 0);
    EXPECT_TRUE(recorder.messages.empty());
    EXPECT_EQ(game->texts.banner.texture, bannerBefore) << "a banner that still says the same is not rendered again";
    EXPECT_TRUE(shows(game->texts.banner, earlier.c_str(), game->fonts.messageFont));
    EXPECT_TRUE(shows(game->texts.players[0].lives, std::to_string(PLENTY_OF_LIVES - 1).c_str(), game->fonts.hudFont));
}

TEST_F(ScriptedMatch, CrashIntoAPlanetShowsTriesToLand)
{
    useMap(NEW_EARTH);
    passes(1); // the orbit step places the planets
    const Vec2 earth = m().planetBodies[currentMap(m(), content()).planets[0].bodySlot].position;
    place(0, worldToPixel(earth.x), worldToPixel(earth.y) - 40);
    place(1, 900, 700);
    passes(1);
    EXPECT_EQ(m().players[0].lifeState, EXPLODING);
    EXPECT_EQ(m().players[0].lives, PLENTY_OF_LIVES - 1);
    const std::string expected = std::string(m().nameBuffers[0]) + " tries to land";
    EXPECT_EQ(recorder.messages, std::vector<std::string>{expected});
    EXPECT_TRUE(shows(game->texts.banner, expected.c_str(), game->fonts.messageFont));
}

TEST_F(ScriptedMatch, RammingThatDestroysShowsOuch)
{
    useMap(DEEP_SPACE);
    place(0, 400, 400);
    place(1, 430, 400);
    m().players[0].body.velocity = PolarVec{pixels(400), 0.0};
    m().players[1].body.velocity = PolarVec{pixels(400), PI};
    m().players[1].hull = 1e-9;
    ASSERT_TRUE(passesUntil([&] { return m().players[1].lifeState != ALIVE; }, 20));
    EXPECT_EQ(m().players[1].lives, PLENTY_OF_LIVES - 1);
    EXPECT_EQ(m().players[0].kills + m().players[1].kills, 0);
    ASSERT_FALSE(recorder.messages.empty());
    for (const std::string& message : recorder.messages)
        EXPECT_EQ(message, "Ouch! Thats gotta hurt");
    EXPECT_TRUE(shows(game->texts.banner, "Ouch! Thats gotta hurt", game->fonts.messageFont));
}

TEST_F(ScriptedMatch, HundredsOfFramesOfFightingKeepTheTextureCount)
{
    useMap(NEW_EARTH);
    place(0, 250, 250);
    place(1, 750, 550, PI);
    const auto fight = [this](ControlState& c, int pass) {
        // Every 150 passes the two meet face to face, nearly wrecked, in a
        // corner well away from the earth and the moon's orbit.
        if (pass % 150 == 0 && m().players[0].lifeState == ALIVE && m().players[1].lifeState == ALIVE) {
            place(0, 100, 650);
            place(1, 240, 650, PI);
            for (Player& p : m().players)
                p.hull = 0.5;
        }
        for (int i = 0; i < PLAYER_COUNT; ++i) {
            PlayerControls& p = c.players[i];
            p.fire = true;
            p.thrust = pass % 150 > 60 && pass % 150 < 80;
            p.thrustPressed = pass % 150 == 61;
            p.turnLeft = i == 0 && pass % 150 > 100;
            p.turnRight = i == 1 && pass % 150 > 110;
            // Now and then a weapon switch.
            if (pass % 45 == 30 + i) {
                p.weaponModifier = true;
                c.cycling[i].nextWeapon = true;
            }
        }
    };
    passes(900, fight);

    EXPECT_EQ(liveTextureCount(), texturesAtStart);
    int deaths = 0;
    for (int i = 0; i < PLAYER_COUNT; ++i) {
        EXPECT_GT(recorder.weaponChanged[i], 10) << "player " << i + 1;
        deaths += PLENTY_OF_LIVES - m().players[i].lives;
    }
    EXPECT_GE(deaths, 4);
    EXPECT_GE(m().players[0].kills + m().players[1].kills, 2);
    EXPECT_FALSE(recorder.messages.empty());
}

TEST_F(ScriptedMatch, ScreenShowsThePanelAndItsBars)
{
    useMap(DEEP_SPACE);
    place(0, 300, 400);
    place(1, 700, 400, PI);
    m().players[0].hull = m().players[0].maxHull / 2;
    for (Player& p : m().players) {
        p.energy = p.maxEnergy;
        p.fireStates[p.currentSlot].ammoLeft = p.fireStates[p.currentSlot].clipSize;
    }
    const Screen screen = drawnFrame();
    // The panel at its place: most opaque texels of the picture are on screen where
    // they belong (bars and labels cover the rest), and more of them than with the
    // picture shifted by a pixel in any direction.
    const Sprite& panel = catalogue[50];
    const int left = 512 - static_cast<int>(panel.halfWidth);
    const int top = 22 - static_cast<int>(panel.halfHeight);
    const auto matchingAt = [&](int dx, int dy) {
        int matching = 0;
        for (uint32_t y = 1; y + 1 < panel.texture->height; ++y)
            for (uint32_t x = 1; x + 1 < panel.texture->width; ++x)
                if (texel(50, x, y)[3] == 255 && sameColour(screen.at(left + x + dx, top + y + dy), texel(50, x, y)))
                    ++matching;
        return matching;
    };
    const int inPlace = matchingAt(0, 0);
    EXPECT_GT(inPlace, PLAYFIELD_WIDTH * 45 * 8 / 10);
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (dx != 0 || dy != 0) {
                EXPECT_GT(inPlace, matchingAt(dx, dy)) << dx << "," << dy;
            }
    // Half hull: 48 yellow segments from x 91, 3 pixels apart; player 2 full and green.
    const Sprite& yellow = catalogue[42];
    const uint8_t* yellowTexel = texel(42, yellow.halfWidth, yellow.halfHeight);
    const uint8_t* greenTexel = texel(41, catalogue[41].halfWidth, catalogue[41].halfHeight);
    for (int j = 0; j < 48; ++j)
        EXPECT_TRUE(sameColour(screen.at(91 + 3 * j, 11), yellowTexel)) << "segment " << j;
    EXPECT_FALSE(sameColour(screen.at(91 + 3 * 48, 11), yellowTexel));
    for (int j = 0; j < 95; ++j)
        EXPECT_TRUE(sameColour(screen.at(722 + 3 * j, 11), greenTexel)) << "segment " << j;
    const uint8_t* blueTexel = texel(44, catalogue[44].halfWidth, catalogue[44].halfHeight);
    for (int x0 : {91, 284, 722, 915})
        for (int j = 0; j < 30; ++j)
            EXPECT_TRUE(sameColour(screen.at(x0 + 3 * j, 34), blueTexel)) << x0 << " segment " << j;
}

TEST_F(ScriptedMatch, ScreenShowsBothShipsAndAPointerForAShipAboveTheArena)
{
    useMap(DEEP_SPACE);
    place(0, 300, 400);
    place(1, 700, 400, PI);
    const Screen both = drawnFrame();
    for (int i = 0; i < PLAYER_COUNT; ++i) {
        m().players[i].lifeState = READY_TO_RESPAWN;
        const Screen without = drawnFrame();
        m().players[i].lifeState = ALIVE;
        // The ship and its aim marker 25 pixels ahead, and nothing else.
        const int sx = i == 0 ? 300 : 700;
        const Difference d = differenceOf(both, without, Box{sx - 40, 360, sx + 40, 440});
        EXPECT_GT(d.inside, 150) << "player " << i + 1;
        EXPECT_EQ(d.outside, 0) << "player " << i + 1;
        const int aimX = i == 0 ? sx + 25 : sx - 25;
        EXPECT_GT(differenceOf(both, without, Box{aimX - 3, 397, aimX + 3, 403}).inside, 5) << "aim " << i + 1;
    }

    place(1, 500, 20);
    const Screen pointer = drawnFrame();
    m().players[1].lifeState = READY_TO_RESPAWN;
    const Screen hidden = drawnFrame();
    // Two 16 x 16 pieces just below the HUD strip, 4 pixels either side of x 500.
    const Difference d = differenceOf(pointer, hidden, Box{480, 45, 519, 60});
    EXPECT_GT(d.inside, 40);
    EXPECT_EQ(d.outside, 0);
    EXPECT_GT(differenceOf(pointer, hidden, Box{480, 45, 495, 60}).inside, 20) << "piece left of the ship";
    EXPECT_GT(differenceOf(pointer, hidden, Box{504, 45, 519, 60}).inside, 20) << "piece right of the ship";
    // Translucent: an opaque texel of the right-hand piece shows 120/255 of its colour.
    const int TL_PIECE = 25;
    for (int ty = 0; ty < 16; ++ty)
        for (int tx = 0; tx < 16; ++tx) {
            const uint8_t* t = texel(TL_PIECE, tx, ty);
            if (t[3] != 255)
                continue;
            const uint8_t* under = hidden.at(504 + tx, 45 + ty);
            const uint8_t* shown = pointer.at(504 + tx, 45 + ty);
            for (int c = 0; c < 3; ++c)
                EXPECT_NEAR(shown[c], (t[c] * 120 + under[c] * 135) / 255.0, 3.0);
        }
}

TEST_F(ScriptedMatch, BannerFadesOutAndThenIsGone)
{
    useMap(DEEP_SPACE);
    place(0, 300, 600);
    place(1, 700, 600);
    announceRamming(m(), events);
    m().bannerTimer = 0;
    const Screen none = drawnFrame();
    const Box around{BANNER_X - 120, BANNER_Y - 15, BANNER_X + 120, BANNER_Y + 15};
    m().bannerTimer = 3200;
    const Difference full = differenceOf(drawnFrame(), none, around);
    EXPECT_GT(full.inside, 100);
    EXPECT_EQ(full.outside, 0);
    m().bannerTimer = 150;
    const Difference half = differenceOf(drawnFrame(), none, around);
    EXPECT_NEAR(static_cast<double>(half.insideSum) / full.insideSum, 127.0 / 255.0, 0.05);
    // Through the loop: 20 timer units a pass, 160 passes from a fresh message.
    announceRamming(m(), events);
    passes(159);
    EXPECT_EQ(m().bannerTimer, 20);
    passes(1);
    EXPECT_EQ(differenceOf(drawnFrame(), none, around).inside, 0);
}

} // namespace
