// The four fonts and text rendered once into sprites.
#pragma once
#include "gfx/texture.h"

typedef struct _TTF_Font TTF_Font;

constexpr const char* FONT_FILE = "font.ttf";

struct Fonts {
    TTF_Font* tinyFont = nullptr;    // 8 points
    TTF_Font* hudFont = nullptr;     // 10
    TTF_Font* messageFont = nullptr; // 12
    TTF_Font* titleFont = nullptr;   // 14
};

// Opens FONT_FILE at 8, 10, 12 and 14 points. Returns false if any size
// fails, with the reason in TTF_GetError.
bool openFonts(Fonts& fonts);
void closeFonts(Fonts& fonts);
// The caller frees the sprite's previous texture first. An empty text leaves an empty sprite.
void renderText(Sprite& s, const char* text, TTF_Font* font);
void renderNumber(Sprite& s, int value, TTF_Font* font);
void renderTextOpaque(Sprite& s, const char* text, TTF_Font* font);
void renderNumberOpaque(Sprite& s, int value, TTF_Font* font);
// Decimal text of any int, with a buffer wide enough for every value.
void formatNumber(int value, char (&buffer)[16]);
