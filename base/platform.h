// platform.h: the few services the game asks of the operating system itself.
#pragma once

#include <cstddef>
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
