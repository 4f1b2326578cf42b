// loop_desktop.cpp: the main loop on Linux and Windows: a pass, its picture, then a sleep until the next.
#include "SDL.h"
#include "app/assets.h"
#include "app/loop.h"
#include "app/picture.h"
#include "base/config.h"
#include "base/state.h"
#include "gfx/window.h"

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
    runScreens();
    showPicture();
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
