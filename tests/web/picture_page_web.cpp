// picture_page_web.cpp: a page of its own that draws every screen in the known state of its
// reference picture (tests/picture_cases.cpp) on a canvas of the game's 800 x 600, one screen when
// asked, for the browser's picture check (tests/web/pictures.py) to read back.
#include <emscripten.h>

#include <vector>

#include "SDL.h"
#include "app/loop.h"
#include "app/picture.h"
#include "base/config.h"
#include "base/state.h"
#include "gfx/page_web.h"
#include "gfx/window.h"
#include "picture_cases.h"

// The canvas is the game's screen, pixel for pixel, whatever part of the page it could have.
static void drawAtScreenSize()
{
    EM_ASM({ TavirelPage.fitCanvas($0, $1); }, ScreenWidth, ScreenHeight);
    game.windowWidth = game.desktopWidth = ScreenWidth;
    game.windowHeight = game.desktopHeight = ScreenHeight;
    game.picture = pictureIn(ScreenWidth, ScreenHeight);
    applyViewport();
}

extern "C" EMSCRIPTEN_KEEPALIVE int pictureCaseCount()
{
    return static_cast<int>(pictureCases().size());
}

extern "C" EMSCRIPTEN_KEEPALIVE const char *pictureCaseName(int index)
{
    std::vector<PictureCase> cases = pictureCases();
    return index >= 0 && index < static_cast<int>(cases.size()) ? cases[index].name : "";
}

// Draws case `index` as the Windows build draws it: its state, the frame of its screen, the
// picture of the frame's view. False where the case left the game on another screen.
extern "C" EMSCRIPTEN_KEEPALIVE int drawPictureCase(int index)
{
    std::vector<PictureCase> cases = pictureCases();
    if (index < 0 || index >= static_cast<int>(cases.size()))
        return 0;
    for (SDL_Event stale; SDL_PollEvent(&stale) == 1;) {
    }
    startFresh();
    cases[index].show();
    if (game.Screen != cases[index].screen)
        return 0;
    runScreen();
    drawView(game.view);
    pictureDrawn();
    return 1;
}

int main()
{
    startUp("");
    if (!game.windowOpen) {
        reportNoWindow();
        return 1;
    }
    drawAtScreenSize();
    return 0;
}
