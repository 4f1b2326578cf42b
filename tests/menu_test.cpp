// menu_test.cpp: intro frames in a real window, with real SDL events and the real key table.
#include <gtest/gtest.h>

#include "SDL.h"
#include "SDL_mixer.h"
#include "app/loop.h"
#include "base/state.h"
#include "screen_helpers.h"
#include "support.h"

namespace {

struct MenuTest : ::testing::Test {
    std::string dir = startUpWith();
};

// Clicks at (x, y) of the game's screen, then runs whole passes, one event each, until the click
// and whatever the X server queued before it (after a new window) are taken.
void clickAndRun(int x, int y)
{
    clickAt(x, y);
    runPassesUntilTaken();
}

void clickOn(const PlaceBox &box)
{
    clickAndRun(box.x + 2, box.y + 2);
}

TEST_F(MenuTest, AnItemActsOnlyOnAClickStrictlyInsideItsBox)
{
    PlaceBox b = centredBox("options", 130);
    int midX = b.x + b.w / 2, midY = b.y + b.h / 2;
    struct {
        int x, y;
        bool opens;
    } cases[] = {{b.x, midY, false},       {b.x + 1, midY, true},       {b.x + b.w, midY, false},
                 {b.x + b.w - 1, midY, true}, {midX, b.y, false},       {midX, b.y + 1, true},
                 {midX, b.y + b.h, false}, {midX, b.y + b.h - 1, true}, {400, 40, false}};
    for (const auto &c : cases) {
        game.MenuPage = MainPage;
        clickAndRun(c.x, c.y);
        EXPECT_EQ(game.MenuPage == OptionsPage, c.opens) << c.x << "," << c.y;
    }
}

TEST_F(MenuTest, OneEventPerFrameAndTheClickUsesTheLastMotionBeforeIt)
{
    PlaceBox scores = centredBox("high score", 190);
    pushEvent(SDL_MOUSEMOTION, 10, 10);
    pushEvent(SDL_MOUSEMOTION, scores.x + 5, scores.y + 5);
    pushEvent(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT);
    pushEvent(SDL_MOUSEMOTION, 10, 10);
    runFrame();
    EXPECT_EQ(game.mouseX, 10);
    EXPECT_EQ(queuedEvents(), 3);
    runFrame();
    EXPECT_EQ(game.MenuPage, MainPage);
    runFrame();
    EXPECT_EQ(game.MenuPage, HighScorePage);
    EXPECT_EQ(queuedEvents(), 1);
}

TEST_F(MenuTest, NewGameStartsThePlayScreenInTheSamePassWithThePointerHidden)
{
    PlaceBox item = centredBox("new game", 70);
    pushEvent(SDL_MOUSEMOTION, item.x + 10, item.y + 10);
    runPass();
    pushEvent(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT);
    runPass();
    EXPECT_EQ(game.Screen, GameScreen);
    EXPECT_EQ(game.MenuPage, NoPage);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
    EXPECT_EQ(Mix_PlayingMusic(), 1);
}

// With no item lit, Up lights the last item of a page and Down the first; from either end the
// arrows go round. Keys pressed and let go as real SDL events, a frame each.
TEST_F(MenuTest, UpLightsTheLastItemAndDownTheFirstWhenNoneIsLit)
{
    const struct {
        PageName page;
        int items;
    } pages[] = {{MainPage, 5}, {OptionsPage, 5}, {ControlsPage, ControlCount + 2}};
    for (const auto &p : pages) {
        const int last = p.items - 1;
        const struct {
            int from, key, lit;
        } cases[] = {{NoSelection, SDLK_UP, last}, {NoSelection, SDLK_DOWN, 0}, {0, SDLK_UP, last},
                     {last, SDLK_DOWN, 0},         {1, SDLK_UP, 0},             {1, SDLK_DOWN, 2}};
        for (const auto &c : cases) {
            game.MenuPage = p.page;
            game.menuSelection = c.from;
            pushEvent(SDL_KEYDOWN, c.key);
            runFrame();
            EXPECT_EQ(game.view.selection, c.lit) << "page " << p.page << " from " << c.from << " key " << c.key;
            pushEvent(SDL_KEYUP, c.key);
            runFrame();
            EXPECT_EQ(game.MenuPage, p.page);
        }
    }
}

// A row of the controls page is chosen by a click anywhere along it: its box runs from ten pixels
// left of the labels (x = 110) to the end of the gamepad column (x = 740), and a click just inside
// either end sets the row waiting for its key, just outside neither does.
TEST_F(MenuTest, AControlsRowIsChosenByAClickAlongItsWholeBox)
{
    const int left = 100, right = 740;
    const struct {
        int x;
        bool chosen;
    } clicks[] = {{left, false}, {left + 1, true}, {right - 1, true}, {right, false}};
    for (int control = 0; control < ControlCount; control++) {
        int y = 80 + 42 * control + 10;  // the rows stand 42 apart from y = 80
        for (const auto &c : clicks) {
            game.MenuPage = ControlsPage;
            game.waitingRow = NoSelection;
            clickAndRun(c.x, y);
            EXPECT_EQ(game.waitingRow, c.chosen ? control : NoSelection) << "row " << control << ", x " << c.x;
        }
    }
}

bool fullscreenWindow()
{
    SDL_Surface *surface = SDL_GetVideoSurface();
    return surface && (surface->flags & SDL_FULLSCREEN);
}

// A click on a switch's value (not its label) flips it to the opposite of what it shows, also a
// hand-edited number; while the page shows, the window and the sound stay as they are, in the
// pass of the click and after it. Leaving saves the switches and applies them once: the window
// is built anew, with every picture, when the fullscreen switch was clicked, also twice.
TEST_F(MenuTest, TheSwitchesApplyOnceWhenTheOptionsPageIsLeft)
{
    struct {
        Settings from;
        const char *clicks;  // on the values of f(ullscreen), m(usic), s(ound), or the l(abel) "music: "
        const char *saved;
    } cases[] = {
        {{0, 0, 0}, "msl", "0\n1\n1\n"}, {{0, 1, 1}, "f", "1\n1\n1\n"}, {{1, 1, 1}, "fm", "0\n0\n1\n"},
        {{0, 0, 1}, "ff", "0\n0\n1\n"}, {{0, 0, 1}, "fff", "1\n0\n1\n"},
        {{5, 5, 1}, "fms", "0\n1\n0\n"},  // shown as "true", "on" and "off"
    };
    for (const auto &c : cases) {
        ASSERT_TRUE(waitForAppState(FullFocus, 0));  // a new window's focus reloads the keys
        game.MenuPage = OptionsPage;
        game.settings = c.from;
        bool window = fullscreenWindow();
        int music = Mix_PlayingMusic(), effects = game.audioSoundOff;
        size_t mark = logText().size();
        for (const char *click = c.clicks; *click; click++) {
            const Settings &s = game.settings;
            if (*click == 'f')
                clickOn(valueBox("fullscreen: ", s.fullscreen ? "true" : "false", 100));
            else if (*click == 'l')
                clickOn(valueBox("", "music: ", 170));
            else if (*click == 'm')
                clickOn(valueBox("music: ", s.musicOff == 1 ? "off" : "on", 170));
            else
                clickOn(valueBox("sound effects: ", s.soundOff == 1 ? "off" : "on", 240));
            EXPECT_EQ(logSince(mark), "") << c.clicks << ", click " << *click;
            EXPECT_EQ(fullscreenWindow(), window) << c.clicks << ", click " << *click;
            EXPECT_EQ(Mix_PlayingMusic(), music) << c.clicks;
            EXPECT_EQ(game.audioSoundOff, effects) << c.clicks;
        }
        clickOn(centredBox("back", 370));
        ASSERT_EQ(game.MenuPage, MainPage);
        EXPECT_EQ(readFile(dir + "opt.dat"), c.saved);
        bool rebuilt = std::string(c.clicks).find('f') != std::string::npos;
        EXPECT_EQ(logSince(mark), rebuilt ? PicturesLog : "") << c.clicks;
        EXPECT_EQ(fullscreenWindow(), c.saved[0] == '1') << c.clicks;
        EXPECT_EQ(Mix_PlayingMusic(), c.saved[2] == '0') << c.clicks;
        EXPECT_EQ(game.audioSoundOff, c.saved[4] - '0') << c.clicks;
    }
}

// Escape held as "back" is clicked, in the same frame: the page is left once, as by either
// alone, and the page it goes back to does not take the Escape again.
TEST_F(MenuTest, EscapeHeldAsBackIsClickedLeavesOnce)
{
    const struct {
        PageName from;
        float backY;
        PageName to;
    } cases[] = {{OptionsPage, 370, MainPage}, {ControlsPage, 410, OptionsPage}};
    for (const auto &c : cases) {
        game.MenuPage = c.from;
        PlaceBox back = centredBox("back", c.backY);
        game.mouseX = back.x + 2;
        game.mouseY = back.y + 2;
        keyTable()[SDLK_ESCAPE] = 1;
        pushEvent(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT);
        runFrame();
        runFrame();
        EXPECT_TRUE(game.running) << c.from;
        EXPECT_EQ(game.MenuPage, c.to) << c.from;
        keyTable()[SDLK_ESCAPE] = 0;
        runFrame();
    }
}

TEST_F(MenuTest, HighScoreAndCreditsPagesLeaveOnLeftClicksAndKeysBelow254)
{
    const int LeftClick = -1, RightClick = -2;
    struct {
        PageName page;
        int key;
        bool leaves;
    } cases[] = {
        {HighScorePage, LeftClick, true}, {CreditsPage, LeftClick, true},   {HighScorePage, RightClick, false},
        {HighScorePage, 'a', true},       {CreditsPage, SDLK_ESCAPE, true}, {HighScorePage, SDLK_DELETE, true},
        {HighScorePage, 253, true},       {CreditsPage, 254, false},        {CreditsPage, SDLK_UP, false},
        {HighScorePage, SDLK_KP8, false},
        {HighScorePage, SDLK_F1, false},  {CreditsPage, SDLK_LSHIFT, false},
    };
    // The pointer rests on the main page's "exit": the click that leaves a page chooses nothing there.
    game.mouseX = 400;
    game.mouseY = 325;
    for (const auto &c : cases) {
        game.MenuPage = c.page;
        if (c.key < 0)
            pushEvent(SDL_MOUSEBUTTONDOWN, c.key == LeftClick ? SDL_BUTTON_LEFT : SDL_BUTTON_RIGHT);
        else
            keyTable()[c.key] = 1;
        runFrame();
        EXPECT_EQ(game.MenuPage == MainPage, c.leaves) << c.page << " " << c.key;
        EXPECT_TRUE(game.running) << c.key;  // Escape and the click spent before the main page reads them
        if (c.key >= 0) {
            keyTable()[c.key] = 0;
            runFrame();
        }
    }
}

TEST_F(MenuTest, AnIdleMenuKeepsItsPictureUntilSomethingChanges)
{
    // Each step, then for each following pass whether it draws (D) or keeps the picture (K).
    struct {
        const char *step;
        void (*act)();
        const char *passes;
    } steps[] = {
        {"start", [] {}, "DK"},
        {"pointer moved", [] { pushEvent(SDL_MOUSEMOTION, 300, 300); }, "DK"},
        // The click's own pass shows the main page as the motion's did: the page comes a pass later.
        {"page switched by a click", [] {
             PlaceBox credits = centredBox("credits", 250);
             pushEvent(SDL_MOUSEMOTION, credits.x + 2, credits.y + 2);
             pushEvent(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT);
         }, "DKDK"},
        {"a last game-over frame", [] {
             game.Screen = GameOverScreen;
             game.round.gameOverFrames = 500;
         }, "DDK"},
        {"a key that leaves the high-score page", [] { keyTable()['x'] = 1; }, "DDK"},
        {"a key held on the main page, which reads only Escape", [] { keyTable()['y'] = 1; }, "KKK"},
        // Each draws the picture anew, the expose already in the pass of the event before it.
        {"a key let go, then the window uncovered and shown again", [] {
             pushEvent(SDL_KEYUP, SDLK_F1);
             pushEvent(SDL_VIDEOEXPOSE);
             pushEvent(SDL_ACTIVEEVENT, 1, SDL_APPACTIVE);
         }, "DDDK"},
        {"the pointer moved back and forth", [] {
             pushEvent(SDL_MOUSEMOTION, 310, 300);
             pushEvent(SDL_MOUSEMOTION, 300, 300);
         }, "DDK"},
    };
    for (const auto &s : steps) {
        s.act();
        for (const char *pass = s.passes; *pass; pass++) {
            runPass();
            EXPECT_EQ(game.keepPicture, *pass == 'K') << s.step << " pass " << pass - s.passes;
        }
    }
    EXPECT_EQ(game.MenuPage, MainPage);
}

}  // namespace
