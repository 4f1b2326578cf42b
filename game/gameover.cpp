// gameover.cpp: the end of a game: the game-over caption over the final board, or name entry.
#include "game/gameover.h"

#include "base/config.h"
#include "base/files.h"
#include "base/screen.h"
#include "game/play.h"
#include "game/rules.h"
#include "gfx/sprite.h"
#include "input/input.h"
#include "text/text.h"

const int PlainGameOverFrames = 181;

void insertResult()
{
    const Round &r = game.round;
    game.litRow = recordResult({r.playerName, r.level, r.playTime / 60, r.score});
}

bool gameOverTakesEvent()
{
    return greatScore();
}

// The caption stays over the last frame of play for the whole wait, which ignores all input.
static void plainGameOver()
{
    Round &r = game.round;
    if (r.gameOverFrames == 0) {
        game.pendingMusicStop = true;
        queueEffect(BadScoreEffect);
    }
    game.view.picture = GameOverPicture;
    game.view.play = r.lastPlay;
    r.gameOverFrames++;
    if (r.gameOverFrames >= PlainGameOverFrames)
        changeScreen(IntroScreen, HighScorePage);
}

// The characters a name is written in from the gamepad, in their order.
static const std::string PadLetters = "abcdefghijklmnopqrstuvwxyz ";

// The gamepad writes a name as arcade machines do: up and down turn its last letter through
// the alphabet, right adds a letter, left or the second button takes the last one away, the
// first button confirms. Returns the character to add, or 0.
static int padLetter(bool &erase)
{
    Round &r = game.round;
    int step = padPressed(MenuDown) ? 1 : padPressed(MenuUp) ? -1 : 0;
    erase = padPressed(MenuLeft) || padPressed(MenuBack);
    if (padPressed(MenuRight) || (step && r.playerName.empty()))
        return 'a';
    if (step) {
        size_t at = PadLetters.find(r.playerName.back());
        at = at == std::string::npos ? 0 : (at + PadLetters.size() + step) % PadLetters.size();
        r.playerName.back() = PadLetters[at];
    }
    return 0;
}

// The keys whose release types their character into a name: "B" to "z" (letters arrive as their
// small letters; "[", "\", "]", "^", "_" and "`" lie between), and the space.
static const int FirstNameCharacter = 'B';
static const int LastNameCharacter = 'z';

static bool nameCharacter(int k)
{
    return (k >= FirstNameCharacter && k <= LastNameCharacter) || k == ' ';
}

// Keys act on release: a character key adds its character (the keys from 256 up, arrows,
// keypad, function keys, type nothing), backspace erases the last one, Return or keypad Enter
// confirms.
static void nameEntry()
{
    Round &r = game.round;
    bool padErase = false;
    int padAdd = padLetter(padErase);
    bool confirm = released(Confirm) || padPressed(Confirm);
    int k = padAdd ? padAdd : typed();
    if (!confirm && nameCharacter(k) && r.nameLength < MaxNameLength) {
        r.nameLength++;
        r.playerName += static_cast<char>(k);
    } else if (!confirm && (released(Erase) || padErase) && !r.playerName.empty()) {
        r.playerName.pop_back();
        r.nameLength--;
    }
    game.view.picture = NameEntryPicture;
    game.view.name = shownText(r.playerName);
    if (confirm) {
        insertResult();
        changeScreen(IntroScreen, HighScorePage);
    }
}

void updateGameOver()
{
    if (greatScore())
        nameEntry();
    else
        plainGameOver();
}

void drawGameOver(const View &view)
{
    drawPlay(view.play);
    drawScreenCentred("game over", 20, 1.0f, Plain);
}

void drawNameEntry(const View &view)
{
    drawSprite(game.introSprite, Plain, Replace);
    drawScreenCentred("great score!!!", 100, 1.0f, Plain);
    drawScreenCentred("please enter your name", 135, 1.0f, Plain);
    drawScreenCentred(std::string(view.name.bytes, view.name.length), 190, 1.0f, Yellow);
}
