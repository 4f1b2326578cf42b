// intro.cpp: one frame of the intro screen: the event, the background, the glow, the page, the version.
#include <GL/gl.h>

#include "SDL.h"
#include "app/screens.h"
#include "base/config.h"
#include "base/state.h"
#include "gfx/sprite.h"
#include "menu/menu.h"
#include "text/text.h"

// Everything the picture of an intro frame depends on besides the held keys and the click.
struct IntroView {
    PageName page;
    int32_t mouseX;
    int32_t mouseY;
    Settings settings;
};

static IntroView currentView()
{
    return {game.MenuPage, game.mouseX, game.mouseY, game.settings};
}

static bool sameView(const IntroView &a, const IntroView &b)
{
    return a.page == b.page && a.mouseX == b.mouseX && a.mouseY == b.mouseY &&
           a.settings.fullscreen == b.settings.fullscreen && a.settings.musicOff == b.settings.musicOff &&
           a.settings.soundOff == b.settings.soundOff;
}

// Whether a page would act on the held keys: every key a page reads lies below FirstUnreadKey.
static bool keyHeld()
{
    for (int k = 0; k < FirstUnreadKey; k++)
        if (game.keyState[k])
            return true;
    return false;
}

void introScreen()
{
    bool menuClick = false;
    SDL_Event event;
    bool eventTaken = SDL_PollEvent(&event) == 1;
    if (eventTaken) {
        if (event.type == SDL_QUIT)
            game.running = false;
        else if (event.type == SDL_MOUSEMOTION) {
            game.mouseX = event.motion.x;
            game.mouseY = event.motion.y;
        } else if (event.type == SDL_MOUSEBUTTONDOWN && event.button.button == SDL_BUTTON_LEFT)
            menuClick = true;
    }
    game.keyState = SDL_GetKeyState(nullptr);

    // With no event, no held key and nothing changed since the window's picture was drawn, this
    // frame would draw the same picture and act on nothing: the window keeps what it shows.
    if (!eventTaken && game.introShown && !keyHeld()) {
        game.keepPicture = true;
        return;
    }
    IntroView before = currentView();

    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);  // untinted, whatever colour the last screen left
    drawSprite(game.introSprite);

    glColor4f(1.0f, 0.5f, 0.6f, 0.2f);
    Sprite &glow = game.glowSprite;
    glow.width = glow.height = 1024;
    glow.x = static_cast<float>(game.mouseX - 512);
    glow.y = static_cast<float>(game.mouseY - 512);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    drawSprite(glow);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);

    // Each block tests the page anew: one that returns to the main page lets it run this frame.
    if (game.MenuPage == CreditsPage)
        creditsPage(menuClick);
    if (game.MenuPage == OptionsPage)
        optionsPage(menuClick);
    if (game.MenuPage == HighScorePage)
        highScorePage(menuClick);
    if (game.MenuPage == MainPage)
        mainPage(menuClick);

    BitmapFont &font = game.largeFont;
    glColor4f(1.0f, 1.0f, 1.0f, 0.7f);
    font.scaleX = font.scaleY = 0.7f;
    font.sprite.x = 440;
    font.sprite.y = 525;
    drawText(font, VersionText);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);

    // A frame that changed what it shows (a new page, a flipped switch, another screen, a new
    // window) is followed by a full one.
    game.introShown = game.Screen == IntroScreen && sameView(before, currentView());
}
