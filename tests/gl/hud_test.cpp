#include "draw/hud.h"
#include "sim/animation.h"
#include "support/stand_in_catalogue.h"

namespace {

// One-pixel-wide segment pictures, so every segment lights exactly one column.
const Colour GREEN = makeColour(0, 255, 0, 255);
const Colour YELLOW = makeColour(255, 255, 0, 255);
const Colour RED = makeColour(255, 0, 0, 255);
const Colour BLUE = makeColour(0, 0, 255, 255);
const Colour SHIELD_BLUES[5] = {makeColour(0, 0, 250, 255), makeColour(0, 50, 250, 255),
                                makeColour(0, 100, 250, 255), makeColour(0, 150, 250, 255),
                                makeColour(0, 200, 250, 255)};
const Colour MARKER_GREY = makeColour(64, 64, 64, 255);
const Colour LABEL = makeColour(255, 255, 255, 255);
constexpr int HULL_MARKER_WIDTH = 41; // half 20
constexpr int SHIELD_MARKER_WIDTH = 31; // half 15
// Segments are 3 pixels tall over 1-pixel markers: their top rows show them alone.
constexpr int HULL_SEGMENT_ROW = 300 - 30 - 1;
constexpr int SHIELD_SEGMENT_ROW = 300 - 22 - 1;

// Columns x0, x0 + step, ... for count segments.
std::vector<int> columns(int x0, int step, int count)
{
    std::vector<int> xs;
    for (int j = 0; j < count; ++j)
        xs.push_back(x0 + step * j);
    return xs;
}

class HudTest : public StandInCatalogue {
protected:
    void SetUp() override
    {
        StandInCatalogue::SetUp();
        put(41, 1, 3, GREEN);
        put(42, 1, 3, YELLOW);
        put(43, 1, 3, RED);
        put(44, 1, 3, BLUE);
        put(69, 1, 3, GREEN);
        put(70, 1, 3, YELLOW);
        put(71, 1, 3, RED);
        for (int i = 0; i < 5; ++i)
            put(72 + i, 1, 3, SHIELD_BLUES[i]);
        put(78, HULL_MARKER_WIDTH, 1, MARKER_GREY);
        put(79, SHIELD_MARKER_WIDTH, 1, MARKER_GREY);
        for (int i = 0; i < PLAYER_COUNT; ++i) {
            Player& p = players[i];
            p.lifeState = ALIVE;
            p.hull = p.maxHull = 100.0;
            p.shield = p.maxShield = 50.0;
            p.energy = p.maxEnergy = 1000.0;
            p.fireStates[0] = FireState{};
            p.fireStates[0].clipSize = 10;
            p.fireStates[0].ammoLeft = 10;
            p.fireStates[0].reloadTime = 1500;
            p.body.position = Vec2{pixels(300 + 400 * i), pixels(300)};
        }
    }

    void draw()
    {
        clearScreen();
        drawHud(players, texts);
    }

