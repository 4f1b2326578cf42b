// bench_startup.cpp: how long a program takes from its process start to its first swapped frame,
// and its peak memory, watched from outside through the X server's damage reports.
//
//   bench_startup [-v] [-r RUNS] NAME=PROGRAM [ARGS...] -- NAME=PROGRAM [ARGS...] ...
//
// Each program is started RUNS times, the programs taking turns. Every window the program creates
// is watched for damage: the server paints a window's background once as it appears, and after
// that the first damage is the first frame the program swapped onto it. The program then runs on
// for a second at its own pace, and its peak resident memory (VmHWM) is read before it is asked
// to close with SIGTERM, together with how much of the memory then resident is the program's own
// (RssAnon) and how much is pages of its files and libraries (RssFile), the driver's code included.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xdamage.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Windows of other programs may vanish while they are watched; that is no error here.
int ignoreXErrors(Display *, XErrorEvent *)
{
    return 0;
}

struct Program {
    std::string name;
    std::vector<std::string> argv;
};

struct Run {
    double firstFrameMs = -1;   // from fork to the first swapped frame
    double mappedMs = -1;       // from fork to the window appearing
    double cpuMs = -1;          // processor time the program had used by its first frame, all its threads
    long peakKb = -1;           // VmHWM
    long anonKb = -1;           // RssAnon when the peak is read: the program's own memory
    long fileKb = -1;           // RssFile then: pages of the program's files and libraries
    int exitStatus = -1;
};

double msSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// A field of /proc/PID/status in kB, or -1.
long statusKb(pid_t pid, const std::string &field)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.compare(0, field.size(), field) == 0 && line.size() > field.size() && line[field.size()] == ':')
            return std::atol(line.c_str() + field.size() + 1);
    return -1;
}

// User and system time of the process and all its threads, ended ones included, in 10 ms steps.
double cpuTimeMs(pid_t pid)
{
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    size_t end = text.rfind(')');  // the name in parentheses may hold blanks
    if (end == std::string::npos)
        return -1;
    std::istringstream fields(text.substr(end + 2));
    std::string field;
    unsigned long long user = 0, system = 0;
    for (int i = 3; i <= 15 && fields >> field; i++) {
        if (i == 14)
            user = std::stoull(field);
        if (i == 15)
            system = std::stoull(field);
    }
    return (user + system) * 1000.0 / sysconf(_SC_CLK_TCK);
}

pid_t launch(const Program &program)
{
    pid_t pid = fork();
    if (pid == 0) {
        std::vector<char *> args;
        for (const std::string &arg : program.argv)
            args.push_back(const_cast<char *>(arg.c_str()));
        args.push_back(nullptr);
        execv(args[0], args.data());
        std::perror("execv");
        _exit(127);
    }
    return pid;
}

struct Watcher {
    Display *display;
    int damageEvent;
    bool verbose;
    std::set<Window> watched;
    std::map<Window, int> damagesSinceMap;  // per mapped window: damage reports seen since it was mapped
    std::set<Window> mapped;

    void watch(Window window, Clock::time_point start)
    {
        if (!watched.insert(window).second)
            return;
        XSelectInput(display, window, SubstructureNotifyMask | StructureNotifyMask);
        XDamageCreate(display, window, XDamageReportRawRectangles);
        if (verbose)
            std::fprintf(stderr, "%8.1f ms  watching 0x%lx\n", msSince(start), window);
        // Children made before the selection took effect would otherwise go unseen.
        Window root, parent, *children = nullptr;
        unsigned int count = 0;
        if (XQueryTree(display, window, &root, &parent, &children, &count)) {
            for (unsigned int i = 0; i < count; i++)
                watch(children[i], start);
            if (children)
                XFree(children);
        }
    }
};

Run measure(Display *display, int damageEvent, const Program &program, bool verbose)
{
    Window root = DefaultRootWindow(display);
    Watcher watcher{display, damageEvent, verbose, {}, {}, {}};
    // Only windows that appear after this point belong to the program.
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, True);

    Run run;
    Clock::time_point start = Clock::now();
    pid_t pid = launch(program);
    int fd = ConnectionNumber(display);
    double deadline = 20000;
    double closeAt = -1;
    while (msSince(start) < deadline) {
        if (closeAt >= 0 && msSince(start) >= closeAt)
            break;
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) {
            std::fprintf(stderr, "bench_startup: %s ended early\n", program.name.c_str());
            XSelectInput(display, root, NoEventMask);
            return run;
        }
        XFlush(display);
        if (!XPending(display)) {
            pollfd wait = {fd, POLLIN, 0};
            poll(&wait, 1, 2);
            continue;
        }
        XEvent event;
        XNextEvent(display, &event);
        double when = msSince(start);
        if (event.type == CreateNotify) {
            watcher.watch(event.xcreatewindow.window, start);
        } else if (event.type == MapNotify) {
            Window window = event.xmap.window;
            if (watcher.watched.count(window) && watcher.mapped.insert(window).second) {
                watcher.damagesSinceMap[window] = 0;
                if (run.mappedMs < 0)
                    run.mappedMs = when;
            }
            if (verbose)
                std::fprintf(stderr, "%8.1f ms  mapped 0x%lx\n", when, window);
        } else if (event.type == damageEvent + XDamageNotify) {
            const XDamageNotifyEvent &damage = reinterpret_cast<const XDamageNotifyEvent &>(event);
            if (verbose)
                std::fprintf(stderr, "%8.1f ms  damage 0x%lx %dx%d+%d+%d (server time %lu)\n", when,
                             damage.drawable, damage.area.width, damage.area.height, damage.area.x,
                             damage.area.y, damage.timestamp);
            auto seen = watcher.damagesSinceMap.find(damage.drawable);
            // The first report after mapping is the server painting the background.
            if (seen != watcher.damagesSinceMap.end() && ++seen->second >= 2 && run.firstFrameMs < 0) {
                run.firstFrameMs = when;
                run.cpuMs = cpuTimeMs(pid);
                closeAt = when + 1000;
            }
        }
    }
    XSelectInput(display, root, NoEventMask);
    run.peakKb = statusKb(pid, "VmHWM");
    run.anonKb = statusKb(pid, "RssAnon");
    run.fileKb = statusKb(pid, "RssFile");
    kill(pid, SIGTERM);
    int status = 0;
    for (int waited = 0; waited < 5000 && waitpid(pid, &status, WNOHANG) == 0; waited += 10)
        usleep(10000);
    if (waitpid(pid, &status, WNOHANG) == 0) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
    }
    run.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    // Let the server forget the closed window before the next start.
    XSync(display, True);
    return run;
}

