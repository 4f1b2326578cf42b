// play_test.cpp: frames of the play screen in the real window, with real events, keys and sound.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "SDL.h"
#include "SDL_mixer.h"
#include "app/loop.h"
#include "base/state.h"
#include "audio/sound.h"
#include "game/rules.h"
#include "support.h"
#include "text/text.h"

namespace {

void frames(int count)
{
    for (int i = 0; i < count && game.Screen == GameScreen; i++)
        runFrame();
}

TEST(Play, BlockStepsByItsTimerAndHeldArrowsMoveItEveryFourthFrame)
{
    startPlaying(1);
    struct Case { int column, wall; bool left, right; int frames, row, columnAfter; };
    for (const Case &c : std::initializer_list<Case>{
             {9, 0, false, false, 60, 0, 9}, {9, 0, false, false, 61, 1, 9}, {9, 0, false, false, 122, 2, 9},
             {9, 0, true, false, 4, 0, 9},   {9, 0, true, false, 5, 0, 8},   {9, 0, true, false, 9, 0, 7},
             {9, 0, false, true, 9, 0, 11},  {9, 0, true, true, 9, 0, 9},    {0, 5, true, false, 9, 0, 0},
             {18, 0, false, true, 9, 0, 18}, {16, 0, false, true, 13, 0, 18}, {9, 8, true, false, 9, 0, 9},   {9, 11, false, true, 9, 0, 9}}) {
        newGame();
        game.round.block.column = c.column;
        game.round.board[c.wall][1] = 0;  // a cell in row 1, beside the block's lower cells or far off
        keyTable()[SDLK_LEFT] = c.left;
        keyTable()[SDLK_RIGHT] = c.right;
        frames(c.frames);
        EXPECT_EQ(game.round.block.row * 100 + game.round.block.column, c.row * 100 + c.columnAfter)
            << c.frames << " frames from column " << c.column;
    }
}

TEST(Play, HalvesLandOnTheirOwnAndTurnsWaitForTheDropToEnd)
{
    startPlaying(2);
    Round &r = game.round;
    r.board[9][10] = 1;  // holds the left half up at row 8
    keyTable()[SDLK_SPACE] = 1;
    pushEvent(SDL_KEYDOWN, SDLK_UP);
    const int32_t c[4] = {r.block.colours[0], r.block.colours[1], r.block.colours[2], r.block.colours[3]};
    frames(61);  // a quarter turn counter-clockwise; the first row step, then Space drops
    EXPECT_TRUE(r.dropping && Mix_Playing(DropChannel));
    pushEvent(SDL_KEYDOWN, SDLK_DOWN);
    frames(7);
    EXPECT_EQ(r.block.landedHalf * 100 + r.block.row, LeftLanded * 100 + 8);
    EXPECT_TRUE(r.board[9][8] == c[1] && r.board[9][9] == c[0]);
    frames(5);  // the right half drops on to the floor
    EXPECT_EQ(r.block.landedHalf * 100 + r.block.row, BothFalling * 100 + 0);
    EXPECT_TRUE(r.board[10][13] == c[2] && r.board[10][14] == c[3]);
    int32_t next = r.block.colours[0];
    frames(1);  // the turn pressed during the drop turns the next block
    EXPECT_EQ(r.block.colours[1], next);
}

TEST(Play, EscapeGoesBackToTheMenuWithItsMusicWhateverTheBlockDoesAndCloseQuits)
{
    startPlaying(3);
    game.round.block.landedHalf = RightLanded;
    game.round.moveTick = 4;
    keyTable()[SDLK_ESCAPE] = 1;
    frames(1);
    EXPECT_EQ(game.Screen * 10 + game.MenuPage, IntroScreen * 10 + MainPage);
    EXPECT_EQ(keyTable()[SDLK_ESCAPE], 0);
    EXPECT_EQ(Mix_PlayingMusic(), 1);
    // Played on, the half still falling drops from row 0: the close waits until it lands.
    game.Screen = GameScreen;
    pushEvent(SDL_QUIT);
    int waited = 0;
    for (; game.running && waited < 20; waited++)
        runFrame();
    EXPECT_EQ(waited, 14);
}

TEST(Play, TopOutWithAGreatScoreStopsTheMusicAndPlaysItsSoundInTheSameFrame)
{
    startPlaying(4);
    game.round.board[9][2] = game.round.board[10][2] = 0;
    game.round.score = game.highScores.rows[HighScoreRows - 1].score + 1;
    frames(1);
    EXPECT_EQ(game.Screen, GameOverScreen);
    EXPECT_TRUE(!Mix_PlayingMusic() && Mix_Playing(GreatScoreChannel));
    // The stop was served once: music started afterwards plays on through later frames' sounds.
    playMusic(game.introMusic);
    playPendingSounds();
    EXPECT_EQ(Mix_PlayingMusic(), 1);
}

TEST(Play, DrawsPlacedAndMarkedCellsAndCentresTheScoreOnThePanel)
{
    startPlaying(5);
    game.round.board[0][14] = 0;
    game.round.board[1][14] = MarkedOffset + 12;
    game.round.board[2][14] = TileFrames;  // no such tile: nothing is drawn
    game.round.score = 4242;
    frames(1);
    // Frame n of the sheet is at (32 (n mod 8), 32 (n / 8)); (25, 21) is an even spot of a tile.
    EXPECT_TRUE(pixelIs(18 + 25, 550 + 21, mediaPixel("klocki.jpg", 25, 21)));
    Rgb tile = mediaPixel("klocki.jpg", 4 * 32 + 25, 32 + 21), back = mediaPixel("back.jpg", 50 + 25, 571);
    auto mix = [](int t, int b) { return static_cast<int>(0.7 * t + 0.3 * b + 0.5); };
    EXPECT_TRUE(pixelIs(50 + 25, 571, Rgb{mix(tile.r, back.r), mix(tile.g, back.g), mix(tile.b, back.b)}));
    EXPECT_TRUE(pixelIs(82 + 25, 571, mediaPixel("back.jpg", 82 + 25, 571)));
    int width = measureText(game.smallFont, "4242", 1.0f), first = 800, last = 0;
    for (int x = 600; x < 800; x++) {  // the digits' ink across their middle
        Rgb got = pixelAt(x, 140), plain = mediaPixel("back.jpg", x, 140);
        if (std::abs(got.r - plain.r) + std::abs(got.g - plain.g) + std::abs(got.b - plain.b) > 60)
            first = std::min(first, x), last = std::max(last, x);
    }
    EXPECT_TRUE(first >= 732 - width / 2 && last < 732 - width / 2 + width && last - first > width * 3 / 4)
        << first << ".." << last << " for " << width;
}

}  // namespace

namespace {

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
        SDL_Delay(100);
        int32_t row = r.block.row;
        runFrame();
        EXPECT_EQ(r.paused, paused);
        EXPECT_EQ(r.block.row, paused ? row : row + 1);
    }
    r.block.row = 2;
    ASSERT_TRUE(onWindow("Tavirel", "keydown --window %1 Left"));
    SDL_Delay(100);  // the X server has it
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
    SDL_Delay(100);
    runFrame();
    int32_t column = r.block.column;
    for (int i = 0; i < 12; i++)
        runFrame();
    EXPECT_EQ(r.block.column, column);
}

}  // namespace
