#include <memory>
#include "draw/scene.h"
#include "sim/animation.h"
#include "support/stand_in_catalogue.h"

namespace {

const Colour SHIP_COLOUR = makeColour(200, 200, 200, 255);
const Colour SHIP_SECOND_FRAME_COLOUR = makeColour(0, 200, 0, 255);
const Colour THRUST_COLOUR = makeColour(0, 200, 200, 255);
const Colour AIM_COLOUR = makeColour(255, 128, 0, 255);
const Colour DEATH_FIRST_COLOUR = makeColour(255, 0, 0, 255);
const Colour DEATH_LAST_COLOUR = makeColour(0, 0, 255, 255);
const Colour BLACK = makeColour(0, 0, 0, 255);

// Player 1's pointer pieces TL, TR, BL, BR: distinct sizes and colours.
struct PieceLook {
    int width, height;
    Colour colour;
};
const PieceLook PIECES[4] = {
    {8, 6, makeColour(255, 0, 0, 255)},
    {10, 8, makeColour(0, 255, 0, 255)},
    {6, 10, makeColour(0, 0, 255, 255)},
    {12, 4, makeColour(255, 255, 0, 255)},
};
const Colour PLAYER2_PIECE_COLOUR = makeColour(255, 0, 255, 255);
enum { TL, TR, BL, BR };

Vec2 atPixel(double x, double y) { return Vec2{pixels(x), pixels(y)}; }

class SceneTest : public StandInCatalogue {
protected:
    void SetUp() override
    {
        StandInCatalogue::SetUp();
        put(5, 9, 9, SHIP_COLOUR);
        put(7, 9, 9, SHIP_SECOND_FRAME_COLOUR);
        put(6, 9, 9, THRUST_COLOUR);
        put(67, 3, 3, AIM_COLOUR);
        put(68, 3, 3, AIM_COLOUR);
        put(29, 9, 9, DEATH_FIRST_COLOUR);
        put(30, 9, 9, DEATH_LAST_COLOUR);
        for (int piece = 0; piece < 4; ++piece) {
            put(21 + piece, PIECES[piece].width, PIECES[piece].height, PIECES[piece].colour);
            put(25 + piece, PIECES[piece].width, PIECES[piece].height, PLAYER2_PIECE_COLOUR);
        }
        for (Player& p : players) {
            p.shipSprite = makeAnimation(frames, {{5, 100}, {7, 100}}, true);
            p.thrustAnim = makeAnimation(frames, {{6, 100}}, true);
            p.deathAnim = makeAnimation(frames, {{29, 50}, {30, 50}}, false);
            p.lifeState = ALIVE;
        }
        // Player 2 stays out of the picture unless a test brings it in.
        players[1].lifeState = READY_TO_RESPAWN;
        view = makeArenaRect();
    }

    void drawAt(int32_t nowMs)
    {
        clearScreen();
        drawShips(players, PLAYER_COUNT, controls, frames, nowMs, view);
    }

