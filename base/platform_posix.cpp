// platform_posix.cpp: the system calls of the game on Linux and other POSIX systems: its own path, its folders, files read safely, the pieces of a save, folder locks, and the endings that come from outside.
#include "base/platform.h"
#include "base/files_unix.h"

#include <cerrno>
#include <csignal>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "SDL.h"
#ifdef TAVIREL_WATCH_X11
#include <X11/Xlib.h>

#include "SDL_syswm.h"
#endif

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

// Makes every missing folder of `path`, an absolute path ending in '/', private to the player as
// the XDG base directory rules ask.
static bool makeFolders(const std::string &path)
{
    for (size_t cut = path.find('/', 1); cut != std::string::npos; cut = path.find('/', cut + 1)) {
        std::string folder = path.substr(0, cut);
        if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
    }
    struct stat made;
    return stat(path.c_str(), &made) == 0 && S_ISDIR(made.st_mode);
}

// The player's home folder as the system records it, for when $HOME is not set or not usable.
static std::string recordedHome()
{
    const struct passwd *player = getpwuid(geteuid());
    return player && player->pw_dir ? player->pw_dir : "";
}

std::string userDataFolder()
{
    // Only absolute folders count: a relative one would depend on where the game was started.
    const char *data = std::getenv("XDG_DATA_HOME");
    const char *home = std::getenv("HOME");
    const std::string homes[] = {data ? data : "", home ? home : "", recordedHome()};
    for (int i = 0; i < 3; i++) {
        if (homes[i].empty() || homes[i][0] != '/')
            continue;
        std::string folder = homes[i] + (i == 0 ? "/tavirel/" : "/.local/share/tavirel/");
        if (makeFolders(folder) && folderWritable(folder))
            return folder;
    }
    return std::string();
}

// What openKept returns for a link it will not follow.
static const int LinkNotFollowed = -2;

// Whether the link `link` at `path` may be followed: anywhere but in a folder that others may
// write, and there only when it is the player's own or the folder owner's (the rule of the
// kernel's protected symlinks), so that nobody else can lead a save onto a file of the player's.
static bool followable(const std::string &path, const struct stat &link)
{
    size_t cut = path.rfind('/');
    std::string folder = cut == std::string::npos ? "." : path.substr(0, cut + 1);
    struct stat owner;
    if (stat(folder.c_str(), &owner) != 0)
        return false;
    if (!(owner.st_mode & (S_IWGRP | S_IWOTH)))
        return true;
    return link.st_uid == geteuid() || link.st_uid == owner.st_uid;
}

// Opens the file at `path` with `flags`, following a link only where `followable` allows, and
// without waiting for the other end of a FIFO. The descriptor, -1 with errno set, or
// LinkNotFollowed.
static int openKept(const std::string &path, int flags)
{
    int fd = open(path.c_str(), flags | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0 || errno != ELOOP)
        return fd;
    struct stat link, again;
    if (lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode))
        return -1;
    if (!followable(path, link))
        return LinkNotFollowed;
    fd = open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC);
    // The link followed must be the one judged, not another put in its place meanwhile.
    if (fd >= 0 && (lstat(path.c_str(), &again) != 0 || again.st_ino != link.st_ino ||
                    again.st_dev != link.st_dev || again.st_uid != link.st_uid)) {
        close(fd);
        return LinkNotFollowed;
    }
    return fd;
}

bool readKeptFile(const std::string &path, size_t bound, std::string &text)
{
    text.clear();
    int fd = openKept(path, O_RDONLY);
    return fd >= 0 && readOpenedKeptFile(fd, bound, text);
}

Found openExistingFile(const std::string &path, FileHandle &file, FileError &error)
{
    int fd = openKept(path, O_WRONLY);
    file = fd >= 0 ? fd : NoFile;
    error = fd == -1 ? errno : 0;
    if (fd >= 0)
        return Found::File;
    if (fd == LinkNotFollowed)
        return Found::LinkRefused;
    if (error == ENOENT)
        return Found::Missing;
    // A folder, or a FIFO or device with nothing at its other end.
    return error == EISDIR || error == ENXIO ? Found::NotAFile : Found::Failed;
}

