// platform.h: the few services the game asks of the operating system itself.
#pragma once

#include <string>

// The full path of the running executable as the system records it; empty where it keeps none.
std::string executablePath();

// The file a symbolic link at `path` leads to, in full; `path` itself when it is no link.
std::string linkTarget(const std::string &path);

// Whether the player may create files in `folder` (empty: the working folder).
bool folderWritable(const std::string &folder);

// The player's own folder for the game's kept files, with its separator: $XDG_DATA_HOME/tavirel/,
// or ~/.local/share/tavirel/ without it, made when missing. Empty where there is none to be had.
std::string userDataFolder();

// Puts `text` into the file at `path` whole. Where the folder allows it, a new file is written
// beside it and renamed over it, with the old file's owner and mode; where it does not, a file
// the player may write is rewritten in place. A file the player may not write is left alone.
// The empty text when the file holds `text`; otherwise the system's words for what failed.
std::string writeWholeFile(const std::string &path, const std::string &text);
