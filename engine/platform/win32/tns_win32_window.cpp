// Window classes, windows and the thread's message queue on SDL2, standing in
// for the Win32 user functions the engine calls. SDL window events become
// WM_ACTIVATE/WM_CLOSE messages; every SDL event also reaches the event sinks.
// Limits: one thread, top-level windows only, no painting messages.
#include <array>
#include <cstring>
#include <string>

#include "engine/platform/win32/tns_sdl_internal.h"
#include "engine/platform/win32/tns_win32_testing.h"

struct TnsWindow {
    SDL_Window* sdl = nullptr;
    Uint32 sdlId = 0;
    std::string className;
    WNDPROC proc = nullptr;
    DWORD style = 0;
    DWORD exStyle = 0;
    int x = 0, y = 0, width = 0, height = 0;
    int backWidth = 0, backHeight = 0;
    bool destroyed = false;
    // Tracked from window events: some video drivers never set SDL's own flag.
    bool minimised = false;
    TnsWindow* next = nullptr;
};

namespace {

struct WindowClass {
    std::string name;
    WNDCLASSEX wc{};
};

constexpr size_t kMaxClasses = 8;
std::array<WindowClass, kMaxClasses> g_classes;
size_t g_classCount = 0;
TnsWindow* g_windows = nullptr;

// Posted messages. A fixed ring keeps the pump free of allocations; when it is
// full the oldest input-free messages would be lost, so it is sized generously.
constexpr size_t kQueueSize = 256;
std::array<MSG, kQueueSize> g_queue;
size_t g_queueHead = 0;
size_t g_queueCount = 0;

struct Sink {
    TnsEventSink fn;
    void* user;
};
constexpr size_t kMaxSinks = 8;
std::array<Sink, kMaxSinks> g_sinks{};
size_t g_sinkCount = 0;

int g_cursorCounter = 0;
bool g_videoStarted = false;
// The thread's active window: shown windows start active, and the activation
// messages move it as they are delivered (as the window procedure sees them).
HWND g_activeWindow = nullptr;

WindowClass* findClass(const char* name)
{
    for (size_t i = 0; i < g_classCount; ++i)
        if (name && g_classes[i].name == name) return &g_classes[i];
    return nullptr;
}

TnsWindow* findBySdlId(Uint32 id)
{
    for (TnsWindow* w = g_windows; w; w = w->next)
        if (w->sdlId == id && !w->destroyed) return w;
    return nullptr;
}

bool isLive(HWND hwnd)
{
    for (TnsWindow* w = g_windows; w; w = w->next)
        if (w == hwnd) return !w->destroyed;
    return false;
}

LRESULT deliver(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_ACTIVATE) {
        if ((wParam & 0xFFFF) != WA_INACTIVE) g_activeWindow = hwnd;
        else if (g_activeWindow == hwnd) g_activeWindow = nullptr;
    }
    return hwnd->proc(hwnd, message, wParam, lParam);
}

bool enqueue(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (g_queueCount == kQueueSize) return false;
    MSG& m = g_queue[(g_queueHead + g_queueCount) % kQueueSize];
    m = MSG{hwnd, message, wParam, lParam, timeGetTime()};
    ++g_queueCount;
    return true;
}

void translateEvent(const SDL_Event& ev)
{
    for (size_t i = 0; i < g_sinkCount; ++i) g_sinks[i].fn(ev, g_sinks[i].user);
    if (ev.type != SDL_WINDOWEVENT) return;
    TnsWindow* w = findBySdlId(ev.window.windowID);
    if (!w) return;
    if (ev.window.event == SDL_WINDOWEVENT_MINIMIZED) w->minimised = true;
    if (ev.window.event == SDL_WINDOWEVENT_RESTORED || ev.window.event == SDL_WINDOWEVENT_MAXIMIZED)
        w->minimised = false;
    switch (ev.window.event) {
    case SDL_WINDOWEVENT_FOCUS_GAINED:
    case SDL_WINDOWEVENT_RESTORED:
        enqueue(w, WM_ACTIVATE, WA_ACTIVE, 0);
        break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
        enqueue(w, WM_ACTIVATE, WA_INACTIVE, 0);
        break;
    case SDL_WINDOWEVENT_MINIMIZED:
        // Minimised windows report the flag in the high word.
        enqueue(w, WM_ACTIVATE, WA_INACTIVE | (WPARAM(1) << 16), 0);
        break;
    case SDL_WINDOWEVENT_CLOSE:
        enqueue(w, WM_CLOSE, 0, 0);
        break;
    default:
        break;
    }
}

