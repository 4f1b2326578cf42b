// menu_test.cpp: intro frames in a real window, with real SDL events and the real key table.
#include <gtest/gtest.h>

#include "SDL.h"
#include "SDL_mixer.h"
#include "app/loop.h"
#include "app/screens.h"
#include "app/state.h"
#include "helpers.h"
#include "screen_helpers.h"

namespace {

struct MenuTest : ::testing::Test {
    std::string dir = startUpWith();
    // Points at (x, y) and clicks there, then runs intro frames, one event each, until the
    // click and whatever the X server queued before it (after a new window) are taken.
    void clickAt(int x, int y)
    {
        pushMotion(x, y);
        pushButton(SDL_BUTTON_LEFT, x, y);
        for (int i = 0; i < 50 && queuedEvents() > 0; i++)
            introScreen();
    }
};

TEST_F(MenuTest, AnItemActsOnlyOnAClickStrictlyInsideItsBox)
{
    TextBox box = centredBox("options", 130);
    struct {
        int x, y;
        bool opens;
    } cases[] = {
        {box.x, box.y + box.h / 2, false},          {box.x + 1, box.y + box.h / 2, true},
        {box.x + box.w, box.y + box.h / 2, false},  {box.x + box.w - 1, box.y + box.h / 2, true},
        {box.x + box.w / 2, box.y, false},          {box.x + box.w / 2, box.y + 1, true},
        {box.x + box.w / 2, box.y + box.h, false},  {box.x + box.w / 2, box.y + box.h - 1, true},
    };
    for (const auto &c : cases) {
        game.MenuPage = MainPage;
        clickAt(c.x, c.y);
        EXPECT_EQ(game.MenuPage == OptionsPage, c.opens) << c.x << "," << c.y;
    }
}

TEST_F(MenuTest, OneEventPerFrameAndTheClickUsesTheLastMotionBeforeIt)
{
    TextBox scores = centredBox("high score", 190);
    pushMotion(10, 10);
    pushMotion(scores.x + 5, scores.y + 5);
    pushButton(SDL_BUTTON_LEFT, scores.x + 5, scores.y + 5);
    pushMotion(10, 10);
    introScreen();
    EXPECT_EQ(game.mouseX, 10);
    EXPECT_EQ(queuedEvents(), 3);
    introScreen();
    EXPECT_EQ(game.MenuPage, MainPage);
    introScreen();  // the click, at the pointer of the motion before it
    EXPECT_EQ(game.MenuPage, HighScorePage);
    EXPECT_EQ(queuedEvents(), 1);
}

TEST_F(MenuTest, OtherButtonsAndClicksOffTheItemsDoNothing)
{
    TextBox credits = centredBox("credits", 250);
    pushMotion(credits.x + 5, credits.y + 5);
    pushButton(SDL_BUTTON_RIGHT, 0, 0);
    pushButton(SDL_BUTTON_MIDDLE, 0, 0);
    for (int i = 0; i < 3; i++)
        introScreen();
    EXPECT_EQ(game.MenuPage, MainPage);
    clickAt(400, 40);  // between no items
    EXPECT_EQ(game.MenuPage, MainPage);
    EXPECT_TRUE(game.running);
}

TEST_F(MenuTest, NewGameStartsThePlayScreenInTheSamePassWithThePointerHidden)
{
    TextBox item = centredBox("new game", 70);
    pushMotion(item.x + 10, item.y + 10);
    runPass();
    pushButton(SDL_BUTTON_LEFT, item.x + 10, item.y + 10);
    runPass();
    EXPECT_EQ(game.Screen, GameScreen);
    EXPECT_EQ(game.MenuPage, NoPage);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
    EXPECT_EQ(Mix_PlayingMusic(), 1);
    EXPECT_FALSE(game.introShown);
}

TEST_F(MenuTest, ExitAndEscapeQuitFromTheMainPage)
{
    TextBox exitItem = centredBox("exit", 310);
    clickAt(exitItem.x + 3, exitItem.y + 3);
    EXPECT_FALSE(game.running);

    game.running = true;
    keyTable()[SDLK_ESCAPE] = 1;
    introScreen();
    EXPECT_FALSE(game.running);
    EXPECT_EQ(keyTable()[SDLK_ESCAPE], 1);  // read, not consumed
}

TEST_F(MenuTest, EscapeHeldOnTheOptionsPageLeavesItWithoutQuitting)
{
    game.MenuPage = OptionsPage;
    introScreen();
    keyTable()[SDLK_ESCAPE] = 1;
    for (int i = 0; i < 5; i++)  // the key stays down; its entry stays consumed
        introScreen();
    EXPECT_TRUE(game.running);
    EXPECT_EQ(game.MenuPage, MainPage);
    EXPECT_EQ(readFile(dir + "opt.dat"), "0\n0\n0\n");
    keyTable()[SDLK_ESCAPE] = 1;  // pressed anew
    introScreen();
    EXPECT_FALSE(game.running);
}

TEST_F(MenuTest, SwitchesApplyWhenTheOptionsPageIsLeft)
{
    game.MenuPage = OptionsPage;
    introScreen();
    TextBox music = valueBox("music: ", "on", 170);
    TextBox effects = valueBox("sound effects: ", "on", 240);
    TextBox label = valueBox("", "music: ", 170);
    clickAt(music.x + 2, music.y + 2);
    clickAt(effects.x + 2, effects.y + 2);
    clickAt(label.x + 2, label.y + 2);  // the label is not a switch
    EXPECT_EQ(game.settings.musicOff, 1);
    EXPECT_EQ(game.settings.soundOff, 1);
    EXPECT_EQ(Mix_PlayingMusic(), 1);  // nothing applied while the page shows
    EXPECT_FALSE(fileExists(dir + "opt.dat"));

    TextBox back = centredBox("back", 370);
    clickAt(back.x + 2, back.y + 2);
    EXPECT_EQ(game.MenuPage, MainPage);
    EXPECT_TRUE(game.running);
    EXPECT_EQ(readFile(dir + "opt.dat"), "0\n1\n1\n");
    EXPECT_EQ(Mix_PlayingMusic(), 0);
    EXPECT_EQ(game.audioSoundOff, 1);
    EXPECT_EQ(keyTable()[SDLK_ESCAPE], 0);
}

TEST_F(MenuTest, FullscreenFlippedOnceOrTwiceRebuildsTheWindowOnLeaving)
{
    // Windowed to fullscreen, back, then twice flipped: windowed, but built anew all the same.
    struct {
        int flips;
        bool fullscreen;
    } cases[] = {{1, true}, {1, false}, {2, false}};
    for (const auto &c : cases) {
        game.MenuPage = OptionsPage;
        for (int i = 0; i < c.flips; i++) {
            const char *shown = game.settings.fullscreen ? "true" : "false";
            TextBox value = valueBox("fullscreen: ", shown, 100);
            clickAt(value.x + 2, value.y + 2);
        }
        EXPECT_TRUE(game.videoModePending);
        game.logFile.flush();
        size_t logBefore = readFile(dir + "log.txt").size();
        keyTable()[SDLK_ESCAPE] = 1;
        introScreen();
        game.logFile.flush();
        EXPECT_FALSE(game.videoModePending);
        EXPECT_EQ(readFile(dir + "log.txt").substr(logBefore), PicturesLog);  // every picture again
        ASSERT_NE(SDL_GetVideoSurface(), nullptr);
        EXPECT_EQ((SDL_GetVideoSurface()->flags & SDL_FULLSCREEN) != 0, c.fullscreen);
        EXPECT_EQ(readFile(dir + "opt.dat"), c.fullscreen ? "1\n0\n0\n" : "0\n0\n0\n");
    }
}

TEST_F(MenuTest, AClickFlipsAHandEditedSwitchToTheOppositeOfWhatItShows)
{
    struct {
        int32_t Settings::*field;
        const char *label;
        int y;
        int32_t before;
        const char *shown;
        int32_t after;
    } cases[] = {
        {&Settings::fullscreen, "fullscreen: ", 100, 5, "true", 0},
        {&Settings::musicOff, "music: ", 170, 5, "on", 1},
        {&Settings::soundOff, "sound effects: ", 240, -3, "on", 1},
        {&Settings::soundOff, "sound effects: ", 240, 1, "off", 0},
    };
    game.MenuPage = OptionsPage;
    for (const auto &c : cases) {
        game.settings.*c.field = c.before;
        TextBox value = valueBox(c.label, c.shown, c.y);
        clickAt(value.x + 2, value.y + 2);
        EXPECT_EQ(game.settings.*c.field, c.after) << c.label << c.before;
    }
}

TEST_F(MenuTest, HighScoreAndCreditsPagesLeaveOnLeftClicksAndKeysBelow254)
{
    struct {
        PageName page;
        int key;  // -1: a left click, -2: a right click
        bool leaves;
    } cases[] = {
        {HighScorePage, -1, true},         {CreditsPage, -1, true},          {HighScorePage, -2, false},
        {HighScorePage, 'a', true},        {CreditsPage, SDLK_ESCAPE, true}, {HighScorePage, SDLK_DELETE, true},
        {HighScorePage, 253, true},        {CreditsPage, SDLK_UP, false},    {HighScorePage, SDLK_KP8, false},
        {HighScorePage, SDLK_F1, false},   {CreditsPage, SDLK_LSHIFT, false}, {HighScorePage, SDLK_HOME, false},
    };
    for (const auto &c : cases) {
        game.MenuPage = c.page;
        if (c.key == -1 || c.key == -2)
            pushButton(c.key == -1 ? SDL_BUTTON_LEFT : SDL_BUTTON_RIGHT, 5, 5);
        else
            keyTable()[c.key] = 1;
        introScreen();
        EXPECT_EQ(game.MenuPage == MainPage, c.leaves) << c.page << " " << c.key;
        EXPECT_TRUE(game.running) << c.key;  // Escape consumed before the main page reads it
        if (c.key >= 0) {
            EXPECT_EQ(keyTable()[c.key], c.leaves ? 0 : 1);
            keyTable()[c.key] = 0;
        }
    }
}

TEST_F(MenuTest, AnIdleMenuKeepsItsPictureUntilSomethingChanges)
{
    runPass();
    EXPECT_FALSE(game.keepPicture);  // the first frame is drawn
    runPass();
    EXPECT_TRUE(game.keepPicture);
    pushMotion(300, 300);
    runPass();
    EXPECT_FALSE(game.keepPicture);
    runPass();
    EXPECT_TRUE(game.keepPicture);

    // A page switch shows in the next frame, which is therefore drawn too.
    TextBox credits = centredBox("credits", 250);
    clickAt(credits.x + 2, credits.y + 2);
    EXPECT_EQ(game.MenuPage, CreditsPage);
    runPass();
    EXPECT_FALSE(game.keepPicture);
    runPass();
    EXPECT_TRUE(game.keepPicture);

    // Another screen, however short, and a held key bring full frames.
    game.Screen = GameOverScreen;
    game.round.gameOverFrames = 500;
    runPass();
    EXPECT_EQ(game.Screen, IntroScreen);
    runPass();
    EXPECT_FALSE(game.keepPicture);
    game.MenuPage = MainPage;
    keyTable()['x'] = 1;
    runPass();
    runPass();
    EXPECT_FALSE(game.keepPicture);
}

}  // namespace
