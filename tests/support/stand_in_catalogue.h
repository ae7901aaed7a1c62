// Solid one-colour pictures put into catalogue entries for drawing tests, so
// a test knows exactly which pixels each picture covers and in what colour.
#pragma once
#include <vector>
#include "support/gl_window.h"

class StandInCatalogue : public GlWindow {
protected:
    void SetUp() override
    {
        GlWindow::SetUp();
        std::copy(catalogue, catalogue + CATALOGUE_SIZE, saved);
    }
    void TearDown() override
    {
        for (Texture* t : made)
            freeTexture(t);
        made.clear();
        std::copy(saved, saved + CATALOGUE_SIZE, catalogue);
        setDrawColour(makeColour(255, 255, 255, 255));
    }

    // Catalogue entry index becomes a width x height picture of one colour.
    void put(int index, int width, int height, const Colour& c)
    {
        Texture* t = solidTexture(width, height, c);
        made.push_back(t);
        setSprite(catalogue[index], t);
    }

    // A text-like sprite owned by the test.
    Sprite solidSprite(int width, int height, const Colour& c)
    {
        Sprite s;
        Texture* t = solidTexture(width, height, c);
        made.push_back(t);
        setSprite(s, t);
        return s;
    }

    // One row of the back buffer, left to right.
    static std::vector<Colour> readRow(int y)
    {
        std::vector<Colour> row(PLAYFIELD_WIDTH);
        glReadBuffer(GL_BACK);
        glReadPixels(0, graphics.windowHeight - 1 - y, PLAYFIELD_WIDTH, 1, GL_RGBA, GL_UNSIGNED_BYTE, row.data());
        return row;
    }

    // Channels within tolerance (blending rounds either way).
    static bool near(const Colour& a, const Colour& b, int tolerance = 2)
    {
        return std::abs(a.red - b.red) <= tolerance && std::abs(a.green - b.green) <= tolerance &&
               std::abs(a.blue - b.blue) <= tolerance;
    }

    // The columns of row y whose colour is near c.
    static std::vector<int> columnsOf(int y, const Colour& c)
    {
        std::vector<int> xs;
        const std::vector<Colour> row = readRow(y);
        for (int x = 0; x < PLAYFIELD_WIDTH; ++x)
            if (near(row[x], c))
                xs.push_back(x);
        return xs;
    }

    // A colour as it shows over black when drawn with the given alpha.
    static Colour overBlack(const Colour& c, int alpha)
    {
        const auto mix = [alpha](uint8_t v) { return static_cast<uint8_t>(v * alpha / 255); };
        return makeColour(mix(c.red), mix(c.green), mix(c.blue), 255);
    }

    Sprite saved[CATALOGUE_SIZE];
    std::vector<Texture*> made;
};
