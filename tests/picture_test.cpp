// picture_test.cpp: every screen drawn in a known state, compared with its reference picture in
// tests/pictures/ (tools/make-references.sh draws them anew when a screen is meant to change).
#include <gtest/gtest.h>

#include <functional>

#include "app/loop.h"
#include "base/state.h"
#include "game/rules.h"
#include "screen_helpers.h"
#include "support.h"

namespace {

void showPage(PageName page, int pointerX, int pointerY)
{
    game.Screen = IntroScreen;
    game.MenuPage = page;
    game.mouseX = pointerX;
    game.mouseY = pointerY;
}

// A game at level 3 with cells along every edge of the board: column 0 and column 19 from row 0
// down, the whole of row 14, a marked square, an explosion under way and the countdown running.
void showGame(ScreenName screen, int32_t score)
{
    game.Screen = screen;
    Round &r = game.round;
    r = Round();
    for (auto &column : r.board)
        for (int32_t &cell : column)
            cell = EmptyCell;
    for (int row = 0; row < BoardRows; row++) {
        r.board[0][row] = 4 + row % 2;
        r.board[BoardColumns - 1][row] = row < 6 ? MarkedOffset + 5 : 4 + (row / 3) % 2;
    }
    for (int c = 0; c < BoardColumns; c++)
        r.board[c][BoardRows - 1] = 4 + (c / 2) % 2;
    for (int c : {12, 13})
        for (int row : {12, 13})
            r.board[c][row] = MarkedOffset + 4;
    for (int c : {5, 6})
        for (int row : {12, 13})
            r.explosionGrid[c][row] = 1;
    r.explosionFrame = 12;
    r.explodeCountdown = 321;
    r.level = 3;
    r.score = score;
    r.clearsLeft = 7;
    r.playTime = 3599;
    r.fallInterval = LevelTable[2].interval;
    r.fallCountdown = 20;
    r.block = {{4, 5, 5, 4}, 9, 4, BothFalling};
}

TEST(Pictures, EveryScreenInAKnownStateLooksAsItsReference)
{
    startUpWith();
    HighScoreEntry *rows = game.highScores.rows;
    rows[0] = {"ann lee", 8, 1234, 99999};
    rows[1] = {"", 3, 45, 5000};
    rows[2] = {"abcdefghijklmnop", 2, 100, 4000};
    game.settings = {1, 1, 0};

    PlaceBox options = centredBox("options", 130);
    PlaceBox sound = valueBox("sound effects: ", "on", 240);
    const struct {
        const char *name;
        std::function<void()> show;
    } screens[] = {
        {"main-menu", [&] { showPage(MainPage, options.x + 20, options.y + 15); }},
        {"options", [&] { showPage(OptionsPage, sound.x + 10, sound.y + 10); }},
        {"high-score", [] { showPage(HighScorePage, 700, 500); }},
        {"credits", [] { showPage(CreditsPage, 100, 100); }},
        {"play", [] { showGame(GameScreen, 12345); }},
        {"game-over", [] { showGame(GameOverScreen, 200); }},
        {"name-entry", [] {
             showGame(GameOverScreen, 5000);
             game.round.playerName = "ann lee";
             game.round.nameLength = 7;
         }},
        {"finished", [] {
             showGame(FinishedScreen, 98765);
             game.round.level = LastLevel + 1;
         }},
    };
    for (const auto &screen : screens) {
        screen.show();
        runFrame();
        EXPECT_TRUE(matchesReference(screen.name));
    }
}

}  // namespace
