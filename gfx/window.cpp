// window.cpp: the OpenGL window through SDL 1.2 and the focus watcher.
#include "gfx/window.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>

#include "SDL.h"
#include "base/config.h"
#include "base/platform.h"
#include "base/state.h"

static const Uint32 WindowedFlags = SDL_HWSURFACE | SDL_OPENGL | SDL_ASYNCBLIT;
static const Uint32 FullscreenFlags = WindowedFlags | SDL_FULLSCREEN;

static Uint32 videoFlags(int32_t fullscreen)
{
    return fullscreen ? FullscreenFlags : WindowedFlags;
}

// Nine tenths of the desktop is as much as a window takes.
static const double DesktopShare = 0.9;

void windowSize(int32_t desktopWidth, int32_t desktopHeight, int32_t &width, int32_t &height)
{
    double scale = 1.0;
    if (desktopWidth > 0 && desktopHeight > 0) {
        if (desktopWidth < ScreenWidth || desktopHeight < ScreenHeight)
            scale = std::min(static_cast<double>(desktopWidth) / ScreenWidth,
                             static_cast<double>(desktopHeight) / ScreenHeight);
        while (ScreenWidth * (scale + 0.5) <= desktopWidth * DesktopShare &&
               ScreenHeight * (scale + 0.5) <= desktopHeight * DesktopShare)
            scale += 0.5;
    }
    width = static_cast<int32_t>(ScreenWidth * scale);
    height = static_cast<int32_t>(ScreenHeight * scale);
}

PictureRect pictureIn(int32_t windowWidth, int32_t windowHeight)
{
    // As wide as the window allows, or as high: whichever is the narrower fit.
    int64_t width = windowWidth, height = static_cast<int64_t>(windowWidth) * ScreenHeight / ScreenWidth;
    if (height > windowHeight) {
        height = windowHeight;
        width = static_cast<int64_t>(windowHeight) * ScreenWidth / ScreenHeight;
    }
    return {static_cast<int32_t>((windowWidth - width) / 2), static_cast<int32_t>((windowHeight - height) / 2),
            static_cast<int32_t>(width), static_cast<int32_t>(height)};
}

// Starts SDL's video. The classic library connects to the X server twice in a row, and a server
// may hang up on the second connection while it still closes the first: a few quick tries get
// past that, where a refusal would lose the desktop's size or the window itself.
static bool startVideo()
{
    for (int tries = 1; SDL_InitSubSystem(SDL_INIT_VIDEO) < 0; tries++) {
        if (tries == 10)
            return false;
        SDL_Delay(5);
    }
    return true;
}

// SDL's reason for the last failure, for a line of the log of its own.
static std::string sdlReason()
{
    const char *reason = SDL_GetError();
    return reason && reason[0] ? reason : "no reason given";
}

// One try at the window in a mode: the empty text when it was made where the player sees it,
// else why not.
static std::string tryWindow(int32_t fullscreen)
{
    SDL_ClearError();
    if (!SDL_SetVideoMode(game.windowWidth, game.windowHeight, 0, videoFlags(fullscreen)))
        return sdlReason();
    return windowRefused();
}

// Makes the window in the mode asked for; a fullscreen window that cannot be made is made
// windowed instead, so that a saved setting never keeps the game from showing. Failures are
// logged with the reason, each on a line of its own; success is not. Records the mode made, or
// the lack of a window.
static bool makeWindow(int32_t fullscreen)
{
    sizeWindow(fullscreen);
    std::string failure = tryWindow(fullscreen);
    if (!failure.empty() && fullscreen) {
        game.logFile << "Unable to set video " << game.windowWidth << " " << game.windowHeight << " fullscreen\n"
                     << failure << "\nRetrying in a window\n";
        sizeWindow(0);
        failure = tryWindow(0);
        if (failure.empty())
            game.windowFullscreen = 0;
    }
    if (!failure.empty())
        game.logFile << "Unable to set video " << game.windowWidth << " " << game.windowHeight << "\n" << failure << "\n";
    game.windowOpen = failure.empty();
    return game.windowOpen;
}

bool initVideo(const std::string &caption, int32_t width, int32_t height, int32_t fullscreen)
{
    game.focusState = AwaitFocus;
    game.windowFullscreen = fullscreen;
    game.windowWidth = width;
    game.windowHeight = height;
    game.desktopWidth = game.desktopHeight = 0;
    if (startVideo())
        readDesktop();

    if (makeWindow(fullscreen))
        game.logFile << "Video initialize OK\n";
    SDL_WM_SetCaption(caption.c_str(), nullptr);

    if (SDL_Init(SDL_INIT_VIDEO) < 0)
        game.logFile << "Unable initialize SDL video\n" << sdlReason() << "\n";
    else
        game.logFile << "SDL video initialize OK\n";
    if (game.windowOpen)
        applyGlState();
    return game.windowOpen;
}

bool setVideoMode(const std::string &caption, int32_t fullscreen)
{
    game.focusState = AwaitFocus;
    game.windowFullscreen = fullscreen;
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    startVideo();
    makeWindow(fullscreen);
    SDL_WM_SetCaption(caption.c_str(), nullptr);
    if (game.windowOpen)
        applyGlState();
    return game.windowOpen;
}

void reportNoWindow()
{
    game.logFile << "No OpenGL window could be made: the game ends\n";
    tellPlayer(std::string("Tavirel cannot start, as no OpenGL window could be made; ") +
               (game.logFile.good() ? "the details are in its log, " : "no log could be written to ") + game.logPath);
}

void applyViewport()
{
    // The picture's rectangle, counted from the window's bottom-left corner as OpenGL counts.
    const PictureRect &p = game.picture;
    glViewport(p.left, game.windowHeight - p.top - p.height, p.width, p.height);
}

void applyGlState()
{
    applyViewport();
    glClearColor(0.0f, 0.0f, 0.0f, 0.5f);
    glClearDepth(1.0);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glDepthFunc(GL_ALWAYS);
    glEnable(GL_TEXTURE_2D);
    glShadeModel(GL_SMOOTH);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    // The picture keeps the screen's own proportions in any window.
    gluPerspective(45.0, static_cast<double>(ScreenWidth) / ScreenHeight, 0.1f, 10.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void clearBars()
{
    const PictureRect &p = game.picture;
    if (p.left == 0 && p.top == 0 && p.width == game.windowWidth && p.height == game.windowHeight)
        return;
    glViewport(0, 0, game.windowWidth, game.windowHeight);
    glClear(GL_COLOR_BUFFER_BIT);
    glViewport(p.left, game.windowHeight - p.top - p.height, p.width, p.height);
}
