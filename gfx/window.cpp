// window.cpp: the OpenGL window through SDL 1.2 and the focus watcher.
#include "gfx/window.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cstdio>

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

// SDL's reason for the last failure, for a line of the log of its own.
static std::string sdlReason()
{
    const char *reason = SDL_GetError();
    return reason && reason[0] ? reason : "no reason given";
}

// Makes the window in the mode asked for; a fullscreen window that cannot be made is made
// windowed instead, so that a saved setting never keeps the game from showing. Failures are
// logged with SDL's reason; success is not. Records the mode made, or the lack of a window.
static bool makeWindow(int32_t fullscreen)
{
    SDL_ClearError();
    bool made = SDL_SetVideoMode(game.windowWidth, game.windowHeight, 0, videoFlags(fullscreen)) != nullptr;
    if (!made && fullscreen) {
        game.logFile << "Unable to set video " << game.windowWidth << " " << game.windowHeight << " fullscreen\n"
                     << sdlReason() << "\nRetrying in a window\n";
        SDL_ClearError();
        made = SDL_SetVideoMode(game.windowWidth, game.windowHeight, 0, WindowedFlags) != nullptr;
        if (made)
            game.windowFullscreen = 0;
    }
    if (!made)
        game.logFile << "Unable to set video " << game.windowWidth << " " << game.windowHeight << "\n"
                     << sdlReason() << "\n";
    game.windowOpen = made;
    return made;
}

bool initVideo(const std::string &caption, int32_t width, int32_t height, int32_t fullscreen)
{
    game.focusState = AwaitFocus;
    game.windowFullscreen = fullscreen;
    game.windowWidth = width;
    game.windowHeight = height;

    if (makeWindow(fullscreen))
        game.logFile << "Video initialize OK\n";
    SDL_WM_SetCaption(caption.c_str(), nullptr);

    if (SDL_Init(SDL_INIT_VIDEO) < 0)
        game.logFile << "Unable initialize SDL video\n" << sdlReason() << "\n";
    else
        game.logFile << "SDL video initialize OK\n";
    applyGlState();
    return game.windowOpen;
}

bool setVideoMode(const std::string &caption, int32_t fullscreen)
{
    game.focusState = AwaitFocus;
    game.windowFullscreen = fullscreen;
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    makeWindow(fullscreen);
    SDL_WM_SetCaption(caption.c_str(), nullptr);
    SDL_InitSubSystem(SDL_INIT_VIDEO);
    applyGlState();
    return game.windowOpen;
}

void reportNoWindow()
{
    game.logFile << "No OpenGL window could be made: the game ends\n";
    if (game.logFile.good())
        std::fprintf(stderr, "Tavirel cannot start, as no OpenGL window could be made; the details are in its log, %s\n",
                     game.logPath.c_str());
    else
        std::fprintf(stderr, "Tavirel cannot start, as no OpenGL window could be made; no log could be written to %s\n",
                     game.logPath.c_str());
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
