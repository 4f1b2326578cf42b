// save_kills.cpp: the game's saves killed with SIGKILL at random moments, hundreds of times; every
// file left behind must hold one whole table (or settings) the game wrote, and no temporary file
// may pile up.
//
//   tavirel_save_kills FOLDER KILLS SEED [in-place]
//
// A child process saves dex.dll and opt.dat over and over, each save a new generation g of both;
// the parent kills it after a random wait and reads the files with the game's own readers. With
// "in-place" the temporary files' names are taken by folders, so every save rewrites in place.
#include <dirent.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "../support.h"
#include "base/files.h"
#include "base/state.h"

// Generation g of the table: names of changing length, so that an old file may be longer or
// shorter than the new one; the time column holds g.
static void setTable(int g)
{
    for (int i = 0; i < HighScoreRows; i++) {
        HighScoreEntry &row = game.highScores.rows[i];
        row.name = std::string(1 + (g + 3 * i) % MaxNameLength, static_cast<char>('a' + i));
        if ((g + i) % 5 == 0)
            row.name[0] = ' ';  // written escaped
        row.level = 1 + g % 8;
        row.time = g;
        row.score = 100000 - 1000 * i + g % 997;
    }
}

static void setSettings(int g)
{
    game.settings = Settings{g, g % 2, (g / 2) % 2};
}

struct Checker {
    std::string dir;
    bool inPlace;
    int lastTable = 0;      // the generations the files held after the previous kill
    int lastSettings = 0;
    int temporaryFound = 0; // kills that left a temporary file, i.e. landed inside a save
    int inPlaceTails = 0;   // kills that left a new text followed by the rest of an old one
    std::string problem;

    // The generation that the file at `path` holds whole, or -1 (and `problem` says why).
    int tableGeneration()
    {
        std::string text = readFile(dir + "dex.dll");
        std::istringstream in(text);
        setDefaultHighScores();
        readHighScores(in);
        int g = game.highScores.rows[0].time;
        setTable(g);
        std::string expected = highScoresText();
        bool whole = inPlace ? startsWith(text, expected) : text == expected;
        if (!whole || g < lastTable) {
            problem = "dex.dll holds no whole table of generation " + std::to_string(lastTable) + " or later:\n" + text;
            return -1;
        }
        if (text.size() > expected.size())
            inPlaceTails++;
        return g;
    }

    bool settingsWhole(int tableG)
    {
        std::string text = readFile(dir + "opt.dat");
        // The saver writes its generation as the first switch; the game reads any number but 0
        // as 1, so the generation is taken from the text, and the game's reader must agree.
        int g = std::atoi(text.c_str());
        std::istringstream in(text);
        game.settings = Settings{0, 0, 0};
        readSettings(in);
        Settings read = game.settings;
        setSettings(g);
        std::string expected = settingsText();
        bool whole = inPlace ? startsWith(text, expected) : text == expected;
        whole = whole && read.fullscreen == (g != 0) && read.musicOff == g % 2 && read.soundOff == (g / 2) % 2;
        // Each generation saves the table first, then the settings.
        if (!whole || g < lastSettings || g > tableG) {
            problem = "opt.dat holds no whole settings of generation " + std::to_string(lastSettings) + " to " +
                      std::to_string(tableG) + ":\n" + text;
            return false;
        }
        lastSettings = g;
        return true;
    }

    // Only the two files and their temporary files, each no longer than one save.
    bool nothingStray()
    {
        DIR *folder = opendir(dir.c_str());
        bool clean = true;
        bool temporary = false;
        while (dirent *entry = readdir(folder)) {
            std::string name = entry->d_name;
            if (name == "." || name == ".." || name == "dex.dll" || name == "opt.dat")
                continue;
            struct stat info;
            stat((dir + name).c_str(), &info);
            if ((name == "dex.dll.new" || name == "opt.dat.new") && (inPlace ? S_ISDIR(info.st_mode) : info.st_size <= 2048)) {
                temporary = temporary || !inPlace;
                continue;
            }
            problem = "stray file " + name + " of " + std::to_string(info.st_size) + " bytes";
            clean = false;
        }
        closedir(folder);
        temporaryFound += temporary;
        return clean;
    }
};

int main(int argc, char **argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s FOLDER KILLS SEED [in-place]\n", argv[0]);
        return 2;
    }
    Checker check;
    check.dir = std::string(argv[1]) + "/";
    int kills = std::atoi(argv[2]);
    unsigned seed = static_cast<unsigned>(std::strtoul(argv[3], nullptr, 10));
    check.inPlace = argc > 4 && std::string(argv[4]) == "in-place";
    game.highScorePath = check.dir + "dex.dll";
    game.settingsPath = check.dir + "opt.dat";
    setTable(0);
    setSettings(0);
    if (check.inPlace) {
        // Where no temporary file can be made, only a file that is there already is rewritten.
        std::ofstream(game.highScorePath) << highScoresText();
        std::ofstream(game.settingsPath) << settingsText();
        mkdir((game.highScorePath + ".new").c_str(), 0755);
        mkdir((game.settingsPath + ".new").c_str(), 0755);
    } else {
        saveHighScores();
        saveSettings();
    }

    std::mt19937 random(seed);
    // Mostly within the first few saves; now and then at once, before the first one ends.
    std::uniform_int_distribution<int> wait(0, 4000);
    int survived = 0;
    for (int k = 0; k < kills; k++) {
        int from = check.lastTable + 1;
        pid_t child = fork();
        if (child == 0) {
            for (int g = from;; g++) {
                setTable(g);
                saveHighScores();
                setSettings(g);
                saveSettings();
            }
        }
        int us = random() % 8 == 0 ? static_cast<int>(random() % 50) : wait(random);
        usleep(static_cast<useconds_t>(us));
        kill(child, SIGKILL);
        int status;
        waitpid(child, &status, 0);

        int g = check.tableGeneration();
        if (g < 0 || !check.settingsWhole(g) || !check.nothingStray()) {
            std::fprintf(stderr, "save_kills: after kill %d (%d us into the saves): %s\n", k + 1, us,
                         check.problem.c_str());
            return 1;
        }
        check.lastTable = g;
        survived++;
    }
    std::printf("save_kills: %d kills survived (%s), the files whole every time; %d landed with a temporary "
                "file open, %d left a new text before an old rest; %d generations saved\n",
                survived, check.inPlace ? "rewritten in place" : "replaced by rename", check.temporaryFound,
                check.inPlaceTails, check.lastTable);
    return 0;
}