double median(std::vector<double> values)
{
    if (values.empty())
        return -1;
    std::sort(values.begin(), values.end());
    size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

}  // namespace

int main(int argc, char *argv[])
{
    bool verbose = false;
    int runs = 5;
    std::vector<Program> programs;
    for (int i = 1; i < argc; i++) {
        std::string arg = argv[i];
        if (arg == "-v") {
            verbose = true;
        } else if (arg == "-r" && i + 1 < argc) {
            runs = std::max(1, std::atoi(argv[++i]));
        } else if (arg == "--") {
            programs.emplace_back();
        } else if (programs.empty() || programs.back().argv.empty()) {
            if (programs.empty())
                programs.emplace_back();
            size_t equals = arg.find('=');
            programs.back().name = equals == std::string::npos ? arg : arg.substr(0, equals);
            programs.back().argv.push_back(equals == std::string::npos ? arg : arg.substr(equals + 1));
        } else {
            programs.back().argv.push_back(arg);
        }
    }
    programs.erase(std::remove_if(programs.begin(), programs.end(), [](const Program &p) { return p.argv.empty(); }),
                   programs.end());
    if (programs.empty()) {
        std::fprintf(stderr, "usage: %s [-v] [-r RUNS] NAME=PROGRAM [ARGS...] [-- NAME=PROGRAM [ARGS...]]...\n",
                     argv[0]);
        return 2;
    }

    Display *display = XOpenDisplay(nullptr);
    int damageEvent = 0, damageError = 0;
    if (!display || !XDamageQueryExtension(display, &damageEvent, &damageError)) {
        std::fprintf(stderr, "bench_startup: no X server with the damage extension\n");
        return 1;
    }
    XSetErrorHandler(ignoreXErrors);

    std::vector<std::vector<Run>> results(programs.size());
    for (int round = 0; round < runs; round++) {
        for (size_t p = 0; p < programs.size(); p++) {
            Run run = measure(display, damageEvent, programs[p], verbose);
            results[p].push_back(run);
            std::printf("%-8s run %d: window %7.1f ms, first frame %7.1f ms (processor %5.0f ms), peak memory "
                        "%6.1f MB (then %.1f MB own, %.1f MB of files), exit %d\n",
                        programs[p].name.c_str(), round + 1, run.mappedMs, run.firstFrameMs, run.cpuMs,
                        run.peakKb / 1024.0, run.anonKb / 1024.0, run.fileKb / 1024.0, run.exitStatus);
            std::fflush(stdout);
        }
    }

    std::printf("\nmedians over %d runs:\n", runs);
    std::vector<double> frameMedians, peakMedians, anonMedians, fileMedians;
    for (size_t p = 0; p < programs.size(); p++) {
        std::vector<double> frames, cpus, peaks, anons, files;
        for (const Run &run : results[p]) {
            if (run.firstFrameMs >= 0)
                frames.push_back(run.firstFrameMs);
            if (run.cpuMs >= 0)
                cpus.push_back(run.cpuMs);
            if (run.peakKb >= 0)
                peaks.push_back(run.peakKb / 1024.0);
            if (run.anonKb >= 0 && run.fileKb >= 0) {
                anons.push_back(run.anonKb / 1024.0);
                files.push_back(run.fileKb / 1024.0);
            }
        }
        frameMedians.push_back(median(frames));
        peakMedians.push_back(median(peaks));
        anonMedians.push_back(median(anons));
        fileMedians.push_back(median(files));
        std::printf("%-8s first frame %7.1f ms (processor %5.0f ms)   peak memory %6.1f MB (then %.1f MB own, "
                    "%.1f MB of files)   (%zu of %d runs showed a frame)\n",
                    programs[p].name.c_str(), frameMedians.back(), median(cpus), peakMedians.back(),
                    anonMedians.back(), fileMedians.back(), frames.size(), runs);
    }
    // Every later program against the first one.
    for (size_t p = 1; p < programs.size(); p++) {
        if (frameMedians[0] <= 0 || frameMedians[p] < 0)
            continue;
        std::printf("%s against %s: first frame %.2f x, peak memory %+.1f MB (own %+.1f, files %+.1f)\n",
                    programs[p].name.c_str(), programs[0].name.c_str(), frameMedians[p] / frameMedians[0],
                    peakMedians[p] - peakMedians[0], anonMedians[p] - anonMedians[0], fileMedians[p] - fileMedians[0]);
    }
    return 0;
}
