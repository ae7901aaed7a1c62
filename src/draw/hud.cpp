#include "draw/hud.h"

#include "gfx/sprite.h"

// Catalogue pictures of the HUD.
constexpr int PANEL_TEXTURE = 50;
constexpr int PANEL_HULL_TEXTURES[3] = {41, 42, 43};             // green, yellow, red
constexpr int PANEL_BLUE_TEXTURE = 44;                           // energy and ammunition
constexpr int SMALL_HULL_TEXTURES[3] = {69, 70, 71};             // green, yellow, red
constexpr int SMALL_SHIELD_TEXTURES[5] = {72, 73, 74, 75, 76};   // full to nearly empty
constexpr int HULL_MARKER_TEXTURE = 78;
constexpr int SHIELD_MARKER_TEXTURE = 79;

// Positions in playfield pixels; x0 of a bar is its first segment's centre.
constexpr int PANEL_X = 512, PANEL_Y = 22;
constexpr int HULL_BAR_OFFSET_Y = -30;   // from the ship's centre
constexpr int SHIELD_BAR_OFFSET_Y = -22;
constexpr int WEAPON_NAME_OFFSET_Y = 25;
constexpr int FLOATING_SEGMENT_STEP_PX = 2;
constexpr int PANEL_SEGMENT_STEP_PX = 3;
constexpr int PANEL_TOP_ROW_Y = 11, PANEL_BOTTOM_ROW_Y = 34;
constexpr int PANEL_HULL_X0[PLAYER_COUNT] = {91, 722};
constexpr int PANEL_ENERGY_X0[PLAYER_COUNT] = {284, 915};
constexpr int PANEL_AMMO_X0[PLAYER_COUNT] = {91, 722};
constexpr int PANEL_RELOAD_X0[PLAYER_COUNT] = {91, 721};
constexpr int LIVES_X[PLAYER_COUNT] = {472, 554}, LIVES_Y = 20;
constexpr int KILLS_X[PLAYER_COUNT] = {472, 554}, KILLS_Y = 35;
constexpr int NAME_X[PLAYER_COUNT] = {467, 557}, NAME_Y = 7;

static Colour fadedWhite(int32_t timerMs)
{
    const int alpha = timerMs > HUD_FADE_MS ? HUD_FULL_ALPHA
                                            : static_cast<int>(static_cast<double>(timerMs) / HUD_FADE_MS * HUD_FULL_ALPHA);
    return makeColour(255, 255, 255, static_cast<uint8_t>(alpha));
}

// One segment for every whole or started 1/segments of the ratio.
static void drawSegments(const Sprite& segment, double ratio, int segments, int x0, int step, int y)
{
    for (int j = 0; ratio * segments > j; ++j)
        drawSprite(segment, x0 + step * j, y);
}

static int hullColourIndex(double ratio) { return ratio > 0.67 ? 0 : ratio > 0.33 ? 1 : 2; }

static int shieldColourIndex(double ratio)
{
    return ratio > 0.8 ? 0 : ratio > 0.6 ? 1 : ratio > 0.4 ? 2 : ratio > 0.2 ? 3 : 4;
}

static void drawFloatingHull(const Player& p, int sx, int sy)
{
    const double ratio = p.hull / p.maxHull;
    const int w78 = static_cast<int>(catalogue[HULL_MARKER_TEXTURE].halfWidth);
    const int y = sy + HULL_BAR_OFFSET_Y;
    setDrawColour(fadedWhite(p.hullBarTimer));
    drawSprite(catalogue[HULL_MARKER_TEXTURE], sx, y);
    drawSegments(catalogue[SMALL_HULL_TEXTURES[hullColourIndex(ratio)]], ratio, HULL_SEGMENTS_BESIDE_SHIP,
                 sx - w78 + 2, FLOATING_SEGMENT_STEP_PX, y);
    setDrawColour(baseColour);
}

