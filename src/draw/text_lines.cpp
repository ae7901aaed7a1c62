#include "draw/text_lines.h"

#include <cassert>
#include <cstdio>
#include <cstring>
#include "gfx/sprite.h"

void setTextLine(TextLines& t, int line, const char* text, TTF_Font* font, bool boxed)
{
    assert(line >= 0 && line < MAX_TEXT_LINES);
    // Cut before a byte that continues a UTF-8 sequence, never inside one.
    size_t length = strnlen(text, MAX_LINE_BYTES);
    if (length == MAX_LINE_BYTES) {
        length = MAX_LINE_BYTES - 1;
        while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80)
            --length;
    }
    char cut[MAX_LINE_BYTES];
    std::memcpy(cut, text, length);
    cut[length] = '\0';
    if (std::strcmp(cut, t.shown[line]) == 0 && t.boxed[line] == boxed && (t.sprites[line].texture || !*cut))
        return;
    clearSprite(t.sprites[line]);
    if (boxed)
        renderTextOpaque(t.sprites[line], cut, font);
    else
        renderText(t.sprites[line], cut, font);
    std::memcpy(t.shown[line], cut, sizeof cut);
    t.boxed[line] = boxed;
}

void clearTextLines(TextLines& t)
{
    for (Sprite& s : t.sprites)
        clearSprite(s);
    t = TextLines{};
}

void drawLinesCentred(const TextLines& t, int first, int count, int centreX, int y, int spacing)
{
    for (int i = 0; i < count; ++i)
        drawSprite(t.sprites[first + i], centreX, y + i * spacing);
}

void drawLinesFromLeft(const TextLines& t, int first, int count, int x, int y, int spacing)
{
    for (int i = 0; i < count; ++i)
        drawSprite(t.sprites[first + i], x + static_cast<int>(t.sprites[first + i].halfWidth), y + i * spacing);
}
