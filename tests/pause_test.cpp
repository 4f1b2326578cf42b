// pause_test.cpp: a paused game: pressed by its keys and its button, also while the block drops,
// or by the window losing the keyboard; nothing moves, the sounds wait, Escape still leaves.
#include <gtest/gtest.h>

#include "SDL.h"
#include "SDL_mixer.h"
#include "app/loop.h"
#include "base/state.h"
#include "support.h"

namespace {

// Everything of a game that moves by itself.
std::vector<int32_t> counters()
{
    const Round &r = game.round;
    return {r.block.row, r.fallCountdown, r.explodeCountdown, r.explosionFrame, r.playTime, r.moveTick};
}

TEST(Pause, APausedGameHidesTheWellAndStandsStillUntilItsKeyGoesOn)
{
    startPlaying(21);
    Round &r = game.round;
    r.board[3][14] = r.board[4][14] = r.board[3][13] = r.board[4][13] = MarkedOffset;
    r.explodeCountdown = 40;
    r.dropping = true;  // a drop takes no events, but the pause all the same
    runFrames(3);
    ASSERT_EQ(Mix_PlayChannel(ExplosionEffect, game.explosionSound, 0), ExplosionEffect);

    // Each way to pause and to go on: P, the Pause key, the gamepad's Start (here button 10).
    struct Press { Uint8 type; int code; } presses[] = {
        {SDL_KEYDOWN, SDLK_p}, {SDL_KEYDOWN, SDLK_PAUSE}, {SDL_JOYBUTTONDOWN, game.gamepad.startButton}};
    for (const Press &p : presses) {
        pushEvent(p.type, p.code);
        pushEvent(SDL_KEYDOWN, SDLK_UP);  // waits behind the drop: a pause turns nothing
        runFrame();
        ASSERT_TRUE(r.paused) << p.code;
        EXPECT_EQ(game.view.picture, PausedPicture);
        EXPECT_EQ(Mix_PausedMusic(), 1);
        EXPECT_EQ(Mix_Paused(ExplosionEffect), 1);
        std::vector<int32_t> before = counters();
        int32_t colour = r.block.colours[0];
        runFrames(40);
        EXPECT_EQ(counters(), before) << p.code;
        EXPECT_EQ(r.block.colours[0], colour);
        pushEvent(p.type, p.code);
        runFrame();
        EXPECT_FALSE(r.paused) << p.code;
        EXPECT_EQ(Mix_PausedMusic(), 0);
        EXPECT_EQ(Mix_Paused(ExplosionEffect), 0);
        EXPECT_NE(counters(), before) << p.code;  // the same frame goes on
    }
    EXPECT_EQ(queuedEvents(), 0);

    // The countdown ran only while the game did: its cells go in its 39th frame of play, which
    // shows the explosion's first picture. Three frames ran before the pauses, one after each.
    runFrames(39 - 3 - 3 - 1);
    EXPECT_EQ(r.explodeCountdown, 2);
    runFrames(1);
    EXPECT_EQ(r.explodeCountdown, 1);
    EXPECT_EQ(game.view.play.explosionFrame, 0);

    // A window that loses the keyboard pauses the game, and it stays paused when it comes back.
    ASSERT_TRUE(onWindow("Tavirel", "windowunmap --sync"));
    ASSERT_TRUE(waitForAppState(0, SDL_APPACTIVE));
    runFrame();
    EXPECT_TRUE(r.paused);
    ASSERT_TRUE(onWindow("Tavirel", "windowmap --sync"));
    ASSERT_TRUE(waitForAppState(SDL_APPACTIVE, 0));
    runFrames(3);
    EXPECT_TRUE(r.paused);

    // Escape leaves a paused game for the menu, whose music plays.
    keyTable()[SDLK_ESCAPE] = 1;
    runFrame();
    EXPECT_EQ(game.Screen, IntroScreen);
    EXPECT_EQ(Mix_PlayingMusic(), 1);
    EXPECT_EQ(Mix_PausedMusic(), 0);
}

}  // namespace
