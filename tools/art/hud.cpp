// The HUD panel, its bar markers, the frames of the floating bars and of
// the menu previews, the aim markers and the off-screen pointer pieces.
#include <algorithm>
#include <cmath>
#include <map>
#include <string>

#include "art.h"
#include "noise.h"
#include "shapes.h"

namespace {

// Where the game draws into the panel (pixels of the 1024 x 45 picture).
constexpr int PANEL_WIDTH = 1024, PANEL_HEIGHT = 45;
constexpr int HULL_BAR_Y = 11, LOWER_BAR_Y = 34;
constexpr int HULL_SEGMENTS = 95, SHORT_SEGMENTS = 30, PANEL_SPACING = 3;
constexpr int HULL_BAR_X[2] = {91, 722};
constexpr int AMMO_BAR_X[2] = {91, 722};
constexpr int ENERGY_BAR_X[2] = {284, 915};
constexpr int RELOAD_SHIFT = 1; // the reload bar of player 2 starts one pixel left
constexpr int PANEL_MARKER_HALF_HEIGHT = 4;

// Floating bars beside a ship: 17 hull and 7 shield segments, 2 px apart,
// each segment 1 px wide and 4 px high, starting 2 px inside the frame.
constexpr int FLOAT_HULL_SEGMENTS = 17, FLOAT_SHIELD_SEGMENTS = 7, FLOAT_SPACING = 2;
constexpr int FLOAT_FRAME_HEIGHT = 8, FLOAT_FIRST_SEGMENT = 2;

const Rgb PLAYER_COLOUR[2] = {{90, 160, 255}, {255, 96, 80}};

// A tiny blocky alphabet for the panel's labels.
const std::map<char, std::vector<std::string>> GLYPHS = {
        {'A', {".#.", "#.#", "###", "#.#", "#.#"}},   {'E', {"###", "#..", "##.", "#..", "###"}},
        {'G', {".##", "#..", "#.#", "#.#", ".##"}},   {'H', {"#.#", "#.#", "###", "#.#", "#.#"}},
        {'I', {"###", ".#.", ".#.", ".#.", "###"}},   {'K', {"#.#", "#.#", "##.", "#.#", "#.#"}},
        {'L', {"#..", "#..", "#..", "#..", "###"}},   {'M', {"#...#", "##.##", "#.#.#", "#...#", "#...#"}},
        {'N', {"#..#", "##.#", "#.##", "#..#", "#..#"}}, {'O', {".#.", "#.#", "#.#", "#.#", ".#."}},
        {'R', {"##.", "#.#", "##.", "#.#", "#.#"}},   {'S', {".##", "#..", ".#.", "..#", "##."}},
        {'U', {"#.#", "#.#", "#.#", "#.#", "###"}},   {'V', {"#.#", "#.#", "#.#", "#.#", ".#."}},
        {'Y', {"#.#", "#.#", ".#.", ".#.", ".#."}},
};

constexpr int LABEL_SCALE = 2;

int labelWidth(const std::string& text)
{
    int width = 0;
    for (const char ch : text)
        width += (static_cast<int>(GLYPHS.at(ch)[0].size()) + 1) * LABEL_SCALE;
    return width - LABEL_SCALE;
}

// Writes a label with its vertical centre at y, starting at x.
void label(Image& image, const std::string& text, int x, int y, const Rgb& colour)
{
    const int top = y - 5 * LABEL_SCALE / 2;
    for (const char ch : text) {
        const std::vector<std::string>& rows = GLYPHS.at(ch);
        for (int gy = 0; gy < 5; ++gy)
            for (int gx = 0; gx < static_cast<int>(rows[gy].size()); ++gx)
                if (rows[gy][gx] == '#')
                    for (int k = 0; k < LABEL_SCALE * LABEL_SCALE; ++k)
                        paint(image, x + gx * LABEL_SCALE + k % LABEL_SCALE, top + gy * LABEL_SCALE + k / LABEL_SCALE,
                              colour, 1.0);
        x += (static_cast<int>(rows[0].size()) + 1) * LABEL_SCALE;
    }
}

Rgb panelMetal(int x, int y)
{
    const double t = static_cast<double>(y) / PANEL_HEIGHT;
    const double brushed = 0.94 + 0.06 * valueNoise2(x * 0.05, y * 1.7, 77);
    return mix(Rgb{46, 54, 72}, Rgb{24, 28, 40}, t) * brushed;
}

// A sunken slot for a bar, with shadow on top and left, light below and right.
void well(Image& image, int x0, int y0, int x1, int y1)
{
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            Rgb c{8, 10, 18};
            if (y == y0 || x == x0)
                c = {4, 5, 9};
            else if (y == y1 || x == x1)
                c = {86, 100, 128};
            paint(image, x, y, c, 1.0);
        }
}

