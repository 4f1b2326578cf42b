// loop.cpp: a pass of the main loop: the screens' frames in their order, the picture, and the pace.
#include "app/loop.h"

#include "SDL.h"
#include "app/picture.h"
#include "audio/sound.h"
#include "base/config.h"
#include "base/files.h"
#include "base/platform.h"
#include "base/screen.h"
#include "base/state.h"
#include "game/gameover.h"
#include "game/play.h"
#include "game/rules.h"
#include "gfx/window.h"
#include "input/input.h"
#include "menu/menu.h"

// The tick counter wraps after 49.7 days, so "ahead" and "behind" are read from the
// 32-bit difference rather than by comparing the two values.
uint32_t resyncSchedule(uint32_t nextFrameDue, uint32_t now)
{
    int32_t behind = static_cast<int32_t>(now - nextFrameDue);
    // Further ahead than the longest wait, the clock went back.
    bool lost = behind > static_cast<int32_t>(ResyncAfterMs) || behind < -static_cast<int32_t>(LongestWaitMs);
    return lost ? now : nextFrameDue;
}

uint32_t frameWait(uint32_t nextFrameDue, uint32_t now)
{
    int32_t ahead = static_cast<int32_t>(nextFrameDue - now);
    if (ahead <= 0)
        return 0;
    return ahead < static_cast<int32_t>(LongestWaitMs) ? static_cast<uint32_t>(ahead) : LongestWaitMs;
}

uint32_t advanceSchedule(uint32_t now)
{
    game.nextFrameDue = resyncSchedule(game.nextFrameDue, now);
    uint32_t wait = frameWait(game.nextFrameDue, now);
    game.nextFrameDue += FrameMs;
    return wait;
}

static bool everyFrame()
{
    return true;
}

// The screens, in the order a pass tests for them: a screen changed to a later one in the list
// runs in the same pass, one changed to an earlier one in the next. Each: whether its frame
// takes an event, whether it watches the pause keys, whether it shows the pointer, its update.
struct ScreenRow {
    ScreenName screen;
    bool (*takesEvent)();
    bool watchesPause;
    bool showsPointer;
    void (*update)();
};
static const ScreenRow Screens[] = {
    {IntroScreen, everyFrame, false, true, updateIntro},
    {GameScreen, playTakesEvent, true, false, updatePlay},
    {GameOverScreen, gameOverTakesEvent, false, false, updateGameOver},
    {FinishedScreen, everyFrame, false, true, updateFinished},   // a click leaves it
};

static const ScreenRow *rowOf(ScreenName screen)
{
    for (const ScreenRow &row : Screens)
        if (row.screen == screen)
            return &row;
    return nullptr;
}

// The window was closed, or the game told to end: what the player has before them is kept, a
// result being entered under the name typed so far (or none, before name entry), the switches
// of the options page as they show.
static void closeGame()
{
    game.running = false;
    bool entering = game.Screen == GameOverScreen || game.Screen == FinishedScreen;
    if (entering && greatScore())
        insertResult();
    if (game.Screen == IntroScreen && game.MenuPage == OptionsPage)
        saveSettings();
}

void endFromOutside(const std::string &why)
{
    game.logFile << why << "\n";
    if (game.running)
        closeGame();
    game.logFile.flush();
}

// Something outside ended the game since the last pass: it ends as closed, once.
static void watchEndings()
{
    std::string why = endingNoticed();
    if (game.running && !why.empty())
        endFromOutside(why);
}

// A frame of the screen of `row`, from an empty view.
static void runFrameOf(const ScreenRow &row)
{
    game.view = View();
    readInput({row.takesEvent(), row.watchesPause});
    row.update();
    spendInput();
    playPendingSounds();
    const ScreenRow *now = rowOf(game.Screen);
    showPointer(now && now->showsPointer);
    if (game.input.closed)
        closeGame();
    if (game.input.exposed)
        forgetPicture();
}

void runScreen()
{
    if (const ScreenRow *row = rowOf(game.Screen))
        runFrameOf(*row);
}

void runScreens()
{
    game.view = View();   // a pass that runs no screen shows no picture
    for (const ScreenRow &row : Screens)
        if (game.Screen == row.screen)
            runFrameOf(row);
    watchEndings();
}

void showPicture()
{
    game.keepPicture = !drawPicture();
    if (!game.keepPicture)
        SDL_GL_SwapBuffers();
}
