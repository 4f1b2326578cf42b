// newgame_test.cpp: a new game starts from an empty board at level 1, whatever came before.
#include <gtest/gtest.h>

#include <cstdlib>

#include "game/rules.h"

TEST(NewGame, StartsLevelOneOnAnEmptyBoardWithAFreshRound)
{
    game.round.score = 1234;
    game.round.board[3][4] = 7;
    game.round.playerName = "old";
    game.round.block.row = 0;
    game.Screen = IntroScreen;
    std::srand(5);
    newGame();
    const Round &r = game.round;
    for (int c = 0; c < BoardColumns; c++)
        for (int row = 0; row < BoardRows; row++)
            ASSERT_EQ(r.board[c][row], EmptyCell);
    EXPECT_EQ(r.level, 1);
    EXPECT_EQ(r.score, 0);
    EXPECT_EQ(r.clearsLeft, 6);
    EXPECT_EQ(r.fallInterval, 60);
    EXPECT_EQ(r.fallCountdown, 60);
    EXPECT_EQ(r.explosionFrame, IdleExplosionFrame);
    EXPECT_EQ(r.block.column, 9);
    EXPECT_EQ(r.block.row, 0);
    EXPECT_EQ(r.playerName, "");
    for (int32_t colour : r.block.colours)
        EXPECT_TRUE(colour == 0 || colour == 1);
    EXPECT_EQ(game.Screen, IntroScreen);   // not a top-out, although the old block stood in row 0
    game.Screen = GameScreen;              // nor when the game screen was set first
    newGame();
    EXPECT_EQ(game.Screen, GameScreen);
}