    Player players[PLAYER_COUNT];
    MatchTexts texts;
};

TEST_F(HudTest, HalfHullShowsYellowBarsBesideTheShipAndInThePanel)
{
    players[0].hull = 50.0;
    players[0].hullBarTimer = 1000;
    draw();
    // 8.5 > j for j = 0..8: nine segments, starting two pixels in from the marker's left edge.
    EXPECT_EQ(columnsOf(HULL_SEGMENT_ROW, overBlack(YELLOW, HUD_FULL_ALPHA)), columns(300 - 20 + 2, 2, 9));
    EXPECT_EQ(readPixel(300 - 20, 270).red, 64 * HUD_FULL_ALPHA / 255) << "hull marker, left edge";
    // 47.5 > j: 48 segments in the panel.
    EXPECT_EQ(columnsOf(11, YELLOW), columns(91, 3, 48));
    EXPECT_EQ(columnsOf(11, GREEN), columns(722, 3, 95)) << "player 2 at full hull";
}

TEST_F(HudTest, FloatingBarsFadeOutOverTheirLast200Milliseconds)
{
    players[0].hull = 80.0;
    players[0].hullBarTimer = 100;
    draw();
    EXPECT_EQ(columnsOf(HULL_SEGMENT_ROW, overBlack(GREEN, 110)).size(), 14u); // 13.6 > j
    players[0].hullBarTimer = 201;
    draw();
    EXPECT_EQ(columnsOf(HULL_SEGMENT_ROW, overBlack(GREEN, HUD_FULL_ALPHA)).size(), 14u);
}

TEST_F(HudTest, ShieldBarPicksItsBlueByRatioAndLinesUpWithTheHullMarker)
{
    Player& p = players[1];
    const int sx = 700;
    p.shieldBarTimer = 3200;
    p.shield = 40.0; // exactly 0.8: not above it
    draw();
    EXPECT_EQ(columnsOf(SHIELD_SEGMENT_ROW, overBlack(SHIELD_BLUES[1], HUD_FULL_ALPHA)), columns(sx - 20 + 2, 2, 6));
    const std::vector<int> marker = columnsOf(278, overBlack(MARKER_GREY, HUD_FULL_ALPHA));
    ASSERT_FALSE(marker.empty());
    EXPECT_EQ(marker.front(), sx - 20) << "left edge in line with the hull marker's";
    EXPECT_EQ(marker.back(), sx - 20 + SHIELD_MARKER_WIDTH - 1);
    p.shield = 50.0;
    draw();
    EXPECT_EQ(columnsOf(SHIELD_SEGMENT_ROW, overBlack(SHIELD_BLUES[0], HUD_FULL_ALPHA)).size(), 7u);
    p.shield = 5.0;
    draw();
    EXPECT_EQ(columnsOf(SHIELD_SEGMENT_ROW, overBlack(SHIELD_BLUES[4], HUD_FULL_ALPHA)).size(), 1u);
}

TEST_F(HudTest, ExplodingPlayerShowsOnlyTheWeaponNameAtItsLastPosition)
{
    texts.players[0].weaponName = solidSprite(20, 4, LABEL);
    Player& p = players[0];
    p.lifeState = EXPLODING;
    p.hullBarTimer = 1000;
    p.shieldBarTimer = 1000;
    p.weaponLabelTimer = 150;
    draw();
    EXPECT_TRUE(columnsOf(270, overBlack(MARKER_GREY, HUD_FULL_ALPHA)).empty());
    EXPECT_TRUE(columnsOf(278, overBlack(MARKER_GREY, HUD_FULL_ALPHA)).empty());
    EXPECT_EQ(columnsOf(325, overBlack(LABEL, 165)), columns(290, 1, 20));
}

TEST_F(HudTest, EnergyAndAmmunitionBarsFillByTheirRatios)
{
    players[0].energy = 0.0;
    players[1].fireStates[0].ammoLeft = 5;
    draw();
    // Player 1: no energy, full magazine. Player 2: full energy, half magazine.
    EXPECT_EQ(columnsOf(34, BLUE), [] {
        std::vector<int> xs = columns(91, 3, 30);
        for (int x : columns(722, 3, 15))
            xs.push_back(x);
        for (int x : columns(915, 3, 30))
            xs.push_back(x);
        return xs;
    }());
}

TEST_F(HudTest, ReloadBarFillsAsTheReloadRuns)
{
    for (Player& p : players) {
        p.energy = 0.0;
        p.fireStates[0].ammoLeft = 0;
    }
    players[0].fireStates[0].reloadLeft = 1500;
    players[1].fireStates[0].reloadLeft = 0;
    draw();
    // Player 1 just started reloading: empty. Player 2 done: full, one pixel left of the full bar.
    EXPECT_EQ(columnsOf(34, BLUE), columns(721, 3, 30));
    players[0].fireStates[0].reloadLeft = 750;
    draw();
    EXPECT_EQ(columnsOf(34, BLUE).front(), 91);
    EXPECT_EQ(columnsOf(34, BLUE).size(), 15u + 30u);
}

TEST_F(HudTest, PanelLabelsSitAtTheirPlaces)
{
    for (PlayerLabels& labels : texts.players)
        for (Sprite* s : {&labels.lives, &labels.kills, &labels.name})
            *s = solidSprite(1, 1, LABEL);
    // Empty bars, so only the labels light the panel rows.
    for (Player& p : players) {
        p.hull = 0.0;
        p.energy = 0.0;
        p.fireStates[0].ammoLeft = 0;
        p.fireStates[0].reloadLeft = 1500;
    }
    draw();
    EXPECT_EQ(columnsOf(20, LABEL), (std::vector<int>{472, 554})) << "lives";
    EXPECT_EQ(columnsOf(35, LABEL), (std::vector<int>{472, 554})) << "kills";
    EXPECT_EQ(columnsOf(7, LABEL), (std::vector<int>{467, 557})) << "names";
}

} // namespace
