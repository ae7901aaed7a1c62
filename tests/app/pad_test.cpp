#include <gtest/gtest.h>
#include <initializer_list>
#include <string>
#include <vector>
#include "ui/controls.h"
#include "ui/pad.h"

namespace {

SDL_Event axis(uint8_t number, int16_t value)
{
    SDL_Event e{};
    e.jaxis = {SDL_JOYAXISMOTION, 0, number, value};
    return e;
}

SDL_Event hat(uint8_t value)
{
    SDL_Event e{};
    e.jhat = {SDL_JOYHATMOTION, 0, 0, value};
    return e;
}

SDL_Event button(uint8_t number, bool down = true)
{
    SDL_Event e{};
    e.jbutton = {uint8_t(down ? SDL_JOYBUTTONDOWN : SDL_JOYBUTTONUP), 0, number, uint8_t(down ? SDL_PRESSED : SDL_RELEASED)};
    return e;
}

using NamedFlag = std::pair<bool, const char*>;

std::string setNames(std::initializer_list<NamedFlag> flags)
{
    std::string names;
    for (const auto& [set, name] : flags)
        if (set)
            names += names.empty() ? name : std::string(" ") + name;
    return names;
}

// Every flag the pad raised, by name, so a case states all of them at once.
std::string gameFlags(const PadState& pad)
{
    PlayerControls c;
    WeaponCycling w;
    bool escape = false;
    addPadControls(pad, c, w, escape);
    return setNames({{c.turnLeft, "turnLeft"},   {c.turnRight, "turnRight"},    {c.fineLeft, "fineLeft"},
                     {c.fineRight, "fineRight"}, {c.thrust, "thrust"},          {c.thrustPressed, "thrustPressed"},
                     {c.fire, "fire"},           {c.reload, "reload"},          {c.weaponModifier, "weaponModifier"},
                     {c.boostForward, "boost"},  {c.boostBackward, "backward"}, {w.previousWeapon, "previous"},
                     {w.nextWeapon, "next"},     {escape, "escape"}});
}

std::string menuFlags(const PadState& pad)
{
    MenuInput in;
    addPadMenuInput(pad, in);
    return setNames({{in.up, "up"},       {in.down, "down"},   {in.left, "left"},
                     {in.right, "right"}, {in.enter, "enter"}, {in.escape, "escape"}});
}

PadState after(const std::vector<SDL_Event>& events)
{
    PadState pad;
    for (const SDL_Event& e : events)
        notePadEvent(pad, e);
    return pad;
}

} // namespace

TEST(PadMapping, SticksHatAndButtonsGiveTheKeyboardsFlags)
{
    const struct {
        std::vector<SDL_Event> events;
        const char* flags;
    } cases[] = {
        {{axis(0, 7000), axis(1, -7000)}, ""}, // a resting stick drifts inside the dead zone
        {{axis(0, -12000)}, "fineLeft"},
        {{axis(0, 30000)}, "turnRight"},
        {{hat(SDL_HAT_LEFT)}, "turnLeft"},
        {{axis(1, -20000)}, "thrust thrustPressed"},
        {{hat(SDL_HAT_RIGHTDOWN)}, "turnRight backward"},
        {{axis(1, 12000)}, ""}, // backward boost wants the stick half way down
        {{axis(2, -32768), axis(5, 32767)}, ""}, // triggers and the right stick fly nothing
        {{button(0)}, "fire"},
        {{button(1)}, "boost"},
        {{button(2)}, "reload"},
        {{button(3)}, "weaponModifier"},
        {{button(4)}, "previous"},
        {{button(5)}, "next"},
        {{button(7)}, "escape"},
        {{button(6), button(40)}, ""},
        {{button(0), button(0, false)}, ""}, // a tap between readings fires nothing
    };
    for (const auto& c : cases)
        EXPECT_EQ(gameFlags(after(c.events)), c.flags) << "case " << &c - cases;
}

