// finished.cpp: the screen after the last level: congratulations and the final score, then the table.
#include <GL/gl.h>

#include "SDL.h"
#include "app/screens.h"
#include "base/state.h"
#include "audio/sound.h"
#include "game/gameover.h"
#include "gfx/sprite.h"
#include "menu/menu.h"
#include "text/text.h"

// Input before this many frames is read but not acted on, so that a key or click meant for
// the last moments of play does not skip the congratulations unseen.
const int32_t FinishedSettleFrames = 30;

// Escape, Return and keypad Enter act on release, so that name entry, which reads releases,
// does not take the same key again; a left click acts on the press.
static bool leaveInput(const SDL_Event &event)
{
    if (event.type == SDL_MOUSEBUTTONDOWN)
        return event.button.button == SDL_BUTTON_LEFT;
    if (event.type != SDL_KEYUP)
        return false;
    SDLKey key = event.key.keysym.sym;
    return key == SDLK_ESCAPE || key == SDLK_RETURN || key == SDLK_KP_ENTER;
}

static void leaveFinished()
{
    if (greatScore()) {
        game.Screen = GameOverScreen;
        stopMusic();
        playSound(game.greatScoreSound, GreatScoreChannel, 0);
    } else {
        game.Screen = IntroScreen;
        game.MenuPage = HighScorePage;  // the menu music plays already
    }
}

static void drawFinished()
{
    BitmapFont &font = game.largeFont;
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    drawSprite(game.introSprite);
    font.scaleX = font.scaleY = 1.0f;
    drawCentred("congratulations!", 90);
    font.scaleX = font.scaleY = 0.8f;
    drawCentred("all eight levels are complete", 160);
    drawCentred("final score", 250);
    glColor4f(1.0f, 1.0f, 0.0f, 1.0f);
    font.scaleX = font.scaleY = 1.0f;
    drawCentred(intToText(game.round.score), 295);
    glColor4f(1.0f, 1.0f, 1.0f, 0.7f);
    font.scaleX = font.scaleY = 0.6f;
    drawCentred("press escape or click to go on", 420);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
}

void finishedScreen()
{
    Round &r = game.round;
    // Sounds the last frame of play asked for (the last clear, the level), if it did not play them.
    playPendingEffects();
    if (r.finishedFrames == 0) {
        stopMusic();
        playMusic(game.introMusic);
    }
    r.finishedFrames++;

    bool leave = false;
    SDL_Event event;
    if (SDL_PollEvent(&event) == 1) {
        if (event.type == SDL_QUIT)
            game.running = false;
        else
            leave = r.finishedFrames > FinishedSettleFrames && leaveInput(event);
    }
    drawFinished();
    if (leave)
        leaveFinished();
}
