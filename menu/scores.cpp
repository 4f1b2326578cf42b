// scores.cpp: the high-score and credits pages, both left by a click or any key below 254.
#include "base/state.h"
#include "menu/menu.h"
#include "text/text.h"

// Draws `text` with its left edge at (x, y).
static void drawAt(const std::string &text, float x, float y)
{
    game.largeFont.sprite.x = x;
    game.largeFont.sprite.y = y;
    drawText(game.largeFont, text);
}

static void setScale(float scale)
{
    game.largeFont.scaleX = game.largeFont.scaleY = scale;
}

void leaveOnClickOrKey(bool &menuClick)
{
    if (menuClick) {
        game.MenuPage = MainPage;
        menuClick = false;
    }
    for (int k = 0; k < FirstUnreadKey; k++) {
        if (game.keyState[k]) {
            game.MenuPage = MainPage;
            menuClick = false;
            game.keyState[k] = 0;
        }
    }
}

void highScorePage(bool &menuClick)
{
    setScale(0.7f);
    drawAt("level", 370, 30);
    drawAt("time", 470, 30);
    drawAt("score", 580, 30);
    setScale(0.6f);
    for (int i = 0; i < HighScoreRows; i++) {
        const HighScoreEntry &row = game.highScores.rows[i];
        float y = static_cast<float>(70 + 30 * i);
        drawAt(intToText(i + 1), 120, y);
        drawAt(row.name, 170, y);
        drawAt(intToText(row.level), 420, y);
        drawAt(intToText(row.time), 500, y);
        drawAt(intToText(row.score), 600, y);
    }
    setScale(0.7f);
    drawCentred("press any key to continue", 400);
    leaveOnClickOrKey(menuClick);
}

void creditsPage(bool &menuClick)
{
    setScale(1.0f);
    drawCentred("Tavirel is made by the Tavirel team", 50);
    drawCentred("and was developed in 2026", 120);
    drawCentred("it is free to play and to share", 220);
    setScale(0.6f);
    drawCentred("if you like this game please support us. more details on our webpage", 320);
    drawCentred("press any key to continue", 420);
    leaveOnClickOrKey(menuClick);
}
