// support_process.cpp: starting the built game, finding its window and closing it through X.
#include "support.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <csignal>
#include <fcntl.h>
#include <cstdlib>
#include <cstring>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

pid_t startGame(const std::string &argv0, const std::string &exe)
{
    pid_t pid = fork();
    if (pid == 0) {
        // The game goes with the test, whichever way the test ends.
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        // As a shell starts a command in the foreground, however the tests were started.
        for (int number : {SIGHUP, SIGINT, SIGQUIT})
            signal(number, SIG_DFL);
        // Away from the build folder, so that only the path it was started with leads to its files.
        if (chdir("/") != 0)
            _exit(126);
        execl(exe.c_str(), argv0.c_str(), static_cast<char *>(nullptr));
        _exit(127);
    }
    return pid;
}

static bool copyGameInto(const std::string &dir)
{
    std::string command = std::string("cp '") + TAVIREL_EXE + "' '" + dir + "tavirel'";
    return std::system(command.c_str()) == 0;
}

pid_t startGameIn(const std::string &dir)
{
    if (!copyGameInto(dir))
        return -1;
    return startGame(dir + "tavirel", dir + "tavirel");
}

pid_t startGameThroughPath(const std::string &dir, const std::string &workDir)
{
    if (!copyGameInto(dir))
        return -1;
    pid_t pid = fork();
    if (pid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (chdir(workDir.c_str()) != 0)
            _exit(126);
        // As a shell runs a command found on PATH: by its bare name.
        setenv("PATH", dir.c_str(), 1);
        execlp("tavirel", "tavirel", static_cast<char *>(nullptr));
        _exit(127);
    }
    return pid;
}

pid_t startGameWith(const std::string &dir, const std::vector<std::string> &changes)
{
    if (!copyGameInto(dir))
        return -1;
    pid_t pid = fork();
    if (pid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        for (const std::string &change : changes) {
            size_t equals = change.find('=');
            if (equals == std::string::npos)
                unsetenv(change.c_str());
            else
                setenv(change.substr(0, equals).c_str(), change.substr(equals + 1).c_str(), 1);
        }
        int nowhere = open("/dev/null", O_RDWR);
        int errors = open((dir + "stderr.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (nowhere < 0 || errors < 0 || dup2(nowhere, 0) < 0 || dup2(nowhere, 1) < 0 || dup2(errors, 2) < 0 ||
            chdir("/") != 0)
            _exit(126);
        std::string exe = dir + "tavirel";
        execl(exe.c_str(), exe.c_str(), static_cast<char *>(nullptr));
        _exit(127);
    }
    return pid;
}

XServer startXServer(const std::string &arguments)
{
    int ready[2];
    XServer server{-1, ""};
    if (pipe(ready) != 0)
        return server;
    server.pid = fork();
    if (server.pid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        close(ready[0]);
        int nowhere = open("/dev/null", O_WRONLY);
        dup2(nowhere, 2);
        // The arguments come last, so that a test may ask for the reset after the last client.
        std::string command = "exec Xvfb -displayfd " + std::to_string(ready[1]) + " -nolisten tcp -noreset " +
                              arguments;
        execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char *>(nullptr));
        _exit(127);
    }
    close(ready[1]);
    std::string number;
    char piece;
    while (read(ready[0], &piece, 1) == 1 && piece != '\n')
        number += piece;
    close(ready[0]);
    // Xvfb names its display a moment before it answers there.
    for (int waited = 0; !number.empty() && waited < 10000; waited += 20) {
        if (Display *answer = XOpenDisplay((":" + number).c_str())) {
            XCloseDisplay(answer);
            server.display = ":" + number;
            break;
        }
        usleep(20000);
    }
    return server;
}

void stopXServer(XServer &server)
{
    if (server.pid > 0) {
        kill(server.pid, SIGTERM);
        waitpid(server.pid, nullptr, 0);
    }
    server.pid = -1;
}

bool waitUntil(const std::function<bool()> &condition, int timeoutMs)
{
    for (int waited = 0; waited < timeoutMs; waited += 10) {
        if (condition())
            return true;
        usleep(10000);
    }
    return condition();
}

int waitForExit(pid_t pid, int timeoutMs)
{
    for (int waited = 0; waited <= timeoutMs; waited += 10) {
        int status;
        if (waitpid(pid, &status, WNOHANG) == pid)
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        usleep(10000);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    return -1;
}

// Windows come and go while the tree is searched; asking about one that just went is no fault.
static int ignoreXErrors(Display *, XErrorEvent *)
{
    return 0;
}

static Display *display()
{
    static Display *shared = nullptr;
    if (!shared) {
        XSetErrorHandler(ignoreXErrors);
        shared = XOpenDisplay(nullptr);
    }
    return shared;
}

static bool ownedBy(Window window, pid_t pid)
{
    Atom pidAtom = XInternAtom(display(), "_NET_WM_PID", False);
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char *data = nullptr;
    bool owned = false;
    if (XGetWindowProperty(display(), window, pidAtom, 0, 1, False, XA_CARDINAL, &type, &format, &count, &after,
                           &data) == Success &&
        data && count == 1)
        owned = static_cast<pid_t>(*reinterpret_cast<unsigned long *>(data)) == pid;
    if (data)
        XFree(data);
    return owned;
}

static Window searchTree(Window parent, pid_t pid)
{
    Window root, parentOut, *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display(), parent, &root, &parentOut, &children, &count))
        return 0;
    Window found = 0;
    for (unsigned int i = 0; i < count && !found; i++) {
        XWindowAttributes attributes;
        if (ownedBy(children[i], pid) && XGetWindowAttributes(display(), children[i], &attributes) &&
            attributes.map_state == IsViewable)
            found = children[i];
        else
            found = searchTree(children[i], pid);
    }
    if (children)
        XFree(children);
    return found;
}

