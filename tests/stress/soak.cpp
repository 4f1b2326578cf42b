// soak.cpp: a bot drives the real screens of the game for a long run of frames: the menu pages,
// games at every level up to the finished game, game over and name entry, the options page with
// fullscreen switches and window rebuilds; random input among purposeful input. It checks the
// game after every frame and that its memory does not keep growing.
//
//   tavirel_soak FRAMES SEED
//
// Start-up and every pass are the game's own (startUp, runPass); the bot only pushes real SDL
// events, writes the key table and, like the tests, sets up a game's level in the record. Frames
// run back to back: before each pass the schedule is set due. Under SDL's dummy video driver
// there is no OpenGL context, and drawing must still not fail. The heaviest pictures are drawn
// first, in both window modes, before memory is measured.
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "../support.h"
#include "SDL.h"
#include "app/loop.h"
#include "base/screen.h"
#include "base/state.h"
#include "game/rules.h"
#include "text/text.h"

namespace {

std::mt19937 botRandom;

int chance(int n)
{
    return static_cast<int>(botRandom() % static_cast<unsigned>(n));
}

// Somewhere inside the text `text` drawn at (x, y) at the large font's scale 1.
void clickText(const std::string &text, int x, int y)
{
    BitmapFont &font = game.largeFont;
    int width = measureText(font, text, 1.0f);
    int height = static_cast<int>(font.sprite.height);
    clickAt(x + 1 + chance(width > 2 ? width - 2 : 1), y + 1 + chance(height > 2 ? height - 2 : 1));
}

void clickItem(const std::string &text, int y)
{
    clickText(text, 400 - measureText(game.largeFont, text, 1.0f) / 2, y);
}

// Anything at all, but what would end the run: no quit event, no Escape or "exit" on the main page.
void randomInput()
{
    int what = chance(6);
    if (what == 0) {
        int x = chance(1100), y = chance(800);
        if (!(x > 300 && x < 500 && y > 290 && y < 370))  // never onto "exit"
            pushEvent(SDL_MOUSEMOTION, x, y);
    } else if (what == 1 && !(game.mouseX > 300 && game.mouseX < 500 && game.mouseY > 290 && game.mouseY < 370))
        pushEvent(SDL_MOUSEBUTTONDOWN, 1 + chance(5));
    else if (what == 2)
        pushEvent(SDL_KEYDOWN, chance(SDLK_LAST));
    else if (what == 3)
        pushEvent(SDL_KEYUP, chance(SDLK_LAST));
    else if (what == 4 && !(game.Screen == IntroScreen)) {
        int k = chance(SDLK_LAST);
        keyTable()[k] = !keyTable()[k];
    }
}

struct Figures {
    long frames = 0;
    long games = 0;
    long levelsReached[10] = {};
    long finished = 0;
    long gameOvers = 0;
    long namesEntered = 0;
    long optionVisits = 0;
    long rebuilds = 0;
    long pages[5] = {};
    long screenFrames[5] = {};
};

Figures figures;
int targetColumn = 9;
int lastScore = 0;
ScreenName lastScreen = NoScreen;
PageName lastPage = NoPage;

// A new game is taken to a level of the bot's choice, with few clears left to complete it,
// so that every level and the finished game come round often.
void setUpGame()
{
    Round &r = game.round;
    int level = chance(3) == 0 ? LastLevel : 1 + chance(LastLevel);
    for (int32_t &colour : r.block.colours)
        colour += 2 * (level - 1);
    r.level = level;
    r.clearsLeft = 1 + chance(3);
    r.fallInterval = r.fallCountdown = LevelTable[level - 1].interval;
    figures.games++;
}

void playGame()
{
    Round &r = game.round;
    Uint8 *k = keyTable();
    // A fresh block is often made of one colour, so that squares form and explode; on the last
    // level more often, so that games are finished.
    if (r.block.row == 0 && r.block.landedHalf == BothFalling && chance(r.level == LastLevel ? 2 : 3) == 0) {
        int32_t colour = r.block.colours[chance(4)];
        for (int32_t &c : r.block.colours)
            c = colour;
    }
    if (r.block.row == 0 && chance(8) == 0)
        targetColumn = chance(BoardColumns - 1);
    k[SDLK_LEFT] = r.block.column > targetColumn;
    k[SDLK_RIGHT] = r.block.column < targetColumn;
    k[SDLK_SPACE] = r.block.column == targetColumn && chance(4) != 0;
    if (chance(30) == 0)
        pushEvent(chance(2) ? SDL_KEYDOWN : SDL_KEYUP, chance(2) ? SDLK_UP : SDLK_DOWN);
    k[SDLK_ESCAPE] = chance(20000) == 0;  // now and then the game is left for the menu
}

// Set when the bot goes to the options page to switch the window mode: the page is then left
// with the fullscreen switch flipped, so that every run rebuilds the window every few thousand frames.
bool switchMode = false;

void mainMenu()
{
    static const char *const items[] = {"new game", "options", "high score", "credits"};
    int pick = chance(10);
    int item = pick < 3 ? 0 : pick < 6 ? 1 : pick < 8 ? 2 : 3;
    if (figures.frames / 2500 > figures.rebuilds) {
        item = 1;
        switchMode = true;
    }
    clickItem(items[item], 70 + 60 * item);
}

void optionsMenu()
{
    static const char *const labels[] = {"fullscreen: ", "music: ", "sound effects: "};
    int what = chance(8);
    if (switchMode) {
        what = 0;
        switchMode = false;
    }
    if (what < 3) {
        BitmapFont &font = game.largeFont;
        const Settings &s = game.settings;
        std::string value = what == 0 ? (s.fullscreen ? "true" : "false") : (what == 1 ? s.musicOff : s.soundOff) == 1 ? "off" : "on";
        clickText(value, 220 + measureText(font, labels[what], 1.0f), 100 + 70 * what);
    } else if (what < 5) {
        clickItem("back", 370);
    } else if (what < 6) {
        keyTable()[SDLK_ESCAPE] = 1;
    }
}

void nameEntry()
{
    int what = chance(12);
    if (what == 0)
        pushEvent(SDL_KEYUP, chance(2) ? SDLK_RETURN : SDLK_KP_ENTER);
    else if (what < 3)
        pushEvent(SDL_KEYUP, SDLK_BACKSPACE);
    else
        pushEvent(SDL_KEYUP, chance(4) ? 'a' + chance(26) : chance(SDLK_LAST));
}

// One frame of the bot: purposeful input for the screen shown, some random input besides.
void botFrame()
{
    SDL_Event queued[8];
    if (SDL_PeepEvents(queued, 8, SDL_PEEKEVENT, SDL_ALLEVENTS) > 4)
        return;  // let the game take what is queued
    bool calm = chance(4) != 0;
    switch (game.Screen) {
    case IntroScreen:
        keyTable()[SDLK_ESCAPE] = 0;
        if (!calm)
            break;
        if (game.MenuPage == MainPage && chance(20) == 0)
            mainMenu();
        else if (game.MenuPage == OptionsPage && chance(15) == 0)
            optionsMenu();
        else if ((game.MenuPage == HighScorePage || game.MenuPage == CreditsPage) && chance(40) == 0)
            chance(2) ? clickAt(chance(800), chance(600)) : pushEvent(SDL_KEYDOWN, SDLK_a);
        break;
    case GameScreen:
        playGame();
        break;
    case GameOverScreen:
        if (chance(6) == 0)
            nameEntry();
        break;
    case FinishedScreen:
        if (chance(20) == 0)
            chance(2) ? clickAt(chance(800), chance(600)) : pushEvent(SDL_KEYUP, SDLK_ESCAPE);
        break;
    default:
        break;
    }
    if (chance(8) == 0)
        randomInput();
}

int problems = 0;

void fail(const std::string &what)
{
    std::fprintf(stderr, "soak: frame %ld: %s\n", figures.frames, what.c_str());
    problems++;
}

// After every frame: the game runs, the block stays on the board, the level and score make sense.
void checkFrame()
{
    const Round &r = game.round;
    if (!game.running)
        fail("the game quit");
    if (game.Screen == GameScreen) {
        if (r.block.column < 0 || r.block.column > BoardColumns - 2 || r.block.row < 0 || r.block.row > BoardRows - 2)
            fail("the block left the board");
        if (r.level < 1 || r.level > LastLevel)
            fail("level " + std::to_string(r.level) + " during play");
        if (lastScreen == GameScreen && r.score < lastScore)
            fail("the score went down");
        lastScore = r.score;
    }
}

// What the bot saw change in this frame, for the figures, and a new game to set up.
void noteChanges()
{
    if (game.Screen == GameScreen && lastScreen != GameScreen) {
        lastScore = 0;
        setUpGame();
    }
    if (game.Screen == GameScreen)
        figures.levelsReached[game.round.level]++;
    if (game.Screen == FinishedScreen && lastScreen != FinishedScreen)
        figures.finished++;
    if (game.Screen == GameOverScreen && lastScreen != GameOverScreen)
        figures.gameOvers++;
    if (lastScreen == GameOverScreen && game.Screen == IntroScreen && !game.round.playerName.empty())
        figures.namesEntered++;
    if (game.Screen == IntroScreen && game.MenuPage != lastPage) {
        if (game.MenuPage >= 0 && game.MenuPage < 5)
            figures.pages[game.MenuPage]++;
        if (lastPage == OptionsPage)
            figures.optionVisits++;
    }
    if (game.Screen >= 0 && game.Screen < 5)
        figures.screenFrames[game.Screen]++;
    lastScreen = game.Screen;
    lastPage = game.Screen == IntroScreen ? game.MenuPage : NoPage;
}

// The heaviest pictures first, in both window modes: the board full of cells, plain and marked,
// exploding everywhere, in play and then under the game-over caption. The renderer keeps the
// buffers of its largest picture from then on, so that memory which grows after the early
// figure is the game's.
void drawHeaviestPictures()
{
    for (int mode = 0; mode < 2; mode++) {
        game.settings.fullscreen = !game.windowFullscreen;
        game.videoModePending = true;  // built anew at the end of the pass, as on leaving the options page
        runPass();
        newGame();
        Round &r = game.round;
        for (int c = 0; c < BoardColumns; c++) {
            for (int row = 0; row < BoardRows; row++) {
                r.board[c][row] = (c + row) % 3 == 0 ? MarkedOffset + 4 + c % 2 : 4 + (c + row) % 2;
                r.explosionGrid[c][row] = 1;
            }
        }
        r.explosionFrame = 1;
        changeScreen(GameScreen, NoPage);
        for (int frame = 0; frame < 60; frame++) {
            game.nextFrameDue = SDL_GetTicks();
            runPass();
        }
    }
    changeScreen(IntroScreen, MainPage);  // in the window mode the game started in
}

}  // namespace

