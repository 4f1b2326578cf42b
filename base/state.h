// state.h: the one global record that holds every piece of the game's mutable state.
#pragma once

#include <cstdint>
#include <fstream>
#include <string>

#include "base/keycodes.h"
#include "base/media.h"

// SDL_mixer's handle types, named here so that the record does not pull in the mixer's header.
struct _Mix_Music;
struct Mix_Chunk;

// SDL's surface and thread, named here for the same reason.
struct SDL_Surface;
struct SDL_Thread;

// An owned music track or sound effect; null when loading failed. Never freed during a run.
using MusicHandle = _Mix_Music *;
using SoundHandle = Mix_Chunk *;

// A picture uploaded as an OpenGL texture, with where and how it is drawn.
// Positions and sizes are pixels of the 800 x 600 screen, origin top-left, y downward.
struct Sprite {
    int32_t imageWidth;
    int32_t imageHeight;
    float texLeft;
    float texRight;
    float texTop;
    float texBottom;
    uint32_t textureId;
    float x;
    float y;
    float width;
    float height;
    uint8_t flipX;    // 1 = mirrored left-right; any other value = not mirrored
    uint8_t flipY;    // 1 = mirrored top-bottom; any other value = not mirrored
    int32_t srcX0;    // source rectangle in texture pixels, right and bottom exclusive
    int32_t srcY0;
    int32_t srcX1;
    int32_t srcY1;
    int32_t textureWidth;   // smallest power of two not below imageWidth
    int32_t textureHeight;  // smallest power of two not below imageHeight
    float angle;      // degrees, counter-clockwise about the quad's bottom-left corner
};

// Where one glyph lies in a font image; `bottom` is the bottom edge itself, not a height.
struct GlyphRect {
    int32_t left;
    int32_t top;
    int32_t width;
    int32_t bottom;
};

const int MaxGlyphs = 255;

// A bitmap font: the font image as a sprite, then the glyph tables read from its metrics file.
// Texts are drawn at a position, scale and colour given with each call (text/text.h).
struct BitmapFont {
    Sprite sprite;              // the font image
    std::string labelWord;      // receives the label words of the metrics file
    int32_t glyphCount;
    uint8_t glyphOfChar[256];   // glyph index of each byte value
    int32_t advance[MaxGlyphs];
    GlyphRect glyphRect[MaxGlyphs];
    int32_t spaceWidth;
};

// The three switches of opt.dat.
struct Settings {
    int32_t fullscreen;  // 0 = 800 x 600 window, 1 = the whole screen
    int32_t musicOff;    // 1 = music switched off
    int32_t soundOff;    // 1 = sound effects switched off
};

const int HighScoreRows = 10;
const int MaxNameLength = 16;

struct HighScoreEntry {
    std::string name;
    int32_t level;
    int32_t time;   // whole seconds of play
    int32_t score;
};

// Rows 0 to 9, best first; row 10 takes the row pushed off the bottom and is never shown or saved.
struct HighScoreTable {
    HighScoreEntry rows[HighScoreRows + 1];
};

const int BoardColumns = 20;
const int BoardRows = 15;

// Board cell values: empty, a colour 0..127, or a marked cell (MarkedOffset + colour).
const int32_t EmptyCell = -1;
const int32_t MarkedOffset = 128;
const int32_t TileFrames = 18;          // colour frames in the block picture: two per level, and two more

// Cells indexed [column][row]; EmptyCell, a colour, or MarkedOffset + a colour.
typedef int32_t Board[BoardColumns][BoardRows];

// Which half of the falling block is already placed into the board.
enum LandedHalf { BothFalling = 0, LeftLanded = 1, RightLanded = 2 };

// The 2 x 2 block the player steers.
struct FallingBlock {
    int32_t colours[4];   // top-left, top-right, bottom-right, bottom-left
    int32_t column;       // board column of the left half, 0..18
    int32_t row;          // board row of the upper cells, 0..13
    int32_t landedHalf;   // a LandedHalf
};

const int32_t IdleExplosionFrame = 31;  // the explosion animation runs frames 0..30

// The board and side panel as one frame of play shows them. The board is drawn as it stood
// before this frame's block landed, the block where it moved to, the panel after the clear.
struct PlayView {
    Board board;
    FallingBlock block;
    int32_t score;
    int32_t level;
    int32_t seconds;
    int32_t clearsLeft;
    int32_t explodeTenths;        // the countdown in tenths of its frames
    Board explosion;              // 1 where the explosion plays
    int32_t explosionFrame;       // IdleExplosionFrame: none
    int32_t pauseKey;             // paused: the key and the gamepad button (-1: none) that go on
    int32_t pauseButton;
};

