// picture.cpp: draws a frame's picture through the screens' drawing, or keeps the one shown.
#include "app/picture.h"

#include <cstring>
#include <type_traits>

#include "game/gameover.h"
#include "gfx/window.h"
#include "game/play.h"
#include "menu/menu.h"

// Two views are alike when their bytes are: a view has no padding and no pointers.
static_assert(std::has_unique_object_representations_v<View>, "a view is plain values, without padding");

void drawView(const View &view)
{
    switch (view.picture) {
    case MenuPicture:
        drawIntro(view);
        break;
    case PlayPicture:
        drawPlay(view.play);
        break;
    case PausedPicture:
        drawPaused(view.play);
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

// The drawing reads the view, and the pictures and fonts, which change only with a new window:
// a view alike to the one shown draws the picture the window shows.
bool drawPicture()
{
    const View &view = game.view;
    if (game.viewShown && std::memcmp(&view, &game.shownView, sizeof view) == 0)
        return false;
    clearBars();
    drawView(view);
    game.shownView = view;
    game.viewShown = true;
    return true;
}

void forgetPicture()
{
    game.viewShown = false;
}
