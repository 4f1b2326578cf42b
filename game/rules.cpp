// rules.cpp: the board and its rules, as plain functions over the game record. No SDL, no OpenGL.
#include "game/rules.h"

#include <cstdlib>
#include <cstring>

const LevelRow LevelTable[LastLevel] = {
    {6, 60}, {8, 40}, {10, 30}, {12, 25}, {14, 18}, {16, 12}, {18, 9}, {20, 6},
};

// The held moves and drop apply when moveTick has passed this, that is every fourth frame.
static const int32_t KeyCheckAfter = 3;

// The countdown value at which the marked cells go.
static const int32_t ClearAtCountdown = 1;

void queueEffect(Effect effect)
{
    game.pendingEffects |= 1u << effect;
}

// Four colours, each the level's first or second with equal chance.
static void colourBlock()
{
    Round &r = game.round;
    for (int i = 0; i < 4; i++)
        r.block.colours[i] = std::rand() % 2 + 2 * r.level - 2;
}

void newGame()
{
    game.round = Round();
    Round &r = game.round;
    for (int c = 0; c < BoardColumns; c++)
        for (int row = 0; row < BoardRows; row++)
            r.board[c][row] = EmptyCell;
    r.level = 1;
    colourBlock();
    r.block.column = 9;
    r.fallInterval = LevelTable[0].interval;
    r.fallCountdown = LevelTable[0].interval;
    r.clearsLeft = LevelTable[0].clears;
    r.explosionFrame = IdleExplosionFrame;
}

bool newBlock()
{
    colourBlock();
    return game.round.block.row == 0;
}

bool greatScore()
{
    return game.highScores.rows[HighScoreRows - 1].score < game.round.score;
}

void markSquares()
{
    Round &r = game.round;
    for (int c = 0; c < BoardColumns - 1; c++) {
        for (int row = 0; row < BoardRows - 1; row++) {
            if (r.board[c][row] == EmptyCell)
                continue;
            int32_t *cells[4] = {&r.board[c][row], &r.board[c + 1][row], &r.board[c][row + 1],
                                 &r.board[c + 1][row + 1]};
            int32_t colour = colourOf(*cells[0]);
            bool same = true;
            for (int32_t *cell : cells)
                same = same && *cell != EmptyCell && colourOf(*cell) == colour;
            if (!same)
                continue;
            for (int32_t *cell : cells)
                if (!isMarked(*cell))
                    *cell += MarkedOffset;
            if (r.explodeCountdown == 0) {
                r.explodeCountdown = ExplodeFrames;
                queueEffect(SquareEffect);
            }
        }
    }
}

bool applyGravity()
{
    Round &r = game.round;
    bool moved = false;
    for (int c = 0; c < BoardColumns; c++) {
        for (int row = BoardRows - 1; row >= 1; row--) {
            if (r.board[c][row] == EmptyCell && r.board[c][row - 1] != EmptyCell) {
                r.board[c][row] = r.board[c][row - 1];
                r.board[c][row - 1] = EmptyCell;
                moved = true;
            }
        }
    }
    return moved;
}

void clearMarked()
{
    Round &r = game.round;
    int32_t bonus = 0;
    for (int c = 0; c < BoardColumns; c++) {
        for (int row = 0; row < BoardRows; row++) {
            if (isMarked(r.board[c][row])) {
                r.board[c][row] = EmptyCell;
                r.explosionGrid[c][row] = 1;
                bonus += r.level;
                r.score += bonus;
            }
        }
    }
    r.gravityPending = 1;
    r.explosionFrame = 0;
    queueEffect(ExplosionEffect);
    if (r.clearsLeft > 1) {
        r.clearsLeft--;
        return;
    }

    r.level++;
    queueEffect(NextLevelEffect);
    if (r.level <= LastLevel) {
        r.clearsLeft = LevelTable[r.level - 1].clears;
        r.fallInterval = LevelTable[r.level - 1].interval;
    }
    for (int c = 0; c < BoardColumns; c++)
        for (int row = 0; row < BoardRows; row++)
            if (r.board[c][row] != EmptyCell)
                r.board[c][row] += 2;
    for (int32_t &colour : r.block.colours)
        colour += 2;
}

// After a clear, one gravity pass per frame until nothing moves; then the board is marked again.
static void settle()
{
    Round &r = game.round;
    if (r.gravityPending != 1)
        return;
    r.gravityPending = applyGravity() ? 1 : 0;
    if (!r.gravityPending)
        markSquares();
}

// The block's pace: one row every fallInterval + 1 frames.
static void stepByTimer()
{
    Round &r = game.round;
    if (r.fallCountdown == 0) {
        r.block.row++;
        r.fallCountdown = r.fallInterval;
    } else {
        r.fallCountdown--;
    }
}

