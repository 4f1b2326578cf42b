// bench_intro.cpp: what the title screen costs: CPU time per intro frame (main page, with the
// glow) on this machine's OpenGL, and the share of one core that the built game uses while it
// idles on the main menu, beside the share it would use if it drew every frame.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <signal.h>
#include <string>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "SDL.h"
#include "app/loop.h"
#include "app/picture.h"
#include "base/state.h"

static double processCpuSeconds()
{
    timespec t;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec + t.tv_nsec / 1e9;
}

static double wallSeconds()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// User and system time of another process, all its threads, in seconds.
static double cpuSecondsOf(pid_t pid)
{
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    size_t close = text.rfind(')');
    if (close == std::string::npos)
        return -1;
    // After the command's closing parenthesis: state is field 3, utime 14 and stime 15.
    const char *p = text.c_str() + close + 2;
    long utime = 0, stime = 0;
    for (int field = 3; field <= 15; field++) {
        char *end;
        long value = std::strtol(p, &end, 10);
        if (field == 14)
            utime = value;
        if (field == 15)
            stime = value;
        p = field == 3 ? p + 2 : end + 1;
    }
    return static_cast<double>(utime + stime) / sysconf(_SC_CLK_TCK);
}

// A motion event, so that the frame is drawn: the pointer circles over the menu.
static void movePointer(int frame)
{
    SDL_Event event{};
    event.type = SDL_MOUSEMOTION;
    event.motion.x = static_cast<Uint16>(400 + (frame * 7) % 200 - 100);
    event.motion.y = static_cast<Uint16>(200 + (frame * 3) % 100);
    SDL_PushEvent(&event);
}

// The built game in its own process, sitting on the main menu untouched for `seconds`.
static double idleShareOf(const std::string &exe, double seconds)
{
    pid_t pid = fork();
    if (pid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        execl(exe.c_str(), exe.c_str(), static_cast<char *>(nullptr));
        _exit(127);
    }
    sleep(3);  // start-up and the first frames
    double cpu0 = cpuSecondsOf(pid), wall0 = wallSeconds();
    usleep(static_cast<useconds_t>(seconds * 1e6));
    double cpu1 = cpuSecondsOf(pid), wall1 = wallSeconds();
    kill(pid, SIGTERM);
    int status = 0;
    waitpid(pid, &status, 0);
    return 100.0 * (cpu1 - cpu0) / (wall1 - wall0);
}

int main(int argc, char *argv[])
{
    double seconds = argc > 1 ? std::atof(argv[1]) : 10.0;
    std::string exe = std::string(argv[0]);
    exe = exe.substr(0, exe.rfind('/') + 1) + "tavirel";
    if (argc > 2)
        exe = argv[2];

    startUp(argv[0]);
    const int frames = 300;
    for (int i = 0; i < 30; i++)  // the first frames upload and warm the driver
        runPass();

    // 1. Drawing cost: intro frames back to back, each drawn and swapped, no sleep.
    double cpu0 = processCpuSeconds(), wall0 = wallSeconds();
    for (int i = 0; i < frames; i++) {
        movePointer(i);
        runScreen();
        drawView(game.view);
        SDL_GL_SwapBuffers();
    }
    double cpu1 = processCpuSeconds(), wall1 = wallSeconds();
    std::printf("intro frame (main page, glow), drawn and swapped: %.2f ms CPU, %.2f ms wall, over %d frames\n",
                1000 * (cpu1 - cpu0) / frames, 1000 * (wall1 - wall0) / frames, frames);

    // 2. The main loop at its pace with a drawn frame every pass, as before idle frames were kept.
    int passes = static_cast<int>(seconds * 62.5);
    cpu0 = processCpuSeconds(), wall0 = wallSeconds();
    for (int i = 0; i < passes; i++) {
        movePointer(i);
        runPass();
    }
    cpu1 = processCpuSeconds(), wall1 = wallSeconds();
    std::printf("main loop, every frame drawn (pointer moving): %.1f %% of one core\n",
                100 * (cpu1 - cpu0) / (wall1 - wall0));

    // 3. The same loop with nothing happening.
    cpu0 = processCpuSeconds(), wall0 = wallSeconds();
    for (int i = 0; i < passes; i++)
        runPass();
    cpu1 = processCpuSeconds(), wall1 = wallSeconds();
    std::printf("main loop, idle on the main menu: %.1f %% of one core\n", 100 * (cpu1 - cpu0) / (wall1 - wall0));
    SDL_Quit();

    // 4. The whole game as a player starts it.
    std::printf("%s idle on the main menu for %.0f s: %.1f %% of one core\n", exe.c_str(), seconds,
                idleShareOf(exe, seconds));
    return 0;
}
