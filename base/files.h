// files.h: the settings file opt.dat, the high-score file dex.dll and the controls' controls.dat.
#pragma once

#include <cstddef>
#include <istream>
#include <string>

#include "base/state.h"

// How much of opt.dat or dex.dll is read: far more than the game ever writes (under 1 KB).
const size_t KeptFileBound = size_t{64} * 1024;

// Names read from dex.dll are kept up to this many bytes; the game itself types at most
// MaxNameLength.
const int MaxKeptNameLength = 64;

// Reads the three switches over the values in memory; a missing or damaged file keeps them.
// Any number but 0 reads as 1.
void loadSettings();
void saveSettings();
// The same from any stream, and the text that saveSettings writes.
void readSettings(std::istream &in);
std::string settingsText();

// Fills the default table, then reads the ten rows of the file over it.
void loadHighScores();
void saveHighScores();

// The parts of those two: the ten default rows, the rows read from any stream over the table
// in memory (a damaged row is left out, the rows after it move up, and the place it leaves at the
// bottom is open: a row of no score), and the text that saveHighScores writes.
void setDefaultHighScores();
void readHighScores(std::istream &in);
std::string highScoresText();

// Enters a finished game's result into the table below the rows of equal or higher score, if
// it is among the ten best. While the games sharing the folder wait, the table is read anew
// from the file, so that rows another game saved meanwhile stay, and saved with the result.
// The table in memory is then the one saved (or the one in memory, where none could be read).
// Returns the result's row, or NoSelection when it is not among the ten.
int recordResult(const HighScoreEntry &result);
// Reads the player's controls from controls.dat over those in memory (the defaults), a line a
// control by its name: a control the file does not name keeps its key and button, a missing file
// keeps them all. A line naming no control of this version, or damaged, or with what the controls
// page could not have chosen (Escape, a code that is no key, a key of a line before), is passed
// over with a line in the log. saveControls writes every control.
void loadControls();
void saveControls();
// The parts of those two: the controls of any stream read over `controls` (returns the lines
// passed over), and the text that saveControls writes.
int readControls(std::istream &in, Controls &controls);
std::string controlsText();

// The name of every default row.
extern const char *const DefaultName;

// A name as one whitespace-free word for the file, and back. One-word names stay as they are.
std::string encodeName(const std::string &name);
std::string decodeName(const std::string &word);
