// window_desktop.cpp: the window on Linux and Windows: the desktop's size, the window's, the driver, focus and pointer.
#include <cstring>

#include "SDL.h"
#include "base/config.h"
#include "base/state.h"
#include "gfx/window.h"

// The window has the pointer and the keyboard and is not minimised.
static const Uint8 FullFocus = SDL_APPMOUSEFOCUS | SDL_APPINPUTFOCUS | SDL_APPACTIVE;

void readDesktop()
{
    const SDL_VideoInfo *info = SDL_GetVideoInfo();
    if (info && info->current_w > 0 && info->current_h > 0) {
        game.desktopWidth = info->current_w;
        game.desktopHeight = info->current_h;
    }
}

void sizeWindow(int32_t fullscreen)
{
    if (fullscreen && game.desktopWidth > 0 && game.desktopHeight > 0) {
        game.windowWidth = game.desktopWidth;
        game.windowHeight = game.desktopHeight;
    } else {
        windowSize(game.desktopWidth, game.desktopHeight, game.windowWidth, game.windowHeight);
    }
    game.picture = pictureIn(game.windowWidth, game.windowHeight);
}

std::string windowRefused()
{
    char driver[32] = "";
    SDL_VideoDriverName(driver, sizeof driver);
    if (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0)
        return std::string("SDL's video driver ") + driver + " shows no window";
    return std::string();
}

int32_t pollAppRestore()
{
    if (game.windowFullscreen != 1)
        return 0;
    // Each stage reads the focus afresh, so one call may pass through several.
    if (game.focusState == AwaitFocus && SDL_GetAppState() == FullFocus)
        game.focusState = Focused;
    if (game.focusState == Focused && SDL_GetAppState() != FullFocus)
        game.focusState = FocusLost;
    if (game.focusState == FocusLost && SDL_GetAppState() == FullFocus) {
        game.focusState = AwaitFocus;
        return 1;
    }
    return 0;
}

void showPointer(bool shown)
{
    SDL_ShowCursor(shown ? SDL_ENABLE : SDL_DISABLE);
}
