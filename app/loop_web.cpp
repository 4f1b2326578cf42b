// loop_web.cpp: the main loop in the browser: at each of the page's animation frames the passes due by the desktop's schedule, then one picture.
#include <emscripten.h>

#include "SDL.h"
#include "app/loop.h"
#include "app/picture.h"
#include "audio/sound.h"
#include "base/config.h"
#include "base/files.h"
#include "base/state.h"
#include "gfx/page_web.h"
#include "input/gamepad_web.h"
#include "input/keys.h"

// The most time one animation frame spends catching up on passes before the page draws and
// takes input again: where the machine is too slow for the schedule, the passes go on in the next
// frame, and a schedule more than ResyncAfterMs behind starts afresh, as on the desktop.
static const uint32_t CatchUpMs = 100;

// The screens of every pass due by now, each after the desktop's sleep would have ended
// (advanceSchedule), without their pictures. The options page's fullscreen switch asks the page.
static void runDuePasses()
{
    uint32_t began = SDL_GetTicks();
    uint32_t now = began;
    while (game.running && static_cast<int32_t>(now - game.passDueAt) >= 0 && now - began < CatchUpMs) {
        runScreens();
        if (game.videoModePending) {
            game.videoModePending = false;
            game.windowFullscreen = game.settings.fullscreen;
            askFullscreen(game.settings.fullscreen);
        }
        now = SDL_GetTicks();
        game.passDueAt = now + advanceSchedule(now);
    }
}

// The browser left fullscreen by its own key: the switch shows it, and is kept so.
static void followFullscreen()
{
    if (!fullscreenLeft() || game.settings.fullscreen == 0)
        return;
    game.settings.fullscreen = 0;
    game.windowFullscreen = 0;
    saveSettings();
}

// The player loaded kept files back into the page (dist/web/page.js): they are read as at
// start-up, and what they set applies.
static void readKeptFilesAgain()
{
    if (!EM_ASM_INT({ return TavirelPage.takeFilesLoaded(); }))
        return;
    loadSettings();
    setVolumes(game.settings.musicOff, game.settings.soundOff, MusicVolume, SoundVolume);
    game.windowFullscreen = game.settings.fullscreen;
    askFullscreen(game.settings.fullscreen);
    loadHighScores();
    game.litRow = NoSelection;
    setDefaultControls(game.controls);
    loadControls();
}

// The game ended (the exit item, a close): the sounds stop, as when main() ends on the desktop,
// and the page says so.
static void endInPage()
{
    emscripten_cancel_main_loop();
    SDL_Quit();
    showEnded();
}

static void onAnimationFrame()
{
    if (followPage())
        forgetPicture();
    followFullscreen();
    readKeptFilesAgain();
    watchForGamepad();
    runDuePasses();
    showPicture();
    if (!game.keepPicture)
        pictureDrawn();
    if (!game.running)
        endInPage();
}

void mainLoop()
{
    askFullscreen(game.settings.fullscreen);
    game.passDueAt = SDL_GetTicks();
    // Never returns: the page calls onAnimationFrame from now on.
    emscripten_set_main_loop(onAnimationFrame, 0, 1);
}

// The page is closing (dist/web/page.js): the game ends as a closed window ends it.
extern "C" EMSCRIPTEN_KEEPALIVE void pageClosed()
{
    if (game.running)
        endFromOutside("The game ends, as its page was closed");
}
