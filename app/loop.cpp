// loop.cpp: the main loop: the screens' frames in their order, the picture, the window, the pace.
#include "app/loop.h"

#include "SDL.h"
#include "app/assets.h"
#include "app/picture.h"
#include "audio/sound.h"
#include "base/config.h"
#include "base/files.h"
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
    return behind > static_cast<int32_t>(ResyncAfterMs) ? now : nextFrameDue;
}

uint32_t frameWait(uint32_t nextFrameDue, uint32_t now)
{
    int32_t ahead = static_cast<int32_t>(nextFrameDue - now);
    return ahead > 0 ? static_cast<uint32_t>(ahead) : 0;
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

// Each screen: whether its frame takes an event, whether it watches the pause keys, its update.
static const struct {
    ScreenName screen;
    bool (*takesEvent)();
    bool watchesPause;
    void (*update)();
} Screens[] = {
    {IntroScreen, everyFrame, false, updateIntro},
    {GameScreen, playTakesEvent, true, updatePlay},
    {GameOverScreen, gameOverTakesEvent, false, updateGameOver},
    {FinishedScreen, everyFrame, false, updateFinished},
};

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

void runScreen()
{
    for (const auto &s : Screens) {
        if (s.screen != game.Screen)
            continue;
        readInput({s.takesEvent(), s.watchesPause});
        s.update();
        playPendingSounds();
        showPointer(pointerShownOn(game.Screen));
        if (game.input.closed)
            closeGame();
        if (game.input.exposed)
            forgetPicture();
        return;
    }
}

// A window built anew, for the options page's switch or a fullscreen game that is back: every
// picture is loaded again and the next frame draws in full.
static void rebuildWindow(int32_t fullscreen)
{
    setVideoMode(WindowCaption, fullscreen);
    loadAssets();
    forgetPicture();
}

void runPass()
{
    game.view.picture = NoPicture;
    // Each test reads the screen anew: a screen changed to a later one runs in this same pass.
    if (game.Screen == IntroScreen)
        runScreen();
    if (game.Screen == GameScreen)
        runScreen();
    if (game.Screen == GameOverScreen)
        runScreen();
    if (game.Screen == FinishedScreen)
        runScreen();

    game.keepPicture = !drawPicture();
    if (!game.keepPicture)
        SDL_GL_SwapBuffers();
    if (game.videoModePending) {
        game.videoModePending = false;
        rebuildWindow(game.settings.fullscreen);
    }
    if (pollAppRestore() == 1)
        rebuildWindow(1);

    SDL_Delay(advanceSchedule(SDL_GetTicks()));
}

void mainLoop()
{
    while (game.running)
        runPass();
}
