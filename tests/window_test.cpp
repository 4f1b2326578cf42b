// window_test.cpp: the real OpenGL window under X, its GL state and the fullscreen focus watcher.
#include <gtest/gtest.h>
#include <GL/gl.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "SDL.h"
#include "SDL_mixer.h"
#include "base/paths.h"
#include "base/state.h"
#include "audio/sound.h"
#include "app/assets.h"
#include "gfx/window.h"
#include "screen_helpers.h"
#include "support.h"

namespace {

std::string openWindowWithLog(int32_t fullscreen, const std::string &caption = "Tavirel")
{
    std::string dir = makeTempDir();
    programDirOf(dir + "tavirel");
    openLog();
    initVideo(caption, 800, 600, fullscreen);
    openAudio();
    game.logFile.flush();
    return readFile(dir + "log.txt");
}

TEST(Window, OpensAnOpenGlWindowWithTheFixedState)
{
    std::string log = openWindowWithLog(0);
    EXPECT_EQ(log, WindowLog);

    SDL_Surface *surface = SDL_GetVideoSurface();
    ASSERT_NE(surface, nullptr);
    EXPECT_EQ(surface->w, 800);
    EXPECT_EQ(surface->h, 600);
    EXPECT_TRUE(surface->flags & SDL_OPENGL);
    EXPECT_FALSE(surface->flags & SDL_FULLSCREEN);
    char *caption = nullptr;
    SDL_WM_GetCaption(&caption, nullptr);
    EXPECT_STREQ(caption, "Tavirel");

    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 800);
    EXPECT_EQ(viewport[3], 600);
    GLfloat clear[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    EXPECT_FLOAT_EQ(clear[3], 0.5f);
    GLint depthFunc;
    glGetIntegerv(GL_DEPTH_FUNC, &depthFunc);
    EXPECT_EQ(depthFunc, GL_ALWAYS);
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));

    // A 45 degree perspective at the window's aspect: the projection's x and y scales
    // differ by 800 / 600, and the near and far planes are 0.1 and 10.
    GLfloat projection[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    EXPECT_NEAR(projection[5] / projection[0], 800.0 / 600.0, 1e-5);
    EXPECT_NEAR(projection[5], 1.0 / std::tan(22.5 * 3.14159265358979 / 180.0), 1e-5);
    double nearPlane = projection[14] / (projection[10] - 1.0);
    double farPlane = projection[14] / (projection[10] + 1.0);
    EXPECT_NEAR(nearPlane, 0.1, 1e-5);
    EXPECT_NEAR(farPlane, 10.0, 1e-3);
    GLint matrixMode;
    glGetIntegerv(GL_MATRIX_MODE, &matrixMode);
    EXPECT_EQ(matrixMode, GL_MODELVIEW);
}

TEST(Window, RebuildKeepsTheSizeAndSwitchesTheMode)
{
    openWindowWithLog(0);
    setVideoMode("Tavirel", 1);
    SDL_Surface *surface = SDL_GetVideoSurface();
    ASSERT_NE(surface, nullptr);
    EXPECT_TRUE(surface->flags & SDL_FULLSCREEN);
    // The whole 1024 x 768 desktop at its own resolution, the picture scaled into all of it.
    EXPECT_EQ(surface->w, 1024);
    EXPECT_EQ(surface->h, 768);
    EXPECT_EQ(game.windowFullscreen, 1);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 1024);
    EXPECT_EQ(viewport[3], 768);

    setVideoMode("Tavirel", 0);
    surface = SDL_GetVideoSurface();
    ASSERT_NE(surface, nullptr);
    EXPECT_FALSE(surface->flags & SDL_FULLSCREEN);
    EXPECT_EQ(surface->w, 800);
    EXPECT_EQ(surface->h, 600);
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 800);
    EXPECT_EQ(viewport[3], 600);
    EXPECT_EQ(game.focusState, AwaitFocus);
}

// A desktop that shrank since start-up (another monitor) cannot take a fullscreen window of the
// size it had: the classic library refuses it, and the game is rebuilt in a window instead, with
// the reason in the log. (SDL 2's stand-in scales the picture to whatever desktop there is.)
TEST(Window, AFullscreenWindowThatCannotBeMadeIsMadeWindowed)
{
    std::string dir = makeTempDir();
    programDirOf(dir + "tavirel");
    openLog();
    initVideo("Tavirel", 800, 600, 0);
    game.desktopWidth = 2 * 1024;  // as it was read at start-up
    game.desktopHeight = 2 * 768;
    size_t mark = logText().size();
    EXPECT_TRUE(setVideoMode("Tavirel", 1));
    SDL_Surface *surface = SDL_GetVideoSurface();
    ASSERT_NE(surface, nullptr);
    EXPECT_TRUE(game.windowOpen);
    std::string log = logSince(mark);
    if (surface->flags & SDL_FULLSCREEN) {
        EXPECT_EQ(log, "");
        EXPECT_EQ(game.windowFullscreen, 1);
    } else {
        std::vector<std::string> lines = linesOf(log);
        ASSERT_EQ(lines.size(), 3u) << log;
        EXPECT_EQ(lines[0], "Unable to set video 2048 1536 fullscreen");
        EXPECT_FALSE(lines[1].empty());  // SDL's reason
        EXPECT_EQ(lines[2], "Retrying in a window");
        EXPECT_EQ(game.windowFullscreen, 0);  // the focus watcher leaves the window alone
        EXPECT_EQ(surface->w, game.windowWidth);
        EXPECT_EQ(surface->h, game.windowHeight);
    }
}