int main(int argc, char **argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s FRAMES SEED\n", argv[0]);
        return 2;
    }
    long frames = std::atol(argv[1]);
    unsigned seed = static_cast<unsigned>(std::strtoul(argv[2], nullptr, 10));
    botRandom.seed(seed);
    const char *driver = std::getenv("SDL_VIDEODRIVER");
    std::printf("soak: %ld frames, seed %u, video driver %s\n", frames, seed, driver ? driver : "x11");
    std::fflush(stdout);

    std::string dir = makeTempDir();
    copyMedia(dir);
    startUp((dir + "tavirel").c_str());
    drawHeaviestPictures();
    std::srand(seed);  // the block colours follow the seed too

    long early = 0;
    long earlyAt = frames / 10 > 2000 ? frames / 10 : (frames < 2000 ? frames : 2000);
    int32_t windows = game.windowFullscreen;
    for (figures.frames = 1; figures.frames <= frames && problems == 0; figures.frames++) {
        botFrame();
        game.nextFrameDue = SDL_GetTicks();  // due now: no sleep
        runPass();
        if (game.windowFullscreen != windows) {
            windows = game.windowFullscreen;
            figures.rebuilds++;
        }
        checkFrame();
        noteChanges();
        if (figures.frames == earlyAt)
            early = peakKb();
        if (figures.frames == earlyAt || figures.frames % (frames / 5 > 0 ? frames / 5 : 1) == 0) {
            std::printf("soak: peak memory after %ld frames: %ld kB\n", figures.frames, peakKb());
            std::fflush(stdout);
        }
    }
    long end = peakKb();
    std::printf("soak: peak memory at the end: %ld kB, %+ld kB on the early figure\n", end, end - early);
    std::printf("soak: %ld games (frames per level:", figures.games);
    for (int level = 1; level <= LastLevel; level++)
        std::printf(" %ld", figures.levelsReached[level]);
    std::printf("), %ld finished, %ld game overs, %ld names entered, %ld options pages left, %ld mode switches\n",
                figures.finished, figures.gameOvers, figures.namesEntered, figures.optionVisits, figures.rebuilds);
    std::printf("soak: pages shown: main %ld, options %ld, high score %ld, credits %ld\n", figures.pages[MainPage],
                figures.pages[OptionsPage], figures.pages[HighScorePage], figures.pages[CreditsPage]);
    std::printf("soak: frames on the intro %ld, in play %ld, game over %ld, after the last level %ld\n",
                figures.screenFrames[IntroScreen], figures.screenFrames[GameScreen],
                figures.screenFrames[GameOverScreen], figures.screenFrames[FinishedScreen]);
    const long allowedKb = 6 * 1024;
    if (end - early > allowedKb)
        fail("peak memory grew by " + std::to_string(end - early) + " kB after the early figure");
    SDL_Quit();
    std::printf("soak: %s\n", problems ? "FAILED (rerun with the seed above)" : "passed");
    return problems ? 1 : 0;
}
