// disk_faults.cpp: the game started from a folder it cannot write to, or on a disk that fills up,
// saves a new high score and its settings and goes on running with them.
//
//   tavirel_disk_faults PROGRAM_DIR read-only|full-disk
//
// The game starts as PROGRAM_DIR/tavirel. With "full-disk" the disk is filled after start-up,
// so that the log (written through as it goes) holds start-up and can take the save's line.
// Exit status 0 when the game ran on with the new values in memory, the files on disk kept
// what they held, and the log says what failed where there is one.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>

#include "../support.h"
#include "SDL.h"
#include "base/files.h"
#include "app/loop.h"
#include "base/state.h"

static int problems = 0;

static void expect(bool ok, const std::string &what)
{
    if (!ok) {
        std::fprintf(stderr, "disk_faults: %s\n", what.c_str());
        problems++;
    }
}

// Writes a filler file until the disk refuses more.
static void fillDisk(const std::string &path)
{
    FILE *filler = std::fopen(path.c_str(), "wb");
    static char block[65536];
    while (filler && std::fwrite(block, 1, sizeof block, filler) == sizeof block)
        ;
    size_t rest = 1;
    while (filler && std::fwrite(block, 1, rest, filler) == rest && std::fflush(filler) == 0)
        ;
    if (filler)
        std::fclose(filler);
}

static void runPasses(int count)
{
    for (int i = 0; i < count && game.running; i++)
        runPass();
}

int main(int argc, char **argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s PROGRAM_DIR read-only|full-disk\n", argv[0]);
        return 2;
    }
    std::string dir = std::string(argv[1]) + "/";
    bool fullDisk = std::string(argv[2]) == "full-disk";
    std::string tableBefore = readFile(dir + "dex.dll");
    std::string settingsBefore = readFile(dir + "opt.dat");

    startUp((dir + "tavirel").c_str());
    runPasses(30);
    if (fullDisk)
        fillDisk(dir + "filler");

    // A new best result and switched settings, saved as the game-over screen and the options
    // page save them.
    HighScoreEntry best{"survivor", 3, 77, 123456};
    for (int i = HighScoreRows - 1; i > 0; i--)
        game.highScores.rows[i] = game.highScores.rows[i - 1];
    game.highScores.rows[0] = best;
    saveHighScores();
    game.settings.musicOff = 1 - game.settings.musicOff;
    Settings switched = game.settings;
    saveSettings();
    runPasses(60);

    expect(game.running, "the game stopped");
    const HighScoreEntry &row = game.highScores.rows[0];
    expect(row.name == best.name && row.score == best.score, "the table in memory lost the new result");
    expect(game.settings.musicOff == switched.musicOff, "the settings in memory lost the switch");
    expect(readFile(dir + "dex.dll") == tableBefore, "dex.dll changed although it could not be saved");
    expect(readFile(dir + "opt.dat") == settingsBefore, "opt.dat changed although it could not be saved");
    expect(access((dir + "dex.dll.new").c_str(), F_OK) != 0, "a temporary dex.dll.new was left");
    expect(access((dir + "opt.dat.new").c_str(), F_OK) != 0, "a temporary opt.dat.new was left");

    std::string log = readFile(dir + "log.txt");
    if (fullDisk) {
        std::string error = std::strerror(ENOSPC);
        expect(log.find("Video initialize OK\n") == 0, "the log lost its start-up lines:\n" + log);
        expect(log.find("Save " + dir + "dex.dll ERROR " + error + "\n") != std::string::npos,
               "the log does not say that dex.dll could not be saved:\n" + log);
        expect(log.find("Save " + dir + "opt.dat ERROR " + error + "\n") != std::string::npos,
               "the log does not say that opt.dat could not be saved:\n" + log);
    } else {
        expect(access((dir + "log.txt").c_str(), F_OK) != 0, "a log appeared in a read-only folder");
    }
    SDL_Quit();
    std::printf("disk_faults (%s): the game ran on with the new result and settings in memory; %s\n", argv[2],
                problems ? "FAILED" : "files kept, log as expected");
    return problems ? 1 : 0;
}