static void drawFloatingShield(const Player& p, int sx, int sy)
{
    const double ratio = p.shield / p.maxShield;
    const int w78 = static_cast<int>(catalogue[HULL_MARKER_TEXTURE].halfWidth);
    const int w79 = static_cast<int>(catalogue[SHIELD_MARKER_TEXTURE].halfWidth);
    const int y = sy + SHIELD_BAR_OFFSET_Y;
    setDrawColour(fadedWhite(p.shieldBarTimer));
    // Left edge in line with the hull marker's.
    drawSprite(catalogue[SHIELD_MARKER_TEXTURE], sx - w78 + w79, y);
    drawSegments(catalogue[SMALL_SHIELD_TEXTURES[shieldColourIndex(ratio)]], ratio, SHIELD_SEGMENTS_BESIDE_SHIP,
                 sx - w78 + 2, FLOATING_SEGMENT_STEP_PX, y);
    setDrawColour(baseColour);
}

static void drawFloatingDisplays(const Player& p, const Sprite& weaponName)
{
    const int sx = worldToPixel(p.body.position.x);
    const int sy = worldToPixel(p.body.position.y);
    if (p.lifeState == ALIVE && p.hullBarTimer > 0)
        drawFloatingHull(p, sx, sy);
    if (p.lifeState == ALIVE && p.shieldBarTimer > 0)
        drawFloatingShield(p, sx, sy);
    // Shown whatever the life state, at the ship's last position.
    if (p.weaponLabelTimer > 0) {
        setDrawColour(fadedWhite(p.weaponLabelTimer));
        drawSprite(weaponName, sx, sy + WEAPON_NAME_OFFSET_Y);
        setDrawColour(baseColour);
    }
}

// Rounds left in the magazine or, while reloading, how far the reload has come.
static void drawAmmunitionBar(const Player& p, int i)
{
    const FireState& f = p.fireStates[p.currentSlot];
    const Sprite& segment = catalogue[PANEL_BLUE_TEXTURE];
    if (f.ammoLeft > 0) {
        const double ratio = static_cast<double>(f.ammoLeft) / f.clipSize;
        drawSegments(segment, ratio, AMMO_SEGMENTS_IN_PANEL, PANEL_AMMO_X0[i], PANEL_SEGMENT_STEP_PX,
                     PANEL_BOTTOM_ROW_Y);
        return;
    }
    const double reloadFraction = f.reloadTime > 0 ? static_cast<double>(f.reloadLeft) / f.reloadTime : 0.0;
    drawSegments(segment, 1.0 - reloadFraction, AMMO_SEGMENTS_IN_PANEL, PANEL_RELOAD_X0[i],
                 PANEL_SEGMENT_STEP_PX, PANEL_BOTTOM_ROW_Y);
}

static void drawPanelBars(const Player& p, int i)
{
    const double hullRatio = p.hull / p.maxHull;
    drawSegments(catalogue[PANEL_HULL_TEXTURES[hullColourIndex(hullRatio)]], hullRatio, HULL_SEGMENTS_IN_PANEL,
                 PANEL_HULL_X0[i], PANEL_SEGMENT_STEP_PX, PANEL_TOP_ROW_Y);
    drawSegments(catalogue[PANEL_BLUE_TEXTURE], p.energy / p.maxEnergy, ENERGY_SEGMENTS_IN_PANEL,
                 PANEL_ENERGY_X0[i], PANEL_SEGMENT_STEP_PX, PANEL_BOTTOM_ROW_Y);
    drawAmmunitionBar(p, i);
}

static void drawPanelTexts(const MatchTexts& texts)
{
    for (int i = 0; i < PLAYER_COUNT; ++i) {
        const PlayerLabels& labels = texts.players[i];
        drawSprite(labels.lives, LIVES_X[i], LIVES_Y);
        drawSprite(labels.kills, KILLS_X[i], KILLS_Y);
    }
    for (int i = 0; i < PLAYER_COUNT; ++i)
        drawSprite(texts.players[i].name, NAME_X[i], NAME_Y);
}

void drawHudPanel(const Player players[PLAYER_COUNT], const MatchTexts& texts)
{
    drawSprite(catalogue[PANEL_TEXTURE], PANEL_X, PANEL_Y);
    for (int i = 0; i < PLAYER_COUNT; ++i)
        drawPanelBars(players[i], i);
    drawPanelTexts(texts);
}

void drawHud(const Player players[PLAYER_COUNT], const MatchTexts& texts)
{
    for (int i = 0; i < PLAYER_COUNT; ++i)
        drawFloatingDisplays(players[i], texts.players[i].weaponName);
    drawHudPanel(players, texts);
}
