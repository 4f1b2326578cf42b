// picture.cpp: draws a frame's picture through the screens' drawing, or keeps the one shown.
#include "app/picture.h"

#include <cstring>

#include "game/gameover.h"
#include "gfx/window.h"
#include "game/play.h"
#include "menu/menu.h"

void drawView(const View &view)
{
    switch (view.picture) {
    case MenuPicture:
        drawIntro(view);
        break;
    case PlayPicture:
        drawPlay(view.play);
        break;
    case GameOverPicture:
        drawGameOver(view);
        break;
    case NameEntryPicture:
        drawNameEntry(view);
        break;
    case FinishedPicture:
        drawFinished(view);
        break;
    case NoPicture:
        break;
    }
}

// Whether two frames of play would look alike: the board, the block, the panel, the explosion.
static bool samePlay(const PlayView &a, const PlayView &b)
{
    if (a.paused != b.paused || a.blockShown != b.blockShown || a.score != b.score || a.level != b.level || a.seconds != b.seconds ||
        a.clearsLeft != b.clearsLeft || a.explodeTenths != b.explodeTenths || a.explosionFrame != b.explosionFrame)
        return false;
    if (std::memcmp(a.board, b.board, sizeof a.board) != 0 ||
        std::memcmp(a.explosion, b.explosion, sizeof a.explosion) != 0)
        return false;
    const FallingBlock &x = a.block, &y = b.block;
    return !a.blockShown || (x.column == y.column && x.row == y.row && x.landedHalf == y.landedHalf &&
                             std::memcmp(x.colours, y.colours, sizeof x.colours) == 0);
}

// Whether two menu frames would look alike: the same pages, pointer and switches.
static bool sameMenu(const View &a, const View &b)
{
    if (a.pointerX != b.pointerX || a.pointerY != b.pointerY || a.pageCount != b.pageCount)
        return false;
    for (int i = 0; i < a.pageCount; i++)
        if (a.pages[i] != b.pages[i])
            return false;
    return a.selection == b.selection && a.waitingRow == b.waitingRow && a.litRow == b.litRow &&
           a.settings.fullscreen == b.settings.fullscreen && a.settings.musicOff == b.settings.musicOff &&
           a.settings.soundOff == b.settings.soundOff &&
           std::memcmp(&a.controls, &b.controls, sizeof a.controls) == 0;
}

static bool sameTable(const HighScoreTable &a, const HighScoreTable &b)
{
    for (int i = 0; i < HighScoreRows; i++) {
        const HighScoreEntry &x = a.rows[i], &y = b.rows[i];
        if (x.name != y.name || x.level != y.level || x.time != y.time || x.score != y.score)
            return false;
    }
    return true;
}

// The table as the window shows it: the high-score page draws it from the record.
static HighScoreTable shownTable;

// Whether a view would draw the picture the window shows: everything the drawing reads is in
// the view, but the table, and the pictures and fonts, which change only with a new window.
static bool samePicture(const View &a, const View &b)
{
    if (a.picture != b.picture)
        return false;
    switch (a.picture) {
    case MenuPicture:
        return sameMenu(a, b) && sameTable(game.highScores, shownTable);
    case PlayPicture:
    case GameOverPicture:
        return samePlay(a.play, b.play);
    case NameEntryPicture:
        return a.name == b.name;
    case FinishedPicture:
        return a.score == b.score;
    case NoPicture:
        break;
    }
    return false;
}

bool drawPicture()
{
    const View &view = game.view;
    if (game.viewShown && samePicture(view, game.shownView))
        return false;
    clearBars();
    drawView(view);
    game.shownView = view;
    shownTable = game.highScores;
    game.viewShown = true;
    return true;
}

void forgetPicture()
{
    game.viewShown = false;
}