// Everything one game owns. newGame replaces it whole with a fresh one.
struct Round {
    Board board;
    Board explosionGrid;          // 1 where the last clear removed a cell
    int32_t explosionFrame;       // 0..30 while the explosion plays, IdleExplosionFrame when idle
    int32_t level;                // 1..8 while playing, 9 once the last level is complete
    int32_t score;
    int32_t clearsLeft;           // clears still needed to complete the level
    int32_t fallInterval;         // the level's pace: one row every fallInterval + 1 frames
    int32_t explodeCountdown;     // 0 idle; 600 when the first square is marked
    int32_t gravityPending;       // 1 from a clear until a gravity pass moves nothing
    FallingBlock block;
    bool dropping;                // the block drops one row per frame
    int32_t fallCountdown;        // frames until the next row step
    int32_t moveTick;             // frames since the held keys were last read
    int32_t playTime;             // frames of play
    std::string playerName;       // the name typed on the game-over screen
    int32_t nameLength;
    bool paused;                  // nothing moves; the well shows empty
    int32_t gameOverFrames;       // frames spent on the plain game-over screen
    int32_t finishedFrames;       // frames spent on the screen after the last level
    PlayView lastPlay;            // the last frame of play, which the game-over screen shows
};

// The top-level screens; the main loop runs the function of the current one.
enum ScreenName { NoScreen, IntroScreen, GameScreen, GameOverScreen, FinishedScreen };

// The pages of the intro screen. NoPage shows only the background, the glow and the version.
enum PageName { NoPage, MainPage, OptionsPage, HighScorePage, CreditsPage, ControlsPage };

// Sound effects, numbered by the mixer channel each one plays on.
enum Effect {
    ExplosionEffect = 0,
    NextLevelEffect = 1,
    DropEffect = 2,
    SquareEffect = 3,
    GreatScoreEffect = 4,
    BadScoreEffect = 5,
    EffectCount = 6
};

// What the player can ask for, whatever key or button stands for it (input/keys.cpp).
// The first ControlCount of them are the player's controls, each on a key and a gamepad button
// of the player's choice (Controls); the others are on fixed keys and buttons.
enum Action {
    MoveLeft,
    MoveRight,
    Turn,       // the block's colours a quarter turn anticlockwise
    TurnBack,   // and clockwise
    Drop,
    Pause,
    Leave,      // Escape: back, or out of the game; the gamepad's Back or Select
    Confirm,    // Return or keypad Enter; the gamepad's first button in the menus
    Erase,      // the last character of a name
    MenuUp,     // the arrows, the gamepad's pad or stick, in the menus
    MenuDown,
    MenuLeft,
    MenuRight,
    MenuBack,   // the gamepad's second button in the menus
    ActionCount
};
const int ControlCount = Pause + 1;

// An action's place in a set of actions (game.input's pressed, released and held).
inline uint32_t actionBit(int action)
{
    return 1u << action;
}

// The key and the gamepad button (-1: none) of each of the player's controls.
struct Controls {
    int32_t keys[ControlCount];
    int32_t buttons[ControlCount];
};

// This frame's input, as the input fence (input/input.cpp) read it: the one event a screen takes
// in a frame, if any, turned into actions, and the actions whose keys are held.
struct Input {
    bool closed;          // the window was closed, or the game told to end
    bool exposed;         // the window lost its picture and must be drawn again
    bool clicked;         // the left button went down
    bool pointerMoved;    // the pointer moved
    uint32_t pressed;     // bit a: a key or button of Action a went down
    uint32_t padPressed;  // the same of the gamepad alone
    uint32_t released;    // bit a: a key of Action a came up
    int32_t typed;        // the character code 1..255 of a key that came up, 0 for none
    int32_t keyDown;      // the code of a key that went down, 0 for none
    int32_t buttonDown;   // the number of a gamepad button that went down, -1 for none
    uint32_t held;        // bit a: a key or button of Action a is held, and not spent
    bool pauseKey;        // a pause key or button went down, also in a frame that takes no event
    bool focusLost;       // the window lost the keyboard, or was minimised or hidden
};

// Where the gamepad's buttons, pad and stick stand.
struct PadState {
    uint32_t buttons;         // bit b: button b is down
    int32_t hatX;             // the pad: -1 left, 1 right; -1 up, 1 down
    int32_t hatY;
    uint32_t padButtons;      // where the pad is four buttons: bit d, direction d held (up, down, left, right)
    int32_t stickX;           // the left stick, -32768..32767
    int32_t stickY;
};

// A gamepad (an SDL joystick) as the input fence follows it from its events.
struct Gamepad {
    bool present;             // one was found at start-up
    std::string name;
    int32_t startButton;      // its Start and Back (or Select) buttons, by its layout
    int32_t backButton;
    int32_t padButton = -1;   // the first of the four buttons that are its pad (up, down, left, right), or -1: a hat
    PadState now;             // as its events left it
    PadState seen;            // as the screens see it: as it stood when SDL last looked at the queue
    uint32_t pending;         // actions pressed on it since SDL last looked
    int32_t pendingButton = -1;  // and the last button pressed since then, or -1
    uint32_t latched;         // actions spent: not held until their buttons are let go
    uint32_t letGo;           // actions spent whose buttons were let go since
};

