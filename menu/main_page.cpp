// main_page.cpp: the main page of the intro screen: new game, options, high score, credits, exit.
#include "base/screen.h"
#include "game/rules.h"
#include "input/input.h"
#include "menu/menu.h"

static void startGame(bool &click)
{
    newGame();
    click = false;
    changeScreen(GameScreen, NoPage);
}

static void openOptions(bool &)
{
    changeScreen(IntroScreen, OptionsPage);
}

static void openHighScores(bool &)
{
    changeScreen(IntroScreen, HighScorePage);
}

static void openCredits(bool &)
{
    changeScreen(IntroScreen, CreditsPage);
}

static void quitGame(bool &)
{
    game.running = false;
}

static const struct {
    const char *text;
    float y;
    void (*act)(bool &click);
} MainItems[] = {
    {"new game", 70, startGame}, {"options", 130, openOptions}, {"high score", 190, openHighScores},
    {"credits", 250, openCredits}, {"exit", 310, quitGame},
};
static const int MainItemCount = sizeof MainItems / sizeof MainItems[0];

void updateMainPage(bool &click)
{
    moveSelection(MainItemCount);
    for (int i = 0; i < MainItemCount && game.MenuPage == MainPage; i++)
        if (itemChosen(itemBox(MainItems[i].text, MainItems[i].y), i, click))
            MainItems[i].act(click);
    // Held, not consumed: a page that returns here with Escape consumes it first.
    if (held(Leave))
        game.running = false;
}

void drawMainPage(const View &view)
{
    for (int i = 0; i < MainItemCount; i++)
        drawItem(MainItems[i].text, MainItems[i].y, i, Plain, view);
}
