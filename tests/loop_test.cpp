// loop_test.cpp: the whole start-up run in the test's own process, then passes of the main loop.
#include <gtest/gtest.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <unistd.h>

#include <atomic>

#include "SDL.h"
#include "SDL_mixer.h"
#include "app/loop.h"
#include "base/state.h"
#include "audio/sound.h"
#include "support.h"

namespace {

TEST(Loop, StartUpEndsOnTheTitleScreenWithTheMenuMusic)
{
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_TIMER), 0);  // starts the clock the schedule reads
    uint32_t started = SDL_GetTicks();
    std::string dir = startUpIn("");
    uint32_t ended = SDL_GetTicks();
    EXPECT_EQ(readFile(dir + "log.txt"), startUpLog());
    EXPECT_EQ(game.Screen, IntroScreen);
    EXPECT_EQ(game.MenuPage, MainPage);
    EXPECT_FALSE(game.videoModePending);
    EXPECT_TRUE(game.running);
    EXPECT_EQ(game.highScores.rows[0].score, 300);
    // The first pass is due one frame after the end of start-up, however long that took.
    EXPECT_GE(game.nextFrameDue, started + FrameMs);
    EXPECT_LE(game.nextFrameDue, ended + FrameMs);
    EXPECT_EQ(Mix_PlayingMusic(), 1);
    EXPECT_EQ(Mix_VolumeMusic(-1), 38);
}

TEST(Loop, MusicSwitchedOffInTheSettingsStaysSilent)
{
    startUpIn("0\n1\n0\n");
    EXPECT_EQ(game.settings.musicOff, 1);
    EXPECT_EQ(Mix_PlayingMusic(), 0);
    EXPECT_EQ(Mix_VolumeMusic(-1), 38);
}

// Bytes the audio device has mixed so far.
std::atomic<uint64_t> mixedBytes{0};

void countMixed(void *, Uint8 *, int length)
{
    mixedBytes += static_cast<uint64_t>(length);
}

// What the settings file decides at start-up, the window mode and the effects with their
// volume, and the menu music, which plays round and round. Two start-ups in one process.
TEST(Loop, StartUpAppliesTheSettingsAndLoopsTheMenuMusic)
{
    struct Row {
        const char *settings;
        bool fullscreen;
        bool effectsOn;
    } rows[] = {{"", false, true}, {"1\n0\n1\n", true, false}};
    for (const Row &row : rows) {
        SCOPED_TRACE(row.settings);
        std::string dir = startUpIn(row.settings, true);
        SDL_Surface *surface = SDL_GetVideoSurface();
        ASSERT_NE(surface, nullptr);
        EXPECT_EQ((surface->flags & SDL_FULLSCREEN) != 0, row.fullscreen);

        playSound(game.dropSound, DropChannel, 0);
        EXPECT_EQ(Mix_Playing(DropChannel), row.effectsOn ? 1 : 0);
        EXPECT_EQ(Mix_Volume(DropChannel, -1), 128);

        Mix_Chunk *track = Mix_LoadWAV((dir + "media/m2.ogg").c_str());
        ASSERT_NE(track, nullptr) << Mix_GetError();
        uint64_t until = mixedBytes + 3 * static_cast<uint64_t>(track->alen);
        Mix_SetPostMix(countMixed, nullptr);
        for (int waited = 0; mixedBytes < until && waited < 10000; waited += 10)
            SDL_Delay(10);
        Mix_SetPostMix(nullptr, nullptr);
        ASSERT_GE(mixedBytes, until) << "the audio device stalled";
        EXPECT_EQ(Mix_PlayingMusic(), 1);  // three times through, and on
    }
}

