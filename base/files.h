// files.h: the settings file opt.dat and the high-score file dex.dll.
#pragma once

#include <istream>
#include <string>

#include "base/state.h"

// Reads the three switches over the values in memory; a missing or damaged file keeps them.
void loadSettings();
void saveSettings();
// The same from any stream, and the text that saveSettings writes.
void readSettings(std::istream &in);
std::string settingsText();

// Fills the default table, then reads the ten rows of the file over it.
void loadHighScores();
void saveHighScores();
// The parts of those two: the ten default rows, the rows read from any stream over the table
// in memory, and the text that saveHighScores writes.
void setDefaultHighScores();
void readHighScores(std::istream &in);
std::string highScoresText();

// Reads the player's controls from controls.dat over those in memory (the defaults): a missing
// file keeps them silently, a damaged one keeps them with a line in the log.
void loadControls();
void saveControls();
// The parts of those two: the controls of any stream (false, and nothing taken, when it is not
// one whole set of them), and the text that saveControls writes.
bool readControls(std::istream &in, Controls &controls);
std::string controlsText();

// The name of every default row.
extern const char *const DefaultName;

// A name as one whitespace-free word for the file, and back. One-word names stay as they are.
std::string encodeName(const std::string &name);
std::string decodeName(const std::string &word);
