// picture_cases.cpp: every screen in the known state of its reference picture in tests/pictures/.
#include "picture_cases.h"

#include "app/loop.h"
#include "base/files.h"
#include "base/state.h"
#include "game/rules.h"
#include "input/keys.h"
#include "screen_helpers.h"

namespace {

void showPage(PageName page, int pointerX, int pointerY)
{
    game.Screen = IntroScreen;
    game.MenuPage = page;
    game.mouseX = pointerX;
    game.mouseY = pointerY;
}

// A game at level 3 with cells along every edge of the board: column 0 and column 19 from row 0
// down, the whole of row 14, a marked square, marked cells of the first colour and another, an
// explosion under way (in the top-left corner too) and the countdown running; and a cell of no
// colour the sheet holds, which draws nothing.
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
        r.board[BoardColumns - 1][row] = row == 0 ? MarkedOffset : row < 6 ? MarkedOffset + 5 : 4 + (row / 3) % 2;
    }
    for (int c = 0; c < BoardColumns; c++)
        r.board[c][BoardRows - 1] = 4 + (c / 2) % 2;
    for (int c : {12, 13})
        for (int row : {12, 13})
            r.board[c][row] = MarkedOffset + 4;
    r.board[3][9] = TileFrames;
    for (int c : {5, 6})
        for (int row : {12, 13})
            r.explosionGrid[c][row] = 1;
    r.explosionGrid[0][0] = 1;
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

}  // namespace

void startFresh()
{
    game.Screen = IntroScreen;
    game.MenuPage = MainPage;
    game.round = Round();
    game.menuSelection = game.waitingRow = game.litRow = NoSelection;
    game.settings = {1, 1, 0};
    game.gamepad.present = false;
    setDefaultControls(game.controls);
    setDefaultHighScores();
    HighScoreEntry *rows = game.highScores.rows;
    rows[0] = {"ann lee", 8, 1234, 99999};
    rows[1] = {"", 3, 45, 5000};
    rows[2] = {"abcdefghijklmnop", 2, 100, 4000};
}

std::vector<PictureCase> pictureCases()
{
    PlaceBox options = centredBox("options", 130);
    PlaceBox sound = valueBox("sound effects: ", "on", 240);
    return {
        {"main-menu", IntroScreen, [=] { showPage(MainPage, options.x + 20, options.y + 15); }},
        {"options", IntroScreen, [=] { showPage(OptionsPage, sound.x + 10, sound.y + 10); }},
        {"high-score", IntroScreen, [] {  // the row of the game just entered is lit
             showPage(HighScorePage, 700, 500);
             game.litRow = 2;
         }},
        {"credits", IntroScreen, [] { showPage(CreditsPage, 100, 100); }},
        {"controls", IntroScreen, [] {  // a key of the player's own, the keys' row lit, a row waiting for its key
             showPage(ControlsPage, 100, 100);
             game.controls.keys[Turn] = 'w';
             game.controls.buttons[Pause] = 11;
             game.menuSelection = 1;
             game.waitingRow = 4;
         }},
        {"controls-defaults", IntroScreen, [] {  // the keys and buttons as the game comes, nothing lit
             showPage(ControlsPage, 20, 580);
         }},
        {"play", GameScreen, [] { showGame(GameScreen, 12345); }},
        {"paused", GameScreen, [] {  // a gamepad too, its first button the pause's
             showGame(GameScreen, 12345);
             game.round.paused = true;
             game.gamepad.present = true;
             game.controls.buttons[Pause] = 0;
         }},
        {"game-over", GameOverScreen, [] {  // the last frame of play, the block landing in the top row, under the caption
             showGame(GameScreen, 200);
             Round &r = game.round;
             r.block.row = 0;
             r.board[9][2] = r.board[10][2] = 4;
             runScreen();
         }},
        {"name-entry", GameOverScreen, [] {
             showGame(GameOverScreen, 5000);
             game.round.playerName = "ann lee";
             game.round.nameLength = 7;
         }},
        {"finished", FinishedScreen, [] {
             showGame(FinishedScreen, 98765);
             game.round.level = LastLevel + 1;
         }},
    };
}
