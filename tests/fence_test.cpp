// fence_test.cpp: the input fence held against a model of how the game reads its keys, both driven
// by the same seeded sequences of real keys; then keys tapped while the game takes no event, and a
// queue that floods, as a player meets them.
#include <gtest/gtest.h>

#include <deque>
#include <random>
#include <sstream>

#include "SDL.h"
#include "app/loop.h"
#include "base/screen.h"
#include "base/state.h"
#include "game/rules.h"
#include "input/input.h"
#include "input/keys.h"
#include "support.h"

namespace {

// The keys the sequences play on: X's name for each, the game's code, and the actions it stands
// for with the default controls.
struct TestKey {
    const char *x;
    int code;
    uint32_t actions;
};
const TestKey Keys[] = {
    {"Left", KeyLeft, actionBit(MoveLeft) | actionBit(MenuLeft)},
    {"Return", KeyReturn, actionBit(Confirm)},
    {"Escape", KeyEscape, actionBit(Leave)},
    {"space", KeySpace, actionBit(Drop)},
    {"x", 'x', 0},
};
const int KeyCount = sizeof Keys / sizeof Keys[0];
const Action Asked[] = {MoveLeft, MenuLeft, Confirm, Leave, Drop};
const uint32_t AskedActions = actionBit(MoveLeft) | actionBit(MenuLeft) | actionBit(Confirm) | actionBit(Leave) |
                              actionBit(Drop);

// How the game reads its keys, as its design says, over an ideal keyboard and queue:
// - every change of a key is an event that waits in SDL's queue, in order;
// - the table of held keys changes only when SDL looks at the queue, which it does in a frame
//   that takes an event: the table then shows the keys as they are at that moment;
// - a frame takes at most one event; one that takes none leaves the table and the queue alone;
// - a key that acted is spent: it reads as up, and its presses until then are no presses, until
//   it is let go (and SDL has looked since);
// - what a frame offers to act on belongs to the page the frame came to.
struct Model {
    struct Change {
        int key;
        bool down;
        int time;
    };
    bool down[KeyCount] = {};
    std::deque<Change> queue;
    bool table[KeyCount] = {};
    bool spent[KeyCount] = {};
    int spentAt[KeyCount] = {};
    bool letGo[KeyCount] = {};
    int time = 0;
    // This frame: the key pressed (with when) and the key let go, -1 for none; what it acted on.
    int pressedKey = -1;
    int pressTime = 0;
    int releasedKey = -1;
    bool samePage = true;
    uint32_t pressRead = 0, heldRead = 0;
    bool anyKeyRead = false, keyRead = false;

    void change(int key, bool isDown)
    {
        down[key] = isDown;
        queue.push_back({key, isDown, ++time});
        if (!isDown && spent[key])
            letGo[key] = true;
    }

    void frame(bool take)
    {
        pressedKey = releasedKey = -1;
        samePage = true;
        pressRead = heldRead = 0;
        anyKeyRead = keyRead = false;
        if (!take)
            return;
        for (int k = 0; k < KeyCount; k++) {
            table[k] = down[k];
            spent[k] = spent[k] && table[k] && !letGo[k];
            letGo[k] = false;
        }
        if (queue.empty())
            return;
        Change c = queue.front();
        queue.pop_front();
        if (!c.down) {
            releasedKey = c.key;
        } else if (c.time > spentAt[c.key]) {
            pressedKey = c.key;
            pressTime = c.time;
        }
    }

    bool heldKey(int k) const { return table[k] && !spent[k]; }

    uint32_t held() const
    {
        uint32_t actions = 0;
        for (int k = 0; k < KeyCount; k++)
            if (heldKey(k))
                actions |= Keys[k].actions;
        return actions;
    }

    bool pressed(Action a)
    {
        bool yes = samePage && pressedKey >= 0 && (Keys[pressedKey].actions & actionBit(a));
        pressRead |= yes ? actionBit(a) : 0;
        return yes;
    }

    bool heldOnce(Action a)
    {
        bool yes = samePage && (held() & actionBit(a));
        heldRead |= yes ? actionBit(a) : 0;
        return yes;
    }

    bool anyKeyHeld()
    {
        bool any = false;
        for (int k = 0; k < KeyCount; k++)
            any = any || (samePage && Keys[k].code < FirstNonCharacterKey && heldKey(k));
        anyKeyRead = anyKeyRead || any;
        return any;
    }

    int keyPressed()
    {
        int key = samePage && pressedKey >= 0 ? Keys[pressedKey].code : 0;
        keyRead = keyRead || key != 0;
        return key;
    }

