// Real key presses for the game from a second thread. Its own X connection
// sends them through XTest, so SDL sees them as a player's keys, both as
// events and in its held-key state. The menus run loops of their own inside a
// frame, which is why the keys cannot come from the game's thread.
//
// During play it holds random keys of both players for random short times and
// now and then opens the menu; in a menu it walks one of the plans in
// menu_plans.h back to the match. When the time is up it presses Escape until
// the game's thread says stop, which leaves any menu (or quits the game).
#pragma once
#include <atomic>
#include <chrono>
#include <cstdint>
#include <string>
#include <thread>

using SoakClock = std::chrono::steady_clock;

struct PresserSignals {
    // Written by the game's thread.
    std::atomic<uint64_t> passes{0};      // frame-loop passes finished; they stall while a menu runs
    std::atomic<uint64_t> matchesLost{0}; // raised before the menu of a lost match opens
    std::atomic<int> currentMap{0};       // the map in play, which the map screen opens on
    std::atomic<bool> stop{false};
    // Written by the presser.
    std::atomic<uint64_t> keysPressed{0};
    std::atomic<uint64_t> menuVisits{0};
};

struct KeyPresser {
    std::thread thread;
};

// Lets Xlib serve two threads; must come before any other Xlib call of the
// process, SDL's included.
void prepareXForThreads();
// Opens the presser's X connection (DISPLAY) and starts its thread. Returns
// false with error set when there is no display or no XTest.
bool startKeyPresser(KeyPresser& presser, PresserSignals& signals, uint32_t seed,
                     SoakClock::time_point deadline, std::string& error);
// Stops the thread; it releases every key it holds first.
void stopKeyPresser(KeyPresser& presser, PresserSignals& signals);
