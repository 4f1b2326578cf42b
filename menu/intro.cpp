// intro.cpp: one frame of the intro screen: the page (and the main page it returns to), then
// its picture: the background, the glow under the pointer, the pages and the version.
#include "base/config.h"
#include "gfx/sprite.h"
#include "menu/menu.h"

static const Colour GlowColour = {1.0f, 0.5f, 0.6f, 0.2f};
static const float MenuGlowSize = 1024;

// A page's frame. Keys and buttons pressed in a frame that changes the page were for the page
// that was: the next page does not act on them (a click it does act on, where it is).
static void runPage(PageName page, void (*update)(bool &click), bool &click)
{
    View &view = game.view;
    if (view.pageCount < MaxPagesAFrame)
        view.pages[view.pageCount++] = page;
    update(click);
    if (game.MenuPage != page)
        game.input.pressed = 0;
}

void updateIntro()
{
    bool click = game.input.clicked;
    // The pointer, when it moves, lights the item under it instead of the keys' item.
    if (game.input.pointerMoved)
        game.menuSelection = NoSelection;
    View &view = game.view;
    view.picture = MenuPicture;
    view.pointerX = game.mouseX;
    view.pointerY = game.mouseY;
    view.pageCount = 0;
    view.settings = game.settings;   // as the options page shows them, before a flip
    view.litRow = game.litRow;
    // Each block tests the page anew: one that returns to the main page lets it run this frame.
    if (game.MenuPage == ControlsPage)
        runPage(ControlsPage, updateControlsPage, click);
    if (game.MenuPage == CreditsPage)
        runPage(CreditsPage, updateCreditsPage, click);
    if (game.MenuPage == OptionsPage)
        runPage(OptionsPage, updateOptionsPage, click);
    if (game.MenuPage == HighScorePage)
        runPage(HighScorePage, updateHighScorePage, click);
    if (game.MenuPage == MainPage)
        runPage(MainPage, updateMainPage, click);
    // The last page's lit item and what the controls page shows, as they are after the frame.
    view.selection = game.menuSelection;
    view.controls = game.controls;
    view.waitingRow = game.waitingRow;
}

void drawIntro(const View &view)
{
    drawSprite(game.introSprite, Plain, Replace);
    Sprite glow = game.glowSprite;
    glow.width = glow.height = MenuGlowSize;
    glow.x = static_cast<float>(view.pointerX - MenuGlowSize / 2);
    glow.y = static_cast<float>(view.pointerY - MenuGlowSize / 2);
    drawSprite(glow, GlowColour, Light);
    for (int i = 0; i < view.pageCount; i++) {
        if (view.pages[i] == CreditsPage)
            drawCreditsPage(view);
        else if (view.pages[i] == OptionsPage)
            drawOptionsPage(view);
        else if (view.pages[i] == HighScorePage)
            drawHighScorePage(view);
        else if (view.pages[i] == MainPage)
            drawMainPage(view);
        else if (view.pages[i] == ControlsPage)
            drawControlsPage(view);
    }
    drawText(game.largeFont, VersionText, 440, 525, 0.7f, Dimmed);
}
