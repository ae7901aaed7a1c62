#include "key_presser.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>
#include "menu_plans.h"
#include "soak_clock.h"

namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;

constexpr milliseconds STEP{20};         // between decisions during play
constexpr milliseconds POLL{5};          // while waiting for the game
constexpr milliseconds TAP_HOLD{30};     // a menu key is down this long
constexpr milliseconds MENU_STALL{300};  // no pass finished for this long: a menu runs
constexpr uint64_t MENU_MIN_READINGS = 6; // ... while the game still reads its clock
// Between menu keys: the game must have read its clock this often (about four
// menu frames) and this much time must have passed, so that every key lands
// in a frame of its own and after a sub-screen has dropped older keys.
constexpr uint64_t MENU_KEY_READINGS = 8;
constexpr milliseconds MENU_KEY_GAP{60};
constexpr seconds MENU_KEY_TIMEOUT{10};
constexpr seconds LEAVE_WAIT{2};         // for the match to come back after a plan
constexpr seconds MENU_EXPECTED_FOR{2};  // no play keys after Escape or a lost match
constexpr seconds HANG_LIMIT{60};        // clock not read for this long: the game hangs
constexpr int MAX_HELD_KEYS = 6;
constexpr double PRESS_CHANCE = 0.3;        // per step, while fewer keys are held
constexpr double ESCAPE_CHANCE = 1.0 / 1500; // per step: about one menu visit per 30 s of play
constexpr int MIN_HOLD_MS = 30;
constexpr int MAX_HOLD_MS = 1500;
constexpr int POINTER_X = 512;           // inside the window, which gets the keys without a window manager
constexpr int POINTER_Y = 384;

// Both players' keys. Fire four times and thrust three times: shots and
// crashes end lives, and matches should end often.
const KeySym PLAY_KEYS[] = {XK_d,    XK_g,     XK_r,  XK_r,  XK_r,  XK_f,    XK_1, XK_1, XK_1, XK_1, XK_2, XK_3,
                            XK_Left, XK_Right, XK_Up, XK_Up, XK_Up, XK_Down, XK_i, XK_i, XK_i, XK_i, XK_o, XK_p};
constexpr int PLAY_KEY_COUNT = sizeof PLAY_KEYS / sizeof PLAY_KEYS[0];
// In MenuKey order.
const KeySym MENU_KEYS[] = {XK_Up, XK_Down, XK_Left, XK_Right, XK_Return, XK_Escape};
constexpr int MENU_KEY_COUNT = sizeof MENU_KEYS / sizeof MENU_KEYS[0];

struct KeyCodes {
    KeyCode play[PLAY_KEY_COUNT] = {};
    KeyCode menu[MENU_KEY_COUNT] = {};
};

struct HeldKey {
    KeyCode code = 0;
    SoakClock::time_point releaseAt;
};

struct PresserRun {
    Display* display = nullptr; // used by the presser's thread only
    PresserSignals* signals = nullptr;
    KeyCodes codes;
    SoakClock::time_point deadline;
    std::mt19937 random;
    VisitBag visits;
    std::vector<HeldKey> held;
    uint64_t lastPasses = 0;
    SoakClock::time_point lastPassTime;
    uint64_t readingsAtLastPass = 0;
    uint64_t lastReadings = 0;
    SoakClock::time_point lastReadingTime;
    uint64_t lostSeen = 0;
    SoakClock::time_point menuExpectedUntil;
};

bool resolveKeyCodes(Display* display, KeyCodes& codes)
{
    for (int i = 0; i < PLAY_KEY_COUNT; ++i)
        codes.play[i] = XKeysymToKeycode(display, PLAY_KEYS[i]);
    for (int i = 0; i < MENU_KEY_COUNT; ++i)
        codes.menu[i] = XKeysymToKeycode(display, MENU_KEYS[i]);
    const auto missing = [](KeyCode code) { return code == 0; };
    return std::none_of(std::begin(codes.play), std::end(codes.play), missing) &&
           std::none_of(std::begin(codes.menu), std::end(codes.menu), missing);
}

