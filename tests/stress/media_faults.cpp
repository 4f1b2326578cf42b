// media_faults.cpp: the built game started with each of its media files missing, then damaged;
// every time it must come up, start a game from the menu, play, write the file's log line and
// end with status 0 when its window is closed.
//
//   tavirel_media_faults PLAY_SECONDS [all]
//
// Run inside an X server (tests/own-x-server.sh). Each file is tried missing and then damaged:
// cut short or with another format's bytes, in turn, or both with "all". Real X input through
// xdotool: a click on "new game", then held arrow keys and Space.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "../support.h"

// After the tests' header: Xlib's macros (None, Bool) would break GoogleTest's.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

// Every file the game loads from media/, with the start of its log line (none for the metrics).
struct MediaFile {
    const char *name;
    const char *logLine;
};
const MediaFile Files[] = {
    {"back.jpg", "Texture back.jpg "},         {"intro.jpg", "Texture intro.jpg "},
    {"font1.txt", nullptr},                    {"bobcat36.txt", nullptr},
    {"font1.png", "Texture font1.png "},       {"bobcat36.png", "Texture bobcat36.png "},
    {"klocki.jpg", "Texture klocki.jpg "},     {"posw.png", "Texture posw.png "},
    {"wybuch.png", "Texture wybuch.png "},     {"m2.ogg", "Mix_LoadMUS m2.ogg "},
    {"m1.ogg", "Mix_LoadMUS m1.ogg "},         {"explosion.ogg", "Mix_LoadWAV explosion.ogg "},
    {"nextlevel.ogg", "Mix_LoadWAV nextlevel.ogg "}, {"spadanie.ogg", "Mix_LoadWAV spadanie.ogg "},
    {"ulozone.ogg", "Mix_LoadWAV ulozone.ogg "}, {"greatscore.ogg", "Mix_LoadWAV greatscore.ogg "},
    {"badscore.ogg", "Mix_LoadWAV badscore.ogg "},
};

enum Fault { Missing, CutShort, WrongFormat };
const char *const FaultNames[] = {"missing", "cut short", "wrong format"};

// Bytes of another kind of file: a picture for a sound, a sound for a picture or a font's metrics.
std::string otherFormat(const std::string &name)
{
    std::string source = std::string(TAVIREL_SOURCE_DIR) + "/media/";
    return readFile(source + (name.find(".ogg") != std::string::npos ? "wybuch.png" : "spadanie.ogg"));
}

void damage(const std::string &path, Fault fault)
{
    std::string bytes = readFile(path);
    if (fault == Missing)
        unlink(path.c_str());
    else if (fault == CutShort)
        writeFile(path, bytes.substr(0, bytes.size() * 2 / 5));
    else
        writeFile(path, otherFormat(path));
}

// The log of a start-up with every file in place, but for the damaged file's line: it must be
// there, in its place, and for a file that is missing or of another format it must not say OK.
std::string checkLog(const std::string &log, const MediaFile &file, Fault fault)
{
    std::vector<std::string> expected = linesOf(std::string(WindowLog) + PicturesLog + SoundsLog);
    std::vector<std::string> got = linesOf(log);
    if (got.size() != expected.size())
        return "the log has " + std::to_string(got.size()) + " lines instead of " + std::to_string(expected.size());
    for (size_t i = 0; i < expected.size(); i++) {
        if (got[i] == expected[i])
            continue;
        if (file.logLine && startsWith(expected[i], file.logLine) && startsWith(got[i], file.logLine))
            continue;
        return "line " + std::to_string(i + 1) + " is \"" + got[i] + "\" instead of \"" + expected[i] + "\"";
    }
    if (file.logLine && fault != CutShort) {
        for (const std::string &line : got)
            if (startsWith(line, file.logLine) && (line.find(" OK") != std::string::npos || line.find(" ok") != std::string::npos))
                return "the log says the damaged file loaded: " + line;
    }
    return std::string();
}