// A quarter turn of the four colours (top-left, top-right, bottom-right, bottom-left).
static void turn(bool clockwise)
{
    int32_t *c = game.round.block.colours;
    int32_t old[4] = {c[0], c[1], c[2], c[3]};
    for (int i = 0; i < 4; i++)
        c[i] = clockwise ? old[(i + 3) % 4] : old[(i + 1) % 4];
}

static bool cellEmpty(int column, int row)
{
    return game.round.board[column][row] == EmptyCell;
}

// Every fourth frame: the held moves step the block a column where the cells beside it are empty,
// and the held drop starts it dropping; a half still falling after its other half landed drops.
static void applyHeldMoves(const PlayActions &a)
{
    Round &r = game.round;
    FallingBlock &b = r.block;
    r.moveTick = 0;
    if (b.landedHalf != BothFalling) {
        r.dropping = true;   // the half still falling drops, without a sound
        return;
    }
    if (b.column != 0 && a.moveLeft && cellEmpty(b.column - 1, b.row) && cellEmpty(b.column - 1, b.row + 1))
        b.column--;
    if (b.column != BoardColumns - 2 && a.moveRight && cellEmpty(b.column + 2, b.row) &&
        cellEmpty(b.column + 2, b.row + 1))
        b.column++;
    if (a.drop && b.row != 0) {
        r.dropping = true;
        queueEffect(DropEffect);
    }
}

// Both halves are in the board: the next block comes, in the same columns, at row 0. A block
// that rested in row 0 ends the game, unless the player left it in this frame already; a result
// that enters the table stops the music for its sound.
static void finishBlock(const PlayActions &a, PlayOutcome &outcome)
{
    Round &r = game.round;
    r.dropping = false;
    r.block.landedHalf = BothFalling;
    if (newBlock() && !a.leave) {
        outcome.over = true;
        if (greatScore()) {
            game.pendingMusicStop = true;
            queueEffect(GreatScoreEffect);
        }
    }
    markSquares();
    r.block.row = 0;
    r.fallCountdown = r.fallInterval;
}

// Writes a half into the board when it meets support: the floor, or a cell under it.
// The left half first; when it finishes the block, the right half of the new one is tested at once.
static void landHalves(const PlayActions &a, PlayOutcome &outcome)
{
    Round &r = game.round;
    FallingBlock &b = r.block;
    const int lastRow = BoardRows - 2;
    if ((b.row == lastRow || !cellEmpty(b.column, b.row + 2)) && b.landedHalf != LeftLanded) {
        r.board[b.column][b.row] = b.colours[0];
        r.board[b.column][b.row + 1] = b.colours[3];
        if (b.landedHalf == RightLanded)
            finishBlock(a, outcome);
        else
            b.landedHalf = LeftLanded;
    }
    if ((b.row == lastRow || !cellEmpty(b.column + 1, b.row + 2)) && b.landedHalf != RightLanded) {
        r.board[b.column + 1][b.row] = b.colours[1];
        r.board[b.column + 1][b.row + 1] = b.colours[2];
        if (b.landedHalf == LeftLanded)
            finishBlock(a, outcome);
        else
            b.landedHalf = RightLanded;
    }
}

static void countDownToClear(PlayOutcome &outcome)
{
    Round &r = game.round;
    if (r.explodeCountdown > 0 && --r.explodeCountdown == ClearAtCountdown) {
        clearMarked();
        outcome.complete = r.level == LastLevel + 1;
    }
}

void showPanel(PlayView &shown)
{
    const Round &r = game.round;
    shown.score = r.score;
    shown.level = r.level;
    shown.seconds = r.playTime / 60;
    shown.clearsLeft = r.clearsLeft;
    shown.explodeTenths = r.explodeCountdown / 10;
}

// The explosion shows its current frame, then moves on one; after its last it is gone.
static void runExplosion(PlayView &shown)
{
    Round &r = game.round;
    shown.explosionFrame = r.explosionFrame;
    if (r.explosionFrame > IdleExplosionFrame - 1) {
        std::memset(shown.explosion, 0, sizeof shown.explosion);
        return;
    }
    std::memcpy(shown.explosion, r.explosionGrid, sizeof shown.explosion);
    if (++r.explosionFrame == IdleExplosionFrame)
        std::memset(r.explosionGrid, 0, sizeof r.explosionGrid);
}

PlayOutcome playFrame(const PlayActions &a, PlayView &shown)
{
    Round &r = game.round;
    PlayOutcome outcome = {false, false};
    settle();
    if (r.dropping) {
        r.block.row++;
        r.fallCountdown = r.fallInterval;
    }
    std::memcpy(shown.board, r.board, sizeof shown.board);
    stepByTimer();
    if (a.turn)
        turn(false);
    else if (a.turnBack)
        turn(true);
    if (r.moveTick > KeyCheckAfter)
        applyHeldMoves(a);
    r.moveTick++;
    shown.block = r.block;
    landHalves(a, outcome);
    countDownToClear(outcome);
    r.playTime++;
    showPanel(shown);
    runExplosion(shown);
    return outcome;
}