// An event the input fence took from SDL, waiting for a frame that takes one.
enum EventKind { OtherEvent, QuitEvent, ExposeEvent, MotionEvent, ButtonDownEvent, KeyDownEvent, KeyUpEvent };
struct QueuedEvent {
    EventKind kind;
    int32_t code;         // the key of a key event (0: one the game has no code for), the mouse button
    int32_t x;            // where the pointer moved to, in the window's pixels
    int32_t y;
    uint32_t number;      // its place among all the events taken from SDL, from 1
};

// Events wait for a frame that takes one as they would in SDL's own queue, which holds as many.
const int EventQueueSize = 128;

// The input fence's own state: the events waiting, the keys as the screens see them, which keys
// are spent, and what this frame's screen read.
struct Fence {
    QueuedEvent queue[EventQueueSize];  // the events not yet taken, oldest first
    int32_t queued;
    uint32_t eventsTaken;               // the number of the last event taken from SDL
    uint32_t eventNumber;               // the number of the event this frame took
    uint8_t table[KeyCodes];        // the keys held as SDL's table stood when SDL last looked
    bool spent[KeyCodes];           // the key acted: it reads as up until it is let go
    uint32_t spentAt[KeyCodes];     // the last event taken from SDL when it was spent: the key's
                                        // presses up to that one are spent too
    bool letGo[KeyCodes];           // a spent key went up since it was spent
    bool hadFocus;                      // the window had the keyboard and was shown at the last look
    ScreenName screen;                  // the screen and page this frame's input came to
    PageName page;
    uint32_t pressRead;                 // this frame's acting reads that answered yes: presses,
    uint32_t heldRead;                  // held actions,
    bool anyKeyRead;                    // any character key held,
    bool keyRead;                       // the key pressed, the button pressed
    bool buttonRead;
};

// The music a change of screen asks for; played, from its start, after the screen's frame.
enum MusicRequest { NoMusicRequest, MenuMusicRequest, GameMusicRequest };

// Which picture a frame shows.
enum PictureName {
    NoPicture,
    MenuPicture,
    PlayPicture,
    PausedPicture,       // the panel and the caption of the pause over an empty well
    GameOverPicture,     // the last frame of play under the caption
    NameEntryPicture,
    FinishedPicture
};

// A text as a picture shows it, in plain bytes: its length, its characters, zeros after them.
const int ShownTextBytes = 68;    // the longest name dex.dll keeps, and more
struct ShownText {
    int32_t length;
    char bytes[ShownTextBytes];
};

inline ShownText shownText(const std::string &text)
{
    ShownText shown = {};
    shown.length = static_cast<int32_t>(text.copy(shown.bytes, ShownTextBytes));
    return shown;
}

// A row of the high-score table as its page shows it.
struct ShownRow {
    ShownText name;
    int32_t level;
    int32_t time;
    int32_t score;
};

const int MaxPagesAFrame = 4;
const int NoSelection = -1;

// Everything a frame's picture is drawn from, and nothing else but the pictures and fonts: the
// screens' updates fill it anew in every frame, the drawing only reads it. It holds plain values
// only, without padding, so that two views are compared whole, byte for byte.
struct View {
    PictureName picture;
    // The menu: the glow's centre, the pages drawn in this order, the item lit by the keys.
    int32_t pointerX;
    int32_t pointerY;
    PageName pages[MaxPagesAFrame];
    int32_t pageCount;
    int32_t selection;            // the item lit for the keys or the gamepad, NoSelection: the pointer's
    Settings settings;            // the options page: the switches as shown
    Controls controls;            // the controls page: the keys and buttons as shown,
    int32_t waitingRow;           // the row waiting for its new key, NoSelection: none
    ShownRow table[HighScoreRows];  // the high-score page: the table,
    int32_t litRow;               // the row of the game just entered, NoSelection: none
    // Play, paused, and the last frame of play on the game-over screen.
    PlayView play;
    // Name entry and the screen after the last level.
    ShownText name;
    int32_t score;
};

// Where the game's 800 x 600 picture lies in the window, scaled as one; bars beside it are black.
struct PictureRect {
    int32_t left;
    int32_t top;
    int32_t width;
    int32_t height;
};

enum FocusState { AwaitFocus = 0, Focused = 1, FocusLost = 2 };


