// play.cpp: the play screen's frame: the player's actions into the rules, and where the game goes.
#include "game/play.h"

#include "base/screen.h"
#include "game/rules.h"
#include "input/input.h"

bool playTakesEvent()
{
    return !game.round.dropping || game.round.paused;
}

// Leaves the game for the main menu.
static void leaveGame()
{
    game.videoModePending = false;
    game.soundsPaused = false;
    changeScreen(IntroScreen, MainPage);
}

// A pause key or button pauses and goes on; losing the keyboard, being minimised or hidden
// pauses. While paused nothing moves, the well shows empty, and the music and effects wait.
static bool paused()
{
    Round &r = game.round;
    if (game.input.pauseKey)
        r.paused = !r.paused;
    if (game.input.focusLost)
        r.paused = true;
    game.view.play.paused = r.paused;
    game.soundsPaused = r.paused;
    return r.paused;
}

void updatePlay()
{
    PlayActions actions = {pressed(Turn), pressed(TurnBack), held(MoveLeft), held(MoveRight), held(Drop), held(Leave)};
    // The main menu quits while Escape is held; it must not see this press.
    if (actions.leave)
        consume(Leave);
    game.view.picture = PlayPicture;
    if (paused()) {
        if (actions.leave)
            leaveGame();
        return;
    }
    PlayOutcome outcome = playFrame(actions, game.view.play);
    // The last clear comes late in the frame: it completes the game even when it was left.
    if (outcome.complete) {
        changeScreen(FinishedScreen, game.MenuPage);
    } else if (outcome.over) {
        changeScreen(GameOverScreen, game.MenuPage);
    } else if (actions.leave) {
        leaveGame();
    }
}