// The slot around a bar of count markers from its first centre x0.
void barWell(Image& image, int x0, int count, int y, int extraLeft = 0)
{
    well(image, x0 - 3 - extraLeft, y - PANEL_MARKER_HALF_HEIGHT - 2, x0 + PANEL_SPACING * (count - 1) + 3,
         y + PANEL_MARKER_HALF_HEIGHT + 2);
}

void panelBody(Image& image)
{
    for (int y = 0; y < PANEL_HEIGHT; ++y)
        for (int x = 0; x < PANEL_WIDTH; ++x)
            paint(image, x, y, panelMetal(x, y), 1.0);
    for (int x = 0; x < PANEL_WIDTH; ++x) {
        paint(image, x, 0, Rgb{80, 92, 118}, 1.0);
        paint(image, x, PANEL_HEIGHT - 3, Rgb{20, 22, 30}, 1.0);
        paint(image, x, PANEL_HEIGHT - 2, x < PANEL_WIDTH / 2 ? PLAYER_COLOUR[0] * 0.8 : PLAYER_COLOUR[1] * 0.8, 1.0);
        paint(image, x, PANEL_HEIGHT - 1, Rgb{30, 34, 46}, 1.0);
    }
}

// The middle plate behind the names, lives and kills.
void centrePlate(Image& image)
{
    const int x0 = 388, x1 = 635;
    for (int y = 1; y < PANEL_HEIGHT - 3; ++y)
        for (int x = x0; x <= x1; ++x) {
            Rgb c = mix(Rgb{16, 20, 30}, Rgb{12, 14, 22}, y / 45.0);
            if (x == x0 || x == x1)
                c = {70, 82, 106};
            paint(image, x, y, c, 1.0);
        }
    for (int x = x0 + 1; x < x1; ++x)
        paint(image, x, 14, Rgb{40, 48, 64}, 1.0);
    const Rgb grey{150, 160, 180};
    label(image, "LIVES", 512 - labelWidth("LIVES") / 2, 20, grey);
    label(image, "KILLS", 512 - labelWidth("KILLS") / 2, 35, grey);
}

// A bar marker: a bevelled stick of the given colour.
Image marker(const Rgb& colour, int width, int height)
{
    Image image = makeImage(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const double shade = (y == 0 ? 1.25 : y == height - 1 ? 0.7 : 1.0) * (x == 0 && width > 1 ? 1.12 : 1.0);
            paint(image, x, y, colour * shade, 1.0);
        }
    return image;
}

Rgb markerColour(MarkerColour colour)
{
    switch (colour) {
    case MarkerColour::Green: return {70, 225, 90};
    case MarkerColour::Yellow: return {240, 212, 50};
    case MarkerColour::Red: return {235, 56, 44};
    case MarkerColour::Blue0: return {80, 170, 255};
    case MarkerColour::Blue1: return {64, 142, 232};
    case MarkerColour::Blue2: return {52, 116, 208};
    case MarkerColour::Blue3: return {44, 92, 182};
    case MarkerColour::Blue4: return {38, 70, 156};
    }
    return {};
}

// A thin rectangle outline with its inside left transparent.
Image outline(int width, int height, const Rgb& colour)
{
    Image image = makeImage(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (x == 0 || y == 0 || x == width - 1 || y == height - 1)
                paint(image, x, y, colour * (y == 0 ? 1.15 : 1.0), 1.0);
    return image;
}

// Corner brackets around a transparent middle, as on a targeting screen.
Image bracketFrame(int width, int height, int arm, const Rgb& colour)
{
    Image image = makeImage(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const bool edgeX = x <= 1 || x >= width - 2, edgeY = y <= 1 || y >= height - 2;
            const bool nearX = x < arm || x >= width - arm, nearY = y < arm || y >= height - arm;
            if ((edgeX && nearY) || (edgeY && nearX))
                paint(image, x, y, colour, 1.0);
            else if (edgeX || edgeY)
                if ((x + y) % 4 == 0)
                    paint(image, x, y, colour * 0.55, 1.0);
        }
    return image;
}

} // namespace

