// playdraw.cpp: the play screen's picture: the background, the board, the glow, the falling
// block, the side panel and the explosion.
#include <string>

#include "base/state.h"
#include "game/play.h"
#include "gfx/sprite.h"
#include "base/keycodes.h"
#include "text/text.h"

// The glow under the falling block, added as light. (Marked cells and the panel's numbers
// show Dimmed.)
static const Colour GlowColour = {0.2f, 0.3f, 0.0f, 0.6f};

// A tile frame for a colour; the sheet holds TileFrames of them, so anything else draws nothing.
static void drawTile(int32_t colour, int x, int y, Colour tint)
{
    if (colour < 0 || colour >= TileFrames)
        return;
    Sprite tile = game.blockSprite;
    tile.width = tile.height = static_cast<float>(CellSize);
    tile.x = static_cast<float>(x);
    tile.y = static_cast<float>(y);
    drawSpriteFrame(tile, colour, tint);
}

static void drawBoard(const Board &board)
{
    for (int c = 0; c < BoardColumns; c++) {
        for (int row = 0; row < BoardRows; row++) {
            int32_t cell = board[c][row];
            if (cell == EmptyCell)
                continue;
            int x = BoardLeft + CellSize * c, y = BoardTop + CellSize * row;
            if (cell < MarkedOffset)
                drawTile(cell, x, y, Plain);
            else
                drawTile(cell - MarkedOffset, x, y, Dimmed);
        }
    }
}

// Centred on the block's 64 x 64 square.
static void drawGlow(const FallingBlock &b)
{
    Sprite glow = game.glowSprite;
    glow.width = glow.height = static_cast<float>(GlowSize);
    glow.x = static_cast<float>(BoardLeft + CellSize * b.column + CellSize - GlowSize / 2);
    glow.y = static_cast<float>(BoardTop + CellSize * b.row + CellSize - GlowSize / 2);
    drawSprite(glow, GlowColour, Light);
}

// A landed half is in the board already.
static void drawFallingBlock(const FallingBlock &b)
{
    int left = BoardLeft + CellSize * b.column, top = BoardTop + CellSize * b.row;
    if (b.landedHalf != LeftLanded) {
        drawTile(b.colours[0], left, top, Plain);
        drawTile(b.colours[3], left, top + CellSize, Plain);
    }
    if (b.landedHalf != RightLanded) {
        drawTile(b.colours[1], left + CellSize, top, Plain);
        drawTile(b.colours[2], left + CellSize, top + CellSize, Plain);
    }
}

static void drawPanelText(const BitmapFont &font, const std::string &text, int y, Colour colour)
{
    drawCentred(font, text, PanelCentre, static_cast<float>(y), 1.0f, colour);
}

static void drawPanel(const PlayView &play)
{
    const struct {
        const char *word;
        int y;
        int32_t value;
        bool shown;   // false: the word alone
    } rows[] = {
        {"score", 80, play.score, true},          {"level", 180, play.level, true},
        {"time", 280, play.seconds, true},        {"left", 380, play.clearsLeft, true},
        {"explode", 480, 0, false},               {"time", 510, play.explodeTenths, true},
    };
    for (const auto &row : rows) {
        drawPanelText(game.largeFont, row.word, row.y, Plain);
        if (row.shown)
            drawPanelText(game.smallFont, intToText(row.value), row.y + 45, Dimmed);
    }
}

// Each 64 x 64 picture centred on its 32 x 32 cell.
static void drawExplosion(const PlayView &play)
{
    if (play.explosionFrame > IdleExplosionFrame - 1)
        return;
    const int offset = (ExplosionSize - CellSize) / 2;
    for (int c = 0; c < BoardColumns; c++) {
        for (int row = 0; row < BoardRows; row++) {
            if (!play.explosion[c][row])
                continue;
            Sprite blast = game.explosionSprite;  // a frame of the sheet is ExplosionSize square
            blast.x = static_cast<float>(BoardLeft + CellSize * c - offset);
            blast.y = static_cast<float>(BoardTop + CellSize * row - offset);
            drawSpriteFrame(blast, play.explosionFrame);
        }
    }
}

// The well's centre line, where the pause's caption stands.
static const int WellCentre = BoardLeft + CellSize * BoardColumns / 2;

void drawPaused(const PlayView &play)
{
    drawSprite(game.backgroundSprite, Plain, Replace);
    drawPanel(play);
    drawCentred(game.largeFont, "paused", WellCentre, 250, 1.0f, Plain);
    std::string how = keyName(play.pauseKey);
    if (play.pauseButton >= 0)
        how += " or button " + intToText(play.pauseButton + 1);
    drawCentred(game.largeFont, "press " + how + " to go on", WellCentre, 300, 0.6f, Dimmed);
}

void drawPlay(const PlayView &play)
{
    drawSprite(game.backgroundSprite, Plain, Replace);
    drawBoard(play.board);
    drawGlow(play.block);
    drawFallingBlock(play.block);
    drawPanel(play);
    drawExplosion(play);
}