void pumpSdl()
{
    if (TnsTakeQuitSignal()) PostQuitMessage(0);
    if (!g_videoStarted) return;
    SDL_Event ev;
    while (g_queueCount < kQueueSize && SDL_PollEvent(&ev)) translateEvent(ev);
}

// The bounds of the display a window is on (or of the first display).
bool desktopBounds(SDL_Window* sdl, SDL_Rect* bounds)
{
    int display = sdl ? SDL_GetWindowDisplayIndex(sdl) : 0;
    return SDL_GetDisplayBounds(display < 0 ? 0 : display, bounds) == 0 && bounds->w > 0 && bounds->h > 0;
}

void applyFullScreen(TnsWindow* w)
{
    if (!w->sdl) return;
    bool full = (w->style & WS_POPUP) != 0;
    // SDL records a full-screen window as desktop-sized at once but leaves the
    // resizing of the real window to a window manager. Without one (a bare X
    // server) the window would keep its old size and show only a corner of
    // the desktop-sized picture, so it is given the desktop's size first.
    SDL_Rect bounds;
    if (full && desktopBounds(w->sdl, &bounds)) {
        SDL_SetWindowPosition(w->sdl, bounds.x, bounds.y);
        SDL_SetWindowSize(w->sdl, bounds.w, bounds.h);
    }
    SDL_SetWindowFullscreen(w->sdl, full ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
}

} // namespace

bool TnsEnsureVideo()
{
    if (g_videoStarted) return true;
    // We handle SIGINT/SIGTERM ourselves (TNS_InstallQuitSignals).
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // Our pictures are finished in memory: the window system's own shared
    // image takes them as they are. SDL would otherwise route window surfaces
    // through an OpenGL texture, which on X servers without a GPU loads a
    // software GL driver (some 90 MB and a fifth of a second at start) and
    // spends a core's share drawing one textured quad per frame.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
    g_videoStarted = true;
    SDL_ShowCursor(g_cursorCounter >= 0 ? SDL_ENABLE : SDL_DISABLE);
    return true;
}

SDL_Window* TnsGetSdlWindow(HWND hwnd)
{
    return isLive(hwnd) ? hwnd->sdl : nullptr;
}

bool TnsAddEventSink(TnsEventSink sink, void* user)
{
    if (g_sinkCount == kMaxSinks) return false;
    g_sinks[g_sinkCount++] = Sink{sink, user};
    return true;
}

void TnsRemoveEventSink(TnsEventSink sink, void* user)
{
    for (size_t i = 0; i < g_sinkCount; ++i) {
        if (g_sinks[i].fn == sink && g_sinks[i].user == user) {
            g_sinks[i] = g_sinks[--g_sinkCount];
            return;
        }
    }
}

ATOM RegisterClassEx(const WNDCLASSEX* wc)
{
    if (!wc || !wc->lpszClassName || !wc->lpfnWndProc) return 0;
    if (findClass(wc->lpszClassName)) {
        SetLastError(ERROR_CLASS_ALREADY_EXISTS);
        return 0;
    }
    if (g_classCount == kMaxClasses) return 0;
    g_classes[g_classCount] = WindowClass{wc->lpszClassName, *wc};
    return ATOM(++g_classCount);
}

BOOL UnregisterClass(const char* className, HINSTANCE)
{
    WindowClass* cls = findClass(className);
    if (!cls) {
        SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
        return FALSE;
    }
    // The windows of the class go with it.
    for (TnsWindow** link = &g_windows; *link;) {
        TnsWindow* w = *link;
        if (w->className != cls->name) {
            link = &w->next;
            continue;
        }
        *link = w->next;
        if (w->sdl) SDL_DestroyWindow(w->sdl);
        delete w;
    }
    *cls = g_classes[--g_classCount];
    return TRUE;
}

HWND CreateWindowEx(DWORD exStyle, const char* className, const char* title, DWORD style, int x, int y,
                    int width, int height, HWND, HMENU, HINSTANCE, void*)
{
    WindowClass* cls = findClass(className);
    if (!cls) {
        SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
        return nullptr;
    }
    if (width <= 0 || height <= 0 || !TnsEnsureVideo()) return nullptr;
    Uint32 flags = SDL_WINDOW_HIDDEN;
    // Full-screen windows are made desktop-sized in the first place (see applyFullScreen).
    SDL_Rect at{x, y, width, height}, desktop;
    if (style & WS_POPUP) {
        flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
        if (desktopBounds(nullptr, &desktop)) at = desktop;
    }
    SDL_Window* sdl = SDL_CreateWindow(title ? title : "", at.x, at.y, at.w, at.h, flags);
    if (!sdl) return nullptr;
    auto* w = new TnsWindow;
    w->sdl = sdl;
    w->sdlId = SDL_GetWindowID(sdl);
    w->className = cls->name;
    w->proc = cls->wc.lpfnWndProc;
    w->style = style;
    w->exStyle = exStyle;
    w->x = x;
    w->y = y;
    w->width = w->backWidth = width;
    w->height = w->backHeight = height;
    w->next = g_windows;
    g_windows = w;
    return w;
}

