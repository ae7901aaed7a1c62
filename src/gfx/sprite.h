// Drawing textured quads and sprites, the drawing colour, rotated copies.
#pragma once
#include "gfx/texture.h"

extern Colour baseColour; // what every drawing returns to

void drawTexturedQuad(const Texture* t, const PixelRect& source, const PixelRect& dest);
void drawTexture(const Texture* t, int x, int y);
// Centred on (x, y); an empty sprite draws nothing.
void drawSprite(const Sprite& s, int x, int y);
void drawSpriteRotated(const Sprite& s, int x, int y, double angle);
void setDrawColour(const Colour& c);
// Draws the sprite turned by angle into the back buffer and reads it back;
// the caller owns the new texture.
Sprite& makeRotatedCopy(Sprite& out, const Sprite& sprite, double angle);
