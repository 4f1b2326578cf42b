// main_page.cpp: the main page of the intro screen: new game, options, high score, credits, exit.
#include "SDL.h"
#include "base/state.h"
#include "audio/sound.h"
#include "game/rules.h"
#include "menu/menu.h"

static void startGame(bool &menuClick)
{
    SDL_ShowCursor(0);
    newGame();
    game.MenuPage = NoPage;
    menuClick = false;
    game.Screen = GameScreen;
    stopMusic();
    playMusic(game.gameMusic);
}

static void openOptions(bool &)
{
    game.MenuPage = OptionsPage;
}

static void openHighScores(bool &)
{
    game.MenuPage = HighScorePage;
}

static void openCredits(bool &)
{
    game.MenuPage = CreditsPage;
}

static void quitGame(bool &)
{
    game.running = false;
}

void mainPage(bool &menuClick)
{
    game.largeFont.scaleX = game.largeFont.scaleY = 1.0f;
    menuItem("new game", 70, startGame, menuClick);
    menuItem("options", 130, openOptions, menuClick);
    menuItem("high score", 190, openHighScores, menuClick);
    menuItem("credits", 250, openCredits, menuClick);
    menuItem("exit", 310, quitGame, menuClick);
    // Read from the held-key table, not consumed: a page that returns here with Escape zeroes it first.
    if (game.keyState[SDLK_ESCAPE])
        game.running = false;
}
