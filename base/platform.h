// platform.h: the few services the game asks of the operating system itself.
#pragma once

#include <cstddef>
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
// a link only where it may be followed (see writeWholeFile); nothing waits for a writer. False,
// with `text` empty, when there is no such file to read.
bool readKeptFile(const std::string &path, size_t bound, std::string &text);

// Puts `text` into the file at `path` whole. Where the folder allows it, a new file is written
// beside it and renamed over it, with the old file's owner and mode; where it does not, a file
// the player may write is rewritten in place. A file the player may not write is left alone, and
// so is anything but a regular file. In a folder others may write, a link is followed only when
// it belongs to the player or to the folder's owner. A file left beside it under the temporary
// file's name is never written into.
// The empty text when the file holds `text`; otherwise the system's words for what failed.
std::string writeWholeFile(const std::string &path, const std::string &text);

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
// where a game has no console, in a message box unless the standard error leads somewhere.
void tellPlayer(const std::string &sentence);

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
