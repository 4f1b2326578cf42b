// support_files.cpp: temporary folders and files, the media copied beside a test's game, the log.
#include "support.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "base/state.h"

const char *const WindowLog =
    "Video initialize OK\n"
    "SDL video initialize OK\n"
    "SDL audio initialize OK\n"
    "Mix_open_audio 0\n";

const char *const PicturesLog =
    "Texture back.jpg loading ok\n"
    "Texture intro.jpg loading ok\n"
    "Texture font1.png loading ok\n"
    "Texture bobcat36.png loading ok\n"
    "Texture klocki.jpg loading ok\n"
    "Texture posw.png loading ok\n"
    "Texture wybuch.png loading ok\n";

const char *const SoundsLog =
    "Mix_LoadMUS m2.ogg OK\n"
    "Mix_LoadMUS m1.ogg OK\n"
    "Mix_LoadWAV explosion.ogg OK\n"
    "Mix_LoadWAV nextlevel.ogg OK\n"
    "Mix_LoadWAV spadanie.ogg OK\n"
    "Mix_LoadWAV ulozone.ogg OK\n"
    "Mix_LoadWAV greatscore.ogg OK\n"
    "Mix_LoadWAV badscore.ogg OK\n";

std::string startUpLog()
{
    return std::string(WindowLog) + PicturesLog + SoundsLog;
}

std::string makeTempDir()
{
    char pattern[] = "/tmp/tavirel-test-XXXXXX";
    if (!mkdtemp(pattern))
        throw std::runtime_error("mkdtemp failed");
    return std::string(pattern) + "/";
}

void writeFile(const std::string &path, const std::string &contents)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << contents;
}

std::string readFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool fileExists(const std::string &path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

void copyMedia(const std::string &dir)
{
    std::string command = std::string("cp -r '") + TAVIREL_SOURCE_DIR + "/media' '" + dir + "'";
    if (std::system(command.c_str()) != 0)
        throw std::runtime_error("copying media failed");
}

std::string logText()
{
    game.logFile.flush();
    return readFile(game.logPath);
}

std::string logSince(size_t mark)
{
    return logText().substr(mark);
}

bool asPlayer(const std::function<bool()> &work)
{
    pid_t pid = fork();
    if (pid == 0) {
        bool dropped = setgroups(0, nullptr) == 0 && setgid(PlayerUid) == 0 && setuid(PlayerUid) == 0;
        _exit(dropped && work() ? 0 : 1);
    }
    int status = -1;
    return pid > 0 && waitpid(pid, &status, 0) == pid && status == 0;
}
