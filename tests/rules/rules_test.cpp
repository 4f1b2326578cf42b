// rules_test.cpp: marking, gravity, clearing, levels and the top-out on boards drawn as pictures.
#include <gtest/gtest.h>

#include <string>

#include "board.h"
#include "game/rules.h"

namespace {

TEST(Rules, MarkingFindsEverySquareOfOneColourAndOnlyTheFirstMarkStartsTheCountdown)
{
    struct Case { std::string before, after; int countdown, countdownAfter; };
    const std::string edge(18, '.');
    std::string top = ".aa/";  // the top row, then empty ones down to the bottom row
    for (int row = 1; row < BoardRows - 1; row++)
        top += ".../";
    for (const Case &c : std::initializer_list<Case>{
             {"a./aa", "a./aa", 0, 0},                  {"ab/aa", "ab/aa", 0, 0},
             {"bbb/bbb", "BBB/BBB", 0, 600},            {"aaa/aaa/aa.", "AAA/AAA/AA.", 0, 600},
             {"aA/aa", "AA/AA", 0, 600},                {"AA/AA", "AA/AA", 0, 600},  // marks left at 1
             {"aa/aa", "AA/AA", 300, 300},              {"aa/aa", "AA/AA", 1, 1},
             {edge + "bb/" + edge + "bb", edge + "BB/" + edge + "BB", 0, 600},
             // the bottom row and the top one are no square together
             {top + "aa.", top + "aa.", 0, 0}}) {
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
    // The board's full height: a cell of the top row falls as well.
    const std::string column = "ab/.B/c./dd/dd/dd/dd/dd/dd/dd/dd/dd/dd/dd/dd";
    setBoard(column);
    EXPECT_TRUE(applyGravity());
    EXPECT_EQ(picture(column), "../ab/cB/dd/dd/dd/dd/dd/dd/dd/dd/dd/dd/dd/dd");
}

// What a clear leaves: board, score, level, clears left, interval, block colour, effects.
std::string afterClear(const std::string &before)
{
    const Round &r = game.round;
    return picture(before) + " " + std::to_string(r.score) + " L" + std::to_string(r.level) + " left " +
           std::to_string(r.clearsLeft) + " every " + std::to_string(r.fallInterval) + " block " +
           std::to_string(r.block.colours[0]) + " fx " + std::to_string(game.pendingEffects) + " grid " + std::to_string(r.explosionGrid[0][BoardRows - 1]) +
           std::to_string(r.explosionGrid[2][BoardRows - 1]);
}

TEST(Rules, ClearScoresTheCellsTogetherCountsTheLevelDownAndAdvancesIt)
{
    struct Case { std::string before; int level, clearsLeft; std::string after; };
    for (const Case &c : std::initializer_list<Case>{
             {"AAa/AAb", 1, 6, "..a/..b 10 L1 left 5 every 60 block 1 fx 1 grid 10"},
             {"AA.AA/AA.AA", 1, 6, "...../..... 36 L1 left 5 every 60 block 1 fx 1 grid 10"},
             {"EEe/EEf", 3, 10, "..e/..f 30 L3 left 9 every 30 block 5 fx 1 grid 10"},
             {"CCC/CCC", 2, 8, ".../... 42 L2 left 7 every 40 block 3 fx 1 grid 11"},
             {"AAb/AAa", 1, 1, "..d/..c 10 L2 left 8 every 40 block 3 fx 3 grid 10"},
             // Every level's clears and pace, as each level begins.
             {"CCd/CCc", 2, 1, "..f/..e 20 L3 left 10 every 30 block 5 fx 3 grid 10"},
             {"EEf/EEe", 3, 1, "..h/..g 30 L4 left 12 every 25 block 7 fx 3 grid 10"},
             {"GGh/GGg", 4, 1, "..j/..i 40 L5 left 14 every 18 block 9 fx 3 grid 10"},
             {"IIj/IIi", 5, 1, "..l/..k 50 L6 left 16 every 12 block 11 fx 3 grid 10"},
             {"KKl/KKk", 6, 1, "..n/..m 60 L7 left 18 every 9 block 13 fx 3 grid 10"},
             {"MMn/MMm", 7, 1, "..p/..o 70 L8 left 20 every 6 block 15 fx 3 grid 10"},
             {"OOp/OOo", 8, 1, "..r/..q 80 L9 left 1 every 6 block 17 fx 3 grid 10"}}) {
        setBoard(c.before, c.level);
        game.round.clearsLeft = c.clearsLeft;
        game.round.block.colours[0] = 2 * c.level - 1;
        clearMarked();
        EXPECT_EQ(afterClear(c.before), c.after);
        EXPECT_EQ(game.round.gravityPending, 1);
        EXPECT_EQ(game.round.explosionFrame, 0);
    }
}

// What a frame of play comes to. A block whose last half rests in row 0 ends the game, with the
// great score's music stop and sound when the score beats the tenth row; a game the player left in
// that same frame is not over. The clear that completes level 8 completes the game, left or not.
TEST(Rules, AFrameOfPlayReportsTheEndOfTheGameAndTheLastLevel)
{
    struct Case { int row, score; bool leave; int level, clearsLeft; bool over, complete, great; };
    for (const Case &c : std::initializer_list<Case>{{0, 101, false, 3, 5, true, false, true},
                                                     {0, 100, false, 3, 5, true, false, false},
                                                     {1, 101, false, 3, 5, false, false, false},
                                                     {0, 101, true, 3, 5, false, false, false},
                                                     {5, 0, false, 8, 1, false, true, false},
                                                     {5, 0, true, 8, 1, false, true, false},
                                                     {5, 0, false, 8, 2, false, false, false}}) {
        const std::string what = std::to_string(c.row) + " " + std::to_string(c.score) + " " +
                                 std::to_string(c.leave) + " L" + std::to_string(c.level);
        setBoard(std::string(BoardColumns, '.'), c.level);
        Round &r = game.round;
        r.clearsLeft = c.clearsLeft;
        r.score = c.score;
        game.highScores.rows[HighScoreRows - 1].score = 100;
        r.block = {{4, 5, 4, 5}, 9, c.row, BothFalling};  // no square of one colour
        r.board[9][c.row + 2] = r.board[10][c.row + 2] = 16;
        if (c.level == LastLevel) {  // a marked square in the corner, due to go in this frame
            for (int col : {0, 1})
                for (int row : {13, 14})
                    r.board[col][row] = MarkedOffset + 14;
            r.explodeCountdown = 2;
        }
        PlayView shown{};
        PlayActions actions{};
        actions.leave = c.leave;
        PlayOutcome outcome = playFrame(actions, shown);
        EXPECT_EQ(outcome.over, c.over) << what;
        EXPECT_EQ(outcome.complete, c.complete) << what;
        EXPECT_EQ(r.level, c.complete ? LastLevel + 1 : c.level) << what;
        if (c.level < LastLevel) {
            EXPECT_EQ(game.pendingMusicStop, c.great) << what;
            EXPECT_EQ(game.pendingEffects, c.great ? 1u << GreatScoreEffect : 0u) << what;
        }
    }
}

}  // namespace
