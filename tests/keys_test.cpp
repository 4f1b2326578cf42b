// keys_test.cpp: the menus by the keys alone, controls of the player's own kept in controls.dat,
// and the gamepad, by real SDL events.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <sstream>

#include "SDL.h"
#include "app/loop.h"
#include "base/screen.h"
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
    press(SDLK_DOWN, 3);  // back (the controls page by the keys: the kept-picture test's walk)
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

    // Exit ends the game. (The table and the credits: the test of spent keys, below.)
    press(SDLK_DOWN, 3);
    EXPECT_TRUE(game.running);
    press(SDLK_RETURN);
    EXPECT_FALSE(game.running);
}

// Passes of the main loop, each due at once.
void passes(int count)
{
    for (int i = 0; i < count; i++) {
        game.nextFrameDue = SDL_GetTicks();
        runPass();
    }
}

// Where the game stands: its screen and page, a row waiting for its key, the fullscreen switch,
// the name typed, and whether it runs.
std::string where()
{
    static const char *const screens[] = {"none", "intro", "game", "game over", "finished"};
    static const char *const pages[] = {"", " main", " options", " high score", " credits", " controls"};
    std::string w = std::string(screens[game.Screen]) + pages[game.MenuPage];
    if (game.waitingRow != NoSelection)
        w += " waiting";
    if (game.settings.fullscreen)
        w += " fullscreen";
    if (game.Screen == GameOverScreen)
        w += " [" + game.round.playerName + "]";
    return game.running ? w : w + " quit";
}

void showPage(PageName page, int selection)
{
    game.Screen = IntroScreen;
    game.MenuPage = page;
    game.menuSelection = selection;
    game.waitingRow = NoSelection;
}

// The one rule of keys carried over: a key that made something happen (opened a page, left one,
// stopped a wait) is spent until it is let go, so that the page it led to does not take it
// again; a key that made nothing happen acts where it arrives. Real keys of the X server,
// through whole passes.
TEST(Keys, AKeyThatMadeSomethingHappenIsSpentUntilItIsLetGo)
{
    startUpWith();
    setDefaultControls(game.controls);
    const int32_t greatScore = game.highScores.rows[HighScoreRows - 1].score + 1;
    const struct {
        std::function<void()> from;
        const char *key;      // held down from the first pass on, then let go
        const char *held;     // where the game stands while it is held
        const char *next;     // then pressed and let go, or nothing
        const char *after;    // where it stands then (nothing: as while the key was held)
    } cases[] = {
        // Return opens the credits and the table, which stay until a key is pressed anew;
        // Escape leaves the table without quitting.
        {[] { showPage(MainPage, 3); }, "Return", "intro credits", "x", "intro main"},
        {[] { showPage(MainPage, 2); }, "Return", "intro high score", "Escape", "intro main"},
        // Return, read held by the table behind the pointer's motion, leaves it; its press, taken
        // only in the next frame, does not choose "new game" under the pointer.
        {[] {
             showPage(HighScorePage, NoSelection);
             realKeys("search --name '^Tavirel$' mousemove --window %1 400 85");
         }, "Return", "intro main", nullptr, nullptr},
        // Escape held leaves the options page once; pressed anew on the main page, it quits.
        {[] { showPage(OptionsPage, NoSelection); }, "Escape", "intro main", "Escape", "intro main quit"},
        // Escape held leaves a game for the menu, which it does not quit.
        {[] {
             newGame();
             changeScreen(GameScreen, NoPage);
         }, "Escape", "intro main", nullptr, nullptr},
        // Escape stops a row's wait for its key, and the page stays; pressed anew, it leaves.
        {[] {
             showPage(ControlsPage, NoSelection);
             game.waitingRow = Drop;
         }, "Escape", "intro controls", "Escape", "intro options"},
        // Return on "back" leaves the controls page; the options page, in the same frame and
        // while Return is held, flips no switch with it.
        {[] { showPage(ControlsPage, ControlCount + 1); }, "Return", "intro options", nullptr, nullptr},
        // A key pressed during the plain game-over wait, still held when the table opens, leaves it.
        {[] {
             newGame();
             game.round.gameOverFrames = 175;
             game.Screen = GameOverScreen;
         }, "x", "intro main", nullptr, nullptr},
        // Space, held in play as the game ends, types its space on name entry when let go.
        {[=] {
             newGame();
             game.round.score = greatScore;
             game.round.board[9][2] = game.round.board[10][2] = 0;
             changeScreen(GameScreen, NoPage);
         }, "space", "game over []", nullptr, "game over [ ]"},
    };
    int number = 0;
    for (const auto &c : cases) {
        SCOPED_TRACE("case " + std::to_string(++number) + ", " + c.key);
        game.running = true;
        c.from();
        ASSERT_TRUE(realKeys(std::string("keydown ") + c.key));
        passes(8);
        EXPECT_EQ(where(), c.held);
        ASSERT_TRUE(realKeys(std::string("keyup ") + c.key));
        passes(4);
        EXPECT_EQ(where(), c.next || !c.after ? c.held : c.after);
        if (c.next) {
            ASSERT_TRUE(realKeys(std::string("keydown ") + c.next));
            passes(4);
            ASSERT_TRUE(realKeys(std::string("keyup ") + c.next));
            passes(2);
            EXPECT_EQ(where(), c.after);
        }
    }
}

// Controls as controls.dat holds them, or "" for none.
std::string keptControls(const std::string &dir)
{
    return fileExists(dir + "controls.dat") ? readFile(dir + "controls.dat") : "";
}

TEST(Keys, KeysOfThePlayersOwnAreTakenOnThePageAndKeptAcrossARestart)
{
    std::string dir = startUpWith();
    setDefaultControls(game.controls);
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

    // The next start reads them back (how they play, and other files: files_test.cpp).
    setDefaultControls(game.controls);
    loadControls();
    EXPECT_EQ(controlsText(), kept);
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
    // A button past those the game follows, let go, leaves the buttons held as they are.
    pushEvent(SDL_JOYBUTTONDOWN, 0);
    pushEvent(SDL_JOYBUTTONUP, GamepadButtons);
    settle();
    EXPECT_EQ(game.gamepad.now.buttons, 1u);
    pushEvent(SDL_JOYBUTTONUP, 0);
    settle();
    // Back (or Select) leaves the game for the menu, which it does not leave at once; while the
    // block drops the buttons stand as they were, as the keys do.
    pushEvent(SDL_JOYBUTTONDOWN, game.gamepad.backButton);
    for (int i = 0; i < BoardRows && game.Screen == GameScreen; i++)
        runFrame();
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
    // A pad whose directions are buttons (as browsers give every pad: 12 to 15 for up, down, left
    // and right) points with them, and chooses nothing.
    game.gamepad.padButton = 12;
    int32_t lit = game.view.selection;
    ASSERT_LT(lit, 4);
    button(13);
    EXPECT_EQ(game.view.selection, lit + 1);
    button(12);
    EXPECT_EQ(game.view.selection, lit);
    EXPECT_EQ(game.MenuPage, MainPage);
    game.gamepad.padButton = -1;

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
        Gamepad pad;
        gamepadLayout(l.name, pad);
        EXPECT_EQ(pad.startButton, l.start) << l.name;
        EXPECT_EQ(pad.backButton, l.back) << l.name;
        EXPECT_EQ(pad.padButton, -1) << "the pad is a hat";
    }
}

}  // namespace
