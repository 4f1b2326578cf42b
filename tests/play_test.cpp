// play_test.cpp: frames of the play screen in the real window, with real events, keys and sound.
#include <gtest/gtest.h>

#include "SDL.h"
#include "SDL_mixer.h"
#include "app/loop.h"
#include "base/screen.h"
#include "base/state.h"
#include "audio/sound.h"
#include "game/rules.h"
#include "support.h"

namespace {

// The play screen runs the rules' frame once a frame (tests/rules/frame_test.cpp has the rules'
// cases): the block steps by its timer, and the real arrow keys, held in SDL's key table, move it
// every fourth frame.
TEST(Play, TheBlockFallsByItsTimerAndHeldArrowKeysMoveIt)
{
    startPlaying(1);
    struct Case { bool left, right; int frames, row, column; };
    for (const Case &c : std::initializer_list<Case>{
             {false, false, 60, 0, 9}, {false, false, 61, 1, 9}, {true, false, 4, 0, 9}, {true, false, 5, 0, 8},
             {true, false, 9, 0, 7},   {false, true, 9, 0, 11},  {true, true, 9, 0, 9}}) {
        newGame();
        keyTable()[SDLK_LEFT] = c.left;
        keyTable()[SDLK_RIGHT] = c.right;
        runFrames(c.frames);
        SCOPED_TRACE(std::to_string(c.frames) + " frames, left " + std::to_string(c.left) + ", right " +
                     std::to_string(c.right));
        EXPECT_EQ(game.Screen, GameScreen);
        EXPECT_EQ(game.round.block.row, c.row);
        EXPECT_EQ(game.round.block.column, c.column);
    }
}

// Space held drops the block with its sound; a turn pressed during the drop waits in the queue
// until the block is down (the screen takes no event meanwhile), then turns the next block.
TEST(Play, ATurnPressedWhileTheBlockDropsTurnsTheNextBlock)
{
    startPlaying(2);
    Round &r = game.round;
    keyTable()[SDLK_SPACE] = 1;
    pushEvent(SDL_KEYDOWN, SDLK_UP);
    const int32_t c[4] = {r.block.colours[0], r.block.colours[1], r.block.colours[2], r.block.colours[3]};
    runFrames(61);  // a quarter turn anticlockwise; the first row step, then Space drops
    EXPECT_TRUE(r.dropping);
    EXPECT_EQ(r.block.colours[0], c[1]);
    EXPECT_EQ(Mix_Playing(DropChannel), 1);
    pushEvent(SDL_KEYDOWN, SDLK_DOWN);
    int frame = 0;
    for (; r.block.row != 0 && frame < 20; frame++) {
        runFrame();
        EXPECT_EQ(queuedEvents(), 1) << "frame " << frame;
    }
    EXPECT_EQ(frame, 12);  // rows 2 to 13, and down in the frame of the last
    EXPECT_EQ(r.board[9][13], c[1]);  // the turned block on the floor
    EXPECT_EQ(r.board[10][14], c[3]);
    int32_t next = r.block.colours[0];
    runFrame();  // the turn pressed during the drop turns the next block
    EXPECT_EQ(queuedEvents(), 0);
    EXPECT_EQ(r.block.colours[1], next);
}

TEST(Play, EscapeGoesBackToTheMenuWithItsMusicWhateverTheBlockDoesAndCloseQuits)
{
    startPlaying(3);
    game.round.block.landedHalf = RightLanded;
    game.round.moveTick = 4;
    keyTable()[SDLK_ESCAPE] = 1;
    runFrame();
    EXPECT_EQ(game.Screen, IntroScreen);
    EXPECT_EQ(game.MenuPage, MainPage);
    EXPECT_EQ(Mix_PlayingMusic(), 1);
    // Played on, the half still falling drops from row 0: the close waits until it lands.
    game.Screen = GameScreen;
    pushEvent(SDL_QUIT);
    int waited = 0;
    for (; game.running && waited < 20; waited++)
        runFrame();
    EXPECT_EQ(waited, 14);
}

// A block that comes to rest in the top row ends the game in that pass: the music stops and the
// result's own sound plays, a great score's (name entry follows) or a plain one's (equal to the
// tenth row: the caption's wait follows). The stop is served once: music started afterwards
// plays on through the passes that follow.
TEST(Play, TopOutStopsTheMusicAndPlaysTheResultsSoundInTheSamePass)
{
    startPlaying(4);
    for (bool great : {true, false}) {
        SCOPED_TRACE(great ? "a great score" : "a plain result");
        newGame();
        changeScreen(GameScreen, NoPage);
        playPendingSounds();
        Mix_HaltChannel(-1);
        game.round.board[9][2] = game.round.board[10][2] = 0;
        game.round.score = game.highScores.rows[HighScoreRows - 1].score + (great ? 1 : 0);
        ASSERT_EQ(Mix_PlayingMusic(), 1);
        for (int pass = 0; pass < 4; pass++) {
            SCOPED_TRACE("pass " + std::to_string(pass));
            game.nextFrameDue = SDL_GetTicks();
            runPass();
            EXPECT_EQ(game.Screen, GameOverScreen);
            EXPECT_EQ(Mix_PlayingMusic(), pass > 0);
            EXPECT_EQ(Mix_Playing(GreatScoreChannel), great);
            EXPECT_EQ(Mix_Playing(BadScoreChannel), !great);
            if (pass == 0)
                playMusic(game.introMusic);
        }
    }
}

// While the block drops the game takes no events and its held keys stand as they were: a key
// pressed meanwhile (a real X key) moves nothing until the block is down, and then does.
TEST(Play, AKeyPressedWhileTheBlockDropsActsOnceItIsDown)
{
    startPlaying(6);
    Round &r = game.round;
    r.dropping = true;
    // The pause key, though, is seen in the very next frame, and the drop waits for it.
    for (bool paused : {true, false}) {
        ASSERT_TRUE(onWindow("Tavirel", "key --window %1 p"));
        syncWithXServer();
        int32_t row = r.block.row;
        runFrame();
        EXPECT_EQ(r.paused, paused);
        EXPECT_EQ(r.block.row, paused ? row : row + 1);
    }
    r.block.row = 2;
    ASSERT_TRUE(onWindow("Tavirel", "keydown --window %1 Left"));
    syncWithXServer();
    int frame = 0;
    for (; r.dropping && frame < 20; frame++) {
        runFrame();
        EXPECT_EQ(r.block.column, 9) << "frame " << frame;
    }
    EXPECT_EQ(frame, 11);  // rows 3 to 13: the block is down in the frame of its last row
    for (int i = 0; i < 4 && r.block.column == 9; i++)  // the held key's next fourth frame
        runFrame();
    EXPECT_EQ(r.block.column, 8);
    // Let go, it moves the block no more.
    EXPECT_TRUE(onWindow("Tavirel", "keyup --window %1 Left"));
    syncWithXServer();
    runFrame();
    int32_t column = r.block.column;
    for (int i = 0; i < 12; i++)
        runFrame();
    EXPECT_EQ(r.block.column, column);
}

}  // namespace
