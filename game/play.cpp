// play.cpp: the play screen: one frame of the falling block, the board's timers, the keys, and
// the drawing in its order.
#include "game/play.h"

#include "SDL.h"
#include "app/screens.h"
#include "base/state.h"
#include "audio/sound.h"
#include "game/rules.h"

// Held keys are read when moveTick has passed this, that is every fourth frame.
static const int32_t KeyCheckAfter = 3;

// The countdown value at which the marked cells go.
static const int32_t ClearAtCountdown = 1;

// After a clear, one gravity pass per frame until nothing moves; then the board is marked again.
static void settle()
{
    Round &r = game.round;
    if (r.gravityPending != 1)
        return;
    r.gravityPending = 0;
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

// At most one event per frame. Not while the block drops: what comes meanwhile waits its turn.
static void takeEvent()
{
    SDL_Event event;
    if (!SDL_PollEvent(&event))
        return;
    if (event.type == SDL_QUIT) {
        game.running = false;
    } else if (event.type == SDL_MOUSEMOTION) {
        game.mouseX = event.motion.x;
        game.mouseY = event.motion.y;
    } else if (event.type == SDL_KEYDOWN && event.key.keysym.sym == SDLK_UP) {
        turn(false);
    } else if (event.type == SDL_KEYDOWN && event.key.keysym.sym == SDLK_DOWN) {
        turn(true);
    }
}

// Escape abandons the game for the main menu; the rest of the frame still runs.
static void leaveForMenu()
{
    game.videoModePending = false;
    game.Screen = IntroScreen;
    game.MenuPage = MainPage;
    stopMusic();
    playMusic(game.introMusic);
    // The main menu quits while Escape is held; it must not see this press.
    game.keyState[SDLK_ESCAPE] = 0;
}

static bool cellEmpty(int column, int row)
{
    return game.round.board[column][row] == EmptyCell;
}

// The held arrows and Space, every fourth frame.
static void readHeldKeys()
{
    Round &r = game.round;
    FallingBlock &b = r.block;
    const uint8_t *keys = game.keyState;
    r.moveTick = 0;
    if (b.landedHalf != BothFalling) {
        r.dropping = true;   // the half still falling drops, without a sound
        return;
    }
    if (b.column != 0 && keys[SDLK_LEFT] && cellEmpty(b.column - 1, b.row) && cellEmpty(b.column - 1, b.row + 1))
        b.column--;
    if (b.column != BoardColumns - 2 && keys[SDLK_RIGHT] && cellEmpty(b.column + 2, b.row) &&
        cellEmpty(b.column + 2, b.row + 1))
        b.column++;
    if (keys[SDLK_SPACE] && b.row != 0) {
        r.dropping = true;
        playSound(game.dropSound, DropChannel, 0);
    }
}

// Both halves are in the board: the next block comes, in the same columns, at row 0.
static void finishBlock()
{
    Round &r = game.round;
    r.dropping = false;
    r.block.landedHalf = BothFalling;
    newBlock();
    markSquares();
    r.block.row = 0;
    r.fallCountdown = r.fallInterval;
}

// Writes a half into the board when it meets support: the floor, or a cell under it.
// The left half first; when it finishes the block, the right half of the new one is tested at once.
static void landHalves()
{
    Round &r = game.round;
    FallingBlock &b = r.block;
    const int lastRow = BoardRows - 2;
    if ((b.row == lastRow || !cellEmpty(b.column, b.row + 2)) && b.landedHalf != LeftLanded) {
        r.board[b.column][b.row] = b.colours[0];
        r.board[b.column][b.row + 1] = b.colours[3];
        if (b.landedHalf == RightLanded)
            finishBlock();
        else
            b.landedHalf = LeftLanded;
    }
    if ((b.row == lastRow || !cellEmpty(b.column + 1, b.row + 2)) && b.landedHalf != RightLanded) {
        r.board[b.column + 1][b.row] = b.colours[1];
        r.board[b.column + 1][b.row + 1] = b.colours[2];
        if (b.landedHalf == LeftLanded)
            finishBlock();
        else
            b.landedHalf = RightLanded;
    }
}

static void countDownToClear()
{
    Round &r = game.round;
    if (r.explodeCountdown > 0 && --r.explodeCountdown == ClearAtCountdown)
        clearMarked();
}

void playScreen()
{
    Round &r = game.round;
    drawBackground();
    settle();
    if (r.dropping) {
        r.block.row++;
        r.fallCountdown = r.fallInterval;
    }
    drawBoard();
    stepByTimer();
    if (!r.dropping)
        takeEvent();
    game.keyState = SDL_GetKeyState(nullptr);
    if (game.keyState[SDLK_ESCAPE])
        leaveForMenu();
    if (r.moveTick > KeyCheckAfter)
        readHeldKeys();
    r.moveTick++;
    drawGlow();
    drawFallingBlock();
    landHalves();
    countDownToClear();
    drawPanel();
    drawExplosion();
    // What the rules asked for in this frame sounds now, before the game-over screen runs.
    playPendingEffects();
}
