#include <SDL/SDL_ttf.h>
#include <gtest/gtest.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>
#include "app/game.h"
#include "gfx/texture.h"
#include "sim/match_rules.h"
#include "support/scripted_keys.h"
#include "ui/menu.h"

// Every text the game hands to SDL_ttf is caught on its way there (the test
// links with --wrap for both solid renderers), so the table of texts below is
// whatever the real menus, HUD and banner render, not a copy of them.
namespace {
bool recording = false;
std::set<std::pair<std::string, TTF_Font*>> rendered;

void record(TTF_Font* font, const char* text)
{
    if (recording && text)
        rendered.insert({text, font});
}
} // namespace

extern "C" {
SDL_Surface* __real_TTF_RenderText_Solid(TTF_Font* font, const char* text, SDL_Color fg);
SDL_Surface* __real_TTF_RenderUTF8_Solid(TTF_Font* font, const char* text, SDL_Color fg);
SDL_Surface* __wrap_TTF_RenderText_Solid(TTF_Font* font, const char* text, SDL_Color fg)
{
    record(font, text);
    return __real_TTF_RenderText_Solid(font, text, fg);
}
SDL_Surface* __wrap_TTF_RenderUTF8_Solid(TTF_Font* font, const char* text, SDL_Color fg)
{
    record(font, text);
    return __real_TTF_RenderUTF8_Solid(font, text, fg);
}
}

namespace {

constexpr int GAP_TOLERANCE_PX = 1; // widest minus narrowest gap between the letters of one word
constexpr int HUD_NUMBERS = 200;    // every pair of digits, and in triples

// Through the main page to every sub-screen and back, then out by the quit
// page; cycling the first slot through all ten weapons shows every weapon name.
const std::vector<SDLKey> EVERY_SCREEN = {
    SDLK_DOWN,  SDLK_RETURN,                                            // main page
    SDLK_DOWN,  SDLK_RETURN, SDLK_ESCAPE, SDLK_ESCAPE,                  // ship yard
    SDLK_DOWN,  SDLK_RETURN, SDLK_RIGHT,  SDLK_RIGHT, SDLK_RIGHT, SDLK_RIGHT, SDLK_RIGHT, SDLK_RIGHT,
    SDLK_RIGHT, SDLK_RIGHT,  SDLK_RIGHT,  SDLK_RIGHT, SDLK_ESCAPE, SDLK_ESCAPE, // armory
    SDLK_DOWN,  SDLK_RETURN, SDLK_ESCAPE, SDLK_ESCAPE,                  // map selection
    SDLK_DOWN,  SDLK_RETURN, SDLK_ESCAPE,                               // credits
    SDLK_ESCAPE, SDLK_ESCAPE, SDLK_ESCAPE, SDLK_ESCAPE, SDLK_ESCAPE,    // top page, quit
};
const std::vector<SDLKey> QUIT = {SDLK_ESCAPE, SDLK_ESCAPE, SDLK_ESCAPE};

// One text of each screen: proof that the keys above reached it.
const char* const SCREEN_WITNESSES[] = {
    "Resume game",    "New Game",       "Are you out of your mind?",       "Change map",
    "Welcome to the ship yard.",        "Welcome to the armory.",          "Armageddon Dildo",
    "Twin stars",     "Where do you want to go today?.", "Peace! (or whatever)", "Ouch! Thats gotta hurt",
};

// Which pixels of a rendered text are lit, read back from its texture.
struct Ink {
    int width = 0, height = 0;
    std::vector<bool> lit;
    bool at(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height && lit[y * width + x]; }
};

Ink inkOf(const std::string& text, TTF_Font* font)
{
    Sprite s;
    renderTextOpaque(s, text.c_str(), font);
    Ink ink;
    if (!s.texture)
        return ink;
    ink.width = static_cast<int>(s.texture->width);
    ink.height = static_cast<int>(s.texture->height);
    selectPixelTexture(s.texture);
    for (int y = 0; y < ink.height; ++y)
        for (int x = 0; x < ink.width; ++x)
            ink.lit.push_back(getPixel(x, y, s.texture).red > 127);
    uploadTexture();
    clearSprite(s);
    return ink;
}

// Ends of the word's letters in bytes: a UTF-8 sequence is one letter.
std::vector<size_t> letterEnds(const std::string& word)
{
    std::vector<size_t> ends;
    for (size_t i = 1; i <= word.size(); ++i)
        if (i == word.size() || (static_cast<unsigned char>(word[i]) & 0xC0) != 0x80)
            ends.push_back(i);
    return ends;
}

// Empty columns between each letter and the next, as the real renderer lays
// them out: letter k's ink is what the text up to k adds to the text before
// it, its right edge the last lit column so far. Negative where letters overlap.
std::vector<int> letterGaps(const std::string& word, TTF_Font* font)
{
    std::vector<int> gaps;
    Ink before;
    int rightSoFar = -1;
    for (const size_t end : letterEnds(word)) {
        const Ink now = inkOf(word.substr(0, end), font);
        int left = now.width, right = -1;
        for (int x = 0; x < now.width; ++x)
            for (int y = 0; y < now.height; ++y)
                if (now.at(x, y)) {
                    right = x;
                    if (!before.at(x, y))
                        left = std::min(left, x);
                }
        if (rightSoFar >= 0)
            gaps.push_back(left - rightSoFar - 1);
        rightSoFar = right;
        before = now;
    }
    return gaps;
}

std::string listed(const std::vector<int>& gaps)
{
    std::ostringstream out;
    for (size_t k = 0; k < gaps.size(); ++k)
        out << (k ? " " : "") << gaps[k];
    return out.str();
}

class TextSpacing : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        const char* args[] = {"zentavor", "-w", "-nm"};
        recording = true;
        started = startUp(game, 3, args);
    }
    static void TearDownTestSuite()
    {
        setTickSource(nullptr);
        freeMatchTexts(game.texts);
        freeTextureCatalogue();
        closeFonts(game.fonts);
        soundShutdown(game.music);
        SDL_Quit();
    }

    // The menus (once with the match going on, once lost), every banner and
    // the HUD's numbers, all rendered by the game's own code.
    static void renderEveryText()
    {
        MatchState& m = *game.match;
        MatchContent& c = *game.content;
        typeKeys(EVERY_SCREEN);
        runMenu(m, c, game.fonts);
        m.players[0].lives = 0;
        typeKeys(QUIT);
        runMenu(m, c, game.fonts);
        StepEvents events;
        for (int k = 0; k < c.killMessageCount; ++k) {
            m.banner = Banner{BANNER_KILL, 0, 1, k};
            refreshMatchTexts(game.texts, m, c);
        }
        announceCrash(m, events, 0);
        refreshMatchTexts(game.texts, m, c);
        announceRamming(m, events);
        refreshMatchTexts(game.texts, m, c);
        for (int value = 0; value < HUD_NUMBERS; ++value) {
            Sprite number;
            renderNumber(number, value, game.fonts.hudFont);
            clearSprite(number);
        }
    }

    static inline Game game;
    static inline bool started = false;
};