// Every fourth pixel of every fourth row of the window.
std::vector<unsigned long> windowPixels(unsigned long window)
{
    static Display *display = XOpenDisplay(nullptr);
    std::vector<unsigned long> pixels;
    XImage *image = display ? XGetImage(display, window, 0, 0, 800, 600, AllPlanes, ZPixmap) : nullptr;
    for (int y = 0; image && y < image->height; y += 4)
        for (int x = 0; x < image->width; x += 4)
            pixels.push_back(XGetPixel(image, x, y));
    if (image)
        XDestroyImage(image);
    return pixels;
}

// Whether the picture moved: a menu left alone keeps its picture, a game in play does not (the
// block falls and moves, and the glow goes with it), whichever picture is missing.
bool pictureMoved(const std::vector<unsigned long> &before, const std::vector<unsigned long> &after)
{
    size_t changed = 0;
    for (size_t i = 0; i < before.size() && i < after.size(); i++)
        changed += before[i] != after[i];
    return !before.empty() && before.size() == after.size() && changed >= 20;
}

// Real X input through the tests' xdotool; a failure is said and the run goes on.
void send(const std::string &arguments)
{
    if (!xdotool(arguments))
        std::fprintf(stderr, "media_faults: xdotool %s failed\n", arguments.c_str());
}

// One run: start, click "new game", play with held keys, close. The problem, or the empty text.
std::string runOnce(const MediaFile &file, Fault fault, int playSeconds)
{
    std::string dir = makeTempDir();
    copyMedia(dir);
    damage(dir + "media/" + file.name, fault);
    pid_t pid = startGameIn(dir);
    unsigned long window = findWindowOf(pid, 30000);
    if (!window) {
        waitForExit(pid, 0);
        return "no window appeared";
    }
    usleep(1500000);
    std::string w = std::to_string(window);
    // "new game" is the first item of the main menu, centred at the top.
    send("mousemove --window " + w + " 400 88 click 1");
    usleep(500000);
    std::vector<unsigned long> start = windowPixels(window);
    const char *keys[] = {"Left", "space", "Right", "Up", "space", "Down"};
    for (int i = 0; i < playSeconds * 2; i++) {
        const char *key = keys[i % 6];
        send(std::string("keydown ") + key + " sleep 0.4 keyup " + key);
    }
    bool playing = pictureMoved(start, windowPixels(window));
    closeWindow(window);
    int status = waitForExit(pid, 30000);
    if (!playing)
        return "no game started from the menu";
    if (status != 0)
        return status < 0 ? std::string("still running 30 s after its window was closed")
                          : "ended with status " + std::to_string(status);
    std::string problem = checkLog(readFile(dir + "log.txt"), file, fault);
    if (problem.empty())
        std::system(("rm -rf '" + dir + "'").c_str());
    else
        problem += " (kept in " + dir + ")";
    return problem;
}

}  // namespace

int main(int argc, char **argv)
{
    int playSeconds = argc > 1 ? std::atoi(argv[1]) : 5;
    bool all = argc > 2 && std::string(argv[2]) == "all";
    int tried = 0, failed = 0, index = 0;
    for (const MediaFile &file : Files) {
        std::vector<Fault> faults = {Missing};
        if (all || index % 2 == 0)
            faults.push_back(CutShort);
        if (all || index % 2 == 1)
            faults.push_back(WrongFormat);
        index++;
        for (Fault fault : faults) {
            std::string problem = runOnce(file, fault, playSeconds);
            tried++;
            std::printf("   %-15s %-13s %s\n", file.name, FaultNames[fault], problem.empty() ? "ok" : problem.c_str());
            std::fflush(stdout);
            failed += !problem.empty();
        }
    }
    std::printf("media_faults: %d media faults tried on %zu files, %d failed\n", tried, sizeof Files / sizeof Files[0],
                failed);
    return failed ? 1 : 0;
}
