#include <gtest/gtest.h>
#include <memory>
#include "app/net_choices.h"
#include "app/net_match_game.h"
#include "support/sim_match.h"

namespace {

TEST(NetChoices, ChoicesReadBackAndDamagedOnesAreRefused)
{
    SideChoices own;
    own.shipIndex = 3;
    own.weapons[4] = 9;
    own.mapIndex = 2;
    own.lives = -1;
    SideChoices read;
    ASSERT_TRUE(readChoices(choicesBytes(own), read));
    EXPECT_EQ(read.shipIndex, 3);
    EXPECT_EQ(read.weapons[4], 9);
    EXPECT_EQ(read.mapIndex, 2);
    EXPECT_EQ(read.lives, -1);
    struct Damage {
        const char* name;
        size_t at;
        uint8_t value;
    };
    const Damage damages[] = {
        {"version", 0, CHOICES_VERSION + 1}, {"ship", 1, SHIP_COUNT}, {"weapon", 6, WEAPON_COUNT}, {"map", 7, MAP_COUNT}};
    for (const Damage& d : damages) {
        std::vector<uint8_t> bytes = choicesBytes(own);
        bytes[d.at] = d.value;
        EXPECT_FALSE(readChoices(bytes, read)) << d.name;
    }
    std::vector<uint8_t> bytes = choicesBytes(own);
    bytes.pop_back();
    EXPECT_FALSE(readChoices(bytes, read)) << "cut short";
    bytes = choicesBytes(own);
    bytes.push_back(0);
    EXPECT_FALSE(readChoices(bytes, read)) << "one byte more";
    EXPECT_EQ(read.shipIndex, 3) << "a refused read leaves the choices as they were";
}

TEST(NetChoices, BothSidesBringTheirOwnShipsAndNamesAndTheHostItsMapAndLives)
{
    SideChoices sides[PLAYER_COUNT];
    sides[0].shipIndex = 2;
    sides[0].mapIndex = 1;
    sides[0].lives = 3;
    sides[1].shipIndex = 0;
    sides[1].weapons[0] = 7;
    sides[1].mapIndex = 2;
    sides[1].lives = 9;
    const std::string names[PLAYER_COUNT] = {"Hosta", std::string("Joinalongername\0tail", 20)};
    const MatchChoices c = netMatchChoices(sides, names, 77);
    EXPECT_STREQ(c.names[0], "Hosta");
    EXPECT_STREQ(c.names[1], "Joinalongername") << "cut at 15 characters and at its zero byte";
    EXPECT_EQ(c.shipIndex[0], 2);
    EXPECT_EQ(c.shipIndex[1], 0);
    EXPECT_EQ(c.weapons[1][0], 7);
    EXPECT_EQ(c.mapIndex, 1);
    EXPECT_EQ(c.lives, 3);
    EXPECT_EQ(c.seed, 77u);
    EXPECT_EQ(matchName("Ünïcödé-names-cut-here"), "Ünïcödé-names-c");
}

MenuChange shipsChange(int32_t first, int32_t second)
{
    MenuChange c{MenuChangeKind::SHIPS};
    c.ships[0] = first;
    c.ships[1] = second;
    return c;
}

MenuChange mapChange(int32_t map)
{
    MenuChange c{MenuChangeKind::MAP};
    c.map = map;
    return c;
}

class NetMenuVisits : public SimMatch {};

TEST_F(NetMenuVisits, EachSideChangesOnlyItsOwnPlayerAndOnlyTheHostTheMap)
{
    struct Case {
        const char* name;
        MenuOutcome visits[PLAYER_COUNT];
        int32_t ships[PLAYER_COUNT]; // after the merged visit; -1 no ships change
        int32_t map;                 // -1 no map change
        bool newMatch;
    };
    const Case cases[] = {
        {"neither changed anything", {{}, {}}, {-1, -1}, -1, false},
        {"each its own ship, the other's choice ignored", {{{shipsChange(3, 3)}}, {{shipsChange(2, 2)}}}, {3, 2}, -1,
         false},
        {"the last of several visits counts", {{{shipsChange(1, 1), shipsChange(2, 0)}}, {}}, {2, 1}, -1, false},
        {"the joiner's map is not taken", {{}, {{mapChange(2)}, true}}, {-1, -1}, -1, true},
        {"the host's map is", {{{mapChange(2)}, true}, {}}, {-1, -1}, 2, true},
    };
    for (const Case& c : cases) {
        const MenuOutcome merged = mergeMenuVisits(*match, c.visits);
        int32_t ships[PLAYER_COUNT] = {-1, -1};
        int32_t map = -1;
        for (const MenuChange& change : merged.changes) {
            if (change.kind == MenuChangeKind::SHIPS)
                std::copy(change.ships, change.ships + PLAYER_COUNT, ships);
            if (change.kind == MenuChangeKind::MAP)
                map = change.map;
        }
        EXPECT_EQ(ships[0], c.ships[0]) << c.name;
        EXPECT_EQ(ships[1], c.ships[1]) << c.name;
        EXPECT_EQ(map, c.map) << c.name;
        EXPECT_EQ(merged.newMatch, c.newMatch) << c.name;
        EXPECT_FALSE(merged.quit) << c.name;
    }
}

TEST_F(NetMenuVisits, AtQuitOnlyThisSidesPlayerGoesIntoPlayerOnesEntries)
{
    GameConfig atStart;
    atStart.shipIndex[0] = 1;
    atStart.shipIndex[1] = 2;
    atStart.mapIndex = 2;
    match->players[1].shipIndex = 3;
    match->players[1].weaponRows[4] = 8;
    const GameConfig saved = configAfterNetMatch(atStart, *match, 1);
    EXPECT_EQ(saved.shipIndex[0], 3);
    EXPECT_EQ(saved.weapons[0][4], 8);
    EXPECT_EQ(saved.shipIndex[1], 2);
    EXPECT_EQ(saved.mapIndex, 2) << "the host's map is not saved by the joiner";
    EXPECT_STREQ(saved.names[0], atStart.names[0]);
}

TEST(NetInputs, EachPlayersInputCarriesItsFlagsAndAGuessRepeatsOnlyTheHeldOnes)
{
    PlayerControls c;
    c.turnLeft = c.fire = c.fineRight = c.thrustPressed = true;
    WeaponCycling cycling;
    cycling.nextWeapon = true;
    const uint32_t inputs[PLAYER_COUNT] = {0, packPlayerInput(c, cycling, true)};
    const ControlState both = controlsOfInputs(inputs);
    EXPECT_TRUE(both.players[1].turnLeft && both.players[1].fire && both.players[1].fineRight);
    EXPECT_TRUE(both.players[1].thrustPressed && both.cycling[1].nextWeapon && both.escape);
    EXPECT_FALSE(both.players[0].turnLeft || both.players[0].fire || both.cycling[0].nextWeapon);
    EXPECT_TRUE(inputEscapes(inputs[1]));
    const uint32_t guessed[PLAYER_COUNT] = {0, inputs[1] & heldInputMask()};
    const ControlState guess = controlsOfInputs(guessed);
    EXPECT_TRUE(guess.players[1].turnLeft && guess.players[1].fire && guess.players[1].fineRight);
    EXPECT_FALSE(guess.players[1].thrustPressed || guess.cycling[1].nextWeapon || guess.escape);
}

} // namespace
