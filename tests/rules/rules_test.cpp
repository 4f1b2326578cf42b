// rules_test.cpp: marking, gravity, clearing, levels and the top-out on boards drawn as pictures.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "game/rules.h"

namespace {

// A board picture: rows joined by '/', standing on the board's floor at its left edge.
// '.' is an empty cell, 'a' + k colour k, 'A' + k colour k marked; the rest of the board is empty.
void setBoard(const std::string &picture, int level = 1)
{
    game.round = Round();
    game.pendingEffects = 0;
    game.pendingMusicStop = false;
    game.round.level = level;
    game.round.clearsLeft = LevelTable[level - 1].clears;
    game.round.fallInterval = LevelTable[level - 1].interval;
    for (auto &column : game.round.board)
        for (int32_t &cell : column)
            cell = EmptyCell;
    int rows = static_cast<int>(std::count(picture.begin(), picture.end(), '/')) + 1, c = 0;
    int row = BoardRows - rows;
    for (char ch : picture) {
        if (ch == '/')
            row++, c = 0;
        else
            game.round.board[c++][row] = ch == '.' ? EmptyCell : ch >= 'a' ? ch - 'a' : MarkedOffset + ch - 'A';
    }
}

// The same corner of the board, in the shape of `like`.
std::string boardPicture(const std::string &like)
{
    std::string out;
    int rows = static_cast<int>(std::count(like.begin(), like.end(), '/')) + 1;
    int width = static_cast<int>(like.find('/') == std::string::npos ? like.size() : like.find('/'));
    for (int row = BoardRows - rows; row < BoardRows; row++) {
        for (int c = 0; c < width; c++) {
            int32_t v = game.round.board[c][row];
            out += v == EmptyCell ? '.' : isMarked(v) ? char('A' + v - MarkedOffset) : char('a' + v);
        }
        out += row + 1 < BoardRows ? "/" : "";
    }
    return out;
}

TEST(Rules, MarkSquaresMarksEverySquareOfOneColourOnceAndStartsTheCountdownOnce)
{
    const std::string edge(18, '.');
    struct Case { std::string before, after; int countdown, countdownAfter; bool sound; };
    const Case cases[] = {
        {"..", "..", 0, 0, false},                              // an empty board
        {"aa/aa", "AA/AA", 0, 600, true},
        {"bbb/bbb", "BBB/BBB", 0, 600, true},                    // two overlapping squares
        {"aaa/aaa/aa.", "AAA/AAA/AA.", 0, 600, true},            // three squares, one hole
        {"a./aa", "a./aa", 0, 0, false},                         // three cells and an empty one
        {"ab/aa", "ab/aa", 0, 0, false},
        {"aA/aa", "AA/AA", 0, 600, true},                        // an earlier mark joins a new square
        {"AA/AA", "AA/AA", 0, 600, true},                        // marks left from a countdown at 1
        {"aa/aa", "AA/AA", 300, 300, false},                     // a countdown running goes on
        {"aa/aa", "AA/AA", 1, 1, false},
        {edge + "bb/" + edge + "bb", edge + "BB/" + edge + "BB", 0, 600, true},  // the right edge
    };
    for (const Case &c : cases) {
        setBoard(c.before);
        game.round.explodeCountdown = c.countdown;
        markSquares();
        EXPECT_EQ(boardPicture(c.before), c.after) << c.before;
        EXPECT_EQ(game.round.explodeCountdown, c.countdownAfter) << c.before;
        EXPECT_EQ(game.pendingEffects, c.sound ? 1u << SquareEffect : 0u) << c.before;
    }
}

TEST(Rules, GravityLetsEveryCellAboveAHoleFallOneRowAPassWithItsMark)
{
    setBoard("a./Ac/b./.d/.e");
    for (const char *after : {"../a./Ac/bd/.e", "../../ac/Ad/be"}) {
        EXPECT_TRUE(applyGravity());
        EXPECT_EQ(boardPicture(after), after);
    }
    EXPECT_FALSE(applyGravity());
    setBoard("..");
    EXPECT_FALSE(applyGravity());
}

TEST(Rules, ClearScoresTheCellsTogetherCountsTheLevelDownAndAdvancesIt)
{
    struct Case { std::string before; int level, clearsLeft, score, levelAfter, clearsAfter, interval; std::string after; ScreenName screen; };
    const Case cases[] = {
        {"AA/AA", 1, 6, 10, 1, 5, 60, "../..", GameScreen},
        {"AA.AA/AA.AA", 1, 6, 36, 1, 5, 60, "...../.....", GameScreen},
        {"EE/EE", 3, 10, 30, 3, 9, 30, "../..", GameScreen},
        {"CCC/CCC", 2, 8, 42, 2, 7, 40, ".../...", GameScreen},
        {"AAb/AAa", 1, 1, 10, 2, 8, 40, "..d/..c", GameScreen},        // the sixth clear of level 1
        {"OOp/OOo", 8, 1, 80, 9, 1, 6, "..r/..q", FinishedScreen},     // the last clear of the game
    };
    for (const Case &c : cases) {
        setBoard(c.before, c.level);
        game.Screen = GameScreen;
        game.round.clearsLeft = c.clearsLeft;
        game.round.block.colours[0] = 2 * c.level - 1;
        clearMarked();
        const Round &r = game.round;
        EXPECT_EQ(boardPicture(c.before), c.after) << c.before;
        EXPECT_EQ(r.score, c.score) << c.before;
        EXPECT_EQ(r.level, c.levelAfter) << c.before;
        EXPECT_EQ(r.clearsLeft, c.clearsAfter) << c.before;
        EXPECT_EQ(r.fallInterval, c.interval) << c.before;
        EXPECT_EQ(r.block.colours[0], 2 * c.levelAfter - 1) << c.before;
        EXPECT_EQ(game.Screen, c.screen) << c.before;
        bool levelUp = c.levelAfter != c.level;
        EXPECT_EQ(game.pendingEffects, 1u << ExplosionEffect | (levelUp ? 1u << NextLevelEffect : 0u)) << c.before;
        EXPECT_EQ(r.explosionGrid[0][BoardRows - 1] + r.explosionGrid[0][BoardRows - 3], 1) << c.before;
        EXPECT_EQ(r.gravityPending, 1);
        EXPECT_EQ(r.explosionFrame, 0);
    }
}

TEST(Rules, NewBlockEndsTheGameWhenTheLastHalfRestedInRowZeroWithTheGreatScoreOnlyAboveTheTenth)
{
    struct Case { ScreenName screen; int row, score; ScreenName after; bool great; };
    const Case cases[] = {
        {GameScreen, 0, 101, GameOverScreen, true},   {GameScreen, 0, 100, GameOverScreen, false},
        {GameScreen, 1, 101, GameScreen, false},      {IntroScreen, 0, 101, IntroScreen, false},
    };
    for (const Case &c : cases) {
        setBoard("..", 3);
        game.Screen = c.screen;
        game.round.block.row = c.row;
        game.round.score = c.score;
        game.highScores.rows[HighScoreRows - 1].score = 100;
        newBlock();
        EXPECT_EQ(game.Screen, c.after);
        EXPECT_EQ(game.pendingMusicStop, c.great);
        EXPECT_EQ(game.pendingEffects, c.great ? 1u << GreatScoreEffect : 0u);
        for (int32_t colour : game.round.block.colours)
            EXPECT_TRUE(colour == 4 || colour == 5) << colour;
    }
}

}  // namespace
