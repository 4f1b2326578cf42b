// bench_play.cpp: what a play-screen frame costs on this machine's OpenGL: CPU time per frame with
// a nearly full board and with an empty one, the share of it spent in the game's own code, and how
// much of a core the running game takes with a few blocks on the board.
#include <link.h>
#include <signal.h>
#include <time.h>
#include <ucontext.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "SDL.h"
#include "app/loop.h"
#include "app/picture.h"
#include "base/state.h"
#include "game/rules.h"

namespace {

double processCpuMs()
{
    timespec t;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

double wallMs()
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// Where the main thread's CPU time goes, sampled once per millisecond of it: in the game's own
// machine code (this executable), in the C++ library it calls, or elsewhere (OpenGL, SDL, C library).
struct CodeRange {
    uintptr_t begin, end;
    bool cxx;
};
CodeRange ranges[16];
int rangeCount;
volatile sig_atomic_t samples, gameSamples, cxxSamples;

int collectRanges(dl_phdr_info *info, size_t, void *)
{
    bool executable = !info->dlpi_name || !info->dlpi_name[0];
    bool cxx = info->dlpi_name && std::strstr(info->dlpi_name, "libstdc++");
    for (int i = 0; i < info->dlpi_phnum && (executable || cxx); i++) {
        const ElfW(Phdr) &segment = info->dlpi_phdr[i];
        if (segment.p_type == PT_LOAD && (segment.p_flags & PF_X) && rangeCount < 16)
            ranges[rangeCount++] = {info->dlpi_addr + segment.p_vaddr,
                                    info->dlpi_addr + segment.p_vaddr + segment.p_memsz, cxx};
    }
    return 0;
}

void onSample(int, siginfo_t *, void *context)
{
#if defined(__x86_64__)
    uintptr_t pc = static_cast<ucontext_t *>(context)->uc_mcontext.gregs[REG_RIP];
#elif defined(__aarch64__)
    uintptr_t pc = static_cast<ucontext_t *>(context)->uc_mcontext.pc;
#else
    uintptr_t pc = 0;
#endif
    samples = samples + 1;
    for (int i = 0; i < rangeCount; i++) {
        if (pc >= ranges[i].begin && pc < ranges[i].end) {
            if (ranges[i].cxx)
                cxxSamples = cxxSamples + 1;
            else
                gameSamples = gameSamples + 1;
        }
    }
}

// Starts sampling the calling thread; returns the timer.
timer_t startSampling()
{
    dl_iterate_phdr(collectRanges, nullptr);
    struct sigaction action = {};
    action.sa_sigaction = onSample;
    action.sa_flags = SA_SIGINFO | SA_RESTART;
    sigaction(SIGPROF, &action, nullptr);
    sigevent event = {};
    event.sigev_notify = SIGEV_THREAD_ID;
    event.sigev_signo = SIGPROF;
    event._sigev_un._tid = gettid();  // the thread to signal (glibc names no field for it)
    timer_t timer;
    timer_create(CLOCK_THREAD_CPUTIME_ID, &event, &timer);
    itimerspec every = {{0, 1000000}, {0, 1000000}};
    timer_settime(timer, 0, &every, nullptr);
    return timer;
}

double threadCpuMs()
{
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

double percentile(std::vector<double> values, double share)
{
    std::sort(values.begin(), values.end());
    return values[static_cast<size_t>(share * (values.size() - 1))];
}

// A fresh game at level 1 with the block at the top, in the middle.
void startGame()
{
    std::srand(7);
    newGame();
    game.Screen = GameScreen;
}

// Runs `count` frames of the play screen, each from the same state, and reports their CPU time.
void measureFrames(const char *name, int count, bool sample)
{
    const Round start = game.round;
    for (int i = 0; i < 30; i++) {  // warm-up
        game.round = start;
        runScreen();
        drawView(game.view);
        SDL_GL_SwapBuffers();
    }
    std::vector<double> cpu, wall;
    timer_t timer = {};
    double mainThreadStart = threadCpuMs(), processStart = processCpuMs();
    if (sample)
        timer = startSampling();
    for (int i = 0; i < count; i++) {
        game.round = start;
        game.Screen = GameScreen;
        double cpu0 = processCpuMs(), wall0 = wallMs();
        runScreen();
        drawView(game.view);
        SDL_GL_SwapBuffers();
        cpu.push_back(processCpuMs() - cpu0);
        wall.push_back(wallMs() - wall0);
    }
    if (sample)
        timer_delete(timer);
    std::printf("%s, %d frames: CPU per frame median %.2f ms, 95th percentile %.2f ms; "
                "wall time median %.2f ms\n",
                name, count, percentile(cpu, 0.5), percentile(cpu, 0.95), percentile(wall, 0.5));
    if (!sample || samples == 0)
        return;
    // The game's own code runs on the main thread only; the driver's rasterizer threads do not.
    double mainThread = threadCpuMs() - mainThreadStart, process = processCpuMs() - processStart;
    double own = mainThread * gameSamples / samples, cxx = mainThread * cxxSamples / samples;
    std::printf("  main thread %.0f%% of the process's CPU time; %d samples of it\n",
                100.0 * mainThread / process, static_cast<int>(samples));
    std::printf("  game's own code: %.2f%% of the frame's CPU time (C++ library calls: %.2f%% more)\n",
                100.0 * own / process, 100.0 * cxx / process);
}


// The real main loop, with its sleep, for `passes` passes: the share of one core the whole
// process (the driver's threads included) used. `beforePass` sets up each pass.
double loopShare(int passes, void (*beforePass)(int pass))
{
    double cpu0 = processCpuMs(), wall0 = wallMs();
    for (int pass = 0; pass < passes && game.running; pass++) {
        beforePass(pass);
        runPass();
    }
    return 100.0 * (processCpuMs() - cpu0) / (wallMs() - wall0);
}

// A few blocks on the bottom rows of a level-1 board.
void fewBlocks()
{
    startGame();
    for (int c = 0; c < 8; c++)
        game.round.board[c][14] = game.round.board[c][13] = c % 2;
}

// Every 100 passes a square marked anew with 40 frames to go: the countdown runs, then the
// explosion plays and the cells above fall.
void countdownAndExplosion(int pass)
{
    if (pass % 100 != 0)
        return;
    Round &r = game.round;
    for (int c = 0; c < BoardColumns; c++)
        for (int row = 10; row < BoardRows; row++)
            r.board[c][row] = (c + row) % 2;
    for (int c : {4, 5})
        for (int row : {13, 14})
            r.board[c][row] = MarkedOffset;
    r.explodeCountdown = 40;
    r.clearsLeft = 6;
}

// Every cell filled but the block's path, every third one marked, an explosion playing.
void fillBoard()
{
    startGame();
    Round &r = game.round;
    for (int c = 0; c < BoardColumns; c++)
        for (int row = 0; row < BoardRows; row++) {
            bool path = (c == 9 || c == 10) && row < 4;
            r.board[c][row] = path ? EmptyCell : (c * 7 + row * 3) % 2 + ((c + row) % 3 == 0 ? MarkedOffset : 0);
            r.explosionGrid[c][row] = c >= 12 && c < 18 && row >= 8 && row < 12;
        }
    r.explosionFrame = 12;
    r.explodeCountdown = 300;
    r.score = 123456;
}

}  // namespace

int main(int, char *argv[])
{
    startUp(argv[0]);
    SDL_Delay(500);  // let the window settle and the start-up's work drain
    std::printf("window of %d x %d pixels\n", game.windowWidth, game.windowHeight);

    fillBoard();
    measureFrames("nearly full board", 1500, true);
    startGame();
    measureFrames("empty board", 600, false);

    const int passes = 625;  // 10 s
    fewBlocks();
    std::printf("main loop, level 1 with a few blocks, 10 s: %.1f%% of one core\n", loopShare(passes, [](int) {}));
    fewBlocks();
    std::printf("main loop, a countdown running and an explosion playing, 10 s: %.1f%% of one core\n",
                loopShare(passes, countdownAndExplosion));
    fillBoard();
    std::printf("main loop, nearly full board drawn in every pass, 10 s: %.1f%% of one core\n",
                loopShare(passes, [](int) {
                    Round &r = game.round;
                    r.block.row = 0;          // the block stays in its path at the top
                    r.explosionFrame = 12;    // the explosion goes on
                    forgetPicture();          // every pass draws
                }));
    SDL_Quit();
    return 0;
}