BOOL DestroyWindow(HWND hwnd)
{
    if (!isLive(hwnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    hwnd->destroyed = true;
    if (g_activeWindow == hwnd) g_activeWindow = nullptr;
    if (hwnd->sdl) SDL_HideWindow(hwnd->sdl);
    hwnd->proc(hwnd, WM_DESTROY, 0, 0);
    return TRUE;
}

BOOL ShowWindow(HWND hwnd, int cmd)
{
    if (!isLive(hwnd)) return FALSE;
    if (cmd == SW_HIDE) {
        if (g_activeWindow == hwnd) g_activeWindow = nullptr;
        SDL_HideWindow(hwnd->sdl);
        return TRUE;
    }
    SDL_ShowWindow(hwnd->sdl);
    g_activeWindow = hwnd;
    // The class background: the window shows black until something is presented.
    WindowClass* cls = findClass(hwnd->className.c_str());
    if (cls && cls->wc.hbrBackground == GetStockObject(BLACK_BRUSH)) {
        if (SDL_Surface* surface = SDL_GetWindowSurface(hwnd->sdl)) {
            SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0, 0, 0));
            SDL_UpdateWindowSurface(hwnd->sdl);
        }
    }
    return TRUE;
}

BOOL UpdateWindow(HWND hwnd)
{
    return isLive(hwnd) ? TRUE : FALSE;
}

LONG SetWindowLong(HWND hwnd, int index, LONG value)
{
    if (!isLive(hwnd)) return 0;
    DWORD old = 0;
    if (index == GWL_STYLE) {
        old = hwnd->style;
        hwnd->style = DWORD(value);
        if ((old ^ hwnd->style) & WS_POPUP) applyFullScreen(hwnd);
    } else if (index == GWL_EXSTYLE) {
        old = hwnd->exStyle;
        hwnd->exStyle = DWORD(value);
    }
    return LONG(old);
}

BOOL GetWindowRect(HWND hwnd, RECT* rect)
{
    if (!isLive(hwnd) || !rect) return FALSE;
    *rect = RECT{hwnd->x, hwnd->y, hwnd->x + hwnd->width, hwnd->y + hwnd->height};
    return TRUE;
}

BOOL GetClientRect(HWND hwnd, RECT* rect)
{
    if (!isLive(hwnd) || !rect) return FALSE;
    *rect = RECT{0, 0, hwnd->width, hwnd->height};
    return TRUE;
}

BOOL SetWindowPos(HWND hwnd, HWND, int x, int y, int cx, int cy, UINT flags)
{
    if (!isLive(hwnd)) return FALSE;
    if (!(flags & SWP_NOMOVE)) {
        hwnd->x = x;
        hwnd->y = y;
    }
    if (!(flags & SWP_NOSIZE) && cx > 0 && cy > 0) {
        hwnd->width = cx;
        hwnd->height = cy;
    }
    // Full screen is the desktop's size; the back buffer is scaled into it.
    if (!(hwnd->style & WS_POPUP)) {
        SDL_SetWindowPosition(hwnd->sdl, hwnd->x, hwnd->y);
        SDL_SetWindowSize(hwnd->sdl, hwnd->width, hwnd->height);
    }
    if (flags & SWP_SHOWWINDOW) SDL_ShowWindow(hwnd->sdl);
    return TRUE;
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL)
{
    return SetWindowPos(hwnd, HWND_TOP, x, y, width, height, SWP_NOZORDER);
}

HICON LoadIcon(HINSTANCE, intptr_t id)
{
    return reinterpret_cast<HICON>(id);
}

HCURSOR LoadCursor(HINSTANCE, intptr_t id)
{
    return reinterpret_cast<HCURSOR>(id);
}

HGDIOBJ GetStockObject(int id)
{
    return reinterpret_cast<HGDIOBJ>(intptr_t(id) + 1);
}

