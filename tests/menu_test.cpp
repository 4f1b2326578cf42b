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
    // Points at (x, y) and clicks there, then runs whole passes, one event each, until the
    // click and whatever the X server queued before it (after a new window) are taken.
    // (x, y) is a pixel of the game's screen; the window may show it scaled (fullscreen).
    void clickAt(int x, int y)
    {
        const PictureRect &p = game.picture;
        pushEvent(SDL_MOUSEMOTION, p.left + x * p.width / 800, p.top + y * p.height / 600);
        pushEvent(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT);
        for (int i = 0; i < 50 && queuedEvents() > 0; i++) {
            game.nextFrameDue = SDL_GetTicks();
            runPass();
        }
    }
    void clickOn(const PlaceBox &box) { clickAt(box.x + 2, box.y + 2); }
};

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
        clickAt(c.x, c.y);
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
        {HighScorePage, 253, true},       {CreditsPage, SDLK_UP, false},    {HighScorePage, SDLK_KP8, false},
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