    // Pixels of the whole playfield that are not black.
    static int litPixels()
    {
        std::vector<uint8_t> rgba(PLAYFIELD_WIDTH * PLAYFIELD_HEIGHT * 4);
        glReadBuffer(GL_BACK);
        glReadPixels(0, 0, PLAYFIELD_WIDTH, PLAYFIELD_HEIGHT, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
        int lit = 0;
        for (size_t i = 0; i < rgba.size(); i += 4)
            lit += (rgba[i] | rgba[i + 1] | rgba[i + 2]) ? 1 : 0;
        return lit;
    }

    AnimationFrames frames;
    Player players[PLAYER_COUNT];
    ControlState controls;
    WorldRect view;
};

struct PointerCase {
    const char* region;
    double shipX, shipY; // pixels
    int firstPiece, firstX, firstY;
    int secondPiece, secondX, secondY;
};

TEST_F(SceneTest, PointerSitsAtTheEdgeNearestTheShip)
{
    // Centres worked out by hand from the piece sizes (TL 8x6, TR 10x8, BL 6x10, BR 12x4).
    const PointerCase cases[] = {
        {"left and above", -50, 20, TR, 15, 49, BL, 3, 60},
        {"left and below", -50, 800, TL, 4, 755, BR, 16, 766},
        {"right and above", 1100, 20, TL, 1010, 48, BR, 1018, 57},
        {"right and below", 1100, 800, TR, 1019, 754, BL, 1011, 763},
        {"right, on the bottom edge", 1100, 768, TR, 1019, 754, BL, 1011, 763},
        {"above", 500, 20, TR, 491, 49, TL, 508, 48},
        {"left", -50, 400, BL, 3, 391, TL, 4, 407},
        {"below", 300, 800, BR, 290, 766, BL, 307, 763},
        {"right", 1100, 400, BR, 1018, 394, TR, 1019, 408},
    };
    for (const PointerCase& c : cases) {
        players[0].body.position = atPixel(c.shipX, c.shipY);
        drawAt(1000);
        EXPECT_TRUE(near(readPixel(c.firstX, c.firstY), overBlack(PIECES[c.firstPiece].colour, POINTER_ALPHA)))
            << c.region;
        EXPECT_TRUE(near(readPixel(c.secondX, c.secondY), overBlack(PIECES[c.secondPiece].colour, POINTER_ALPHA)))
            << c.region;
        // The two pieces and nothing else: no ship, no aim marker.
        const int area = PIECES[c.firstPiece].width * PIECES[c.firstPiece].height +
                         PIECES[c.secondPiece].width * PIECES[c.secondPiece].height;
        EXPECT_EQ(litPixels(), area) << c.region;
    }
}

TEST_F(SceneTest, PlayerTwoUsesItsOwnPointerAndColourReturnsToBase)
{
    players[0].lifeState = READY_TO_RESPAWN;
    players[1].lifeState = ALIVE;
    players[1].body.position = atPixel(500, 20);
    drawAt(1000);
    EXPECT_TRUE(near(readPixel(491, 49), overBlack(PLAYER2_PIECE_COLOUR, POINTER_ALPHA)));
    EXPECT_TRUE(near(readPixel(508, 48), overBlack(PLAYER2_PIECE_COLOUR, POINTER_ALPHA)));
    drawSprite(catalogue[5], 100, 100);
    EXPECT_TRUE(near(readPixel(100, 100), SHIP_COLOUR));
}

TEST_F(SceneTest, ShipOnTheViewEdgeIsDrawnAsAShip)
{
    players[0].body.position = Vec2{0.0, pixels(300)};
    players[1].lifeState = ALIVE;
    players[1].body.position = Vec2{pixels(200), 43945312.5};
    drawAt(1000);
    EXPECT_TRUE(near(readPixel(2, 300), SHIP_COLOUR));
    EXPECT_TRUE(near(readPixel(200, 47), SHIP_COLOUR));
    EXPECT_TRUE(columnsOf(49, overBlack(PLAYER2_PIECE_COLOUR, POINTER_ALPHA)).empty());
}

TEST_F(SceneTest, AimMarkerSits25PixelsAheadAlongTheHeading)
{
    players[0].body.position = atPixel(300, 300);
    players[0].body.heading = PolarVec{1.0, 0.0};
    players[1].lifeState = ALIVE;
    players[1].body.position = atPixel(600, 300);
    players[1].body.heading = PolarVec{1.0, PI / 2};
    drawAt(1000);
    EXPECT_TRUE(near(readPixel(325, 300), AIM_COLOUR));
    EXPECT_TRUE(near(readPixel(600, 325), AIM_COLOUR));
    EXPECT_TRUE(near(readPixel(600, 300), SHIP_COLOUR));
}

TEST_F(SceneTest, ThrustShowsThrustPictureAndTheShipFramesFollowTheirStart)
{
    Player& p = players[0];
    p.body.position = atPixel(300, 300);
    startAnimation(p.shipSprite, 0);
    controls.players[0].boostForward = true;
    drawAt(50);
    EXPECT_TRUE(near(readPixel(300, 300), THRUST_COLOUR)) << "forward boost keys";
    controls.players[0] = PlayerControls{};
    controls.players[0].thrust = true;
    drawAt(150);
    EXPECT_TRUE(near(readPixel(300, 300), THRUST_COLOUR)) << "thrust held";
    // As the step restarts it at a thrust key press: the first ship frame
    // still shows at 180 (it would be the second otherwise).
    startAnimation(p.shipSprite, 150);
    controls.players[0] = PlayerControls{};
    drawAt(180);
    EXPECT_TRUE(near(readPixel(300, 300), SHIP_COLOUR));
    drawAt(251);
    EXPECT_TRUE(near(readPixel(300, 300), SHIP_SECOND_FRAME_COLOUR));
}

TEST_F(SceneTest, AnExplosionShowsItsPicturesAndAShipAwaitingRespawnNothing)
{
    Player& p = players[0];
    p.body.position = atPixel(300, 300);
    p.lifeState = EXPLODING;
    setCurrentFrame(p.deathAnim, 0);
    startAnimation(p.deathAnim, 1000);
    drawAt(1020);
    EXPECT_TRUE(near(readPixel(300, 300), DEATH_FIRST_COLOUR));
    drawAt(1101);
    EXPECT_TRUE(near(readPixel(300, 300), DEATH_LAST_COLOUR)) << "the last picture stays until the step ends it";
    p.lifeState = READY_TO_RESPAWN;
    drawAt(1102);
    EXPECT_EQ(litPixels(), 0);
}

TEST_F(SceneTest, BannerFadesOutOverItsLast300Units)
{
    const Sprite banner = solidSprite(40, 6, makeColour(255, 255, 255, 255));
    const struct {
        int32_t timer;
        int expected;
    } steps[] = {{3200, 255}, {300, 255}, {299, 254}, {150, 127}, {1, 0}};
    for (const auto& step : steps) {
        clearScreen();
        drawBanner(banner, step.timer);
        EXPECT_NEAR(readPixel(BANNER_X, BANNER_Y).red, step.expected, 1) << "timer " << step.timer;
    }
    clearScreen();
    drawBanner(banner, 0);
    EXPECT_EQ(readPixel(BANNER_X, BANNER_Y).red, 0);
    drawBanner(banner, 150);
    drawSprite(banner, 100, 100);
    EXPECT_EQ(readPixel(100, 100).red, 255) << "colour back to base after a fade";
}

TEST_F(SceneTest, MapDrawsTheBackgroundThenEachPlanetAtItsBody)
{
    const Colour sky = makeColour(20, 20, 20, 255);
    put(0, PLAYFIELD_WIDTH, PLAYFIELD_HEIGHT, sky);
    put(1, 11, 11, makeColour(0, 0, 200, 255));
    put(2, 11, 11, makeColour(200, 0, 0, 255));
    GameMap map;
    Planet* planets = map.planets;
    planets[0].anim = makeAnimation(frames, {{1, 100}, {2, 100}}, true);
    planets[0].bodySlot = 1;
    planets[1].anim = makeAnimation(frames, {{1, 1000}}, true);
    planets[1].bodySlot = 0;
    startAnimation(planets[0].anim, 0);
    map.background = 0;
    map.planetCount = 2;
    Body bodies[MAX_PLANETS];
    bodies[0].position = atPixel(700, 500);
    bodies[1].position = atPixel(300, 200);
    clearScreen();
    drawMap(map, frames, bodies, 150);
    EXPECT_TRUE(near(readPixel(0, 0), sky));
    EXPECT_TRUE(near(readPixel(1023, 767), sky));
    EXPECT_TRUE(near(readPixel(300, 200), makeColour(200, 0, 0, 255))) << "second frame at 150 ms";
    EXPECT_TRUE(near(readPixel(700, 500), makeColour(0, 0, 200, 255)));
}

TEST_F(SceneTest, MatchFrameLayersSceneBannerAndHud)
{
    const Colour sky = makeColour(20, 20, 20, 255);
    const Colour panel = makeColour(90, 90, 90, 255);
    const Colour shot = makeColour(0, 255, 0, 255);
    const Colour bannerColour = makeColour(255, 0, 0, 255);
    put(0, PLAYFIELD_WIDTH, PLAYFIELD_HEIGHT, sky);
    put(50, PLAYFIELD_WIDTH, 45, panel);
    put(37, 1, 1, shot);
    auto m = std::make_unique<MatchState>();
    m->arenaRect = makeArenaRect();
    for (int i = 0; i < PLAYER_COUNT; ++i) {
        m->players[i] = players[i];
        m->players[i].hull = m->players[i].maxHull = 10.0;
        m->players[i].hullBarTimer = 1000;
    }
    m->players[0].body.position = atPixel(512, 350);
    m->projectiles[0].active = true;
    m->projectiles[0].position = atPixel(508, 346);
    m->explosions[0].flightAnim = makeAnimation(frames, {{37, 100}}, true);
    m->bannerTimer = 3200;
    m->frameTime = 20;
    auto content = std::make_unique<MatchContent>();
    content->frames = frames;
    MatchTexts texts;
    texts.banner = solidSprite(40, 6, bannerColour);
    drawMatchFrame(*m, *content, texts, 1000);
    EXPECT_TRUE(near(readPixel(10, 10), panel)) << "HUD over the background";
    EXPECT_TRUE(near(readPixel(10, 300), sky));
    EXPECT_TRUE(near(readPixel(512, 350), bannerColour)) << "banner over the ship";
    EXPECT_TRUE(near(readPixel(512, 354), SHIP_COLOUR));
    EXPECT_TRUE(near(readPixel(508, 346), shot)) << "shot over the ship";
}

} // namespace
