#include "gfx/sprite.h"

#include <cmath>

Colour baseColour{255, 255, 255, 255};

void drawTexturedQuad(const Texture* t, const PixelRect& s, const PixelRect& d)
{
    const double tw = t->textureWidth;
    const double th = t->textureHeight;
    glBindTexture(GL_TEXTURE_2D, graphics.names[t->slot]);
    glBegin(GL_QUADS);
    glTexCoord2d(s.x / tw, s.y / th);
    glVertex2i(d.x, d.y);
    glTexCoord2d((s.x + s.width) / tw, s.y / th);
    glVertex2i(d.x + d.width, d.y);
    glTexCoord2d((s.x + s.width) / tw, (s.y + s.height) / th);
    glVertex2i(d.x + d.width, d.y + d.height);
    glTexCoord2d(s.x / tw, (s.y + s.height) / th);
    glVertex2i(d.x, d.y + d.height);
    glEnd();
}

void drawTexture(const Texture* t, int x, int y)
{
    const int w = static_cast<int>(t->width);
    const int h = static_cast<int>(t->height);
    drawTexturedQuad(t, makePixelRect(0, 0, w, h), makePixelRect(x, y, w, h));
}

void drawSprite(const Sprite& s, int x, int y)
{
    if (!s.texture)
        return;
    glPushMatrix();
    drawTexture(s.texture, x - static_cast<int>(s.halfWidth), y - static_cast<int>(s.halfHeight));
    glPopMatrix();
}

void drawSpriteRotated(const Sprite& s, int x, int y, float degrees)
{
    if (!s.texture)
        return;
    glPushMatrix();
    glTranslatef(static_cast<float>(x), static_cast<float>(y), 0.0f);
    glRotatef(degrees, 0.0f, 0.0f, 1.0f);
    drawTexture(s.texture, -static_cast<int>(s.halfWidth), -static_cast<int>(s.halfHeight));
    glPopMatrix();
}

void setDrawColour(const Colour& c) { glColor4ub(c.red, c.green, c.blue, c.alpha); }

static bool windowIsPlayfieldSized()
{
    return graphics.windowWidth == PLAYFIELD_WIDTH && graphics.windowHeight == PLAYFIELD_HEIGHT;
}

Sprite& makeRotatedCopy(Sprite& out, const Sprite& sprite, float degrees)
{
    // One unit must be one window pixel, or the read-back would be scaled.
    if (!windowIsPlayfieldSized())
        showWindowPixels();
    const int width = static_cast<int>(sprite.texture->width);
    const int height = static_cast<int>(sprite.texture->height);
    const int side = static_cast<int>(std::sqrt(static_cast<double>(width * width + height * height)) + 10);
    // The outermost pixel of each edge is left out.
    const PixelRect source = makePixelRect(1, 1, width - 2, height - 2);
    const PixelRect dest = makePixelRect(-width / 2, -height / 2, width - 2, height - 2);
    clearScreen();
    glPushMatrix();
    glTranslatef(static_cast<float>(side / 2), static_cast<float>(side / 2), 0.0f);
    glRotatef(degrees, 0.0f, 0.0f, 1.0f);
    drawTexturedQuad(sprite.texture, source, dest);
    glPopMatrix();
    Texture* copy = captureScreen(0, 0, side, side);
    if (copy)
        replaceColour(copy, makeColour(0, 0, 0, 255), makeColour(0, 0, 0, 0));
    if (!windowIsPlayfieldSized())
        showPlayfield();
    setSprite(out, copy);
    return out;
}
