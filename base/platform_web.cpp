// platform_web.cpp: the game's system services in the browser: its folders, the kept files kept in IndexedDB by the page, the log in the console.
#include "base/platform.h"
#include "base/files_unix.h"

#include <emscripten.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

// The folder the page mounts on IndexedDB before the game starts (dist/web/page.js): the
// player's own, where the kept files live. Anything written elsewhere ends with the page.
static const char *const KeptFolder = "/kept/";

// Emscripten records no path of a running program.
std::string executablePath()
{
    return std::string();
}

// The page's file system holds no links the game did not make.
std::string linkTarget(const std::string &path)
{
    return path;
}

// The program's folder is the site's, which no player writes to: only the kept folder is theirs.
bool folderWritable(const std::string &folder)
{
    struct stat info;
    return folder == KeptFolder && stat(KeptFolder, &info) == 0 && S_ISDIR(info.st_mode);
}

std::string userDataFolder()
{
    return folderWritable(KeptFolder) ? KeptFolder : std::string();
}

bool readKeptFile(const std::string &path, size_t bound, std::string &text)
{
    text.clear();
    int fd = open(path.c_str(), O_RDONLY);
    return fd >= 0 && readOpenedKeptFile(fd, bound, text);
}

// The page's file system in memory holds no links, FIFOs or files of several names, and nobody
// else writes to it while the game runs: its files are the game's own.
Found openExistingFile(const std::string &path, FileHandle &file, FileError &error)
{
    int fd = open(path.c_str(), O_WRONLY);
    file = fd >= 0 ? fd : NoFile;
    error = fd < 0 ? errno : 0;
    if (fd >= 0)
        return Found::File;
    if (error == ENOENT)
        return Found::Missing;
    return error == EISDIR ? Found::NotAFile : Found::Failed;
}

FileKind fileKind(FileHandle file, const std::string &)
{
    struct stat info;
    return fstat(descriptor(file), &info) == 0 && S_ISREG(info.st_mode) ? FileKind::OneName : FileKind::NotRegular;
}

FileError createNewFile(const std::string &path, FileHandle, FileHandle &file)
{
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0666);
    file = fd >= 0 ? fd : NoFile;
    return fd >= 0 ? 0 : errno;
}

// The page's memory has nothing slower behind it: the file is kept in IndexedDB when it is put in
// its place (replaceFile).
FileError flushFile(FileHandle)
{
    return 0;
}

// Every save in the page ends here: a file made afresh put in the old one's place. The page then
// keeps it in IndexedDB at once, as the only copy that outlives the page (see Kept in
// dist/web/page.js).
FileError replaceFile(const std::string &path, const std::string &replacement)
{
    if (std::rename(replacement.c_str(), path.c_str()) != 0)
        return errno;
    if (path.compare(0, std::strlen(KeptFolder), KeptFolder) == 0)
        EM_ASM({ TavirelPage.keep(UTF8ToString($0)); }, path.c_str());
    return 0;
}

// One page runs the game on one thread: nothing in it can save meanwhile. Another tab's saves
// meet this one's in IndexedDB, where the page merges the score table (base/kept_web.cpp).
int lockFolder(const std::string &)
{
    return 0;
}

void unlockFolder(int)
{
}

bool openLogFile(std::ofstream &log, const std::string &)
{
    if (log.is_open())
        log.close();
    log.clear();
    // Emscripten's standard output, which the page prints to the console a line at a time.
    log.open("/dev/stdout", std::ios::out);
    return log.is_open();
}

std::string logPathIn(const std::string &)
{
    return "the browser's console";
}

std::string programPath(const std::string &argv0)
{
    return argv0;
}

std::FILE *openForReading(const std::string &path)
{
    return std::fopen(path.c_str(), "rb");
}

void tellPlayer(const std::string &sentence)
{
    EM_ASM({ TavirelPage.tellPlayer(UTF8ToString($0)); }, sentence.c_str());
}

SDL_Thread *startWorker(int (*)(void *))
{
    return nullptr;
}

// A page has no terminal, signals or X server; its closing ends the game through the page
// (app/loop_web.cpp).
void watchForEndings(void (*)(const std::string &))
{
}

std::string endingNoticed()
{
    return std::string();
}