void sendKey(PresserRun& run, KeyCode code, bool down)
{
    XTestFakeKeyEvent(run.display, code, down ? True : False, CurrentTime);
    XFlush(run.display);
}

bool chance(PresserRun& run, double p) { return std::bernoulli_distribution(p)(run.random); }

void releaseAll(PresserRun& run)
{
    for (const HeldKey& key : run.held)
        sendKey(run, key.code, false);
    run.held.clear();
}

void releaseExpired(PresserRun& run, SoakClock::time_point now)
{
    for (const HeldKey& key : run.held)
        if (key.releaseAt <= now)
            sendKey(run, key.code, false);
    run.held.erase(std::remove_if(run.held.begin(), run.held.end(),
                                  [now](const HeldKey& key) { return key.releaseAt <= now; }),
                   run.held.end());
}

void holdRandomKey(PresserRun& run, SoakClock::time_point now)
{
    const KeyCode code = run.codes.play[std::uniform_int_distribution<int>(0, PLAY_KEY_COUNT - 1)(run.random)];
    const auto same = [code](const HeldKey& key) { return key.code == code; };
    if (std::any_of(run.held.begin(), run.held.end(), same))
        return;
    const int holdMs = std::uniform_int_distribution<int>(MIN_HOLD_MS, MAX_HOLD_MS)(run.random);
    sendKey(run, code, true);
    run.held.push_back(HeldKey{code, now + milliseconds(holdMs)});
    run.signals->keysPressed.fetch_add(1);
}

// Waits until the game has run a few frames since the last key.
void waitForFrames(PresserRun& run)
{
    const uint64_t start = tickReadings();
    const SoakClock::time_point begun = SoakClock::now();
    while (!run.signals->stop) {
        const auto waited = SoakClock::now() - begun;
        if ((tickReadings() - start >= MENU_KEY_READINGS && waited >= MENU_KEY_GAP) || waited > MENU_KEY_TIMEOUT)
            return;
        std::this_thread::sleep_for(POLL);
    }
}

void tapKey(PresserRun& run, KeyCode code)
{
    sendKey(run, code, true);
    std::this_thread::sleep_for(TAP_HOLD);
    sendKey(run, code, false);
    run.signals->keysPressed.fetch_add(1);
    waitForFrames(run);
}

void tapMenuKey(PresserRun& run, MenuKey key) { tapKey(run, run.codes.menu[static_cast<int>(key)]); }

bool backInMatch(const PresserRun& run, uint64_t passesBefore) { return run.signals->passes.load() != passesBefore; }

bool timeIsUp(const PresserRun& run) { return run.signals->stop || SoakClock::now() >= run.deadline; }

bool waitForMatch(const PresserRun& run, uint64_t passesBefore)
{
    const SoakClock::time_point until = SoakClock::now() + LEAVE_WAIT;
    while (!backInMatch(run, passesBefore) && !timeIsUp(run) && SoakClock::now() < until)
        std::this_thread::sleep_for(POLL);
    return backInMatch(run, passesBefore);
}

// One plan through the menu; when it did not bring the match back (a key was
// lost, or the plan was a random one), random menu keys until it is back.
// Those may well reach the quit confirmation: the soak then starts the game again.
void visitMenu(PresserRun& run)
{
    run.signals->menuVisits.fetch_add(1);
    const uint64_t passesBefore = run.signals->passes.load();
    const MenuVisit visit = pickMenuVisit(run.visits, run.random);
    for (MenuKey key : planMenuVisit(visit, run.random, run.signals->currentMap.load())) {
        if (backInMatch(run, passesBefore) || timeIsUp(run))
            return;
        tapMenuKey(run, key);
    }
    if (waitForMatch(run, passesBefore))
        return;
    while (!backInMatch(run, passesBefore) && !timeIsUp(run))
        tapMenuKey(run, randomMenuKey(run.random));
}

void notePasses(PresserRun& run, SoakClock::time_point now)
{
    const uint64_t passes = run.signals->passes.load();
    if (passes == run.lastPasses)
        return;
    run.lastPasses = passes;
    run.lastPassTime = now;
    run.readingsAtLastPass = tickReadings();
}