BOOL PeekMessage(MSG* msg, HWND, UINT, UINT, UINT removeMsg)
{
    if (g_queueCount == 0) pumpSdl();
    if (g_queueCount == 0) return FALSE;
    *msg = g_queue[g_queueHead];
    if (removeMsg & PM_REMOVE) {
        g_queueHead = (g_queueHead + 1) % kQueueSize;
        --g_queueCount;
    }
    return TRUE;
}

BOOL TranslateMessage(const MSG*)
{
    return FALSE;
}

LRESULT DispatchMessage(const MSG* msg)
{
    if (!msg || !isLive(msg->hwnd)) return 0;
    return deliver(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

BOOL WaitMessage()
{
    for (;;) {
        if (g_queueCount > 0) return TRUE;
        pumpSdl();
        if (g_queueCount > 0) return TRUE;
        if (!g_videoStarted) {
            SDL_Delay(50);
            continue;
        }
        // A bounded wait, so a quit signal is noticed within a tenth of a second.
        SDL_WaitEventTimeout(nullptr, 100);
    }
}

void PostQuitMessage(int exitCode)
{
    enqueue(nullptr, WM_QUIT, WPARAM(exitCode), 0);
}

BOOL PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (hwnd && !isLive(hwnd)) return FALSE;
    return enqueue(hwnd, message, wParam, lParam) ? TRUE : FALSE;
}

LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!isLive(hwnd)) return 0;
    return deliver(hwnd, message, wParam, lParam);
}

LRESULT DefWindowProc(HWND hwnd, UINT message, WPARAM, LPARAM)
{
    if (message == WM_CLOSE) DestroyWindow(hwnd);
    return 0;
}

HWND GetActiveWindow()
{
    return isLive(g_activeWindow) ? g_activeWindow : nullptr;
}

int ShowCursor(BOOL show)
{
    g_cursorCounter += show ? 1 : -1;
    if (g_videoStarted) SDL_ShowCursor(g_cursorCounter >= 0 ? SDL_ENABLE : SDL_DISABLE);
    return g_cursorCounter;
}

bool TnsGetPresentRect(HWND hwnd, SDL_Rect* dst)
{
    if (!isLive(hwnd) || !dst) return false;
    int ww = hwnd->backWidth, wh = hwnd->backHeight;
    if (hwnd->sdl) SDL_GetWindowSize(hwnd->sdl, &ww, &wh);
    const int bw = hwnd->backWidth, bh = hwnd->backHeight;
    if (ww == bw && wh == bh) {
        *dst = SDL_Rect{0, 0, bw, bh};
        return true;
    }
    // Uniform scale that fits, computed in integers so both axes agree exactly.
    if (int64_t(ww) * bh <= int64_t(wh) * bw) {
        int h = int(int64_t(bh) * ww / bw);
        *dst = SDL_Rect{0, (wh - h) / 2, ww, h};
    } else {
        int w = int(int64_t(bw) * wh / bh);
        *dst = SDL_Rect{(ww - w) / 2, 0, w, wh};
    }
    return true;
}

bool TnsWindowToBackBuffer(HWND hwnd, int wx, int wy, int* bx, int* by)
{
    SDL_Rect r;
    if (!TnsGetPresentRect(hwnd, &r) || r.w <= 0 || r.h <= 0) return false;
    // Floor division keeps points left of / above the picture negative.
    auto mapAxis = [](int v, int origin, int shown, int size) {
        int64_t n = int64_t(v - origin) * size;
        return int(n >= 0 ? n / shown : -((-n + shown - 1) / shown));
    };
    if (bx) *bx = mapAxis(wx, r.x, r.w, hwnd->backWidth);
    if (by) *by = mapAxis(wy, r.y, r.h, hwnd->backHeight);
    return true;
}

BOOL TNS_GetWindowBackBufferSize(HWND hwnd, int* width, int* height)
{
    if (!isLive(hwnd)) return FALSE;
    if (width) *width = hwnd->backWidth;
    if (height) *height = hwnd->backHeight;
    return TRUE;
}

BOOL TNS_IsWindowFullScreen(HWND hwnd)
{
    return isLive(hwnd) && (hwnd->style & WS_POPUP) ? TRUE : FALSE;
}

bool TnsIsWindowMinimised(HWND hwnd)
{
    if (!isLive(hwnd)) return false;
    return hwnd->minimised || (hwnd->sdl && (SDL_GetWindowFlags(hwnd->sdl) & SDL_WINDOW_MINIMIZED));
}

void TNS_SetActiveWindow(HWND hwnd)
{
    g_activeWindow = hwnd;
}
