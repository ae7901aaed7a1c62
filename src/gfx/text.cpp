#include "gfx/text.h"

#include <SDL/SDL_ttf.h>
#include <cstdio>
#include "files/whole_file.h"
#include "gfx/utf8.h"

static const SDL_Color TEXT_COLOUR = {255, 255, 255, 0};

bool openFonts(Fonts& fonts)
{
    TTF_Init();
    // SDL_ttf would wait for ever on a named pipe; the reason goes where its own would.
    const std::string problem = whyNotARegularFile(FONT_FILE);
    if (!problem.empty()) {
        TTF_SetError("%s", problem.c_str());
        return false;
    }
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
// Texts are UTF-8 (names come from config.cfg as the player typed them); what
// is not is drawn as replacement characters rather than as Latin-1 mojibake.
static void renderSolid(Sprite& s, const char* text, TTF_Font* font, bool transparentBackground)
{
    setSprite(s, nullptr);
    if (!font || !text || !*text)
        return;
    SDL_Surface* surface = TTF_RenderUTF8_Solid(font, drawableUtf8(text).c_str(), TEXT_COLOUR);
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
