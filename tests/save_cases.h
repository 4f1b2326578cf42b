// save_cases.h: what the save tests of every system (save_test.cpp) ask of the system they run on:
// save_posix.cpp gives it on Linux, windows/save_win32.cpp on Windows.
#pragma once

#include <functional>
#include <string>
#include <vector>

// What lies at the place of the kept file after a save.
enum class SaveEnd {
    Created,      // a new file holding the new text, where there was none
    Replaced,     // another file than before, holding the new text, with the old one's permissions
    InPlace,      // the same file as before, holding the new text and nothing after it
    LeftAlone,    // what lay there, as it was
    NothingMade,  // still nothing
};

// One place of a kept file, "kept.dat" in a fresh folder, and what a save must leave there.
struct SaveCase {
    const char *what;
    std::function<void(const std::string &folder)> plant;  // lays out the folder (ending in its separator)
    bool folderLocked;      // the player may not make files in the folder
    const char *words;      // what the save returns; "*": any words, but some
    SaveEnd end;
    bool temporaryStays;    // what lies under "kept.dat.new" (a folder) stays
    const char *alsoNew;    // another name in the folder that must lead to the new text too, or null
    void (*inSaver)();      // run by the saving process just before it saves, or null
};

// The cases only this system has.
std::vector<SaveCase> systemSaveCases();

// A fresh empty folder, its path ending in the system's separator.
std::string freshSaveFolder();

// writeWholeFile(path, bytes) as a player who is not the system's administrator, and who may not
// make files in `folder` where the case's `folderLocked`, with the files in `folder` their own;
// what it returned. A save that waits (a few seconds) or cannot be run answers with words saying so.
std::string saveAsPlayer(const SaveCase &c, const std::string &folder, const std::string &path, const std::string &bytes);

// A number that tells the file at `path` (a link followed) from every other file; 0 when there is none.
unsigned long long fileIdentity(const std::string &path);

// The line end that the system's text files have.
extern const char *const SystemLineEnd;
