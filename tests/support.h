// support.h: everything the tests share, in one place: folders and files, the log, the game
// started in the test's own process, real SDL events and keys, the window's focus, colours and
// pixels, the game's own pictures, and the built game run as a process of its own.
//
// Every test runs as a process of its own in an X server of its own (tests/own-x-server.sh), so
// the helpers below work on the one global record `game` and on the only window on the screen.
// Implemented in support_log.cpp, support_files.cpp, support_game.cpp, support_x.cpp,
// support_pictures.cpp and support_process.cpp, one file a part below.
#pragma once

#include <gtest/gtest.h>
#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "SDL.h"

// --- Folders and files (support_files.cpp) ----------------------------------------------------

// A fresh empty folder under /tmp, with its trailing '/'.
std::string makeTempDir();

void writeFile(const std::string &path, const std::string &contents);
std::string readFile(const std::string &path);
bool fileExists(const std::string &path);
bool startsWith(const std::string &text, const std::string &start);
// The lines of `text`, without their line ends.
std::vector<std::string> linesOf(const std::string &text);

// The peak resident memory of this process so far, in kB.
long peakKb();

// Copies the committed media/ folder into `dir` + "media/".
void copyMedia(const std::string &dir);

// The player the tests stand in for when the game must not run as root: "nobody".
const unsigned PlayerUid = 65534;

// Runs `work` in a child process that has become PlayerUid (a caller who is not root is a player
// already: its child stays who it is); true when the switch worked and `work` returned true.
bool asPlayer(const std::function<bool()> &work);

// --- The log (support_log.cpp) ----------------------------------------------------------------

// What a start-up in which everything works writes to log.txt, in its three parts.
extern const char *const WindowLog;    // the window, SDL video and audio, the audio device
extern const char *const PicturesLog;  // the seven pictures, fonts' included
extern const char *const SoundsLog;    // the two music tracks and six effects

// All three: the whole log of a start-up in which everything works.
std::string startUpLog();

// Everything the game in this process has logged so far.
std::string logText();

// What it has logged since the log was `mark` characters long.
std::string logSince(size_t mark);

// --- The game in the test's own process, and real SDL events and keys (support_game.cpp) -------

// A fresh program folder with an empty media/ folder; programDir, mediaDir and the log point at it.
std::string makeProgramDir();

// makeProgramDir, then the 800 x 600 game window with its OpenGL state.
std::string openGameWindow();

// The whole start-up from a fresh folder holding the media and, unless empty, the given opt.dat
// and controls.dat; with `shortMenuMusic` the menu track is a sound of a fraction of a second.
// Returns the folder.
std::string startUpIn(const std::string &settings = "", bool shortMenuMusic = false, const std::string &controls = "");

// startUpIn with the given opt.dat and controls.dat, then waits for the window's focus (which
// reloads the key table) and takes whatever the X server queued, so that a test's events come
// alone and the keys it writes stay written.
std::string startUpWith(const std::string &settings = "", const std::string &controls = "");

// startUpIn, then a new game seeded with `seed` on the play screen with the game music, as the
// menu starts one; the window has its focus and the event queue is empty.
void startPlaying(unsigned seed);

// One frame of the current screen as the main loop runs it (its input, its update, the sounds it
// asked for), then its picture drawn into the back buffer and left there unswapped.
void runFrame();

// `count` frames of the current screen, one after another, as runFrame runs each.
void runFrames(int count);

// Whole passes of the main loop, each due at once, until every queued event is taken (at most 50).
void runPassesUntilTaken();


// Queues a real event: motion to (a, b), a press of button a, a key press or release of key a, a
// quit; of the gamepad: a press or release of button a, the pad at value a (SDL_HAT_*), axis a
// at value b; a window gained (a = 1) or lost in the states b.
void pushEvent(Uint8 type, int a = 0, int b = 0);

// Queues a click at (x, y), a pixel of the game's 800 x 600 screen: the pointer moved there in the
// window (which may show the screen scaled and with bars), then the left button pressed.
void clickAt(int x, int y);

// Events still waiting: in SDL's queue, and in the input fence's.
int queuedEvents();

// The platform's held-key table, as the screens read it; tests press keys by writing it.
Uint8 *keyTable();

// The window is shown, has the keyboard and has the pointer over it.
const uint8_t FullFocus = 0x07;  // SDL_APPMOUSEFOCUS | SDL_APPINPUTFOCUS | SDL_APPACTIVE

// --- Real input through the X server, and SDL seeing it (support_x.cpp) -----------------------
// Keys and the pointer as a player's desktop sends them; other ways of sending X input go here too.

// Runs xdotool with `arguments` (its output thrown away); false if it failed.
bool xdotool(const std::string &arguments);

// Presses or lets go of real keys through the X server, as a player does: an xdotool command
// such as "keydown Return", "keyup Return" or "key x" for the window with the keyboard; then
// waits until SDL can read what it did. False if xdotool failed.
bool realKeys(const std::string &command);

// Presses (`down`) or lets go of the key of the X keysym `name` ("Left", "Return", "x") through
// the X server's test extension, as a keyboard does, then waits until SDL's connection holds what
// the server sent (SDL takes it in when the game next looks at its queue). The server's own key
// repeat is off, as a test holds keys for any number of frames.
void realKey(const std::string &name, bool down);

// Runs an xdotool command on the test's own window, found by its caption; false if it failed.
bool onWindow(const std::string &caption, const std::string &command);

// Waits until what the X server sent the window so far (an xdotool command that returned, say) is
// in SDL's connection, for the game's next look at its queue; takes no event and changes no key.
void syncWithXServer();

