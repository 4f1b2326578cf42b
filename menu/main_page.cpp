// main_page.cpp: the main page of the intro screen: new game, options, high score, credits, exit.
#include "base/screen.h"
#include "game/rules.h"
#include "input/input.h"
#include "menu/menu.h"

static void startGame()
{
    newGame();
    changeScreen(GameScreen, NoPage);
}

static void openOptions()
{
    changeScreen(IntroScreen, OptionsPage);
}

static void openHighScores()
{
    changeScreen(IntroScreen, HighScorePage);
}

static void openCredits()
{
    changeScreen(IntroScreen, CreditsPage);
}

static void quitGame()
{
    game.running = false;
}

static const struct {
    const char *text;
    float y;
    void (*act)();
} MainItems[] = {
    {"new game", 70, startGame}, {"options", 130, openOptions}, {"high score", 190, openHighScores},
    {"credits", 250, openCredits}, {"exit", 310, quitGame},
};
static const int MainItemCount = sizeof MainItems / sizeof MainItems[0];

// Escape held quits; the Escape that left another page for this one acts no more.
void updateMainPage()
{
    moveSelection(MainItemCount);
    for (int i = 0; i < MainItemCount; i++)
        if (itemChosen(itemBox(MainItems[i].text, MainItems[i].y), i))
            MainItems[i].act();
    if (heldOnce(Leave))
        game.running = false;
}

void drawMainPage(const View &view)
{
    for (int i = 0; i < MainItemCount; i++)
        drawItem(MainItems[i].text, MainItems[i].y, i, Plain, view);
}
