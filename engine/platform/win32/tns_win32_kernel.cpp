// Kernel-side pieces of the window-system subset: the named single-instance
// guard, the last-error slot, clocks, the message box and the quit signals.
// The guard is an abstract-namespace Unix socket bound per user: the kernel
// releases it when the process dies, so a crash never leaves a stale lock.
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <string>

#include "engine/platform/win32/tns_sdl_internal.h"
#include "engine/platform/win32/tns_win32_testing.h"

namespace {

DWORD g_lastError = ERROR_SUCCESS;
TnsMsClock g_msClock = nullptr;
TnsLocalClock g_localClock = nullptr;
volatile sig_atomic_t g_quitSignal = 0;

struct MutexObject {
    int fd;
};

DWORD systemMilliseconds()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return DWORD(uint64_t(ts.tv_sec) * 1000u + uint64_t(ts.tv_nsec) / 1000000u);
}

void onQuitSignal(int)
{
    g_quitSignal = 1;
}

bool displayAvailable()
{
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver) driver = getenv("SDL_VIDEODRIVER");
    if (driver && (!strcmp(driver, "dummy") || !strcmp(driver, "offscreen"))) return false;
    return getenv("DISPLAY") || getenv("WAYLAND_DISPLAY");
}

} // namespace

HANDLE CreateMutex(void*, BOOL, const char* name)
{
    g_lastError = ERROR_SUCCESS;
    if (!name) return new MutexObject{-1};
    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        g_lastError = ERROR_ACCESS_DENIED;
        return nullptr;
    }
    std::string key = std::string(name) + "/uid" + std::to_string(getuid());
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    // Abstract namespace: leading NUL, no file in the file system.
    size_t len = std::min(key.size(), sizeof(addr.sun_path) - 1);
    memcpy(addr.sun_path + 1, key.data(), len);
    socklen_t addrLen = socklen_t(offsetof(sockaddr_un, sun_path) + 1 + len);
    if (bind(fd, reinterpret_cast<sockaddr*>(&addr), addrLen) != 0) {
        int err = errno;
        close(fd);
        if (err != EADDRINUSE) {
            g_lastError = ERROR_ACCESS_DENIED;
            return nullptr;
        }
        // Like the named mutex: another process owns the name; the caller gets
        // a handle of its own and learns it from the last error.
        g_lastError = ERROR_ALREADY_EXISTS;
        return new MutexObject{-1};
    }
    return new MutexObject{fd};
}

BOOL CloseHandle(HANDLE handle)
{
    auto* m = static_cast<MutexObject*>(handle);
    if (!m) return FALSE;
    if (m->fd >= 0) close(m->fd);
    delete m;
    return TRUE;
}

DWORD GetLastError()
{
    return g_lastError;
}

void SetLastError(DWORD error)
{
    g_lastError = error;
}

void GetLocalTime(SYSTEMTIME* st)
{
    if (!st) return;
    if (g_localClock) {
        g_localClock(st);
        return;
    }
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    tm local{};
    localtime_r(&ts.tv_sec, &local);
    st->wYear = WORD(local.tm_year + 1900);
    st->wMonth = WORD(local.tm_mon + 1);
    st->wDayOfWeek = WORD(local.tm_wday);
    st->wDay = WORD(local.tm_mday);
    st->wHour = WORD(local.tm_hour);
    st->wMinute = WORD(local.tm_min);
    st->wSecond = WORD(local.tm_sec);
    st->wMilliseconds = WORD(ts.tv_nsec / 1000000);
}

DWORD timeGetTime()
{
    return g_msClock ? g_msClock() : systemMilliseconds();
}

void Sleep(DWORD milliseconds)
{
    timespec ts{time_t(milliseconds / 1000), long(milliseconds % 1000) * 1000000L};
    while (nanosleep(&ts, &ts) != 0 && errno == EINTR) {
    }
}

void TNS_SetClockSource(TnsMsClock msClock, TnsLocalClock localClock)
{
    g_msClock = msClock;
    g_localClock = localClock;
}

int MessageBox(HWND hwnd, const char* text, const char* caption, UINT type)
{
    text = text ? text : "";
    caption = caption ? caption : "";
    if (displayAvailable()) {
        Uint32 flags = (type & MB_ICONERROR) ? SDL_MESSAGEBOX_ERROR
                       : (type & MB_ICONEXCLAMATION) ? SDL_MESSAGEBOX_WARNING
                                                     : SDL_MESSAGEBOX_INFORMATION;
        if (SDL_ShowSimpleMessageBox(flags, caption, text, TnsGetSdlWindow(hwnd)) == 0) return IDOK;
    }
    // No display to show it on: the text must still reach the person.
    fprintf(stderr, "%s: %s\n", caption, text);
    return IDOK;
}

void TNS_InstallQuitSignals()
{
    struct sigaction sa{};
    sa.sa_handler = onQuitSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
}

bool TnsTakeQuitSignal()
{
    if (!g_quitSignal) return false;
    g_quitSignal = 0;
    return true;
}
