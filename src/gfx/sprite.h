// Drawing textured quads and sprites, the drawing colour, rotated copies.
#pragma once
#include "gfx/texture.h"

extern Colour baseColour; // what every drawing returns to

void drawTexturedQuad(const Texture* t, const PixelRect& source, const PixelRect& dest);
void drawTexture(const Texture* t, int x, int y);
// Centred on (x, y); an empty sprite draws nothing.
void drawSprite(const Sprite& s, int x, int y);
// Turned by degrees, anticlockwise on the screen as OpenGL turns.
void drawSpriteRotated(const Sprite& s, int x, int y, float degrees);
void setDrawColour(const Colour& c);
// Draws the sprite turned by degrees into the back buffer and reads it back;
// the caller owns the new texture.
Sprite& makeRotatedCopy(Sprite& out, const Sprite& sprite, float degrees);
