// rules.cpp: the board and its rules, as plain functions over the game record. No SDL, no OpenGL.
#include "game/rules.h"

#include <cstdlib>

const LevelRow LevelTable[LastLevel] = {
    {6, 60}, {8, 40}, {10, 30}, {12, 25}, {14, 18}, {16, 12}, {18, 9}, {20, 6},
};

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
    // Only the colours: a new game is never over before it starts, whichever screen is up.
    colourBlock();
    r.block.column = 9;
    r.fallInterval = LevelTable[0].interval;
    r.fallCountdown = LevelTable[0].interval;
    r.clearsLeft = LevelTable[0].clears;
    r.explosionFrame = IdleExplosionFrame;
    game.MenuPage = NoPage;
}

void newBlock()
{
    Round &r = game.round;
    colourBlock();
    if (r.block.row == 0 && game.Screen == GameScreen) {
        game.Screen = GameOverScreen;
        if (r.score > game.highScores.rows[HighScoreRows - 1].score) {
            game.pendingMusicStop = true;
            queueEffect(GreatScoreEffect);
        }
    }
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
    if (r.level == LastLevel + 1)
        game.Screen = FinishedScreen;
}
