// Preloaded into the programs whose start-up the benchmarks measure: stamps the
// moment the first frame reaches the window (the first SDL_UpdateWindowSurface,
// or SDL_GL_SwapWindow for peers drawing with OpenGL) on the descriptor named
// by TARNIS_BENCH_PROBE_FD with the CPU time the process has used so far, then
// calls SDL's own. At the program's exit it
// writes how many frames were presented in all.
// Nothing of the program is changed; only the benchmark loads this library.
#include <dlfcn.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>

struct SDL_Window;

namespace {

long g_frames = 0;

void writeLine(const char* line, int n)
{
    if (const char* fd = getenv("TARNIS_BENCH_PROBE_FD"))
        if (write(atoi(fd), line, size_t(n)) != n) perror("startup probe");
}

__attribute__((destructor)) void countFrames()
{
    // The benchmark may have stopped listening.
    signal(SIGPIPE, SIG_IGN);
    char line[64];
    writeLine(line, snprintf(line, sizeof(line), "frames %ld\n", g_frames));
}

void stampOnce()
{
    if (g_frames++ > 0) return;
    timespec now{}, cpu{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu);
    char line[96];
    writeLine(line, snprintf(line, sizeof(line), "%lld %ld %.3f\n", static_cast<long long>(now.tv_sec), now.tv_nsec,
                             double(cpu.tv_sec) * 1e3 + double(cpu.tv_nsec) / 1e6));
}

} // namespace

extern "C" int SDL_UpdateWindowSurface(SDL_Window* window)
{
    using UpdateFn = int (*)(SDL_Window*);
    static const UpdateFn real = reinterpret_cast<UpdateFn>(dlsym(RTLD_NEXT, "SDL_UpdateWindowSurface"));
    // TARNIS_BENCH_PROBE_SKIP updates are not frames (the engine's window shows
    // its black class background once, before anything is drawn).
    static int skip = getenv("TARNIS_BENCH_PROBE_SKIP") ? atoi(getenv("TARNIS_BENCH_PROBE_SKIP")) : 0;
    // The frame is on the window surface already: stamp before SDL copies it out.
    if (skip > 0) --skip;
    else stampOnce();
    return real ? real(window) : -1;
}

extern "C" void SDL_GL_SwapWindow(SDL_Window* window)
{
    using SwapFn = void (*)(SDL_Window*);
    static const SwapFn real = reinterpret_cast<SwapFn>(dlsym(RTLD_NEXT, "SDL_GL_SwapWindow"));
    stampOnce();
    if (real) real(window);
}