TEST(PadMapping, PressesLastOneReadingWhileHeldFlagsStay)
{
    PadState pad = after({axis(1, -32768), button(0), button(5)});
    EXPECT_EQ(gameFlags(pad), "thrust thrustPressed fire next");
    clearPadPresses(pad);
    EXPECT_EQ(gameFlags(pad), "thrust fire");
    notePadEvent(pad, button(0, false));
    notePadEvent(pad, axis(1, 0));
    EXPECT_EQ(gameFlags(pad), "");
}

TEST(PadMapping, EachFramesReadingOfTheDeviceWinsOverEventsLostOrLate)
{
    PadReading fireHeld;
    fireHeld.buttons = 1u << 0;
    PadReading stickUp;
    stickUp.stickY = -32768;
    const struct {
        std::vector<SDL_Event> events; // drained before the reading
        PadReading reading;
        const char* flags;
    } cases[] = {
        {{button(0)}, PadReading{}, ""},             // the release's event was lost
        {{axis(1, -32768)}, PadReading{}, "thrustPressed"}, // pushed, and its return lost
        {{}, fireHeld, "fire"},                      // the press's event was lost
        {{}, stickUp, "thrust thrustPressed"},
        {{button(4), button(4, false)}, PadReading{}, "previous"}, // a tap between two readings still counts
        {{button(0)}, fireHeld, "fire"},
    };
    for (const auto& c : cases) {
        PadState pad = after(c.events);
        notePadReading(pad, c.reading);
        EXPECT_EQ(gameFlags(pad), c.flags) << "case " << &c - cases;
    }
    // Held across readings, a press counts once.
    PadState pad = after({button(5)});
    notePadReading(pad, PadReading{0, 0, 0, 1u << 5});
    clearPadPresses(pad);
    notePadReading(pad, PadReading{0, 0, 0, 1u << 5});
    EXPECT_EQ(gameFlags(pad), "");
}

TEST(PadMapping, MenuStepsOncePerPushOfTheStick)
{
    PadState pad;
    const struct {
        SDL_Event event;
        const char* flags;
    } steps[] = {
        {axis(0, 20000), "right"},
        {axis(0, 14000), ""}, // trembling back and out again is the same push
        {axis(0, 20000), ""},
        {axis(0, 3000), ""},
        {axis(0, 20000), "right"},
        {axis(0, -20000), "left"}, // straight across
        {hat(SDL_HAT_UP), "up"},
        {hat(SDL_HAT_UP | SDL_HAT_LEFT), ""}, // left still held by the stick
        {hat(SDL_HAT_DOWN), "down"},
        {button(0), "enter"},
        {button(1), "escape"},
    };
    for (const auto& s : steps) {
        notePadEvent(pad, s.event);
        EXPECT_EQ(menuFlags(pad), s.flags) << "step " << &s - steps;
        clearPadPresses(pad);
    }
}

TEST(PadMapping, PadsGoToPlayersInOrderOrSwapped)
{
    const int expected[2][4] = {{0, 1, -1, -1}, {1, 0, -1, -1}}; // pads 0, 1, 2 and -1
    for (int swapped = 0; swapped < 2; ++swapped)
        for (int which = 0; which < 4; ++which)
            EXPECT_EQ(padPlayer(which < 3 ? which : -1, swapped), expected[swapped][which]);
}

TEST(PadMapping, AFullTurnOnOneDeviceIsNotToppedUpByAFineOneOnTheOther)
{
    unsigned char held[SDLK_LAST] = {};
    held[SDLK_2] = held[SDLK_d] = 1; // player 1's keyboard fine turn
    KeySnapshot keys;
    keys.held = held;
    ControlState c;
    controlsFromKeys(keys, DEFAULT_KEY_BINDINGS, c);
    const PadState pad = after({axis(0, -32768)});
    addPadControls(pad, c.players[0], c.cycling[0], c.escape);
    EXPECT_DOUBLE_EQ(flightCommandsFrom(c.players[0]).turnInput, -1.0);
}
