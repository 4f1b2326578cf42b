// paths.h: where the game's files lie, and the log beside the executable.
#pragma once

#include <string>

// The path cut after its last `separator`, the separator kept; empty when it holds none.
std::string pathUpToLast(const std::string &path, char separator);

// The executable's directory (with its separator); also stored in game.programDir. A path
// without a separator gives the directory the system records for the running executable, or
// empty (the working directory) where it records none.
std::string programDirOf(const std::string &path);

// Chooses game.dataDir, the folder of opt.dat, dex.dll and log.txt: the program's folder when the
// player may write there, else the player's own folder (see userDataFolder), into which the
// program folder's opt.dat, dex.dll and controls.dat are copied when the player has none of their
// own yet.
// A game built with TAVIREL_PACKAGED (the Debian package's build) never keeps them in its program folder:
// with no folder of the player's own it reads them there, but saves nothing (filesReadOnly).
void chooseDataDir();

// Opens game.logFile on dataDir (or, before one is chosen, programDir) + "log.txt", truncating
// it, closing a log opened earlier; never through a link, and only onto a regular file. In the
// browser the log's lines go to its console (logPathIn). Every later piece is written through to
// the file at once. Its one line, only where the kept files are not beside the game, says where
// they are, or that new ones cannot be kept.
void openLog();
