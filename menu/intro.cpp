// intro.cpp: one frame of the intro screen: the page (and the main page it returns to), then
// its picture: the background, the glow under the pointer, the pages and the version.
#include "base/config.h"
#include "gfx/sprite.h"
#include "menu/menu.h"

static const Colour GlowColour = {1.0f, 0.5f, 0.6f, 0.2f};
static const float MenuGlowSize = 1024;

// The pages, in the order a frame tests for them: a page that goes back to one later in the
// list (the controls page to the options page, any page to the main page) lets it run in the
// same frame, and the picture shows both, the later one over the first.
static const struct {
    PageName page;
    void (*update)();
    void (*draw)(const View &view);
} Pages[] = {
    {ControlsPage, updateControlsPage, drawControlsPage},
    {CreditsPage, updateCreditsPage, drawCreditsPage},
    {OptionsPage, updateOptionsPage, drawOptionsPage},
    {HighScorePage, updateHighScorePage, drawHighScorePage},
    {MainPage, updateMainPage, drawMainPage},
};

void updateIntro()
{
    // The pointer, when it moves, lights the item under it instead of the keys' item.
    if (game.input.pointerMoved)
        game.menuSelection = NoSelection;
    View &view = game.view;
    view.picture = MenuPicture;
    view.pointerX = game.mouseX;
    view.pointerY = game.mouseY;
    for (const auto &p : Pages) {
        if (game.MenuPage != p.page)
            continue;
        if (view.pageCount < MaxPagesAFrame)
            view.pages[view.pageCount++] = p.page;
        p.update();
    }
    // The last page's lit item, as it is after the frame.
    view.selection = game.menuSelection;
}

void drawIntro(const View &view)
{
    drawSprite(game.introSprite, Plain, Replace);
    Sprite glow = game.glowSprite;
    glow.width = glow.height = MenuGlowSize;
    glow.x = static_cast<float>(view.pointerX - MenuGlowSize / 2);
    glow.y = static_cast<float>(view.pointerY - MenuGlowSize / 2);
    drawSprite(glow, GlowColour, Light);
    for (int i = 0; i < view.pageCount; i++)
        for (const auto &p : Pages)
            if (p.page == view.pages[i])
                p.draw(view);
    drawText(game.largeFont, VersionText, 440, 525, 0.7f, Dimmed);
}