FileKind fileKind(FileHandle file, const std::string &path)
{
    struct stat info, name;
    if (fstat(descriptor(file), &info) != 0 || !S_ISREG(info.st_mode))
        return FileKind::NotRegular;
    bool oneName = lstat(path.c_str(), &name) == 0 && !S_ISLNK(name.st_mode) && info.st_nlink == 1;
    return oneName ? FileKind::OneName : FileKind::SeveralNames;
}

FileError createNewFile(const std::string &path, FileHandle like, FileHandle &file)
{
    file = NoFile;
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0)
        return errno;
    struct stat made, old;
    bool kept = fstat(fd, &made) == 0;
    if (kept && like != NoFile) {
        kept = fstat(descriptor(like), &old) == 0;
        if (kept && (made.st_uid != old.st_uid || made.st_gid != old.st_gid))
            kept = fchown(fd, old.st_uid, old.st_gid) == 0;
        if (kept)
            kept = fchmod(fd, old.st_mode & 07777) == 0;
    }
    if (!kept) {
        int error = errno;
        close(fd);
        unlink(path.c_str());
        return error;
    }
    file = fd;
    return 0;
}

FileError flushFile(FileHandle file)
{
    return fsync(descriptor(file)) == 0 ? 0 : errno;
}

FileError replaceFile(const std::string &path, const std::string &replacement)
{
    return std::rename(replacement.c_str(), path.c_str()) == 0 ? 0 : errno;
}

int lockFolder(const std::string &folder)
{
    int fd = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    for (int waited = 0; fd >= 0 && waited < 2000; waited += 10) {
        if (flock(fd, LOCK_EX | LOCK_NB) == 0)
            return fd;
        if (errno != EWOULDBLOCK && errno != EINTR)
            break;
        usleep(10000);
    }
    if (fd >= 0)
        close(fd);
    return -1;
}

void unlockFolder(int handle)
{
    if (handle >= 0)
        close(handle);
}

bool openLogFile(std::ofstream &log, const std::string &path)
{
    if (log.is_open())
        log.close();
    log.clear();
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
    struct stat info;
    if (fd >= 0 && fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && ftruncate(fd, 0) == 0) {
        // The stream opens the very file checked here, whatever its name leads to meanwhile.
        log.open("/proc/self/fd/" + std::to_string(fd), std::ios::out | std::ios::trunc);
    }
    if (fd >= 0)
        close(fd);
    return log.is_open();
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
    std::fprintf(stderr, "%s\n", sentence.c_str());
}

// --- Endings from outside: signals, and the window and its connection to the X server ---------

static void (*endAtOnce)(const std::string &why);
static volatile sig_atomic_t endingSignal;

static void noteSignal(int number)
{
    endingSignal = number;
}

// A signal the game was started to ignore (nohup, a job in the background) stays ignored.
static void noteUnlessIgnored(int number)
{
    struct sigaction was;
    if (sigaction(number, nullptr, &was) == 0 && was.sa_handler == SIG_IGN)
        return;
    struct sigaction note = {};
    note.sa_handler = noteSignal;
    sigemptyset(&note.sa_mask);
    note.sa_flags = SA_RESTART;
    sigaction(number, &note, nullptr);
}

#ifdef TAVIREL_WATCH_X11
// A connection of the game's own to the X server, on which it hears of its window's end.
static Display *watcher;
// The windows SDL shows the game in: the one the desktop manages and the one drawn into.
static Window watched[2];
// The server refused a request of that connection's: it asked after a window that is gone.
static bool watcherRefused;
// Why the X server ended the game, once it did.
static std::string xEnding;

