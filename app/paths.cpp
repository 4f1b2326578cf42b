// paths.cpp: the program directory and the log file.
#include "app/paths.h"

#include "app/platform.h"
#include "app/state.h"

std::string pathUpToLast(const std::string &path, char separator)
{
    size_t cut = path.rfind(separator);
    if (cut == std::string::npos)
        return std::string();
    return path.substr(0, cut + 1);
}

std::string programDirOf(const std::string &path)
{
    game.programDir = pathUpToLast(path, PathSeparator);
    // A shell passes a program it found on PATH by its bare name: then the system says where
    // the program lies, where it can.
    if (game.programDir.empty())
        game.programDir = pathUpToLast(executablePath(), PathSeparator);
    return game.programDir;
}

void openLog()
{
    game.logPath = game.programDir + "log.txt";
    // A log still open from an earlier start-up in this process would make `open` fail.
    if (game.logFile.is_open())
        game.logFile.close();
    game.logFile.open(game.logPath, std::ios::out | std::ios::trunc);
    // Each piece goes through to the file as it is logged: a game that is killed or crashes
    // leaves its log behind, which is when the log is wanted most.
    game.logFile.setf(std::ios::unitbuf);
}
