// scores.cpp: the high-score and credits pages, both left by a click or any character key.
#include "base/files.h"
#include "base/screen.h"
#include "input/input.h"
#include "menu/menu.h"

static_assert(MaxKeptNameLength <= ShownTextBytes, "a kept name shows whole");

// Back to the main page on a left click, any character key held (all of them then act no more),
// or the gamepad's first or second button.
static void leaveOnClickOrKey()
{
    bool key = anyKeyHeld();
    bool click = clicked();
    bool confirm = pressed(Confirm);
    bool back = pressed(MenuBack);
    if (key || click || confirm || back)
        changeScreen(IntroScreen, MainPage);
}

void updateHighScorePage()
{
    View &view = game.view;
    for (int i = 0; i < HighScoreRows; i++) {
        const HighScoreEntry &row = game.highScores.rows[i];
        view.table[i] = {shownText(row.name), row.level, row.time, row.score};
    }
    view.litRow = game.litRow;
    leaveOnClickOrKey();
}

void updateCreditsPage()
{
    leaveOnClickOrKey();
}

// A text with its left edge at (x, y), in opaque white unless told otherwise.
static void drawAt(const std::string &text, float x, float y, float scale, Colour colour = Plain)
{
    drawText(game.largeFont, text, x, y, scale, colour);
}

void drawHighScorePage(const View &view)
{
    drawAt("level", 370, 30, 0.7f);
    drawAt("time", 470, 30, 0.7f);
    drawAt("score", 580, 30, 0.7f);
    for (int i = 0; i < HighScoreRows; i++) {
        const ShownRow &row = view.table[i];
        float y = static_cast<float>(70 + 30 * i);
        Colour colour = i == view.litRow ? Yellow : Plain;
        drawAt(intToText(i + 1), 120, y, 0.6f, colour);
        drawAt(std::string(row.name.bytes, row.name.length), 170, y, 0.6f, colour);
        drawAt(intToText(row.level), 420, y, 0.6f, colour);
        drawAt(intToText(row.time), 500, y, 0.6f, colour);
        drawAt(intToText(row.score), 600, y, 0.6f, colour);
    }
    drawScreenCentred("press any key to continue", 400, 0.7f, Plain);
}

void drawCreditsPage(const View &)
{
    drawScreenCentred("Tavirel is made by the Tavirel team", 50, 1.0f, Plain);
    drawScreenCentred("and was developed in 2026", 120, 1.0f, Plain);
    drawScreenCentred("it is free to play and to share", 220, 1.0f, Plain);
    drawScreenCentred("if you like this game please support us. more details on our webpage", 320, 0.6f, Plain);
    drawScreenCentred("press any key to continue", 420, 0.6f, Plain);
}
