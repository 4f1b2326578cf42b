// window_web.cpp: the window in the browser: the page's canvas, sized to the page, with WebGL, and its pointer.
#include <emscripten.h>

#include "base/config.h"
#include "base/state.h"
#include "gfx/page_web.h"
#include "gfx/window.h"

// The part of the page the picture may fill (dist/web/page.js), in the screen's own pixels: the
// browser's window but for the line of links under the picture, or the whole screen.
static void pageArea(int32_t &width, int32_t &height)
{
    width = EM_ASM_INT({ return TavirelPage.area().width; });
    height = EM_ASM_INT({ return TavirelPage.area().height; });
}

void readDesktop()
{
    pageArea(game.desktopWidth, game.desktopHeight);
}

// The canvas fills the page's part whatever the mode: it is the page that fills the screen.
void sizeWindow(int32_t)
{
    bool known = game.desktopWidth > 0 && game.desktopHeight > 0;
    game.windowWidth = known ? game.desktopWidth : ScreenWidth;
    game.windowHeight = known ? game.desktopHeight : ScreenHeight;
    game.picture = pictureIn(game.windowWidth, game.windowHeight);
}

// Emscripten's SDL makes its surface whether or not the browser gave the canvas a WebGL context.
std::string windowRefused()
{
    bool webgl = EM_ASM_INT({ return Module.ctx ? 1 : 0; });
    return webgl ? std::string() : "The browser gives the page no WebGL";
}

// The page's fullscreen outlives a lost focus; nothing is built anew.
int32_t pollAppRestore()
{
    return 0;
}

// Emscripten's SDL_ShowCursor would lock the pointer in fullscreen: the page hides it itself.
void showPointer(bool shown)
{
    EM_ASM({ TavirelPage.showPointer($0); }, shown ? 1 : 0);
}

bool followPage()
{
    if (!EM_ASM_INT({ return TavirelPage.takeMeasured(); }))
        return false;
    int32_t width, height;
    pageArea(width, height);
    if (width <= 0 || height <= 0)
        return false;
    bool sized = EM_ASM_INT({ return TavirelPage.fitCanvas($0, $1); }, width, height);
    if (!sized && width == game.windowWidth && height == game.windowHeight)
        return false;
    game.desktopWidth = game.windowWidth = width;
    game.desktopHeight = game.windowHeight = height;
    game.picture = pictureIn(width, height);
    if (game.windowOpen)
        applyViewport();
    return true;
}

void askFullscreen(int32_t fullscreen)
{
    EM_ASM({ TavirelPage.wantFullscreen($0); }, fullscreen ? 1 : 0);
}

bool fullscreenLeft()
{
    return EM_ASM_INT({ return TavirelPage.takeFullscreenLeft(); });
}

void pictureDrawn()
{
    EM_ASM({ TavirelPage.pictureDrawn(); });
}

void showEnded()
{
    EM_ASM({ TavirelPage.ended(); });
}