// Lets SDL take in what the X server reported until now, pumping its events until
// SDL_GetAppState shows all of `present` and none of `absent`; false after 10 s without.
// Gaining the focus reloads the key table from the X server: wait for it before writing keys.
bool waitForAppState(uint8_t present, uint8_t absent);

// --- Colours and pixels (support_pictures.cpp) -------------------------------------------------

struct Rgb {
    int r, g, b;
};

const Rgb Black{0, 0, 0};
const Rgb White{255, 255, 255};
const Rgb Red{255, 0, 0};
const Rgb Green{0, 255, 0};
const Rgb Blue{0, 0, 255};

// The colour of each pixel of a test image.
using PixelRule = std::function<Rgb(int x, int y)>;

// A solid colour everywhere.
PixelRule solid(Rgb colour);

// An opaque image without an alpha channel, written as BMP (any name: the loader reads the content).
void saveOpaqueImage(const std::string &path, int width, int height, const PixelRule &rule);

// An RGBA PNG image; `alpha` gives each pixel's alpha. Without `alpha`, an RGB PNG.
void savePng(const std::string &path, int width, int height, const PixelRule &rule,
             const std::function<int(int x, int y)> &alpha = nullptr);

// Clears the back buffer to the colour.
void clearTo(Rgb colour);

// The back buffer's pixel at window position (x, y), origin top-left.
Rgb pixelAt(int x, int y);

// Whether the window pixel has the colour, within a few steps per channel.
::testing::AssertionResult pixelIs(int x, int y, Rgb want);

// The whole window's picture as it stands in the back buffer, row by row from the top-left.
std::vector<Rgb> windowPicture();

// Whether the window's picture matches tests/pictures/NAME.png within a few steps per channel
// but for a few stray pixels, and to the step but for 1 % of it (a glow must be in its place). A
// mismatch leaves the picture and a map of where it differs (red: by more than a few steps, blue:
// by fewer) in the build folder's pictures/. With TAVIREL_WRITE_REFERENCES set, the picture is written as
// the new reference instead (tools/make-references.sh).
::testing::AssertionResult matchesReference(const std::string &name);

// --- The game's own pictures, as decoded from media/ (support_pictures.cpp) --------------------

struct FreeSurface {
    void operator()(SDL_Surface *s) const { SDL_FreeSurface(s); }
};
using Picture = std::unique_ptr<SDL_Surface, FreeSurface>;

struct Rgba {
    int r, g, b, a;
};

// A picture of the committed media/ folder; null if it cannot be read.
Picture loadPicture(const std::string &file);

// A pixel of any surface, whatever its format.
Rgba pixel(SDL_Surface *s, int x, int y);

// A pixel of a picture of media/, without its alpha.
Rgb mediaPixel(const std::string &file, int x, int y);

// --- The built game as a process of its own (support_process.cpp) ----------------------------

// Asks `condition` every 10 ms until it holds: false if it still does not after `timeoutMs`.
bool waitUntil(const std::function<bool()> &condition, int timeoutMs);

// Starts the executable `exe` with `argv0` as its path, as a player would start it from there.
pid_t startGame(const std::string &argv0, const std::string &exe);

// Copies the built game into `dir` and starts it from there.
pid_t startGameIn(const std::string &dir);

// Copies the built game into `dir` and starts it by name through PATH, in the working folder
// `workDir`.
pid_t startGameThroughPath(const std::string &dir, const std::string &workDir);

// Copies the built game into `dir` and starts it from there with its environment changed by
// `changes` ("NAME=value", or "NAME" alone to remove it): its standard output goes nowhere, its
// standard error into `dir` + "stderr.txt".
pid_t startGameWith(const std::string &dir, const std::vector<std::string> &changes);

// A virtual X server of the test's own besides the one it runs in, started with `arguments`
// (e.g. "-screen 0 640x480x24"): its display name (":N"), or empty if it did not start.
struct XServer {
    pid_t pid;
    std::string display;
};
XServer startXServer(const std::string &arguments);
void stopXServer(XServer &server);

// The exit status once the process ends, or -1 if it is still running after `timeoutMs`
// (it is then killed).
int waitForExit(pid_t pid, int timeoutMs);

// The top-level window that the process maps, or 0 if none appears within `timeoutMs`.
unsigned long findWindowOf(pid_t pid, int timeoutMs);

// Waits for the game's window (up to 15 s) and then its first picture (up to 10 s, so start-up is
// over): the window, or 0 if either did not come.
unsigned long waitForGame(pid_t pid);

// Whether the screen shows anything but black within `timeoutMs`: the game has drawn a frame.
// (Each test has an X server of its own, so the game is all there is on it.)
bool waitForPicture(int timeoutMs);

std::string windowName(unsigned long window);
void windowSize(unsigned long window, int &width, int &height);

// How many pixels of a box of the window's own picture show the menus' hover yellow (`yellow`)
// or white.
int pixelsIn(unsigned long window, int x, int y, int w, int h, bool yellow);

// Waits up to five seconds until the box of the window shows the hover yellow (30 pixels of it at
// least), or, with `lit` false, until it no longer does.
bool waitUntilLit(unsigned long window, int x, int y, int w, int h, bool lit = true);

// Asks the window to close, as a window manager's close button does.
void closeWindow(unsigned long window);

// Destroys the window from outside, as `xdotool windowclose` does.
void destroyWindow(unsigned long window);

// Cuts the connection of the X client that made the window, as xkill or a window manager does.
void killClientOf(unsigned long window);

// Plays the game showing in `window` from its title screen into name entry by real pointer and
// key input: "new game" clicked, every block dropped at once until one rests in the top row, what
// the last drops typed erased, then `name` typed. The game's 0 points must be a great score (a
// dex.dll of scores below 0). True once name entry shows the name.
bool playToNameEntry(unsigned long window, const std::string &name);
