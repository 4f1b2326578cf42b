// picture.cpp: draws a frame's picture through the screens' drawing, or keeps the one shown.
#include "app/picture.h"

#include "game/gameover.h"
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

// Whether two menu pictures are alike: the same pages, pointer, switches and table.
static bool sameMenu(const View &a, const View &b)
{
    if (a.pointerX != b.pointerX || a.pointerY != b.pointerY || a.pageCount != b.pageCount)
        return false;
    for (int i = 0; i < a.pageCount; i++)
        if (a.pages[i] != b.pages[i])
            return false;
    return a.settings.fullscreen == b.settings.fullscreen && a.settings.musicOff == b.settings.musicOff &&
           a.settings.soundOff == b.settings.soundOff;
}

// The table as the window shows it, for a high-score page kept on the screen.
static HighScoreTable shownTable;

static bool sameTable(const HighScoreTable &a, const HighScoreTable &b)
{
    for (int i = 0; i < HighScoreRows; i++) {
        const HighScoreEntry &x = a.rows[i], &y = b.rows[i];
        if (x.name != y.name || x.level != y.level || x.time != y.time || x.score != y.score)
            return false;
    }
    return true;
}

bool drawPicture()
{
    const View &view = game.view;
    if (game.viewShown && view.picture == MenuPicture && game.shownView.picture == MenuPicture &&
        sameMenu(view, game.shownView) && sameTable(game.highScores, shownTable))
        return false;
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
