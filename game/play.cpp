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
    game.soundsPaused = false;
    changeScreen(IntroScreen, MainPage);
}

// A pause key or button pauses and goes on; losing the keyboard, being minimised or hidden
// pauses. While paused nothing moves, the well shows empty with the keys that go on, and the
// music and effects wait. Returns whether the game is paused, having put the paused picture
// into the view when it is.
static bool followPause()
{
    Round &r = game.round;
    if (game.input.pauseKey)
        r.paused = !r.paused;
    if (game.input.focusLost)
        r.paused = true;
    game.soundsPaused = r.paused;
    if (r.paused) {
        PlayView &shown = game.view.play;
        game.view.picture = PausedPicture;
        showPanel(shown);
        shown.pauseKey = game.controls.keys[Pause];
        shown.pauseButton = game.gamepad.present ? game.controls.buttons[Pause] : -1;
    }
    return r.paused;
}

void updatePlay()
{
    // Escape acts once: the main menu, which quits while Escape is held, does not see it.
    PlayActions actions = {pressed(Turn),  pressed(TurnBack), held(MoveLeft),
                           held(MoveRight), held(Drop),       heldOnce(Leave)};
    if (followPause()) {
        if (actions.leave)
            leaveGame();
        return;
    }
    game.view.picture = PlayPicture;
    PlayOutcome outcome = playFrame(actions, game.view.play);
    // The last clear comes late in the frame: it completes the game even when it was left.
    if (outcome.complete) {
        changeScreen(FinishedScreen, game.MenuPage);
    } else if (outcome.over) {
        game.round.lastPlay = game.view.play;
        changeScreen(GameOverScreen, game.MenuPage);
    } else if (actions.leave) {
        leaveGame();
    }
}
