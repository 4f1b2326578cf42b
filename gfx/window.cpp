// window.cpp: the OpenGL window through SDL 1.2 and the focus watcher.
#include "gfx/window.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "SDL.h"
#include "base/state.h"

static const Uint32 WindowedFlags = SDL_HWSURFACE | SDL_OPENGL | SDL_ASYNCBLIT;
static const Uint32 FullscreenFlags = WindowedFlags | SDL_FULLSCREEN;

// The window has the pointer and the keyboard and is not minimised.
static const Uint8 FullFocus = SDL_APPMOUSEFOCUS | SDL_APPINPUTFOCUS | SDL_APPACTIVE;

static Uint32 videoFlags(int32_t fullscreen)
{
    return fullscreen ? FullscreenFlags : WindowedFlags;
}

void initVideo(const std::string &caption, int32_t width, int32_t height, int32_t fullscreen)
{
    game.focusState = AwaitFocus;
    game.windowFullscreen = fullscreen;
    game.windowWidth = width;
    game.windowHeight = height;

    if (SDL_SetVideoMode(width, height, 0, videoFlags(fullscreen)))
        game.logFile << "Video initialize OK\n";
    else
        game.logFile << "Unable to set video " << width << " " << height << " " << SDL_GetError() << "\n";
    SDL_WM_SetCaption(caption.c_str(), nullptr);

    if (SDL_Init(SDL_INIT_VIDEO) < 0)
        game.logFile << "Unable initialize SDL video\n" << SDL_GetError();
    else
        game.logFile << "SDL video initialize OK\n";
    applyGlState();
}

void setVideoMode(const std::string &caption, int32_t fullscreen)
{
    game.focusState = AwaitFocus;
    game.windowFullscreen = fullscreen;
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    SDL_SetVideoMode(game.windowWidth, game.windowHeight, 0, videoFlags(fullscreen));
    SDL_WM_SetCaption(caption.c_str(), nullptr);
    SDL_InitSubSystem(SDL_INIT_VIDEO);
    applyGlState();
}

void applyGlState()
{
    glViewport(0, 0, game.windowWidth, game.windowHeight);
    glClearColor(0.0f, 0.0f, 0.0f, 0.5f);
    glClearDepth(1.0);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glDepthFunc(GL_ALWAYS);
    glEnable(GL_TEXTURE_2D);
    glShadeModel(GL_SMOOTH);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    // A zero height would divide by zero; the window is never that small in play.
    double aspect = game.windowHeight ? static_cast<double>(game.windowWidth) / game.windowHeight : 1.0;
    gluPerspective(45.0, aspect, 0.1f, 10.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
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
