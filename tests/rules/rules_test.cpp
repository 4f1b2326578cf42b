// rules_test.cpp: marking, gravity, clearing, levels and the top-out on boards drawn as pictures.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "game/rules.h"

namespace {

// A picture is rows joined by '/', standing on the board's floor at its left edge: '.' empty,
// 'a' + k colour k, 'A' + k colour k marked. Sets a fresh level-`level` round with that board.
void setBoard(const std::string &picture, int level = 1)
{
    newGame();
    game.pendingEffects = 0;
    game.pendingMusicStop = false;
    Round &r = game.round;
    r.level = level;
    r.clearsLeft = LevelTable[level - 1].clears;
    r.fallInterval = LevelTable[level - 1].interval;
    int row = BoardRows - 1 - static_cast<int>(std::count(picture.begin(), picture.end(), '/')), c = 0;
    for (char ch : picture) {
        if (ch == '/')
            row++, c = 0;
        else
            r.board[c++][row] = ch == '.' ? EmptyCell : ch >= 'a' ? ch - 'a' : MarkedOffset + ch - 'A';
    }
}

// The board's corner in the shape of `like`.
std::string picture(const std::string &like)
{
    std::string out = like;
    int row = BoardRows - 1 - static_cast<int>(std::count(like.begin(), like.end(), '/')), c = 0;
    for (char &ch : out) {
        if (ch == '/') {
            row++, c = 0;
            continue;
        }
        int32_t v = game.round.board[c++][row];
        ch = v == EmptyCell ? '.' : static_cast<char>(isMarked(v) ? 'A' + colourOf(v) : 'a' + v);
    }
    return out;
}

TEST(Rules, MarkingFindsEverySquareOfOneColourAndOnlyTheFirstMarkStartsTheCountdown)
{
    struct Case { std::string before, after; int countdown, countdownAfter; };
    const std::string edge(18, '.');
    for (const Case &c : std::initializer_list<Case>{
             {"a./aa", "a./aa", 0, 0},                  {"ab/aa", "ab/aa", 0, 0},
             {"bbb/bbb", "BBB/BBB", 0, 600},            {"aaa/aaa/aa.", "AAA/AAA/AA.", 0, 600},
             {"aA/aa", "AA/AA", 0, 600},                {"AA/AA", "AA/AA", 0, 600},  // marks left at 1
             {"aa/aa", "AA/AA", 300, 300},              {"aa/aa", "AA/AA", 1, 1},
             {edge + "bb/" + edge + "bb", edge + "BB/" + edge + "BB", 0, 600}}) {
        setBoard(c.before);
        game.round.explodeCountdown = c.countdown;
        markSquares();
        EXPECT_EQ(picture(c.before), c.after);
        EXPECT_EQ(game.round.explodeCountdown, c.countdownAfter) << c.before;
        EXPECT_EQ(game.pendingEffects, c.countdown == 0 && c.countdownAfter ? 1u << SquareEffect : 0u) << c.before;
    }
}

TEST(Rules, GravityLetsEveryCellAboveAHoleFallOneRowAPassWithItsMark)
{
    setBoard("a./Ac/b./.d/.e");
    EXPECT_TRUE(applyGravity());
    EXPECT_EQ(picture("a./Ac/b./.d/.e"), "../a./Ac/bd/.e");
    EXPECT_TRUE(applyGravity());
    EXPECT_EQ(picture("a./Ac/b./.d/.e"), "../../ac/Ad/be");
    EXPECT_FALSE(applyGravity());
}

// What a clear leaves: board, score, level, clears left, interval, block colour, effects, screen.
std::string afterClear(const std::string &before)
{
    const Round &r = game.round;
    return picture(before) + " " + std::to_string(r.score) + " L" + std::to_string(r.level) + " left " +
           std::to_string(r.clearsLeft) + " every " + std::to_string(r.fallInterval) + " block " +
           std::to_string(r.block.colours[0]) + " fx " + std::to_string(game.pendingEffects) + " screen " +
           std::to_string(game.Screen) + " grid " + std::to_string(r.explosionGrid[0][BoardRows - 1]) +
           std::to_string(r.explosionGrid[2][BoardRows - 1]);
}

TEST(Rules, ClearScoresTheCellsTogetherCountsTheLevelDownAndAdvancesIt)
{
    struct Case { std::string before; int level, clearsLeft; std::string after; };
    for (const Case &c : std::initializer_list<Case>{
             {"AAa/AAb", 1, 6, "..a/..b 10 L1 left 5 every 60 block 1 fx 1 screen 2 grid 10"},
             {"AA.AA/AA.AA", 1, 6, "...../..... 36 L1 left 5 every 60 block 1 fx 1 screen 2 grid 10"},
             {"EEe/EEf", 3, 10, "..e/..f 30 L3 left 9 every 30 block 5 fx 1 screen 2 grid 10"},
             {"CCC/CCC", 2, 8, ".../... 42 L2 left 7 every 40 block 3 fx 1 screen 2 grid 11"},
             {"AAb/AAa", 1, 1, "..d/..c 10 L2 left 8 every 40 block 3 fx 3 screen 2 grid 10"},
             {"OOp/OOo", 8, 1, "..r/..q 80 L9 left 1 every 6 block 17 fx 3 screen 4 grid 10"}}) {
        setBoard(c.before, c.level);
        game.Screen = GameScreen;
        game.round.clearsLeft = c.clearsLeft;
        game.round.block.colours[0] = 2 * c.level - 1;
        clearMarked();
        EXPECT_EQ(afterClear(c.before), c.after);
        EXPECT_EQ(game.round.gravityPending + game.round.explosionFrame, 1);
    }
}

TEST(Rules, NewBlockEndsTheGameWhenTheLastHalfRestedInRowZeroWithTheGreatScoreOnlyAboveTheTenth)
{
    struct Case { ScreenName screen; int row, score; ScreenName after; bool great; };
    for (const Case &c : std::initializer_list<Case>{{GameScreen, 0, 101, GameOverScreen, true},
                                                     {GameScreen, 0, 100, GameOverScreen, false},
                                                     {GameScreen, 1, 101, GameScreen, false},
                                                     {IntroScreen, 0, 101, IntroScreen, false}}) {
        setBoard("..", 3);
        game.Screen = c.screen;
        game.round.block.row = c.row;
        game.round.score = c.score;
        game.highScores.rows[HighScoreRows - 1].score = 100;
        newBlock();
        EXPECT_EQ(game.Screen, c.after);
        EXPECT_EQ(game.pendingMusicStop * 100 + game.pendingEffects, c.great ? 100 + (1u << GreatScoreEffect) : 0);
    }
}

}  // namespace
