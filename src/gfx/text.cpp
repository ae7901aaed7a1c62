#include "gfx/text.h"

#include <SDL/SDL_ttf.h>
#include <cstdio>

static const SDL_Color TEXT_COLOUR = {255, 255, 255, 0};
static const char* const FONT_FILE = "font.ttf";

bool openFonts(Fonts& fonts)
{
    TTF_Init();
    fonts.tinyFont = TTF_OpenFont(FONT_FILE, 8);
    fonts.hudFont = TTF_OpenFont(FONT_FILE, 10);
    fonts.messageFont = TTF_OpenFont(FONT_FILE, 12);
    fonts.titleFont = TTF_OpenFont(FONT_FILE, 14);
    return fonts.tinyFont && fonts.hudFont && fonts.messageFont && fonts.titleFont;
}

void closeFonts(Fonts& fonts)
{
    for (TTF_Font** font : {&fonts.tinyFont, &fonts.hudFont, &fonts.messageFont, &fonts.titleFont}) {
        if (*font)
            TTF_CloseFont(*font);
        *font = nullptr;
    }
    TTF_Quit();
}

// The texture keeps the solid renderer's black background unless keyed out.
static void renderSolid(Sprite& s, const char* text, TTF_Font* font, bool transparentBackground)
{
    setSprite(s, nullptr);
    if (!font || !text || !*text)
        return;
    SDL_Surface* surface = TTF_RenderText_Solid(font, text, TEXT_COLOUR);
    Texture* t = textureFromSurface(surface);
    if (!t)
        return;
    SDL_FreeSurface(surface);
    setSprite(s, t);
    if (transparentBackground)
        replaceColour(t, makeColour(0, 0, 0, 255), makeColour(0, 0, 0, 0));
}

void formatNumber(int value, char (&buffer)[16]) { std::snprintf(buffer, sizeof buffer, "%d", value); }

void renderText(Sprite& s, const char* text, TTF_Font* font) { renderSolid(s, text, font, true); }

void renderTextOpaque(Sprite& s, const char* text, TTF_Font* font) { renderSolid(s, text, font, false); }

void renderNumber(Sprite& s, int value, TTF_Font* font)
{
    char buffer[16];
    formatNumber(value, buffer);
    renderText(s, buffer, font);
}

void renderNumberOpaque(Sprite& s, int value, TTF_Font* font)
{
    char buffer[16];
    formatNumber(value, buffer);
    renderTextOpaque(s, buffer, font);
}
