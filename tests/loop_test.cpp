// loop_test.cpp: the whole start-up run in the test's own process, then passes of the main loop.
#include <gtest/gtest.h>

#include "SDL.h"
#include "SDL_mixer.h"
#include "app/loop.h"
#include "app/state.h"
#include "helpers.h"

namespace {

// Starts the game from a fresh folder holding the media and the given settings file.
std::string startUpIn(const std::string &settings)
{
    std::string dir = makeTempDir();
    copyMedia(dir);
    if (!settings.empty())
        writeFile(dir + "opt.dat", settings);
    startUp((dir + "tavirel").c_str());
    game.logFile.flush();
    return dir;
}

TEST(Loop, StartUpEndsOnTheTitleScreenWithTheMenuMusic)
{
    std::string dir = startUpIn("");
    EXPECT_EQ(readFile(dir + "log.txt"), std::string(WindowLog) + PicturesLog + SoundsLog);
    EXPECT_EQ(game.Screen, IntroScreen);
    EXPECT_EQ(game.MenuPage, MainPage);
    EXPECT_FALSE(game.videoModePending);
    EXPECT_TRUE(game.running);
    EXPECT_EQ(game.highScores.rows[0].score, 300);
    uint32_t ahead = game.nextFrameDue - SDL_GetTicks();
    EXPECT_LE(ahead, FrameMs);
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

TEST(Loop, PassesKeepTheScheduleAndAQuitEndsTheLoopAfterItsPass)
{
    startUpIn("");
    uint32_t due = game.nextFrameDue;
    for (int pass = 1; pass <= 10; pass++) {
        runPass();
        EXPECT_EQ(game.nextFrameDue, due + pass * FrameMs);
    }
    // The pass that takes the quit still sleeps and moves the schedule on; the loop then ends.
    SDL_Event quit;
    quit.type = SDL_QUIT;
    ASSERT_EQ(SDL_PushEvent(&quit), 0);
    mainLoop();
    EXPECT_FALSE(game.running);
    EXPECT_EQ(game.nextFrameDue, due + 11 * FrameMs);
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

}  // namespace
