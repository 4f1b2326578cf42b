// frame_test.cpp: frames of play by the rules alone: the fall at each level's pace, the held moves
// every fourth frame, the drop, each half landing on its own, the block finished and the top-out.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>

#include "board.h"
#include "game/rules.h"

namespace {

// Runs a script of frames: tokens such as "60." or "4<", a count and one frame's actions: '.'
// nothing, '<' left held, '>' right held, '=' both held, 'v' the drop held, 'a' a turn, 'c' a turn
// back, 'A' both turns pressed at once. True when some frame ended the game.
bool play(const std::string &script)
{
    std::istringstream tokens(script);
    bool over = false;
    int count;
    char what;
    while (tokens >> count >> what) {
        for (int i = 0; i < count; i++) {
            PlayActions a{};
            a.moveLeft = what == '<' || what == '=';
            a.moveRight = what == '>' || what == '=';
            a.drop = what == 'v';
            a.turn = what == 'a' || what == 'A';
            a.turnBack = what == 'c' || what == 'A';
            PlayView shown{};
            over = playFrame(a, shown).over || over;
        }
    }
    return over;
}

// Where the block stands, what it does, the drop's sound asked for, the end, and the board's
// corner in the shape of `board`.
std::string state(bool over, const std::string &board)
{
    const Round &r = game.round;
    const FallingBlock &b = r.block;
    const char *halves[] = {"falling", "left in", "right in"};
    std::string s = "row " + std::to_string(b.row) + " col " + std::to_string(b.column) + " " + halves[b.landedHalf];
    if (r.dropping)
        s += " dropping";
    if (game.pendingEffects & (1u << DropEffect))
        s += " drop sound";
    if (over)
        s += " over";
    return board.empty() ? s : s + " " + picture(board);
}

// Rows 2 to the floor, each drawn as `row`: columns of cells tall enough to hold a block in row 0.
std::string towers(const std::string &row)
{
    std::string out = row;
    for (int r = 3; r < BoardRows; r++)
        out += "/" + row;
    return out;
}

// At every level the block steps a row each interval + 1 frames, from its countdown's start.
TEST(Frame, TheBlockFallsAtItsLevelsPace)
{
    for (int level = 1; level <= LastLevel; level++) {
        const int every = LevelTable[level - 1].interval + 1;
        for (int frames : {every - 1, every, 2 * every - 1, 2 * every, 3 * every}) {
            setBoard("", level);
            game.round.fallCountdown = game.round.fallInterval;
            play(std::to_string(frames) + ".");
            EXPECT_EQ(game.round.block.row, frames / every) << "level " << level << ", " << frames << " frames";
        }
    }
}

// A block coloured a b / d c (top-left, top-right; bottom-left, bottom-right) at a level-1 pace,
// its countdown and its fourth frame starting afresh, on the board drawn; the script played.
struct Case {
    const char *what;
    std::string board;
    int column, row;
    LandedHalf half;
    std::string script, after;
    const char *shown = nullptr;  // the corner of the board shown after, when not all of `board`
};

TEST(Frame, HeldMovesDropsAndLandingsFrameByFrame)
{
    const std::string left = "..../..../.e..", right = "..../..../..e.";
    const Case cases[] = {
        // Held moves: a column every fourth frame, where the cells beside the block are empty.
        {"left held, the fourth frame not yet", "", 3, 12, BothFalling, "4<", "row 12 col 3 falling"},
        {"left held", "", 3, 12, BothFalling, "5<", "row 12 col 2 falling"},
        {"left held twice as long", "", 3, 12, BothFalling, "9<", "row 12 col 1 falling"},
        {"right held", "", 3, 12, BothFalling, "9>", "row 12 col 5 falling"},
        {"both held", "", 3, 12, BothFalling, "9=", "row 12 col 3 falling"},
        {"held only in the fourth frame", "", 3, 12, BothFalling, "4. 1<", "row 12 col 2 falling"},
        {"let go in the fourth frame", "", 3, 12, BothFalling, "4< 1. 3<", "row 12 col 3 falling"},
        {"let go, then the next fourth frame", "", 3, 12, BothFalling, "4< 1. 4<", "row 12 col 2 falling"},
        {"the left edge", "", 0, 12, BothFalling, "9<", "row 12 col 0 falling"},
        {"the right edge", "", 18, 12, BothFalling, "9>", "row 12 col 18 falling"},
        {"up to the right edge", "", 16, 12, BothFalling, "13>", "row 12 col 18 falling"},
        {"a cell beside the lower left", "....../..e.../......", 3, 12, BothFalling, "9<",
         "row 12 col 3 falling ....../..e.../......"},
        {"a cell beside the upper left", "..e.../....../......", 3, 12, BothFalling, "9<",
         "row 12 col 3 falling ..e.../....../......"},
        {"a cell beside the lower right", "....../.....e/......", 3, 12, BothFalling, "9>",
         "row 12 col 3 falling ....../.....e/......"},
        {"a cell beside the upper right", ".....e/....../......", 3, 12, BothFalling, "9>",
         "row 12 col 3 falling .....e/....../......"},
        {"a cell a column further", "....../.e..../......", 3, 12, BothFalling, "9<",
         "row 12 col 2 falling ....../.e..../......"},
        // The drop: from the fourth frame on, a row every frame, with its sound; never from row 0.
        {"drop held in row 0", "", 9, 0, BothFalling, "5v", "row 0 col 9 falling"},
        {"drop held until row 1", "", 9, 0, BothFalling, "61v", "row 1 col 9 falling dropping drop sound"},
        {"drop held in row 3", "", 1, 3, BothFalling, "5v", "row 3 col 1 falling dropping drop sound"},
        {"drop held, a frame on", "", 1, 3, BothFalling, "6v", "row 4 col 1 falling dropping drop sound"},
        {"drop let go", "", 1, 3, BothFalling, "5v 3.", "row 6 col 1 falling dropping drop sound"},
        {"a drop a row above the floor", "..../....", 1, 3, BothFalling, "5v 9.",
         "row 12 col 1 falling dropping drop sound ..../...."},
        // Landing: each half into the board where it meets support; the next block in the same
        // columns at row 0 once both are in, at the pace's start.
        {"a drop to the floor", "..../....", 1, 3, BothFalling, "5v 10.", "row 0 col 1 falling drop sound .ab./.dc."},
        {"the floor", "..../....", 1, 13, BothFalling, "1.", "row 0 col 1 falling .ab./.dc."},
        {"the next block's pace", "..../....", 1, 13, BothFalling, "61.", "row 0 col 1 falling .ab./.dc."},
        {"the next block's first row", "..../....", 1, 13, BothFalling, "62.", "row 1 col 1 falling .ab./.dc."},
        {"the left half on a cell", left, 1, 12, BothFalling, "1.", "row 12 col 1 left in .a../.d../.e.."},
        // The half still falling drops from the next fourth frame, without a sound; moves wait.
        {"the right half drops", left, 1, 12, BothFalling, "5.", "row 12 col 1 left in dropping .a../.d../.e.."},
        {"the right half in", left, 1, 12, BothFalling, "6.", "row 0 col 1 falling .a../.db./.ec."},
        {"the right half in, left held", left, 1, 12, BothFalling, "6<", "row 0 col 1 falling .a../.db./.ec."},
        {"the right half on a cell", right, 1, 12, BothFalling, "1.", "row 12 col 1 right in ..b./..c./..e."},
        {"the left half in", right, 1, 12, BothFalling, "6>", "row 0 col 1 falling ..b./.ac./.de."},
        // A turn comes before the landing in its frame.
        {"a turn", "..../....", 1, 13, BothFalling, "1a", "row 0 col 1 falling .bc./.ad."},
        {"a turn back", "..../....", 1, 13, BothFalling, "1c", "row 0 col 1 falling .da./.cb."},
        {"both turns at once", "..../....", 1, 13, BothFalling, "1A", "row 0 col 1 falling .bc./.ad."},
        // The left half finishing a block lets the new block's right half meet support at once;
        // the right half finishing one, the new block's left half waits for the next frame.
        {"left last, the new right half at once", towers("..e"), 1, 13, RightLanded, "1.",
         "row 0 col 1 right in .ae/.de", ".../..."},
        {"right last, the new left half", towers(".e."), 1, 13, LeftLanded, "1.", "row 0 col 1 falling .eb/.ec",
         ".../..."},
        {"right last, the new left half a frame on", towers(".e."), 1, 13, LeftLanded, "2.",
         "row 0 col 1 left in .eb/.ec", ".../..."},
        // A block finished in row 0 ends the game.
        {"the top-out", towers(".ee"), 1, 0, BothFalling, "1.", "row 0 col 1 falling over", ""},
    };
    for (const Case &c : cases) {
        std::srand(1);
        setBoard(c.board);
        Round &r = game.round;
        r.block = {{0, 1, 2, 3}, c.column, c.row, c.half};
        r.fallCountdown = r.fallInterval;
        r.moveTick = 0;
        bool over = play(c.script);
        EXPECT_EQ(state(over, c.shown ? c.shown : c.board), c.after) << c.what;
    }
}

// The countdown's last frame clears the marked cells; from the next frame on, one gravity pass a
// frame lets the cells above fall, and the frame in which nothing moves marks the board again,
// which starts a new countdown in that frame.
TEST(Frame, AfterAClearTheBoardSettlesAPassAFrameAndIsMarkedAgain)
{
    const std::string corner = "bb/bb/AA/AA/..";
    setBoard(corner);
    game.round.explodeCountdown = 2;
    const char *frames[] = {"bb/bb/../../.. 1", "../bb/bb/../.. 0", "../../bb/bb/.. 0", "../../../bb/bb 0",
                            "../../../BB/BB 599", "../../../BB/BB 598"};
    for (const char *after : frames) {
        play("1.");
        EXPECT_EQ(picture(corner) + " " + std::to_string(game.round.explodeCountdown), after);
    }
    EXPECT_EQ(game.round.score, 10);  // the four cleared together: 1 + 2 + 3 + 4 at level 1
}

}  // namespace
