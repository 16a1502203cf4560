// Preloaded into the programs whose start-up bench_startup measures: stamps the
// moment the first frame reaches the window (the first SDL_UpdateWindowSurface)
// on the descriptor named by TARNIS_BENCH_PROBE_FD, then calls SDL's own.
// Nothing of the program is changed; only the benchmark loads this library.
#include <dlfcn.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

struct SDL_Window;

extern "C" int SDL_UpdateWindowSurface(SDL_Window* window)
{
    using UpdateFn = int (*)(SDL_Window*);
    static const UpdateFn real = reinterpret_cast<UpdateFn>(dlsym(RTLD_NEXT, "SDL_UpdateWindowSurface"));
    static bool stamped = false;
    // The frame is on the window surface already: stamp before SDL copies it out.
    if (!stamped) {
        stamped = true;
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        if (const char* fd = getenv("TARNIS_BENCH_PROBE_FD")) {
            char line[64];
            const int n = snprintf(line, sizeof(line), "%lld %ld\n", static_cast<long long>(now.tv_sec), now.tv_nsec);
            if (write(atoi(fd), line, size_t(n)) != n) perror("startup probe");
        }
    }
    return real ? real(window) : -1;
}
