// platform.cpp: the executable's own path and whole-file saves, over POSIX where there is one.
#include "base/platform.h"

#if defined(__unix__) || defined(__APPLE__)

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

std::string executablePath()
{
#ifdef __linux__
    char path[PATH_MAX];
    ssize_t length = readlink("/proc/self/exe", path, sizeof path);
    if (length > 0 && static_cast<size_t>(length) < sizeof path)
        return std::string(path, static_cast<size_t>(length));
#endif
    return std::string();
}

std::string linkTarget(const std::string &path)
{
    struct stat name;
    if (lstat(path.c_str(), &name) != 0 || !S_ISLNK(name.st_mode))
        return path;
    char *target = realpath(path.c_str(), nullptr);
    if (!target)
        return path;
    std::string resolved = target;
    std::free(target);
    return resolved;
}

bool folderWritable(const std::string &folder)
{
    return access(folder.empty() ? "." : folder.c_str(), W_OK | X_OK) == 0;
}

// Makes every missing folder of `path`, an absolute path ending in '/'.
static bool makeFolders(const std::string &path)
{
    for (size_t cut = path.find('/', 1); cut != std::string::npos; cut = path.find('/', cut + 1)) {
        std::string folder = path.substr(0, cut);
        if (mkdir(folder.c_str(), 0755) != 0 && errno != EEXIST)
            return false;
    }
    struct stat made;
    return stat(path.c_str(), &made) == 0 && S_ISDIR(made.st_mode);
}

std::string userDataFolder()
{
    // Only absolute folders count: a relative one would depend on where the game was started.
    const char *data = std::getenv("XDG_DATA_HOME");
    const char *home = std::getenv("HOME");
    std::string folder;
    if (data && data[0] == '/')
        folder = std::string(data) + "/tavirel/";
    else if (home && home[0] == '/')
        folder = std::string(home) + "/.local/share/tavirel/";
    return !folder.empty() && makeFolders(folder) && folderWritable(folder) ? folder : std::string();
}

// Writes all of `text` from the start of the open file, then cuts the file after it: a save cut
// short between the two leaves the new text whole, followed by a rest of the old one that
// reading never reaches, as it stops after the last field. 0, or the error that stopped it.
static int writeFromStart(int fd, const std::string &text)
{
    size_t done = 0;
    while (done < text.size()) {
        ssize_t written = pwrite(fd, text.data() + done, text.size() - done, static_cast<off_t>(done));
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            return errno;
        if (written == 0)
            return EIO;
        done += static_cast<size_t>(written);
    }
    if (ftruncate(fd, static_cast<off_t>(text.size())) != 0 || fsync(fd) != 0)
        return errno;
    return 0;
}

enum class Renamed { Done, NoTemporary, Failed };

// A temporary file beside `path`, given the owner and mode of `old` when there is an old file,
// then renamed over `path`: a save cut short leaves the old file or the new one, never half of
// one. NoTemporary when the folder, or the old file's owner, does not allow such a file.
// `error` receives what went wrong.
static Renamed replaceByRename(const std::string &path, const std::string &text, const struct stat *old, int &error)
{
    std::string temporary = path + ".new";
    int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) {
        error = errno;
        return Renamed::NoTemporary;
    }
    struct stat made;
    bool kept = fstat(fd, &made) == 0;
    if (kept && old && (made.st_uid != old->st_uid || made.st_gid != old->st_gid))
        kept = fchown(fd, old->st_uid, old->st_gid) == 0;
    if (kept && old)
        kept = fchmod(fd, old->st_mode & 07777) == 0;
    if (!kept) {
        error = errno;
        close(fd);
        unlink(temporary.c_str());
        return Renamed::NoTemporary;
    }
    error = writeFromStart(fd, text);
    if (close(fd) != 0 && error == 0)
        error = errno;
    if (error == 0 && std::rename(temporary.c_str(), path.c_str()) == 0)
        return Renamed::Done;
    if (error == 0)
        error = errno;
    unlink(temporary.c_str());
    return Renamed::Failed;
}

// The system's words for an error number; the empty text for none.
static std::string failure(int error)
{
    return error ? std::strerror(error) : std::string();
}

std::string writeWholeFile(const std::string &path, const std::string &text)
{
    int error = 0;
    struct stat old;
    if (stat(path.c_str(), &old) != 0) {
        error = errno;
        if (error == ENOENT)
            replaceByRename(path, text, nullptr, error);
        return failure(error);
    }
    if (!S_ISREG(old.st_mode))
        return "not a file";
    int fd = open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return failure(errno);  // the player may not write it
    // A rename would cut a link to the file, or one of its other names, loose from the new text.
    struct stat name;
    bool plain = lstat(path.c_str(), &name) == 0 && !S_ISLNK(name.st_mode) && old.st_nlink == 1;
    if (!plain || replaceByRename(path, text, &old, error) == Renamed::NoTemporary)
        error = writeFromStart(fd, text);
    close(fd);
    return failure(error);
}

#else

#include <fstream>

std::string executablePath()
{
    return std::string();
}

std::string linkTarget(const std::string &path)
{
    return path;
}

bool folderWritable(const std::string &)
{
    return true;
}

std::string userDataFolder()
{
    return std::string();
}

std::string writeWholeFile(const std::string &path, const std::string &text)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    return out ? std::string() : "cannot write the file";
}

#endif
