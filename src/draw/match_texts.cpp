#include "draw/match_texts.h"

void rerenderLives(MatchTexts& texts, int player)
{
    Sprite& s = texts.players[player].lives;
    clearSprite(s);
    renderNumber(s, texts.match->players[player].lives, texts.fonts->hudFont);
}

void rerenderKills(MatchTexts& texts, int player)
{
    Sprite& s = texts.players[player].kills;
    clearSprite(s);
    renderNumber(s, texts.match->players[player].kills, texts.fonts->hudFont);
}

void rerenderWeaponName(MatchTexts& texts, int player)
{
    const Player& p = texts.match->players[player];
    Sprite& s = texts.players[player].weaponName;
    clearSprite(s);
    renderText(s, p.weapons[p.currentSlot].name, texts.fonts->hudFont);
}

void rerenderBanner(MatchTexts& texts, const char* text)
{
    clearSprite(texts.banner);
    renderText(texts.banner, text, texts.fonts->messageFont);
}

static MatchTexts& textsOf(void* context) { return *static_cast<MatchTexts*>(context); }

void connectMatchTexts(MatchTexts& texts, MatchState& m, const Fonts& fonts)
{
    texts.fonts = &fonts;
    texts.match = &m;
    m.events.context = &texts;
    m.events.livesChanged = [](void* c, int player) { rerenderLives(textsOf(c), player); };
    m.events.killsChanged = [](void* c, int player) { rerenderKills(textsOf(c), player); };
    m.events.weaponChanged = [](void* c, int player) { rerenderWeaponName(textsOf(c), player); };
    m.events.messageShown = [](void* c, const char* text) { rerenderBanner(textsOf(c), text); };
}

void renderNameLabels(MatchTexts& texts)
{
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        clearSprite(texts.players[p].name);
        renderText(texts.players[p].name, texts.match->players[p].name, texts.fonts->hudFont);
    }
}

void renderMatchLabels(MatchTexts& texts)
{
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        rerenderKills(texts, p);
        rerenderLives(texts, p);
    }
    for (int p = 0; p < PLAYER_COUNT; ++p)
        rerenderWeaponName(texts, p);
    rerenderBanner(texts, " ");
}

void freeMatchTexts(MatchTexts& texts)
{
    for (PlayerLabels& labels : texts.players)
        for (Sprite* s : {&labels.name, &labels.kills, &labels.lives, &labels.weaponName})
            clearSprite(*s);
    clearSprite(texts.banner);
}