// Start-up media read on worker threads while the main thread makes the window and uploads the
// pictures. The main thread fills the paths, then starts the worker; from then on only the worker
// touches the results, until the main thread has joined it (SDL_WaitThread) and cleared its field.
struct StartLoading {
    SDL_Thread *pictureWorker;                       // decoding the pictures, until joined
    std::string picturePaths[StartPictureCount];     // what it decodes; emptied once handed over
    SDL_Surface *pictures[StartPictureCount];        // decoded pictures, null where one failed
    SDL_Thread *soundWorker;                         // loading music and effects, until joined
    std::string soundPaths[StartSoundCount];         // what it loads; emptied once handed over
    MusicHandle music[StartSoundCount];              // the tracks among them, null where one failed
    SoundHandle effects[StartSoundCount];            // the effects among them, null where one failed
    std::string soundErrors[StartSoundCount];        // SDL's error text where loading failed
};

struct GameState {
    // --- Shell: lives for the whole run --------------------------------------------------
    bool running = true;          // the main loop runs while true; a screen clears it to quit
    ScreenName Screen;            // the screen the main loop runs
    PageName MenuPage;            // the page of the intro screen
    bool videoModePending;        // the window is built anew at the end of this pass
    uint32_t nextFrameDue;        // SDL tick at which the next pass is due
    uint32_t passDueAt;           // the browser: SDL tick from which the next pass may run, where the
                                  // desktop would sleep until then (app/loop_web.cpp)
    std::string programDir;       // directory of the executable with its separator, or empty
    std::string dataDir;          // where opt.dat, dex.dll and log.txt are kept
    bool filesReadOnly;           // opt.dat and dex.dll are read but never saved, and no log is kept
    std::string settingsPath;
    std::string highScorePath;
    std::string controlsPath;
    std::string mediaDir;
    std::string logPath;
    std::ofstream logFile;

    // --- Kept between runs in opt.dat, dex.dll and controls.dat --------------------------
    Settings settings;
    HighScoreTable highScores;
    Controls controls;

    // --- Window layer ------------------------------------------------------------------
    bool windowOpen;              // an OpenGL window was made by the last initVideo or setVideoMode
    int32_t windowWidth;          // the window, in the desktop's pixels
    int32_t windowHeight;
    int32_t windowFullscreen;
    int32_t desktopWidth;         // the desktop's size when the game started, 0 when unknown
    int32_t desktopHeight;
    PictureRect picture;          // where in the window the game's 800 x 600 picture is drawn, scaled
    FocusState focusState;

    // --- Pictures and fonts: loaded again after every window rebuild ------------------
    Sprite backgroundSprite;
    Sprite introSprite;
    Sprite blockSprite;
    Sprite glowSprite;
    Sprite explosionSprite;
    BitmapFont smallFont;
    BitmapFont largeFont;

    // --- Sound: loaded once at start-up; switches and volumes set by setVolumes -----
    MusicHandle introMusic;
    MusicHandle gameMusic;
    SoundHandle explosionSound;
    SoundHandle nextLevelSound;
    SoundHandle dropSound;
    SoundHandle squareSound;
    SoundHandle greatScoreSound;
    SoundHandle badScoreSound;
    int32_t audioMusicOff;
    int32_t audioSoundOff;
    int32_t musicVolume;
    int32_t soundVolume;

    // --- Start-up media on worker threads, handed over and dropped during start-up ----
    StartLoading startLoading;

    // --- Input: written by the input fence (input/) alone, around each screen's frame ------
    Input input;
    int32_t mouseX;               // the pointer's last position in screen pixels
    int32_t mouseY;
    Gamepad gamepad;
    Fence fence;                  // the input fence's own: read and written by input/ alone

    // --- The menus: what the keys lit, and what a page waits for ---------------------------
    int32_t menuSelection = NoSelection;  // the item the keys or the gamepad moved to
    int32_t waitingRow = NoSelection;     // the controls page's row waiting for a key
    int32_t litRow = NoSelection;         // the high-score page's row of the game just entered
    bool fullscreenFlipped;               // the options page's fullscreen switch was clicked:
                                          // the window is built anew when the page is left

    // --- Sound requests of the rules and screens, served after each screen's frame ---
    uint32_t pendingEffects;      // bit e set: play Effect e once
    bool pendingMusicStop;        // stop the music before playing them
    MusicRequest musicRequest;    // then start this music from its beginning
    bool soundsPaused;            // the music and the effects stand still while a game is paused

    // --- The picture: what the last frame shows, and what the window shows ------------
    View view;                    // filled anew by each screen's frame, read by the drawing
    View shownView;               // the view whose picture the window shows
    bool viewShown;               // shownView is on the screen (no new window, nothing over it)
    bool keepPicture;             // this pass drew nothing: the window keeps its picture, unswapped

    // --- One game: reset whole by newGame -------------------------------------------------
    Round round;
};

// The record. As a global it starts zero-filled, but for the fields given a start value above:
// `running` true, and no item, row or gamepad button (NoSelection, -1) where zero is one.
extern GameState game;
