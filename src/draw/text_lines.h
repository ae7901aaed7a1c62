// A few lines of text for screens and overlays, each rendered once and again
// only when its text changes, drawn centred or from the left.
#pragma once
#include <cstddef>
#include "gfx/text.h"

constexpr int MAX_TEXT_LINES = 6;
constexpr size_t MAX_LINE_BYTES = 160;

struct TextLines {
    Sprite sprites[MAX_TEXT_LINES];
    char shown[MAX_TEXT_LINES][MAX_LINE_BYTES] = {}; // what each sprite was rendered from
    bool boxed[MAX_TEXT_LINES] = {};                 // on the renderer's black box
};

// Line `line` shows text from now on (cut to MAX_LINE_BYTES - 1 bytes); an
// empty text draws nothing. Renders only when the text or the box changed.
void setTextLine(TextLines& t, int line, const char* text, TTF_Font* font, bool boxed = false);
void clearTextLines(TextLines& t);
// Lines first .. first + count - 1, one under the other from y, spacing pixels apart.
void drawLinesCentred(const TextLines& t, int first, int count, int centreX, int y, int spacing);
void drawLinesFromLeft(const TextLines& t, int first, int count, int x, int y, int spacing);