// The X server refused a request of SDL's or OpenGL's: a window destroyed under SDL (SDL 2's
// stand-in asks about it), or anything else, for which Xlib itself would end the process, the
// result being entered lost. The game ends at the end of this pass instead, as closed.
static int noteXError(Display *display, XErrorEvent *error)
{
    if (display == watcher) {
        watcherRefused = true;
    } else if (xEnding.empty()) {
        char reason[256] = "";
        XGetErrorText(display, error->error_code, reason, sizeof reason);
        xEnding = "The game ends, as the X server refused a request on its window\n" + std::string(reason) +
                  " (request " + std::to_string(error->request_code) + "." + std::to_string(error->minor_code) + ")";
    }
    return 0;
}

// The connection was lost (the server gone, the client killed): Xlib allows no way back.
static int endOnLostConnection(Display *)
{
    if (endAtOnce)
        endAtOnce("The game ends, as its connection to the X server was lost");
    _exit(0);
}

// Whether the windows watched exist, their end heard of from now on. SDL, building its window
// anew, destroys the old one, and the new one may have the old one's number.
static bool watchedWindowsExist()
{
    watcherRefused = false;
    for (Window window : watched)
        if (window)
            XSelectInput(watcher, window, StructureNotifyMask);
    XSync(watcher, False);
    return !watcherRefused;
}

// Follows the window SDL shows now, and hears whether it was destroyed.
static void watchWindow()
{
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWMInfo(&info) != 1 || info.subsystem != SDL_SYSWM_X11)
        return;
    static bool tried = false;  // once: a server that refuses it is not asked every pass
    if (!watcher && !tried)
        watcher = XOpenDisplay(DisplayString(info.info.x11.display));
    tried = true;
    if (!watcher)
        return;
    bool gone = false;
    if (info.info.x11.wmwindow != watched[0] || info.info.x11.window != watched[1]) {
        watched[0] = info.info.x11.wmwindow;
        watched[1] = info.info.x11.window;
        gone = !watchedWindowsExist();
    }
    bool destroyed = false;
    while (XPending(watcher) > 0) {
        XEvent event;
        XNextEvent(watcher, &event);
        Window window = event.type == DestroyNotify ? event.xdestroywindow.window : 0;
        destroyed = destroyed || (window && (window == watched[0] || window == watched[1]));
    }
    if ((gone || (destroyed && !watchedWindowsExist())) && xEnding.empty())
        xEnding = "The game ends, as its window was destroyed";
}
#endif

// The classic SDL 1.2, given no video driver by name, falls back from X11 to the console's
// drivers (the framebuffer, libcaca, aalib), which take over the player's terminal and never give
// the OpenGL window the game needs; X11 is its one driver of OpenGL windows here. SDL 2's stand-in
// (1.2.50 on) has none of them and is left to choose.
static void keepToOpenGlDrivers()
{
#ifndef __APPLE__
    if (!std::getenv("SDL_VIDEODRIVER") && SDL_Linked_Version()->patch < 50)
        setenv("SDL_VIDEODRIVER", "x11", 1);
#endif
}

void watchForEndings(void (*endNow)(const std::string &why))
{
    static bool watching = false;
    endAtOnce = endNow;
    if (watching)
        return;
    watching = true;
    noteUnlessIgnored(SIGHUP);
    noteUnlessIgnored(SIGQUIT);
    signal(SIGPIPE, SIG_IGN);
#ifdef TAVIREL_WATCH_X11
    // Set before SDL starts, so that the handlers SDL and OpenGL set in front of them pass on to them.
    XSetErrorHandler(noteXError);
    XSetIOErrorHandler(endOnLostConnection);
#endif
    keepToOpenGlDrivers();
}

std::string endingNoticed()
{
    if (endingSignal == SIGHUP)
        return "The game ends, as the terminal it was started from hung up (SIGHUP)";
    if (endingSignal == SIGQUIT)
        return "The game ends, as it was told to quit (SIGQUIT)";
#ifdef TAVIREL_WATCH_X11
    watchWindow();
    return xEnding;
#else
    return std::string();
#endif
}