TEST_F(TextSpacing, EveryWordSpacesItsLettersEvenlyAtEverySize)
{
    ASSERT_TRUE(started);
    renderEveryText();
    recording = false;
    std::set<std::string> texts;
    for (const auto& [text, font] : rendered)
        texts.insert(text);
    for (const char* witness : SCREEN_WITNESSES)
        EXPECT_TRUE(texts.count(witness)) << "never rendered: \"" << witness << "\"";

    const std::pair<int, TTF_Font*> sizes[] = {{8, game.fonts.tinyFont},
                                               {10, game.fonts.hudFont},
                                               {12, game.fonts.messageFont},
                                               {14, game.fonts.titleFont}};
    int words = 0;
    std::vector<std::string> uneven;
    for (const std::string& text : texts) {
        std::istringstream split(text);
        for (std::string word; split >> word;) {
            if (letterEnds(word).size() < 3)
                continue;
            ++words;
            for (const auto& [points, font] : sizes) {
                const std::vector<int> gaps = letterGaps(word, font);
                const auto [narrowest, widest] = std::minmax_element(gaps.begin(), gaps.end());
                if (*widest - *narrowest > GAP_TOLERANCE_PX)
                    uneven.push_back(std::to_string(points) + " px \"" + word + "\" in \"" + text + "\": gaps " +
                                     listed(gaps));
            }
        }
    }
    EXPECT_GT(words, 100) << "too few words of three letters or more: the texts were not all gathered";
    for (const std::string& line : uneven)
        ADD_FAILURE() << line;
    std::printf("%zu texts, %d words of three letters or more, each at 8, 10, 12 and 14 px: %zu uneven\n",
                texts.size(), words, uneven.size());
}

} // namespace