TEST(Window, AFailedWindowIsLoggedWithSdlsReasonAndReported)
{
    // SDL's dummy video driver has no OpenGL, so the window cannot be made, in neither mode. SDL
    // picks its driver when video comes up: shut down what earlier tests in this process brought up.
    for (int32_t fullscreen : {0, 1}) {
        SCOPED_TRACE(fullscreen);
        SDL_Quit();
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        std::string log = openWindowWithLog(fullscreen);
        EXPECT_FALSE(game.windowOpen);
        std::vector<std::string> lines = linesOf(log);
        ASSERT_EQ(lines.size(), fullscreen ? 8u : 5u) << log;
        size_t at = 0;
        if (fullscreen) {
            // The whole screen at the size the driver tells, then a window.
            EXPECT_EQ(lines[0].rfind("Unable to set video ", 0), 0u) << log;
            EXPECT_EQ(lines[0].substr(lines[0].size() - 11), " fullscreen") << log;
            EXPECT_FALSE(lines[1].empty());  // SDL's reason
            EXPECT_EQ(lines[2], "Retrying in a window");
            at = 3;
        }
        EXPECT_EQ(lines[at], "Unable to set video " + std::to_string(game.windowWidth) + " " +
                                 std::to_string(game.windowHeight));
        // SDL's reason, on a line of its own; its words depend on the library.
        EXPECT_TRUE(lines[at + 1] == "OpenGL not available" ||
                    lines[at + 1].find("OpenGL support is either not configured") == 0) << log;
        EXPECT_EQ(log.substr(log.find("\nSDL video")), "\nSDL video initialize OK\nSDL audio initialize OK\nMix_open_audio 0\n");
        EXPECT_EQ(pollAppRestore(), 0);
    }
    SDL_Quit();
    unsetenv("SDL_VIDEODRIVER");
}

// An audio device that cannot be opened: the mixer's reason, and SDL's where its audio did not
// come up either (the classic library brings it up without a device), each on a line of its own.
TEST(Window, AFailedAudioDeviceIsLoggedWithItsReasons)
{
    int frequency, channels;
    Uint16 format;
    while (Mix_QuerySpec(&frequency, &format, &channels))
        Mix_CloseAudio();
    SDL_Quit();
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    std::string log = openWindowWithLog(0);
    std::vector<std::string> lines = linesOf(log);
    ASSERT_GE(lines.size(), 5u) << log;
    EXPECT_EQ(lines[0], "Video initialize OK");
    EXPECT_EQ(lines[1], "SDL video initialize OK");
    size_t mixer = lines[2] == "SDL audio initialize OK" ? 3 : 4;
    if (mixer == 4) {
        EXPECT_EQ(lines[2], "Unable initialize SDL audio");
        EXPECT_FALSE(lines[3].empty());
    }
    ASSERT_EQ(lines.size(), mixer + 2) << log;
    EXPECT_EQ(lines[mixer], "Mix_open_audio -1");
    EXPECT_FALSE(lines[mixer + 1].empty());
    EXPECT_EQ(log.back(), '\n');
    SDL_Quit();
}

TEST(Focus, WatcherRebuildsAFullscreenWindowOnlyWhenFullyBack)
{
    std::string caption = "Tavirel focus " + std::to_string(getpid());
    openWindowWithLog(1, caption);
    ASSERT_TRUE(onWindow(caption, "windowfocus"));  // as a window manager gives a new window the keyboard
    ASSERT_TRUE(onWindow(caption, "mousemove --window %1 400 300"));
    ASSERT_TRUE(waitForAppState(FullFocus, 0));
    EXPECT_EQ(pollAppRestore(), 0);
    EXPECT_EQ(game.focusState, Focused);
    EXPECT_EQ(pollAppRestore(), 0);
    EXPECT_EQ(game.focusState, Focused);

    ASSERT_TRUE(onWindow(caption, "windowunmap"));  // switched away: the window is hidden
    ASSERT_TRUE(waitForAppState(0, SDL_APPACTIVE));
    EXPECT_EQ(pollAppRestore(), 0);
    EXPECT_EQ(game.focusState, FocusLost);
    EXPECT_EQ(pollAppRestore(), 0);

    ASSERT_TRUE(onWindow(caption, "windowmap"));  // shown again, but without the keyboard
    ASSERT_TRUE(waitForAppState(SDL_APPACTIVE, SDL_APPINPUTFOCUS));
    EXPECT_EQ(pollAppRestore(), 0);
    EXPECT_EQ(game.focusState, FocusLost);

    ASSERT_TRUE(onWindow(caption, "windowfocus"));  // fully back: the keyboard, and the pointer over it
    ASSERT_TRUE(onWindow(caption, "mousemove --window %1 400 300"));
    ASSERT_TRUE(waitForAppState(FullFocus, 0));
    EXPECT_EQ(pollAppRestore(), 1);
    EXPECT_EQ(game.focusState, AwaitFocus);
    EXPECT_EQ(pollAppRestore(), 0);  // the rebuilt window starts the watch again
    EXPECT_EQ(game.focusState, Focused);
}

