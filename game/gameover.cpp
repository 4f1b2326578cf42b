// gameover.cpp: the end of a game: the game-over caption over the final board, or name entry.
#include "game/gameover.h"

#include <GL/gl.h>

#include "SDL.h"
#include "base/files.h"
#include "app/screens.h"
#include "base/state.h"
#include "audio/sound.h"
#include "game/play.h"
#include "gfx/sprite.h"
#include "menu/menu.h"
#include "text/text.h"

const int PlainGameOverFrames = 181;

bool greatScore()
{
    return game.highScores.rows[HighScoreRows - 1].score < game.round.score;
}

void insertResult()
{
    const Round &r = game.round;
    recordResult({r.playerName, r.level, r.playTime / 60, r.score});
}

static void toHighScorePage()
{
    game.Screen = IntroScreen;
    game.MenuPage = HighScorePage;
    playMusic(game.introMusic);
}

// Draws `text` centred on x = 732, the side panel's middle.
static void drawPanelText(BitmapFont &font, const std::string &text, float y)
{
    font.sprite.y = y;
    font.sprite.x = static_cast<float>(PanelCentre - measureText(font, text) / 2);
    drawText(font, text);
}

// The board and side panel as the last frame of play left them. The play screen's own panel
// would count another frame of play time, so the panel is drawn here.
static void drawFinalBoard()
{
    const Round &r = game.round;
    drawBackground();
    drawBoard();
    const struct {
        const char *word;
        float y;
        int32_t value;
    } panel[] = {{"score", 80, r.score}, {"level", 180, r.level}, {"time", 280, r.playTime / 60},
                 {"left", 380, r.clearsLeft}, {"explode", 480, -1}, {"time", 510, r.explodeCountdown / 10}};
    game.largeFont.scaleX = game.largeFont.scaleY = 1.0f;
    game.smallFont.scaleX = game.smallFont.scaleY = 1.0f;
    for (const auto &line : panel) {
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
        drawPanelText(game.largeFont, line.word, line.y);
        if (line.value < 0)
            continue;
        glColor4f(1.0f, 1.0f, 1.0f, 0.7f);
        drawPanelText(game.smallFont, intToText(line.value), line.y + 45);
    }
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
}

// The caption stays over the final board for the whole wait, which ignores all input.
static void plainGameOver()
{
    Round &r = game.round;
    if (r.gameOverFrames == 0) {
        stopMusic();
        playSound(game.badScoreSound, BadScoreChannel, 0);
    }
    drawFinalBoard();
    game.largeFont.scaleX = game.largeFont.scaleY = 1.0f;
    drawCentred("game over", 20);
    r.gameOverFrames++;
    if (r.gameOverFrames >= PlainGameOverFrames)
        toHighScorePage();
}

// Keys act on release. Codes from 256 up (arrows, keypad, function keys) type nothing and
// erase nothing; keypad Enter confirms like Return. Letters arrive as lower-case codes.
static NameKey takeNameKey(int k)
{
    Round &r = game.round;
    if (k == SDLK_KP_ENTER || k == SDLK_RETURN)
        return NameKeyConfirm;
    if (k < 0 || k > 255)
        return NameKeyNone;
    if ((k >= 66 && k <= 122) || k == SDLK_SPACE)
        return NameKeyAdd;
    if (k == SDLK_BACKSPACE && !r.playerName.empty()) {
        r.playerName.pop_back();
        r.nameLength--;
    }
    return NameKeyNone;
}

static void nameEntry()
{
    Round &r = game.round;
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);  // untinted, whatever colour the last frame left
    drawSprite(game.introSprite);
    game.largeFont.scaleX = game.largeFont.scaleY = 1.0f;
    drawCentred("great score!!!", 100);
    drawCentred("please enter your name", 135);
    glColor4f(1.0f, 1.0f, 0.0f, 1.0f);

    NameKey action = NameKeyNone;
    int k = 0;
    SDL_Event event;
    if (SDL_PollEvent(&event) == 1) {
        if (event.type == SDL_QUIT)
            game.running = false;
        else if (event.type == SDL_KEYUP) {
            k = event.key.keysym.sym;
            action = takeNameKey(k);
        }
    }
    if (action == NameKeyAdd && r.nameLength < MaxNameLength) {
        r.nameLength++;
        r.playerName += static_cast<char>(k);
    }
    drawCentred(r.playerName, 190);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    if (action == NameKeyConfirm) {
        insertResult();
        toHighScorePage();
    }
}

void gameOverScreen()
{
    // Sounds the last frame of play asked for, if it did not play them itself.
    playPendingEffects();
    if (greatScore())
        nameEntry();
    else
        plainGameOver();
}
