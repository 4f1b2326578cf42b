// files.cpp: reading and writing opt.dat and dex.dll.
#include "base/files.h"

#include <fstream>

#include "base/platform.h"
#include "base/state.h"

const char *const DefaultName = "tavirel";

// Reads one integer into `field` only when the stream holds a valid one; a failure sticks.
static void readInt(std::istream &in, int32_t &field)
{
    int32_t value;
    if (in >> value)
        field = value;
}

void readSettings(std::istream &in)
{
    readInt(in, game.settings.fullscreen);
    readInt(in, game.settings.musicOff);
    readInt(in, game.settings.soundOff);
}

void loadSettings()
{
    std::ifstream in(game.settingsPath);
    readSettings(in);
}

std::string settingsText()
{
    const Settings &s = game.settings;
    return std::to_string(s.fullscreen) + "\n" + std::to_string(s.musicOff) + "\n" + std::to_string(s.soundOff) + "\n";
}

// A save that fails leaves the values in memory in use and tells only the log.
static void saveFile(const std::string &path, const std::string &text)
{
    std::string failure = writeWholeFile(path, text);
    if (!failure.empty())
        game.logFile << "Save " << path << " ERROR " << failure << "\n";
}

void saveSettings()
{
    saveFile(game.settingsPath, settingsText());
}

// Names are stored as one word: a space, a percent sign and any other byte outside the
// printable range become "%" and two hex digits; the empty name is a lone "%".
std::string encodeName(const std::string &name)
{
    if (name.empty())
        return "%";
    static const char hex[] = "0123456789ABCDEF";
    std::string word;
    for (unsigned char c : name) {
        if (c <= 32 || c >= 127 || c == '%') {
            word += '%';
            word += hex[c >> 4];
            word += hex[c & 15];
        } else {
            word += static_cast<char>(c);
        }
    }
    return word;
}

static int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// Undoes encodeName. A "%" not followed by two hex digits stays as it stands.
std::string decodeName(const std::string &word)
{
    if (word == "%")
        return std::string();
    std::string name;
    for (size_t i = 0; i < word.size(); i++) {
        if (word[i] == '%' && i + 2 < word.size() && hexValue(word[i + 1]) >= 0 && hexValue(word[i + 2]) >= 0) {
            name += static_cast<char>(hexValue(word[i + 1]) * 16 + hexValue(word[i + 2]));
            i += 2;
        } else {
            name += word[i];
        }
    }
    return name;
}

void setDefaultHighScores()
{
    for (int i = 0; i < HighScoreRows; i++) {
        HighScoreEntry &row = game.highScores.rows[i];
        row.name = DefaultName;
        row.level = 1;
        row.time = 10;
        row.score = 300 - 10 * i;
    }
}

void readHighScores(std::istream &in)
{
    for (int i = 0; i < HighScoreRows; i++) {
        HighScoreEntry &row = game.highScores.rows[i];
        std::string word;
        if (in >> word)
            row.name = decodeName(word).substr(0, MaxNameLength);
        readInt(in, row.level);
        readInt(in, row.time);
        readInt(in, row.score);
    }
}

void loadHighScores()
{
    setDefaultHighScores();
    std::ifstream in(game.highScorePath);
    readHighScores(in);
}

std::string highScoresText()
{
    std::string text;
    for (int i = 0; i < HighScoreRows; i++) {
        const HighScoreEntry &row = game.highScores.rows[i];
        text += encodeName(row.name) + " " + std::to_string(row.level) + " " + std::to_string(row.time) + " " +
                std::to_string(row.score) + "\n";
    }
    return text;
}

void saveHighScores()
{
    saveFile(game.highScorePath, highScoresText());
}

// The controls' names in controls.dat, in the order of the actions.
static const char *const ControlNames[ControlCount] = {"left", "right", "turn", "turnback", "drop", "pause"};

// One line a control: its name, the code of its key, its gamepad button or -1. Every control
// once, no key twice, no button twice.
bool readControls(std::istream &in, Controls &controls)
{
    Controls read = {};
    bool seen[ControlCount] = {};
    std::string name;
    int32_t key, button;
    int lines = 0;
    while (in >> name) {
        int control = 0;
        while (control < ControlCount && name != ControlNames[control])
            control++;
        if (control == ControlCount || seen[control] || !(in >> key >> button) || key < 1 || key > 1023 ||
            button < -1 || button > 31)
            return false;
        for (int other = 0; other < ControlCount; other++)
            if (seen[other] && (read.keys[other] == key || (button >= 0 && read.buttons[other] == button)))
                return false;
        seen[control] = true;
        read.keys[control] = key;
        read.buttons[control] = button;
        lines++;
    }
    if (lines != ControlCount || !in.eof())
        return false;
    controls = read;
    return true;
}

void loadControls()
{
    std::ifstream in(game.controlsPath);
    if (in && !readControls(in, game.controls))
        game.logFile << "Controls " << game.controlsPath << " damaged: the default keys are used\n";
}

std::string controlsText()
{
    std::string text;
    for (int c = 0; c < ControlCount; c++)
        text += std::string(ControlNames[c]) + " " + std::to_string(game.controls.keys[c]) + " " +
                std::to_string(game.controls.buttons[c]) + "\n";
    return text;
}

void saveControls()
{
    saveFile(game.controlsPath, controlsText());
}
