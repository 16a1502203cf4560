// Process entry, single-instance guard, fatal-error handling, the game window
// with its window procedure, and the main loop.
#include "engine/core/tns_window.h"

#include <exception>
#include <string>

namespace {

constexpr const char* kWindowClass = "trs_gamewindow";
HINSTANCE g_hInstance = nullptr;
CTarnis* g_pTarnis = nullptr;

void writeFatalBlock(const CEHSException& e)
{
    using T = CTarnis;
    T::LOG_AddEmptyLines(2);
    T::LOG_AddSeparator(3);
    T::LOG_AddLevelEntry("Fatal error!", 6);
    T::LOG_AddLevelEntry(std::string("Error type: ") + e.GetTypeName(), 6);
    T::LOG_AddLevelEntry("Error code: " + std::to_string(e.m_iCode), 6);
    T::LOG_AddLevelEntry("Error desc: " + e.m_strDescription, 6);
    T::LOG_AddLevelEntry("Error location: ", 6);
    if (e.m_iType == EHS_TYPE_WIN32) {
        T::LOG_AddLevelEntry("   FileID: " + std::to_string(EHS_GetCheckpointFileID()), 6);
        T::LOG_AddLevelEntry("   Line: " + std::to_string(EHS_GetCheckpointLine()), 6);
    } else {
        T::LOG_AddLevelEntry("   File: " + e.m_strFile, 6);
        T::LOG_AddLevelEntry("   Line: " + std::to_string(e.m_iLine), 6);
    }
    T::LOG_AddLevelEntry(std::string("Last called Lua function name: ") + SCR_GetLastCalledFunctionName(), 6);
    T::LOG_AddSeparator(3);
    T::LOG_AddEmptyLines(2);
}

void logLevel6(const char* text)
{
    CTarnis::LOG_AddLevelEntry(text, 6);
}

} // namespace

HINSTANCE TNS_GetInstanceHandle()
{
    return g_hInstance;
}

void ShutdownAfterFatalError()
{
    CTarnis* t = g_pTarnis;
    if (!t) return;
    g_pTarnis = nullptr;
    t->m_bFatalShutdown = true;
    try {
        delete t;
    } catch (const CEHSException& e) {
        // A second failure while ending: there is nothing left to shut down.
        logLevel6(e.m_strDescription.c_str());
    } catch (const char* text) {
        logLevel6(text);
    } catch (...) {
        logLevel6("EXCEPTION OF UNKNOWN TYPE!");
    }
}

namespace {

// An exception that cannot be caught (thrown through noexcept code or out of a
// thread) still gets the fatal report; the state may be broken, so there is no
// shutdown, only the report and status 1.
[[noreturn]] void onTerminate()
{
    try {
        if (std::exception_ptr pending = std::current_exception()) std::rethrow_exception(pending);
        logLevel6("EXCEPTION OF UNKNOWN TYPE!");
    } catch (const CEHSException& e) {
        e.WriteErrorLog();
        writeFatalBlock(e);
    } catch (const char* text) {
        logLevel6(text);
    } catch (...) {
        logLevel6("EXCEPTION OF UNKNOWN TYPE!");
    }
    TNS_FatalLine("the program cannot continue");
}

} // namespace

int TNS_RunEntry(HINSTANCE instance, const char* instanceName, TnsGameMainFunc gameMain)
{
    HANDLE guard = CreateMutex(nullptr, TRUE, instanceName);
    if (!guard || GetLastError() == ERROR_ALREADY_EXISTS) {
        if (guard) CloseHandle(guard);
        return 0;
    }
    int status = 0;
    std::set_terminate(onTerminate);
    TNS_SetFaultReporter(EHS_WriteFaultReportFromSignal);
    try {
        _set_se_translator(EHS_TranslateStructuredException);
        TNS_InstallQuitSignals();
        EHS_CHECKPOINT(EHS_FILE_TNS_WINDOW);
        g_hInstance = instance;
        g_pTarnis = new CTarnis;
        gameMain(g_pTarnis);
        // Cleared first: if the orderly end itself fails, the handlers must not
        // destroy the object a second time.
        CTarnis* t = g_pTarnis;
        g_pTarnis = nullptr;
        delete t;
    } catch (const CEHSException& e) {
        status = 1;
        e.WriteErrorLog();
        writeFatalBlock(e);
        ShutdownAfterFatalError();
    } catch (const char* text) {
        status = 1;
        logLevel6(text);
        ShutdownAfterFatalError();
    } catch (...) {
        status = 1;
        logLevel6("EXCEPTION OF UNKNOWN TYPE!");
        ShutdownAfterFatalError();
    }
    CloseHandle(guard);
    return status;
}