// Passes stall while the game still reads its clock: a menu has the frame.
bool menuRuns(const PresserRun& run, SoakClock::time_point now)
{
    return now - run.lastPassTime > MENU_STALL && tickReadings() - run.readingsAtLastPass >= MENU_MIN_READINGS;
}

// After Escape or a lost match the menu is about to open; play keys now would
// land in it as menu keys and spoil the plan.
bool menuExpected(PresserRun& run, SoakClock::time_point now)
{
    const uint64_t lost = run.signals->matchesLost.load();
    if (lost != run.lostSeen) {
        run.lostSeen = lost;
        run.menuExpectedUntil = now + MENU_EXPECTED_FOR;
    }
    return now < run.menuExpectedUntil;
}

void playStep(PresserRun& run, SoakClock::time_point now)
{
    releaseExpired(run, now);
    if (chance(run, ESCAPE_CHANCE)) {
        releaseAll(run);
        run.menuExpectedUntil = now + MENU_EXPECTED_FOR;
        tapMenuKey(run, MenuKey::ESCAPE);
        return;
    }
    if (static_cast<int>(run.held.size()) < MAX_HELD_KEYS && chance(run, PRESS_CHANCE))
        holdRandomKey(run, now);
}

// A game that stops reading its clock is stuck; nothing will end it.
void checkHang(PresserRun& run, SoakClock::time_point now)
{
    const uint64_t readings = tickReadings();
    if (readings != run.lastReadings) {
        run.lastReadings = readings;
        run.lastReadingTime = now;
        return;
    }
    if (now - run.lastReadingTime < HANG_LIMIT)
        return;
    std::fprintf(stderr, "soak FAILED: the game has not read its clock for %lld s; it hangs\n",
                 static_cast<long long>(HANG_LIMIT.count()));
    std::_Exit(EXIT_FAILURE);
}

void runPresser(PresserRun& run)
{
    run.lastPassTime = run.lastReadingTime = SoakClock::now();
    while (!run.signals->stop) {
        const SoakClock::time_point now = SoakClock::now();
        checkHang(run, now);
        notePasses(run, now);
        if (now >= run.deadline) {
            releaseAll(run);
            tapMenuKey(run, MenuKey::ESCAPE);
        } else if (menuRuns(run, now)) {
            releaseAll(run);
            visitMenu(run);
        } else if (menuExpected(run, now)) {
            releaseAll(run);
        } else {
            playStep(run, now);
        }
        std::this_thread::sleep_for(STEP);
    }
    releaseAll(run);
    XCloseDisplay(run.display);
}

bool openPresserDisplay(PresserRun& run, std::string& error)
{
    run.display = XOpenDisplay(nullptr);
    if (!run.display) {
        error = "the key presser cannot open the X display (DISPLAY not set?)";
        return false;
    }
    int eventBase = 0, errorBase = 0, major = 0, minor = 0;
    if (!XTestQueryExtension(run.display, &eventBase, &errorBase, &major, &minor))
        error = "the X server has no XTest extension";
    else if (!resolveKeyCodes(run.display, run.codes))
        error = "the X server's keymap lacks one of the game's keys";
    else
        return true;
    XCloseDisplay(run.display);
    return false;
}

} // namespace

void prepareXForThreads() { XInitThreads(); }

bool startKeyPresser(KeyPresser& presser, PresserSignals& signals, uint32_t seed,
                     SoakClock::time_point deadline, std::string& error)
{
    PresserRun run;
    if (!openPresserDisplay(run, error))
        return false;
    run.signals = &signals;
    run.deadline = deadline;
    run.random.seed(seed);
    XTestFakeMotionEvent(run.display, DefaultScreen(run.display), POINTER_X, POINTER_Y, CurrentTime);
    XFlush(run.display);
    presser.thread = std::thread([run = std::move(run)]() mutable { runPresser(run); });
    return true;
}

void stopKeyPresser(KeyPresser& presser, PresserSignals& signals)
{
    signals.stop = true;
    if (presser.thread.joinable())
        presser.thread.join();
}