TEST(Focus, WatcherIgnoresAWindowedGame)
{
    std::string caption = "Tavirel windowed " + std::to_string(getpid());
    openWindowWithLog(0, caption);
    struct Step {
        const char *command;
        uint8_t present, absent;
    } steps[] = {
        {"windowunmap", 0, SDL_APPACTIVE},
        {"windowmap", SDL_APPACTIVE, 0},
        {"windowfocus", SDL_APPACTIVE | SDL_APPINPUTFOCUS, 0},
    };
    for (const Step &step : steps) {
        ASSERT_TRUE(onWindow(caption, step.command));
        ASSERT_TRUE(waitForAppState(step.present, step.absent)) << step.command;
        EXPECT_EQ(pollAppRestore(), 0) << step.command;
        EXPECT_EQ(game.focusState, AwaitFocus);
    }
    // A value other than 1 read from the settings does not wake the watcher either.
    game.windowFullscreen = 2;
    EXPECT_EQ(pollAppRestore(), 0);
    EXPECT_EQ(game.focusState, AwaitFocus);
}

}  // namespace

namespace {

TEST(Window, SizeFitsTheDesktopAndThePictureItsWindow)
{
    // The desktop, the window made on it, and the picture in a window of the desktop's size.
    struct {
        int desktopWidth, desktopHeight, width, height;
        PictureRect fullscreen;
    } sizes[] = {
        {2560, 1440, 1600, 1200, {320, 0, 1920, 1440}}, {1920, 1080, 1200, 900, {240, 0, 1440, 1080}},
        {3840, 2160, 2400, 1800, {480, 0, 2880, 2160}}, {1024, 768, 800, 600, {0, 0, 1024, 768}},
        {1366, 768, 800, 600, {171, 0, 1024, 768}},     {1778, 1334, 1600, 1200, {0, 0, 1778, 1333}},
        {800, 600, 800, 600, {0, 0, 800, 600}},         {640, 480, 640, 480, {0, 0, 640, 480}},
        {1280, 400, 533, 400, {373, 0, 533, 400}},      {1280, 1024, 800, 600, {0, 32, 1280, 960}},
        {0, 0, 800, 600, {0, 0, 0, 0}},
    };
    for (const auto &s : sizes) {
        int32_t width = 0, height = 0;
        windowSize(s.desktopWidth, s.desktopHeight, width, height);
        SCOPED_TRACE(std::to_string(s.desktopWidth) + "x" + std::to_string(s.desktopHeight));
        EXPECT_EQ(width, s.width);
        EXPECT_EQ(height, s.height);
        PictureRect p = pictureIn(s.desktopWidth, s.desktopHeight), want = s.fullscreen;
        EXPECT_EQ(p.left, want.left);
        EXPECT_EQ(p.top, want.top);
        EXPECT_EQ(p.width, want.width);
        EXPECT_EQ(p.height, want.height);
    }
}

// A window twice the screen's size on a large desktop shows the whole picture at twice its size,
// and a click where it shows an item chooses that item.
TEST(Window, AScaledWindowShowsThePictureWholeAndTakesClicksWhereItShowsThem)
{
    startUpWith();
    game.desktopWidth = 2560;
    game.desktopHeight = 1440;
    ASSERT_TRUE(setVideoMode("Tavirel", 0));
    loadAssets();
    SDL_Surface *surface = SDL_GetVideoSurface();
    ASSERT_EQ(surface->w, 1600);
    ASSERT_EQ(surface->h, 1200);
    ASSERT_TRUE(waitForAppState(FullFocus, 0));
    for (SDL_Event stale; SDL_PollEvent(&stale) == 1;) {
    }
    PlaceBox options = centredBox("options", 130);
    pushEvent(SDL_MOUSEMOTION, 2 * (options.x + 20), 2 * (options.y + 15));
    runFrame();
    EXPECT_EQ(game.mouseX, options.x + 20);
    EXPECT_EQ(game.mouseY, options.y + 15);
    // The item lit at twice its place and size: yellow across the middle of its doubled box.
    int yellow = 0;
    for (int x = 2 * options.x; x < 2 * (options.x + options.w); x += 2) {
        Rgb c = pixelAt(x, 2 * options.y + options.h);
        yellow += c.r > 200 && c.g > 200 && c.b < 90;
    }
    EXPECT_GT(yellow, 10);
    // The intro picture fills the whole window: its bottom-right corner is not black.
    Rgb corner = pixelAt(1598, 1198);
    EXPECT_GT(corner.r + corner.g + corner.b, 30);
    pushEvent(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT);
    runFrame();
    EXPECT_EQ(game.MenuPage, OptionsPage);
}

}  // namespace
