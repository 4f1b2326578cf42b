// play.cpp: the play screen's frame: the player's actions into the rules, and where the game goes.
#include "game/play.h"

#include "base/screen.h"
#include "game/rules.h"
#include "input/input.h"

bool playTakesEvent()
{
    return !game.round.dropping;
}

void updatePlay()
{
    PlayActions actions = {pressed(Turn), pressed(TurnBack), held(MoveLeft), held(MoveRight), held(Drop), held(Leave)};
    // The main menu quits while Escape is held; it must not see this press.
    if (actions.leave)
        consume(Leave);
    game.view.picture = PlayPicture;
    PlayOutcome outcome = playFrame(actions, game.view.play);
    // The last clear comes late in the frame: it completes the game even when it was left.
    if (outcome.complete) {
        changeScreen(FinishedScreen, game.MenuPage);
    } else if (outcome.over) {
        changeScreen(GameOverScreen, game.MenuPage);
    } else if (actions.leave) {
        game.videoModePending = false;
        changeScreen(IntroScreen, MainPage);
    }
}