unsigned long findWindowOf(pid_t pid, int timeoutMs)
{
    if (!display())
        return 0;
    for (int waited = 0; waited <= timeoutMs; waited += 20) {
        Window window = searchTree(DefaultRootWindow(display()), pid);
        if (window)
            return window;
        usleep(20000);
    }
    return 0;
}

unsigned long waitForGame(pid_t pid)
{
    unsigned long window = findWindowOf(pid, 15000);
    return window && waitForPicture(10000) ? window : 0;
}

bool waitForPicture(int timeoutMs)
{
    // A fullscreen game draws into a window of its own over the whole screen: read the screen.
    Window root = DefaultRootWindow(display());
    XWindowAttributes screen;
    XGetWindowAttributes(display(), root, &screen);
    for (int waited = 0; waited <= timeoutMs; waited += 20) {
        XImage *image = XGetImage(display(), root, 0, 0, screen.width, screen.height, AllPlanes, ZPixmap);
        bool drawn = false;
        for (int y = 0; image && y < image->height && !drawn; y += 7)
            for (int x = 0; x < image->width && !drawn; x += 7)
                drawn = XGetPixel(image, x, y) != 0;
        if (image)
            XDestroyImage(image);
        if (drawn)
            return true;
        usleep(20000);
    }
    return false;
}

std::string windowName(unsigned long window)
{
    // The caption is set just after the window is mapped: give it a moment.
    std::string text;
    for (int waited = 0; text.empty() && waited <= 2000; waited += 20) {
        char *name = nullptr;
        if (XFetchName(display(), window, &name) && name) {
            text = name;
            XFree(name);
        } else {
            usleep(20000);
        }
    }
    return text;
}

void windowSize(unsigned long window, int &width, int &height)
{
    XWindowAttributes attributes;
    XGetWindowAttributes(display(), window, &attributes);
    width = attributes.width;
    height = attributes.height;
}

void closeWindow(unsigned long window)
{
    XEvent event;
    std::memset(&event, 0, sizeof event);
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display(), "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display(), "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display(), window, False, NoEventMask, &event);
    XFlush(display());
}

void destroyWindow(unsigned long window)
{
    XDestroyWindow(display(), window);
    XSync(display(), False);
}

void killClientOf(unsigned long window)
{
    XKillClient(display(), window);
    XSync(display(), False);
}

int pixelsIn(unsigned long window, int x, int y, int w, int h, bool yellow)
{
    XImage *image = XGetImage(display(), window, x, y, w, h, AllPlanes, ZPixmap);
    int count = 0;
    for (int row = 0; image && row < h; row++)
        for (int column = 0; column < w; column++) {
            unsigned long p = XGetPixel(image, column, row);
            bool light = ((p >> 16) & 255) > 200 && ((p >> 8) & 255) > 200;
            count += light && (yellow ? (p & 255) < 80 : (p & 255) > 200);
        }
    if (image)
        XDestroyImage(image);
    return count;
}

bool waitUntilLit(unsigned long window, int x, int y, int w, int h, bool lit)
{
    return waitUntil([&] { return (pixelsIn(window, x, y, w, h, true) >= 30) == lit; }, 5000);
}

bool playToNameEntry(unsigned long window, const std::string &name)
{
    std::string w = std::to_string(window);
    // From elsewhere, so that the game sees the pointer come: "new game" goes dark, then lights up.
    if (!xdotool("windowfocus --sync " + w + " mousemove --window " + w + " 10 10") ||
        !waitUntilLit(window, 300, 70, 200, 36, false) || !xdotool("mousemove --window " + w + " 400 88") ||
        !waitUntilLit(window, 300, 70, 200, 36) || !xdotool("click 1"))
        return false;
    // Held for a moment, as a player presses it: a frame reads the drop from the held keys. Name
    // entry is the one picture with white at the left end of the band at y = 135 ("please enter
    // your name"; the menu's "options" there is narrower).
    bool shown = false;
    for (int drop = 0; drop < 40 && !(shown = pixelsIn(window, 200, 135, 100, 30, false) > 100); drop++)
        xdotool("keydown space sleep 0.08 keyup space sleep 0.25");
    // The release of the last drop's key may come on name entry, and type a space.
    std::string keys = "key --delay 30";
    for (int i = 0; i < 16; i++)
        keys += " BackSpace";
    for (char c : name)
        keys += std::string(" ") + c;
    if (!shown || !xdotool(keys))
        return false;
    // Until the name stands still, each character having had its frame.
    int last = -1, still = 0;
    for (int waited = 0; waited < 10000 && still < 5; waited += 100, usleep(100000)) {
        int now = pixelsIn(window, 200, 190, 400, 36, true);
        still = now > 0 && now == last ? still + 1 : 0;
        last = now;
    }
    return still >= 5;
}
