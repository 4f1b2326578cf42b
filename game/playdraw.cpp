// playdraw.cpp: what the play screen draws: the board, the glow, the falling block, the side
// panel and the explosion.
#include <GL/gl.h>

#include <string>

#include "base/state.h"
#include "game/play.h"
#include "gfx/sprite.h"
#include "text/text.h"

// Marked cells show at this opacity.
static const float MarkedAlpha = 0.7f;
// The panel's numbers show at this opacity.
static const float PanelNumberAlpha = 0.7f;

// A tile frame for a colour; the sheet holds TileFrames of them, so anything else draws nothing.
static void drawTile(int32_t colour, int x, int y)
{
    if (colour < 0 || colour >= TileFrames)
        return;
    Sprite &tile = game.blockSprite;
    tile.x = static_cast<float>(x);
    tile.y = static_cast<float>(y);
    drawSpriteFrame(tile, colour);
}

void drawBackground()
{
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    drawSprite(game.backgroundSprite);
}

void drawBoard()
{
    const Round &r = game.round;
    game.blockSprite.width = game.blockSprite.height = static_cast<float>(CellSize);
    for (int c = 0; c < BoardColumns; c++) {
        for (int row = 0; row < BoardRows; row++) {
            int32_t cell = r.board[c][row];
            if (cell == EmptyCell)
                continue;
            int x = BoardLeft + CellSize * c, y = BoardTop + CellSize * row;
            if (cell < MarkedOffset) {
                drawTile(cell, x, y);
                continue;
            }
            glColor4f(1.0f, 1.0f, 1.0f, MarkedAlpha);
            drawTile(cell - MarkedOffset, x, y);
            glColor3f(1.0f, 1.0f, 1.0f);
        }
    }
}

void drawGlow()
{
    const FallingBlock &b = game.round.block;
    Sprite &glow = game.glowSprite;
    glow.width = glow.height = static_cast<float>(GlowSize);
    // Centred on the block's 64 x 64 square.
    glow.x = static_cast<float>(BoardLeft + CellSize * b.column + CellSize - GlowSize / 2);
    glow.y = static_cast<float>(BoardTop + CellSize * b.row + CellSize - GlowSize / 2);
    glColor4f(0.2f, 0.3f, 0.0f, 0.6f);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    drawSprite(glow);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

void drawFallingBlock()
{
    const FallingBlock &b = game.round.block;
    int left = BoardLeft + CellSize * b.column, top = BoardTop + CellSize * b.row;
    if (b.landedHalf != LeftLanded) {
        drawTile(b.colours[0], left, top);
        drawTile(b.colours[3], left, top + CellSize);
    }
    if (b.landedHalf != RightLanded) {
        drawTile(b.colours[1], left + CellSize, top);
        drawTile(b.colours[2], left + CellSize, top + CellSize);
    }
}

// A text centred on the panel's centre line, its top at y.
static void drawCentred(BitmapFont &font, const std::string &text, int y)
{
    font.sprite.x = static_cast<float>(PanelCentre - measureText(font, text) / 2);
    font.sprite.y = static_cast<float>(y);
    drawText(font, text);
}

void drawPanel()
{
    Round &r = game.round;
    game.largeFont.scaleX = game.largeFont.scaleY = 1.0f;
    game.smallFont.scaleX = game.smallFont.scaleY = 1.0f;
    struct PanelRow {
        const char *word;
        int y;
        const int32_t *value;   // null: the word alone
        int32_t divisor;
    };
    r.playTime++;
    const PanelRow rows[] = {
        {"score", 80, &r.score, 1},          {"level", 180, &r.level, 1},
        {"time", 280, &r.playTime, 60},      {"left", 380, &r.clearsLeft, 1},
        {"explode", 480, nullptr, 1},        {"time", 510, &r.explodeCountdown, 10},
    };
    for (const PanelRow &row : rows) {
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
        drawCentred(game.largeFont, row.word, row.y);
        if (!row.value)
            continue;
        glColor4f(1.0f, 1.0f, 1.0f, PanelNumberAlpha);
        drawCentred(game.smallFont, intToText(*row.value / row.divisor), row.y + 45);
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    }
}

void drawExplosion()
{
    Round &r = game.round;
    if (r.explosionFrame > IdleExplosionFrame - 1)
        return;
    Sprite &blast = game.explosionSprite;
    blast.width = blast.height = static_cast<float>(ExplosionSize);
    // Each 64 x 64 picture is centred on its 32 x 32 cell.
    const int offset = (ExplosionSize - CellSize) / 2;
    for (int c = 0; c < BoardColumns; c++) {
        for (int row = 0; row < BoardRows; row++) {
            if (!r.explosionGrid[c][row])
                continue;
            blast.x = static_cast<float>(BoardLeft + CellSize * c - offset);
            blast.y = static_cast<float>(BoardTop + CellSize * row - offset);
            drawSpriteFrame(blast, r.explosionFrame);
        }
    }
    if (++r.explosionFrame == IdleExplosionFrame)
        for (auto &column : r.explosionGrid)
            for (int32_t &cell : column)
                cell = 0;
}
