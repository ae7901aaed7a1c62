#include "draw/match_texts.h"

#include <cstring>
#include "sim/match_rules.h"

static bool sameBanner(const Banner& a, const Banner& b)
{
    return a.kind == b.kind && a.killer == b.killer && a.victim == b.victim && a.taunt == b.taunt;
}

static void refreshPlayerLabels(MatchTexts& texts, const MatchState& m, const MatchContent& c, int p)
{
    ShownTexts& shown = texts.shown;
    PlayerLabels& labels = texts.players[p];
    const Player& player = m.players[p];
    TTF_Font* font = texts.fonts->hudFont;
    if (!shown.any || std::strcmp(shown.names[p], m.nameBuffers[p]) != 0) {
        clearSprite(labels.name);
        renderText(labels.name, m.nameBuffers[p], font);
        std::memcpy(shown.names[p], m.nameBuffers[p], sizeof shown.names[p]);
    }
    if (!shown.any || shown.kills[p] != player.kills) {
        clearSprite(labels.kills);
        renderNumber(labels.kills, player.kills, font);
        shown.kills[p] = player.kills;
    }
    if (!shown.any || shown.lives[p] != player.lives) {
        clearSprite(labels.lives);
        renderNumber(labels.lives, player.lives, font);
        shown.lives[p] = player.lives;
    }
    const int32_t row = player.weaponRows[player.currentSlot];
    if (!shown.any || shown.weaponRows[p] != row) {
        clearSprite(labels.weaponName);
        renderText(labels.weaponName, selectedWeapon(c, player).name, font);
        shown.weaponRows[p] = row;
    }
}

void refreshMatchTexts(MatchTexts& texts, const MatchState& m, const MatchContent& c)
{
    for (int p = 0; p < PLAYER_COUNT; ++p)
        refreshPlayerLabels(texts, m, c, p);
    if (!texts.shown.any || !sameBanner(texts.shown.banner, m.banner)) {
        char text[MESSAGE_BUFFER_SIZE];
        bannerText(m, c, text);
        clearSprite(texts.banner);
        renderText(texts.banner, text, texts.fonts->messageFont);
        texts.shown.banner = m.banner;
    }
    texts.shown.any = true;
}

void freeMatchTexts(MatchTexts& texts)
{
    for (PlayerLabels& labels : texts.players)
        for (Sprite* s : {&labels.name, &labels.kills, &labels.lives, &labels.weaponName})
            clearSprite(*s);
    clearSprite(texts.banner);
    texts.shown = ShownTexts{};
}
