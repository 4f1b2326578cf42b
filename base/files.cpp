// files.cpp: reading and writing opt.dat, dex.dll and controls.dat.
#include "base/files.h"

#include <algorithm>
#include <sstream>
#include <vector>

#include "base/controls.h"
#include "base/paths.h"
#include "base/platform.h"
#include "base/save.h"
#include "base/state.h"

const char *const DefaultName = "tavirel";

// Reads one integer into `field` only when the stream holds a valid one; a failure sticks.
static void readInt(std::istream &in, int32_t &field)
{
    int32_t value;
    if (in >> value)
        field = value;
}

// A switch read from the file: any number but 0 switches it on, as 1.
static void readSwitch(std::istream &in, int32_t &field)
{
    readInt(in, field);
    field = field != 0;
}

void readSettings(std::istream &in)
{
    readSwitch(in, game.settings.fullscreen);
    readSwitch(in, game.settings.musicOff);
    readSwitch(in, game.settings.soundOff);
}

// The text of a kept file, at most KeptFileBound bytes of it; empty when there is none.
static std::string keptText(const std::string &path)
{
    std::string text;
    readKeptFile(path, KeptFileBound, text);
    return text;
}

void loadSettings()
{
    std::istringstream in(keptText(game.settingsPath));
    readSettings(in);
}

std::string settingsText()
{
    const Settings &s = game.settings;
    return std::to_string(s.fullscreen) + "\n" + std::to_string(s.musicOff) + "\n" + std::to_string(s.soundOff) + "\n";
}

// Tells the log when a save failed; the values in memory stay in use.
static void logSave(const std::string &path, const std::string &failure)
{
    if (!failure.empty())
        game.logFile << "Save " << path << " ERROR " << failure << "\n";
}

// Saves `text`, whose lines end in '\n', with the system's line ends. A failure leaves the
// values in memory in use and tells only the log.
static void saveText(const std::string &path, const std::string &text)
{
    logSave(path, writeWholeFile(path, withTextLineEnds(text)));
}

// Saves of the games sharing a folder take turns.
static void saveFile(const std::string &path, const std::string &text)
{
    if (game.filesReadOnly)
        return;
    int lock = lockFolder(pathUpToLast(path, PathSeparator));
    saveText(path, text);
    unlockFolder(lock);
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

// One word of the file, and whether it begins a line.
struct Word {
    std::string text;
    bool startsLine;
};

// Whether `word` is a decimal number that fits 32 bits; `value` receives it.
static bool numberWord(const std::string &word, int32_t &value)
{
    std::istringstream in(word);
    return in >> value && in.peek() == std::char_traits<char>::eof();
}

void readHighScores(std::istream &in)
{
    std::vector<Word> words;
    std::string line, text;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        for (bool first = true; fields >> text; first = false)
            words.push_back({text, first});
    }
    // A row is a name and three numbers, which may be spread over any lines. A damaged row is
    // left out, and the next one is looked for after its four words, or, where the row was cut
    // short, at the start of the line that cut it: only that row is lost.
    int row = 0, lost = 0;
    size_t next = 0;
    while (row < HighScoreRows && next < words.size()) {
        HighScoreEntry entry{decodeName(words[next].text).substr(0, MaxKeptNameLength), 0, 0, 0};
        int32_t *numbers[3] = {&entry.level, &entry.time, &entry.score};
        size_t first = next++;
        bool whole = true;
        for (int k = 0; k < 3 && next < words.size(); k++, next++) {
            const Word &word = words[next];
            bool number = numberWord(word.text, *numbers[k]);
            if (!number && word.startsLine)
                break;
            whole = whole && number;
        }
        if (whole && next == first + 4)
            game.highScores.rows[row++] = entry;
        else
            lost++;
    }
    // The places the lost rows leave are the last ones, left open: the next result that scores
    // at all earns one, and the table stays best first. A file that simply ends early keeps the
    // default rows after its own.
    for (int i = std::max(row, HighScoreRows - lost); i < HighScoreRows; i++)
        game.highScores.rows[i] = {DefaultName, 1, 0, 0};
}

void loadHighScores()
{
    setDefaultHighScores();
    std::istringstream in(keptText(game.highScorePath));
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

// The lines passed over that the log names one by one; of any more it gives the count.
static const int LoggedLines = 8;

// Why the line of `control` (ControlCount: no such name) is passed over, or null when it sets
// the control to `key` and `button`. `taken`: the controls set by the lines before.
static const char *lineFault(std::istream &fields, int control, int32_t &key, int32_t &button,
                             const Controls &controls, const bool *taken)
{
    std::string rest;
    if (control == ControlCount)
        return "no such control";
    if (taken[control])
        return "the control named again";
    if (!(fields >> key >> button) || fields >> rest)
        return "not a key and a button";
    // What the controls page could not have put on a control.
    if (keyReserved(key) || !controlButton(button))
        return "a key or button no control may have";
    for (int other = 0; other < ControlCount; other++)
        if (taken[other] && (controls.keys[other] == key || (button >= 0 && controls.buttons[other] == button)))
            return "a key or button of a control before";
    return nullptr;
}

// A line a control: its name, the code of its key, its gamepad button or -1. Each line sets
// its control as the controls page would (a key or button that another control has by default
// goes to that one in exchange), so a file of another version of the game keeps what it can.
int readControls(std::istream &in, Controls &controls)
{
    bool taken[ControlCount] = {};
    int passedOver = 0;
    std::string line;
    for (int number = 1; std::getline(in, line); number++) {
        std::istringstream fields(line);
        std::string name;
        if (!(fields >> name))
            continue;  // a blank line
        int control = 0;
        while (control < ControlCount && name != ControlNames[control])
            control++;
        int32_t key, button;
        const char *fault = lineFault(fields, control, key, button, controls, taken);
        if (fault) {
            if (passedOver++ < LoggedLines)
                game.logFile << "Controls " << game.controlsPath << " line " << number << " passed over: " << fault
                             << "\n";
            continue;
        }
        taken[control] = true;
        assignControl(controls, control, key, 0);
        if (button >= 0)
            assignControl(controls, control, 0, button);
        else
            controls.buttons[control] = -1;
    }
    if (passedOver > LoggedLines)
        game.logFile << "Controls " << game.controlsPath << ": " << passedOver - LoggedLines
                     << " more lines passed over\n";
    return passedOver;
}

void loadControls()
{
    std::string text;
    if (!readKeptFile(game.controlsPath, KeptFileBound, text))
        return;
    std::istringstream in(text);
    readControls(in, game.controls);
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

int recordResult(const HighScoreEntry &result)
{
    int lock = lockFolder(pathUpToLast(game.highScorePath, PathSeparator));
    // The table as another game in this folder may have saved it since this one started.
    std::string text;
    if (readKeptFile(game.highScorePath, KeptFileBound, text)) {
        setDefaultHighScores();
        std::istringstream in(text);
        readHighScores(in);
    }
    HighScoreEntry *rows = game.highScores.rows;
    int p = 0;
    while (p < HighScoreRows && rows[p].score >= result.score)
        p++;
    if (p < HighScoreRows) {
        // Row 10 receives the row pushed off the bottom; it is never shown or saved.
        for (int j = HighScoreRows - 1; j >= p; j--)
            rows[j + 1] = rows[j];
        rows[p] = result;
        if (!game.filesReadOnly)
            saveText(game.highScorePath, highScoresText());
    }
    unlockFolder(lock);
    return p < HighScoreRows ? p : NoSelection;
}