Image drawPanel()
{
    Image image = makeImage(PANEL_WIDTH, PANEL_HEIGHT);
    panelBody(image);
    centrePlate(image);
    for (int p = 0; p < 2; ++p) {
        barWell(image, HULL_BAR_X[p], HULL_SEGMENTS, HULL_BAR_Y);
        barWell(image, AMMO_BAR_X[p], SHORT_SEGMENTS, LOWER_BAR_Y, p == 1 ? RELOAD_SHIFT : 0);
        barWell(image, ENERGY_BAR_X[p], SHORT_SEGMENTS, LOWER_BAR_Y);
    }
    const Rgb blue = PLAYER_COLOUR[0], red = PLAYER_COLOUR[1];
    label(image, "HULL", HULL_BAR_X[0] - 8 - labelWidth("HULL"), HULL_BAR_Y, blue);
    label(image, "AMMO", AMMO_BAR_X[0] - 8 - labelWidth("AMMO"), LOWER_BAR_Y, blue);
    label(image, "ENERGY", (AMMO_BAR_X[0] + 90 + ENERGY_BAR_X[0] - labelWidth("ENERGY")) / 2, LOWER_BAR_Y, blue);
    label(image, "HULL", HULL_BAR_X[1] - 9 - labelWidth("HULL"), HULL_BAR_Y, red);
    label(image, "AMMO", AMMO_BAR_X[1] - 9 - labelWidth("AMMO"), LOWER_BAR_Y, red);
    label(image, "ENERGY", (AMMO_BAR_X[1] + 90 + ENERGY_BAR_X[1] - labelWidth("ENERGY")) / 2, LOWER_BAR_Y, red);
    return image;
}

Image drawBarMarker(MarkerColour colour, bool small)
{
    // Panel markers are 2 px wide on a 3 px pitch; the floating ones 1 px on 2.
    return small ? marker(markerColour(colour), 1, 4) : marker(markerColour(colour), 2, 2 * PANEL_MARKER_HALF_HEIGHT + 1);
}

Image drawHullFrame()
{
    const int width = FLOAT_FIRST_SEGMENT + FLOAT_SPACING * (FLOAT_HULL_SEGMENTS - 1) + 1 + FLOAT_FIRST_SEGMENT;
    return outline(width, FLOAT_FRAME_HEIGHT, {170, 185, 170});
}

Image drawShieldFrame()
{
    const int width = FLOAT_FIRST_SEGMENT + FLOAT_SPACING * (FLOAT_SHIELD_SEGMENTS - 1) + 1 + FLOAT_FIRST_SEGMENT;
    return outline(width, FLOAT_FRAME_HEIGHT, {120, 170, 235});
}

Image drawAimMarker(bool red)
{
    Image image = makeImage(7, 7);
    const Rgb colour = PLAYER_COLOUR[red ? 1 : 0];
    for (int i = 0; i < 7; ++i)
        if (i != 3) {
            paint(image, i, 3, colour, 1.0);
            paint(image, 3, i, colour, 1.0);
        }
    paint(image, 3, 3, Rgb{255, 255, 255}, 1.0);
    return image;
}

Image drawPointer(bool red, Corner corner)
{
    constexpr int SIZE = 16;
    Image image = makeImage(SIZE, SIZE);
    // Drawn pointing to the upper right, then mirrored into the named corner.
    const Shape arrow = unite(capsule({3.0, 13.0}, {11.5, 4.5}, 1.6),
                              polygon({{14.5, 1.5}, {14.5, 10.0}, {6.0, 1.5}}));
    const bool flipX = corner == Corner::TL || corner == Corner::BL;
    const bool flipY = corner == Corner::BL || corner == Corner::BR;
    const Rgb colour = PLAYER_COLOUR[red ? 1 : 0];
    fill(image,
         [&](double x, double y) { return arrow(flipX ? SIZE - x : x, flipY ? SIZE - y : y); },
         [&](double, double, double depth) { return mix(colour, Rgb{255, 255, 255}, depth > 1.2 ? 0.45 : 0.0); });
    return image;
}

Image drawPreviewFrame() { return bracketFrame(72, 72, 14, {110, 150, 200}); }

Image drawIconFrame() { return bracketFrame(46, 26, 7, {110, 150, 200}); }

Image drawWeaponMarker()
{
    Image image = makeImage(9, 9);
    fillBevel(image, polygon({{1.5, 1.0}, {8.0, 4.5}, {1.5, 8.0}}), {250, 210, 60}, 1.2);
    return image;
}

Image drawBlank() { return makeImage(8, 8); }