    void spend()
    {
        for (int k = 0; k < KeyCount; k++) {
            bool press = k == pressedKey && (keyRead || (Keys[k].actions & pressRead));
            bool character = Keys[k].code < FirstNonCharacterKey;
            bool hold = heldKey(k) && ((Keys[k].actions & heldRead) || (character && anyKeyRead));
            if (hold || press) {
                spent[k] = true;
                spentAt[k] = hold ? time : pressTime;
                letGo[k] = false;
            }
        }
    }
};

const char *const ReadNames[] = {"nothing", "a press", "a held key", "any key", "the key", "a new page"};

// One seeded sequence: keys pressed and let go between frames (taps shorter than a frame among
// them), frames that take an event and frames that do not, reads that act and pages that change
// in the middle of a frame; the fence and the model compared on every frame. Returns the empty
// text, or where they first differ with the steps that led there.
std::string playSequence(unsigned seed, int frames)
{
    std::mt19937 random(seed);
    Model model;
    std::deque<std::string> steps;
    auto differ = [&](int frame, const std::string &what) {
        std::string story;
        for (const std::string &s : steps)
            story += "\n  " + s;
        return "seed " + std::to_string(seed) + ", frame " + std::to_string(frame) + ": " + what +
               "\n the last frames:" + story;
    };
    for (int frame = 0; frame < frames; frame++) {
        std::string step;
        // Up to two changes of keys before the frame; a key is never let go and pressed anew
        // between two frames, which X's drivers would take for the keyboard's own repeat.
        bool releasedNow[KeyCount] = {};
        for (int n = random() % 3; n > 0; n--) {
            int k = static_cast<int>(random() % KeyCount);
            bool down = !model.down[k];
            if (down && releasedNow[k])
                continue;
            releasedNow[k] = !down;
            realKey(Keys[k].x, down);
            model.change(k, down);
            step += std::string(Keys[k].x) + (down ? " down, " : " up, ");
        }
        bool take = random() % 3 != 0;
        int read = static_cast<int>(random() % 6);
        Action action = Asked[random() % (sizeof Asked / sizeof Asked[0])];
        step += take ? "a frame taking an event" : "a frame taking none";
        step += std::string(", reading ") + ReadNames[read];
        steps.push_back(step);
        if (steps.size() > 12)
            steps.pop_front();

        readInput({take, false});
        model.frame(take);
        const Input &in = game.input;
        int modelKey = model.pressedKey >= 0 ? Keys[model.pressedKey].code : 0;
        uint32_t modelReleased = model.releasedKey >= 0 ? Keys[model.releasedKey].actions : 0;
        int modelTyped = model.releasedKey >= 0 && Keys[model.releasedKey].code < 256 ? Keys[model.releasedKey].code : 0;
        if ((in.held & AskedActions) != model.held())
            return differ(frame, "held " + std::to_string(in.held & AskedActions) + ", the model " + std::to_string(model.held()));
        if (in.keyDown != modelKey)
            return differ(frame, "the key pressed " + std::to_string(in.keyDown) + ", the model " + std::to_string(modelKey));
        if ((in.released & AskedActions) != modelReleased || in.typed != modelTyped)
            return differ(frame, "the key let go " + std::to_string(in.typed) + ", the model " + std::to_string(modelTyped));

        bool fence = false, wanted = false;
        if (read == 1) {
            fence = pressed(action);
            wanted = model.pressed(action);
        } else if (read == 2) {
            fence = heldOnce(action);
            wanted = model.heldOnce(action);
        } else if (read == 3) {
            fence = anyKeyHeld();
            wanted = model.anyKeyHeld();
        } else if (read == 4) {
            fence = keyPressed() != 0;
            wanted = model.keyPressed() != 0;
        } else if (read == 5) {
            changeScreen(IntroScreen, game.MenuPage == MainPage ? CreditsPage : MainPage);
            model.samePage = false;
            fence = heldOnce(action) || pressed(action) || anyKeyHeld() || keyPressed() != 0;
            wanted = model.heldOnce(action) || model.pressed(action) || model.anyKeyHeld() || model.keyPressed() != 0;
        }
        if (fence != wanted)
            return differ(frame, std::string("reading ") + ReadNames[read] + " answered " + (fence ? "yes" : "no"));
        spendInput();
        model.spend();
    }
    // Every key let go and every event taken: the next sequence starts from rest.
    for (int k = 0; k < KeyCount; k++)
        if (model.down[k])
            realKey(Keys[k].x, false);
    for (int i = 0; i < 4 * EventQueueSize && queuedEvents() > 0; i++)
        readInput({true, false});
    readInput({true, false});
    return "";
}

TEST(Fence, HeldAgainstTheModelOfTheKeysOverSeededSequences)
{
    startUpWith();
    setDefaultControls(game.controls);
    changeScreen(IntroScreen, MainPage);
    int sequences = 0;
    for (unsigned seed = 1; seed <= 24; seed++, sequences++) {
        std::string difference = playSequence(seed, 250);
        if (!difference.empty())
            FAIL() << difference << "\n(after " << sequences << " sequences of 250 frames)";
    }
}

// As a player met it: the first block steps to row 1, Space drops it, Left is pressed and let go
// again while it drops (the game takes no event then), Space is let go. Left was up when the game
// looked at the keys again: the next block stays where it appears.
TEST(Fence, ALeftTappedDuringADropLeavesTheNextBlockWhereItAppears)
{
    startPlaying(3);
    Round &r = game.round;
    for (int i = 0; i < 80 && r.block.row < 1; i++)
        runFrame();
    realKey("space", true);
    for (int i = 0; i < 8 && !r.dropping; i++)
        runFrame();
    ASSERT_TRUE(r.dropping);
    runFrame();
    realKey("Left", true);
    runFrame();
    realKey("Left", false);
    runFrame();
    realKey("space", false);
    for (int i = 0; i < 20 && (r.dropping || r.block.row != 0); i++)
        runFrame();
    ASSERT_EQ(r.block.row, 0) << "the next block has come";
    int32_t column = r.block.column;
    for (int i = 0; i < 40; i++)
        runFrame();
    EXPECT_EQ(r.block.column, column);
    EXPECT_FALSE(held(MoveLeft));
}

// A key tapped during the plain game-over wait, which takes no events, is up when the table
// opens: the table stays for the player to read. (A key still held then leaves it, as a key
// held on any page of "press any key" does: keys_test.cpp.)
TEST(Fence, AKeyTappedDuringTheGameOverWaitLeavesTheTableShown)
{
    startUpWith();
    newGame();
    game.round.gameOverFrames = 100;
    changeScreen(GameOverScreen, NoPage);
    for (int i = 0; i < 10; i++)
        runFrame();
    realKey("x", true);
    runFrame();
    realKey("x", false);
    for (int i = 0; i < 200 && game.Screen == GameOverScreen; i++)
        runFrame();
    ASSERT_EQ(game.MenuPage, HighScorePage);
    for (int i = 0; i < 10; i++)
        runFrame();
    EXPECT_EQ(game.MenuPage, HighScorePage);
}

// The pointer moving all through a drop sends more events than the queue holds. Up, pressed and
// let go in the middle of them, still turns the next block once the drop is over, as a press made
// during a drop does; no key reads as held that is up, and the pointer ends where it went last.
TEST(Fence, APressInAFloodOfPointerMotionIsNotLost)
{
    startPlaying(4);
    Round &r = game.round;
    r.block.row = 2;
    r.dropping = true;
    int motions = 0;
    auto flood = [&](int count) {
        for (int i = 0; i < count; i++, motions++)
            pushEvent(SDL_MOUSEMOTION, 100 + motions % 500, 100 + motions % 300);
    };
    flood(90);
    runFrame();
    flood(90);
    runFrame();
    realKey("Up", true);
    realKey("Up", false);
    flood(90);
    runFrame();
    EXPECT_EQ(game.fence.queued, EventQueueSize);
    for (int i = 0; i < 20 && r.dropping; i++)
        runFrame();
    ASSERT_FALSE(r.dropping);
    const int32_t c[4] = {r.block.colours[0], r.block.colours[1], r.block.colours[2], r.block.colours[3]};
    for (int i = 0; i < 2 * EventQueueSize && queuedEvents() > 0; i++)
        runFrame();
    EXPECT_EQ(queuedEvents(), 0);
    EXPECT_EQ(r.block.colours[0], c[1]) << "turned once";
    EXPECT_EQ(r.block.colours[1], c[2]);
    EXPECT_EQ(game.mouseX, 100 + (motions - 1) % 500);
    EXPECT_EQ(game.mouseY, 100 + (motions - 1) % 300);
    EXPECT_EQ(game.input.held, 0u);
}

// A flood that fills the queue lets go of pointer motions that another motion follows, never of
// the one a click was made at, and loses a new event only when no such motion is left; the window
// losing the focus draws nothing anew, and coming back or being uncovered does.
TEST(Fence, AFullQueueKeepsWhereEachClickWasMade)
{
    startPlaying(5);
    Round &r = game.round;
    r.block.row = 2;
    r.dropping = true;
    // Two motions, then clicks each at a place of its own: 64 events, 64, then 6 more.
    int made = 0;
    pushEvent(SDL_MOUSEMOTION, 10, 10);
    pushEvent(SDL_MOUSEMOTION, 20, 20);
    for (int pairs : {31, 32, 3}) {
        for (int i = 0; i < pairs; i++, made++) {
            pushEvent(SDL_MOUSEMOTION, 100 + made, 400);
            pushEvent(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT);
        }
        runFrame();
    }
    EXPECT_EQ(game.fence.queued, EventQueueSize);
    for (int i = 0; i < 20 && r.dropping; i++)
        runFrame();
    int clicks = 0;
    for (int i = 0; i < 2 * EventQueueSize && queuedEvents() > 0; i++) {
        runFrame();
        if (game.input.clicked) {
            EXPECT_EQ(game.mouseX, 100 + clicks);
            EXPECT_EQ(game.mouseY, 400);
            clicks++;
        }
    }
    // The two motions made room for the first pair of the last gap; the rest found none.
    EXPECT_EQ(clicks, 64);

    const struct {
        Uint8 type;
        int gain;
        bool exposes;
    } windowEvents[] = {{SDL_ACTIVEEVENT, 0, false}, {SDL_ACTIVEEVENT, 1, true}, {SDL_VIDEOEXPOSE, 0, true}};
    for (const auto &w : windowEvents) {
        pushEvent(w.type, w.gain, SDL_APPINPUTFOCUS);
        readInput({true, false});
        EXPECT_EQ(game.input.exposed, w.exposes) << int(w.type) << " " << w.gain;
    }
}

}  // namespace
