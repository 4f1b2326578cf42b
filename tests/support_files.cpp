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

bool startsWith(const std::string &text, const std::string &start)
{
    return text.compare(0, start.size(), start) == 0;
}

std::vector<std::string> linesOf(const std::string &text)
{
    std::vector<std::string> lines;
    for (size_t start = 0, end; start < text.size(); start = end + 1) {
        end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        lines.push_back(text.substr(start, end - start));
    }
    return lines;
}

long peakKb()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (startsWith(line, "VmHWM:"))
            return std::stol(line.substr(6));
    return 0;
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
        bool dropped = geteuid() != 0 ||
                       (setgroups(0, nullptr) == 0 && setgid(PlayerUid) == 0 && setuid(PlayerUid) == 0);
        _exit(dropped && work() ? 0 : 1);
    }
    int status = -1;
    return pid > 0 && waitpid(pid, &status, 0) == pid && status == 0;
}
