// platform.h: the few services the game asks of the operating system itself.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>

// The full path of the running executable as the system records it; empty where it keeps none.
std::string executablePath();

// The file a symbolic link at `path` leads to, in full; `path` itself when it is no link.
std::string linkTarget(const std::string &path);

// Whether the player may create files in `folder` (empty: the working folder).
bool folderWritable(const std::string &folder);

// The player's own folder for the game's kept files, with its separator: $XDG_DATA_HOME/tavirel/,
// else ~/.local/share/tavirel/ with ~ from $HOME, else from the system's record of the player,
// the first of them that can be made (new folders private to the player) and written. Empty
// where there is none to be had.
std::string userDataFolder();

// Reads at most `bound` bytes of the file at `path` into `text`. Only a regular file is read, and
// a link only where it may be followed (see openExistingFile); nothing waits for a writer. False,
// with `text` empty, when there is no such file to read.
bool readKeptFile(const std::string &path, size_t bound, std::string &text);

// What separates folders in the system's paths.
extern const char PathSeparator;

// The line end of the system's text files: CR LF on Windows, LF elsewhere. The kept files are
// saved with it, and the log's stream, in the system's text mode, ends its lines so too; both
// line ends read the same everywhere.
extern const char TextLineEnd[];

// --- The pieces of a save (base/save.cpp puts them together, the same on every system) ---------

// An open file: a descriptor on POSIX systems, a HANDLE on Windows, kept as a number.
typedef intptr_t FileHandle;
const FileHandle NoFile = -1;

// What went wrong: 0 for nothing, else the system's number for it (errno on POSIX systems,
// GetLastError on Windows).
typedef int FileError;

// The system's words for `error`, without a full stop; empty for 0.
std::string fileErrorWords(FileError error);

// What openExistingFile found at a path.
enum class Found {
    File,         // a file, now open for writing
    Missing,      // nothing yet (a link leading nowhere counts as nothing)
    NotAFile,     // a folder, or a FIFO or device with nothing at its other end
    LinkRefused,  // a link of another user in a folder that others may write
    Failed,       // anything else, such as a file the player may not write: `error` says what
};

// Opens the file at `path` for writing, neither truncating it nor waiting for the other end of
// a FIFO. A link is followed except in a folder that others may write, where only a link of the
// player's own or of the folder's owner is (so that nobody else can lead a save onto a file of
// the player's); Windows opens the file itself, never a reparse point in its place.
Found openExistingFile(const std::string &path, FileHandle &file, FileError &error);

// What an open file is: not a regular file; a regular file of one name; a regular file reached
// through a link at `path`, or known by other names too (a new file put in its place would cut
// them loose from the new text).
enum class FileKind { NotRegular, OneName, SeveralNames };
FileKind fileKind(FileHandle file, const std::string &path);

// Makes a new file at `path`, open for writing, only where nothing lies under that name (never
// through a link). On POSIX systems it takes the owner and mode of the open file `like` unless
// `like` is NoFile; where it cannot, it is taken away again and the error returned.
FileError createNewFile(const std::string &path, FileHandle like, FileHandle &file);

// Writes all of `bytes` from the start of the open file, then cuts the file after them.
FileError writeFromStart(FileHandle file, const std::string &bytes);

// Waits until what was written to the open file is on the disk.
FileError flushFile(FileHandle file);

FileError closeFile(FileHandle file);

// Puts the file at `replacement` in the place of the one at `path` in one step, whether or not
// there is one; Windows keeps the old file's rights and attributes.
FileError replaceFile(const std::string &path, const std::string &replacement);

// Takes the name `path` away from the file system, never opening what lies there. False when
// nothing was taken (nothing there, a folder, or no right to).
bool removeFile(const std::string &path);

// Takes the lock that the games keeping their files in `folder` share, waiting two seconds at most
// for another to let it go for unlockFolder, or -1 when it could not be had.
int lockFolder(const std::string &folder);
void unlockFolder(int handle);

// Opens `log` on the file at `path`, truncated, without following a link there and only when it
// is a regular file (or none yet). False, with `log` closed, when it cannot be.
bool openLogFile(std::ofstream &log, const std::string &path);

// --- What differs between the systems' ways of starting and telling ---------------------------

// The path of the running program as the game reads it: on POSIX systems `argv0`, the path it was
// started by; on Windows, whose command line comes in the local code page, the executable's own
// path (`argv0` where the system records none).
std::string programPath(const std::string &argv0);

// Opens the file at `path` (UTF-8) for reading, in binary, for the libraries that read through the
// C library; null when it cannot be opened.
std::FILE *openForReading(const std::string &path);

// Tells the player, in one sentence, why the game cannot start: on the standard error; on Windows,
// where a game has no console, in a message box unless the standard error leads somewhere; in the
// browser, in the page.
void tellPlayer(const std::string &sentence);

// --- What the desktop and the browser do otherwise (base/platform_desktop.cpp, platform_web.cpp) --

// Where the log of a game that keeps its files in `folder` goes: log.txt there; in the browser,
// which keeps no log, its console.
std::string logPathIn(const std::string &folder);

// Runs `work` on a thread of its own, to be joined with SDL_WaitThread; null where no thread is to
// be had (the browser runs everything on the page's one thread): the caller then does it itself.
struct SDL_Thread;
SDL_Thread *startWorker(int (*work)(void *));

// --- Endings from outside ---------------------------------------------------------------------

// Made once at start-up, before SDL starts. From then on the ways the game may be ended from
// outside are noticed (endingNoticed): the terminal it was started from hanging up (SIGHUP, unless
// the game was started to ignore it), SIGQUIT, its window destroyed, the display refusing its
// requests. A broken pipe on the standard streams is ignored. Where the connection to the display
// is lost, nothing more can be shown or asked of it: `endNow` is called with the line for the log,
// and the process then ends with status 0. SDL is also kept from video drivers that never give an
// OpenGL window and would take over the player's terminal (the classic library's text modes).
// On Windows none of these exist, and SDL turns the window's closing into a quit: nothing is watched.
void watchForEndings(void (*endNow)(const std::string &why));

// The line for the log once something outside ended the game; the empty text until then.
std::string endingNoticed();