void CreateGameWindow(HWND* window, int width, int height, bool windowed)
{
    EHS_CHECKPOINT(EHS_FILE_TNS_WINDOW);
    WNDCLASSEX wc{};
    wc.cbSize = sizeof(wc);
    wc.style = CS_HREDRAW | CS_VREDRAW | CS_OWNDC;
    wc.lpfnWndProc = GameWindowProc;
    wc.hInstance = g_hInstance;
    wc.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
    wc.hIconSm = LoadIcon(nullptr, IDI_APPLICATION);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    wc.lpszClassName = kWindowClass;
    if (!RegisterClassEx(&wc)) {
        int32_t code = RegisterClassEx(&wc);
        EHS_THROW(EHS_TYPE_GENERAL, code, "Cannot register window class!");
    }

    CTarnis* t = CTarnis::Instance();
    const char* title = t ? t->m_strAppTitle.c_str() : "";
    if (windowed) {
        *window = CreateWindowEx(WS_EX_CLIENTEDGE, kWindowClass, title, WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                                 100, 100, width, height, nullptr, nullptr, g_hInstance, nullptr);
    } else {
        *window = CreateWindowEx(0, kWindowClass, title, WS_POPUP, 0, 0, width, height, nullptr, nullptr,
                                 g_hInstance, nullptr);
    }
    if (!*window) EHS_THROW(EHS_TYPE_GENERAL, 0, "Invalid window handle returned by CreateWindowEx()");
    if (t) t->m_hGameWindow = *window;

    if (windowed) {
        SetWindowLong(*window, GWL_STYLE, LONG(WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX));
        SetWindowLong(*window, GWL_EXSTYLE, LONG(WS_EX_CLIENTEDGE));
        RECT w{}, c{};
        GetWindowRect(*window, &w);
        GetClientRect(*window, &c);
        int right = w.right + width - (c.right - c.left);
        int bottom = w.bottom + height - (c.bottom - c.top);
        SetWindowPos(*window, HWND_TOP, w.left, w.top, right - w.left, bottom - w.top, 0);
        GetClientRect(*window, &c);
    } else {
        SetWindowLong(*window, GWL_STYLE, LONG(WS_POPUP));
        SetWindowLong(*window, GWL_EXSTYLE, 0);
        SetWindowPos(*window, HWND_TOPMOST, 0, 0, width, height, 0);
    }
    g_bWindowActive = true;
    ShowWindow(*window, SW_SHOW);
}

void DestroyGameWindow(HWND window)
{
    EHS_CHECKPOINT(EHS_FILE_TNS_WINDOW);
    ShowWindow(window, SW_HIDE);
    UnregisterClass(kWindowClass, g_hInstance);
}

LRESULT GameWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CTarnis* t = CTarnis::Instance();
    switch (message) {
    case WM_DESTROY:
        g_bWindowActive = false;
        PostQuitMessage(0);
        return 0;
    case WM_ACTIVATE:
        if (wParam == WA_ACTIVE || wParam == WA_CLICKACTIVE) {
            if (!g_bWindowActive) {
                g_bWindowActive = true;
                if (t) t->SYS_OnFocusGained();
            }
        } else if (g_bWindowActive) {
            g_bWindowActive = false;
            if (t) t->SYS_OnFocusLost();
        }
        return DefWindowProc(hwnd, message, wParam, lParam);
    default:
        return DefWindowProc(hwnd, message, wParam, lParam);
    }
}

void RunMainLoop(bool (*frame)())
{
    CTarnis* t = CTarnis::Instance();
    while (!IsQuitRequested()) {
        int r = t->SYS_UpdateAllSystems();
        if (r == 0) {
            WaitMessage();
        } else if (r == -1) {
            RequestQuit();
        } else if (!frame()) {
            break;
        }
    }
}