TEST(Loop, PassesKeepTheScheduleAndAQuitEndsTheLoopAfterItsPass)
{
    startUpIn("");
    // One frame on per pass; only a pass that finds the schedule more than ResyncAfterMs
    // behind (which a heavily loaded machine can make happen) restarts it from the clock.
    auto expectOnePassOn = [](uint32_t before) {
        uint32_t step = game.nextFrameDue - before;
        EXPECT_TRUE(step == FrameMs || step > ResyncAfterMs + FrameMs) << step;
    };
    for (int pass = 1; pass <= 10; pass++) {
        uint32_t before = game.nextFrameDue;
        runPass();
        expectOnePassOn(before);
    }
    // The pass that takes the quit still sleeps and moves the schedule on; the loop then ends.
    SDL_Event quit;
    quit.type = SDL_QUIT;
    ASSERT_EQ(SDL_PushEvent(&quit), 0);
    uint32_t before = game.nextFrameDue;
    mainLoop();
    EXPECT_FALSE(game.running);
    expectOnePassOn(before);
    EXPECT_GE(SDL_GetTicks() + FrameMs, game.nextFrameDue);
}

TEST(Loop, AScreenNamedByNoScreenFunctionOnlySwapsAndSleeps)
{
    startUpIn("");
    game.Screen = NoScreen;
    SDL_Event quit;
    quit.type = SDL_QUIT;
    ASSERT_EQ(SDL_PushEvent(&quit), 0);
    for (int pass = 0; pass < 5; pass++)
        runPass();
    EXPECT_TRUE(game.running);  // nobody took the event
    SDL_Event waiting;
    EXPECT_EQ(SDL_PeepEvents(&waiting, 1, SDL_PEEKEVENT, SDL_QUITMASK), 1);
}

// Puts a mark on the game's top-level X window, or tells whether the window carries it: a window
// built anew carries none. Through a connection of the test's own: either SDL 1.2 library keeps
// its connection to itself (SDL 2's stand-in gives out no window manager's window).
bool windowMark(bool put)
{
    static Display *display = XOpenDisplay(nullptr);
    Window window = findWindowOf(getpid(), 5000);
    if (!display || !window)
        return false;
    Atom mark = XInternAtom(display, "TAVIREL_TEST_MARK", False);
    if (put)
        XChangeProperty(display, window, mark, XA_STRING, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char *>("1"), 1);
    Atom type = None;
    int format;
    unsigned long count, after;
    unsigned char *data = nullptr;
    XGetWindowProperty(display, window, mark, 0, 1, False, XA_STRING, &type, &format, &count, &after, &data);
    if (data)
        XFree(data);
    return type == XA_STRING;
}

TEST(Loop, APassRebuildsAFullscreenWindowThatIsBackAndLoadsEveryPictureAgain)
{
    std::string dir = startUpIn("1\n0\n0\n");
    ASSERT_TRUE(onWindow("Tavirel", "windowfocus"));
    ASSERT_TRUE(onWindow("Tavirel", "mousemove --window %1 400 300"));
    ASSERT_TRUE(waitForAppState(FullFocus, 0));
    runPass();
    ASSERT_TRUE(onWindow("Tavirel", "windowunmap"));  // switched away
    ASSERT_TRUE(waitForAppState(0, SDL_APPACTIVE));
    runPass();
    ASSERT_EQ(game.focusState, FocusLost);

    ASSERT_TRUE(onWindow("Tavirel", "windowmap"));  // and back
    ASSERT_TRUE(onWindow("Tavirel", "windowfocus"));
    ASSERT_TRUE(waitForAppState(FullFocus, 0));
    ASSERT_TRUE(windowMark(true));
    std::string log = readFile(dir + "log.txt");
    runPass();
    game.logFile.flush();
    EXPECT_EQ(readFile(dir + "log.txt"), log + PicturesLog);
    SDL_Surface *surface = SDL_GetVideoSurface();
    ASSERT_NE(surface, nullptr);
    EXPECT_TRUE(surface->flags & SDL_FULLSCREEN);
    EXPECT_FALSE(windowMark(false));
}

}  // namespace
