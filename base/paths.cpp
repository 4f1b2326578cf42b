// paths.cpp: the program directory and the log file.
#include "base/paths.h"

#include <fstream>
#include <iterator>

#include "base/platform.h"
#include "base/state.h"

std::string pathUpToLast(const std::string &path, char separator)
{
    size_t cut = path.rfind(separator);
    if (cut == std::string::npos)
        return std::string();
    return path.substr(0, cut + 1);
}

std::string programDirOf(const std::string &path)
{
    // Started through a link (an installed game's command), the game's files lie beside the
    // program the link leads to.
    game.programDir = pathUpToLast(linkTarget(path), PathSeparator);
    // A shell passes a program it found on PATH by its bare name: then the system says where
    // the program lies, where it can.
    if (game.programDir.empty())
        game.programDir = pathUpToLast(executablePath(), PathSeparator);
    return game.programDir;
}

static bool fileExists(const std::string &path)
{
    return std::ifstream(path).good();
}

void chooseDataDir()
{
    game.dataDir = game.programDir;
    if (folderWritable(game.programDir))
        return;
    std::string own = userDataFolder();
    if (own.empty())
        return;
    game.dataDir = own;
    // What the player had beside the game goes on from the player's own folder.
    for (const char *name : {"opt.dat", "dex.dll"}) {
        std::ifstream kept(game.programDir + name, std::ios::binary);
        if (kept && !fileExists(own + name)) {
            std::string text((std::istreambuf_iterator<char>(kept)), std::istreambuf_iterator<char>());
            writeWholeFile(own + name, text);
        }
    }
}

void openLog()
{
    // The program's folder unless start-up chose another one for the kept files.
    game.logPath = (game.dataDir.empty() ? game.programDir : game.dataDir) + "log.txt";
    // A log still open from an earlier start-up in this process would make `open` fail.
    if (game.logFile.is_open())
        game.logFile.close();
    game.logFile.open(game.logPath, std::ios::out | std::ios::trunc);
    // Each piece goes through to the file as it is logged: a game that is killed or crashes
    // leaves its log behind, which is when the log is wanted most.
    game.logFile.setf(std::ios::unitbuf);
}
