// keys_test.cpp: the menus by the keys alone, controls of the player's own kept in controls.dat,
// and the gamepad, by real SDL events.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <sstream>

#include "SDL.h"
#include "app/loop.h"
#include "base/files.h"
#include "base/state.h"
#include "game/rules.h"
#include "input/gamepad.h"
#include "input/keys.h"
#include "screen_helpers.h"
#include "support.h"

namespace {

// Frames until whatever is queued has been taken.
void settle()
{
    for (int i = 0; i < 20 && queuedEvents() > 0; i++)
        runFrame();
    runFrame();
}

// A key pressed and let go, or a gamepad button.
void press(int key, int times = 1)
{
    for (int i = 0; i < times; i++) {
        pushEvent(SDL_KEYDOWN, key);
        pushEvent(SDL_KEYUP, key);
        settle();
    }
}

void button(int number)
{
    pushEvent(SDL_JOYBUTTONDOWN, number);
    pushEvent(SDL_JOYBUTTONUP, number);
    settle();
}

void hat(Uint8 direction)
{
    pushEvent(SDL_JOYHATMOTION, direction);
    pushEvent(SDL_JOYHATMOTION, SDL_HAT_CENTERED);
    settle();
}

TEST(Keys, EveryItemOfTheMenusIsReachedAndChosenByTheKeysAlone)
{
    std::string dir = startUpWith();
    setDefaultControls(game.controls);
    press(SDLK_DOWN, 2);  // new game, options
    EXPECT_EQ(game.view.selection, 1);
    press(SDLK_RETURN);
    ASSERT_EQ(game.MenuPage, OptionsPage);
    EXPECT_EQ(game.view.selection, 0);  // the new page lights its first item
    press(SDLK_DOWN);                   // music: Right, Left and Return flip it
    press(SDLK_RIGHT);
    EXPECT_EQ(game.settings.musicOff, 1);
    press(SDLK_LEFT);
    press(SDLK_KP_ENTER);
    EXPECT_EQ(game.settings.musicOff, 1);
    press(SDLK_DOWN, 2);  // controls
    press(SDLK_RETURN);
    ASSERT_EQ(game.MenuPage, ControlsPage);
    press(SDLK_RETURN);  // move left waits for its key
    press(SDLK_a);
    EXPECT_EQ(game.controls.keys[MoveLeft], SDLK_a);
    press(SDLK_UP);  // round to "back"
    press(SDLK_RETURN);
    ASSERT_EQ(game.MenuPage, OptionsPage);
    EXPECT_NE(readFile(dir + "controls.dat").find("left 97 -1\n"), std::string::npos);
    press(SDLK_UP);  // back
    press(SDLK_RETURN);
    ASSERT_EQ(game.MenuPage, MainPage);
    EXPECT_EQ(readFile(dir + "opt.dat"), "0\n1\n0\n");

    // The pointer, when it moves, lights its item; the keys then light theirs again.
    PlaceBox credits = centredBox("credits", 250);
    pushEvent(SDL_MOUSEMOTION, credits.x + 5, credits.y + 5);
    settle();
    EXPECT_EQ(game.view.selection, NoSelection);
    press(SDLK_DOWN, 2);
    EXPECT_EQ(game.view.selection, 1);

    // The table and the credits, each left by a key; exit ends the game.
    struct {
        int downs;
        PageName page;
    } pages[] = {{1, HighScorePage}, {3, CreditsPage}};
    for (const auto &p : pages) {
        press(SDLK_DOWN, p.downs);
        press(SDLK_RETURN);
        EXPECT_EQ(game.MenuPage, p.page);
        keyTable()['x'] = 1;
        runFrame();
        EXPECT_EQ(game.MenuPage, MainPage);
        EXPECT_EQ(game.view.selection, 0);
    }
    press(SDLK_UP);
    EXPECT_TRUE(game.running);
    press(SDLK_RETURN);
    EXPECT_FALSE(game.running);
}

// Controls as controls.dat holds them, or "" for none.
std::string keptControls(const std::string &dir)
{
    return fileExists(dir + "controls.dat") ? readFile(dir + "controls.dat") : "";
}

TEST(Keys, KeysOfThePlayersOwnPlayAndAreKeptAcrossARestartAndADamagedFile)
{
    std::string dir = startUpWith();
    setDefaultControls(game.controls);
    Controls defaults = game.controls;
    game.MenuPage = ControlsPage;
    // Each row taken by the keys: the row, then the key or button pressed for it.
    struct {
        int row;
        Uint8 type;
        int code;
    } assignments[] = {
        {Turn, SDL_KEYDOWN, SDLK_w},       // a free key
        {Drop, SDL_KEYDOWN, SDLK_w},       // turn's key: turn takes Space, drop's old key
        {Pause, SDL_JOYBUTTONDOWN, 5},     // a free button
        {Turn, SDL_JOYBUTTONDOWN, 5},      // pause's button: pause takes turn's old one
        {MoveLeft, SDL_KEYDOWN, SDLK_ESCAPE},  // Escape only stops the wait
    };
    for (const auto &a : assignments) {
        game.menuSelection = a.row;
        press(SDLK_RETURN);
        ASSERT_EQ(game.waitingRow, a.row);
        pushEvent(a.type, a.code);
        if (a.code == SDLK_ESCAPE)
            keyTable()[SDLK_ESCAPE] = 1;  // held, as a real key is: the page stays all the same
        settle();
        EXPECT_EQ(game.waitingRow, NoSelection);
        EXPECT_EQ(game.MenuPage, ControlsPage);
    }
    const Controls &c = game.controls;
    EXPECT_EQ(c.keys[Turn], SDLK_SPACE);
    EXPECT_EQ(c.keys[Drop], SDLK_w);
    EXPECT_EQ(c.keys[MoveLeft], SDLK_LEFT);
    EXPECT_EQ(c.buttons[Turn], 5);
    EXPECT_EQ(c.buttons[Pause], 0);
    keyTable()[SDLK_ESCAPE] = 1;  // leaves, and saves
    runFrame();
    EXPECT_EQ(game.MenuPage, OptionsPage);
    std::string kept = keptControls(dir);
    EXPECT_EQ(kept, controlsText());

    // In a game the new keys play: Space turns the block, w drops it.
    std::srand(3);
    newGame();
    game.Screen = GameScreen;
    int32_t topLeft = game.round.block.colours[0], topRight = game.round.block.colours[1];
    pushEvent(SDL_KEYDOWN, SDLK_SPACE);
    runFrame();
    EXPECT_EQ(game.round.block.colours[0], topRight);
    EXPECT_EQ(game.round.block.colours[3], topLeft);
    keyTable()[SDLK_w] = 1;
    for (int i = 0; i < 64; i++)
        runFrame();
    EXPECT_TRUE(game.round.dropping);
    keyTable()[SDLK_w] = 0;

    // The next start reads them back; a damaged file gives the defaults and says so in the log.
    struct {
        const char *file;
        bool kept;
    } files[] = {
        {nullptr, true},
        {"left 276 -1\nright 275 -1\n", false},                                          // cut short
        {"left 276 -1\nright 276 -1\nturn 273 0\nturnback 274 1\ndrop 32 2\npause 112 9\n", false},  // a key twice
        {"left 276 -1\nright 275 -1\nturn 273 0\nturnback 274 1\ndrop 32 2\nstop 112 9\n", false},   // no such control
        {"left 276 -1\nright 275 -1\nturn 273 0\nturnback 274 1\ndrop 32 2\npause 112 32\n", false}, // no such button
        {"left 276 -1\nright 275 -1\nturn 273 0\nturnback 274 1\ndrop 1024 2\npause 112 9\n", false}, // no such key
        {"left 276 -1\nright 275 -1\nturn 1 0\nturnback 274 1\ndrop 1023 -1\npause 112 31\n", true},  // the first and last keys, the last button
        {"left 276 -1\nright 275 -1\nturn 273 0\nturnback 274 1\ndrop 32 x\npause 112 9\n", false},  // not a number
    };
    for (const auto &f : files) {
        if (f.file)
            writeFile(dir + "controls.dat", f.file);
        size_t mark = logText().size();
        setDefaultControls(game.controls);
        loadControls();
        Controls expected = defaults;
        if (f.kept) {
            EXPECT_TRUE(readControls(*std::make_unique<std::istringstream>(f.file ? f.file : kept), expected));
        }
        EXPECT_EQ(std::memcmp(&game.controls, &expected, sizeof expected), 0) << (f.file ? f.file : "kept");
        EXPECT_EQ(logText().substr(mark).find("damaged") != std::string::npos, !f.kept) << (f.file ? f.file : "");
    }
    std::remove((dir + "controls.dat").c_str());  // none at all: the defaults, silently
    size_t mark = logText().size();
    loadControls();
    EXPECT_EQ(logText().substr(mark), "");
}

TEST(Keys, TheGamepadMovesTurnsDropsLeavesAndPlaysTheMenus)
{
    startPlaying(8);
    setDefaultControls(game.controls);
    Round &r = game.round;
    // The pad held left moves the block every fourth frame, as the arrow does.
    pushEvent(SDL_JOYHATMOTION, SDL_HAT_LEFT);
    for (int i = 0; i < 9; i++)
        runFrame();
    EXPECT_EQ(r.block.column, 7);
    pushEvent(SDL_JOYHATMOTION, SDL_HAT_CENTERED);
    // The first button turns one way, the second the other.
    const int32_t c[4] = {r.block.colours[0], r.block.colours[1], r.block.colours[2], r.block.colours[3]};
    button(0);
    EXPECT_EQ(r.block.colours[0], c[1]);
    button(1);
    button(1);
    EXPECT_EQ(r.block.colours[0], c[3]);
    // The stick held down drops the block, and so does the third button.
    for (int way : {0, 1}) {
        r.block.row = 2;
        r.dropping = false;
        if (way == 0)
            pushEvent(SDL_JOYAXISMOTION, 1, 30000);
        else
            pushEvent(SDL_JOYBUTTONDOWN, 2);
        for (int i = 0; i < 5; i++)
            runFrame();
        EXPECT_TRUE(r.dropping) << way;
        pushEvent(way == 0 ? SDL_JOYAXISMOTION : SDL_JOYBUTTONUP, way == 0 ? 1 : 2, 0);
        settle();
    }
    // Back (or Select) leaves the game for the menu, which it does not leave at once.
    pushEvent(SDL_JOYBUTTONDOWN, game.gamepad.backButton);
    settle();
    ASSERT_EQ(game.Screen, IntroScreen);
    runFrame();
    EXPECT_TRUE(game.running);
    pushEvent(SDL_JOYBUTTONUP, game.gamepad.backButton);
    settle();

    // In the menus the pad moves over the items, the first button chooses, the second goes back.
    pushEvent(SDL_MOUSEMOTION, 10, 10);  // from no item lit
    settle();
    hat(SDL_HAT_DOWN);
    EXPECT_EQ(game.view.selection, 0);
    hat(SDL_HAT_DOWN);
    EXPECT_EQ(game.view.selection, 1);
    button(0);
    EXPECT_EQ(game.MenuPage, OptionsPage);
    button(1);
    EXPECT_EQ(game.MenuPage, MainPage);
    EXPECT_TRUE(game.running);

    // A name from the pad: down and up turn the last letter, right adds one, left takes one away.
    newGame();
    game.round.score = 5000;
    game.Screen = GameOverScreen;
    struct {
        Uint8 direction;
        const char *name;
    } steps[] = {{SDL_HAT_DOWN, "a"}, {SDL_HAT_DOWN, "b"}, {SDL_HAT_RIGHT, "ba"},
                 {SDL_HAT_UP, "b "}, {SDL_HAT_UP, "bz"}, {SDL_HAT_LEFT, "b"}};
    for (const auto &s : steps) {
        hat(s.direction);
        EXPECT_EQ(game.round.playerName, s.name);
    }
    button(0);
    EXPECT_EQ(game.Screen, IntroScreen);
    EXPECT_EQ(game.highScores.rows[0].name, "b");
}

TEST(Keys, GamepadLayoutsByName)
{
    struct {
        const char *name;
        int start, back;
    } layouts[] = {{"Microsoft X-Box 360 pad", 7, 6},  {"Xbox Wireless Controller", 7, 6},
                   {"Sony Interactive Entertainment Wireless Controller", 9, 8},
                   {"USB Gamepad", 9, 8},              {"", 9, 8}};
    for (const auto &l : layouts) {
        int32_t start = -1, back = -1;
        gamepadLayout(l.name, start, back);
        EXPECT_EQ(start * 100 + back, l.start * 100 + l.back) << l.name;
    }
}

}  // namespace
