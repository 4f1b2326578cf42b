// finished.cpp: the screen after the last level: congratulations and the final score, then the table.
#include "base/screen.h"
#include "game/gameover.h"
#include "game/rules.h"
#include "gfx/sprite.h"
#include "input/input.h"
#include "text/text.h"

// Input before this many frames is read but not acted on, so that a key or click meant for
// the last moments of play does not skip the congratulations unseen.
const int32_t FinishedSettleFrames = 30;

// A result that enters the table goes on to name entry, with its sound; any other to the table.
static void leaveFinished()
{
    if (greatScore()) {
        changeScreen(GameOverScreen, game.MenuPage);
        game.pendingMusicStop = true;
        queueEffect(GreatScoreEffect);
    } else {
        changeScreen(IntroScreen, HighScorePage);
    }
}

// Escape, Return and keypad Enter act on release, so that name entry, which reads releases,
// does not take the same key again; a left click acts on the press.
void updateFinished()
{
    Round &r = game.round;
    r.finishedFrames++;
    bool leave = clicked() || released(Leave) || released(Confirm);
    game.view.picture = FinishedPicture;
    game.view.score = r.score;
    if (leave && r.finishedFrames > FinishedSettleFrames)
        leaveFinished();
}

void drawFinished(const View &view)
{
    drawSprite(game.introSprite, Plain, Replace);
    drawScreenCentred("congratulations!", 90, 1.0f, Plain);
    drawScreenCentred("all eight levels are complete", 160, 0.8f, Plain);
    drawScreenCentred("final score", 250, 0.8f, Plain);
    drawScreenCentred(intToText(view.score), 295, 1.0f, Yellow);
    drawScreenCentred("press escape or click to go on", 420, 0.6f, Dimmed);
}
