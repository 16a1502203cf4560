// The game window on the window-system layer, headless: client size, focus
// messages from SDL window events, closing, the quit signals and waiting.
#include <csignal>
#include <thread>
#include <tuple>

#include "engine/core/tns_window.h"
#include "engine/platform/win32/tns_sdl_internal.h"
#include "tests/support/sdl_events.h"
#include "tests/support/test_support.h"

namespace {

int g_lost = 0;
int g_restored = 0;

class WindowTest : public tst::InScratchDir {
protected:
    void SetUp() override
    {
        g_bWindowActive = false;
        g_lost = g_restored = 0;
        m_tarnis = new CTarnis;
        m_tarnis->LOG_WriteHeader("Window Test", "v.2");
    }
    void TearDown() override
    {
        if (m_window) DestroyGameWindow(m_window);
        delete m_tarnis;
    }
    void pushWindowEvent(Uint8 event) { ASSERT_TRUE(tst::pushWindowEvent(m_window, event)); }

    CTarnis* m_tarnis = nullptr;
    HWND m_window = nullptr;
};

TEST_F(WindowTest, WindowedClientAreaIsExactlyTheRequestedSize)
{
    CreateGameWindow(&m_window, 800, 600, true);
    ASSERT_NE(m_window, nullptr);
    EXPECT_EQ(m_tarnis->m_hGameWindow, m_window);
    EXPECT_TRUE(g_bWindowActive);
    RECT client{}, window{};
    GetClientRect(m_window, &client);
    GetWindowRect(m_window, &window);
    EXPECT_EQ(std::pair(client.right - client.left, client.bottom - client.top), std::pair(LONG(800), LONG(600)));
    EXPECT_EQ(std::pair(window.left, window.top), std::pair(LONG(100), LONG(100)));
    SDL_Window* sdl = TnsGetSdlWindow(m_window);
    ASSERT_NE(sdl, nullptr);
    int w = 0, h = 0;
    SDL_GetWindowSize(sdl, &w, &h);
    EXPECT_EQ(std::pair(w, h), std::pair(800, 600));
    EXPECT_STREQ(SDL_GetWindowTitle(sdl), "Window Test");
    EXPECT_FALSE(TNS_IsWindowFullScreen(m_window));
}

TEST_F(WindowTest, FullScreenKeepsTheRequestedBackBufferSize)
{
    CreateGameWindow(&m_window, 640, 480, false);
    EXPECT_TRUE(TNS_IsWindowFullScreen(m_window));
    int w = 0, h = 0;
    ASSERT_TRUE(TNS_GetWindowBackBufferSize(m_window, &w, &h));
    EXPECT_EQ(std::pair(w, h), std::pair(640, 480));
}

TEST_F(WindowTest, FocusLossAndGainAndMinimisingAreHandledOnceEach)
{
    m_tarnis->SYS_RegisterCallback([] { ++g_lost; }, TRS_CALLBACK_LOSTFOCUS);
    m_tarnis->SYS_RegisterCallback([] { ++g_restored; }, TRS_CALLBACK_RESTOREDFOCUS);
    CreateGameWindow(&m_window, 320, 200, true);
    EXPECT_EQ(m_tarnis->SYS_UpdateAllSystems(), 1);

    pushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
    pushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
    EXPECT_EQ(m_tarnis->SYS_UpdateAllSystems(), 0) << "inactive: nothing is updated";
    EXPECT_FALSE(g_bWindowActive);
    EXPECT_EQ(tst::logCount("FOCUS LOST"), 1);
    EXPECT_EQ(g_lost, 1);

    pushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
    pushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
    EXPECT_EQ(m_tarnis->SYS_UpdateAllSystems(), 1);
    EXPECT_TRUE(g_bWindowActive);
    EXPECT_EQ(tst::logCount("FOCUS GAINED"), 1);
    EXPECT_EQ(g_restored, 1);
    EXPECT_LT(m_tarnis->SYS_TimerGetDeltaMs(), 100) << "time without focus does not reach the delta";

    // Minimising counts as a deactivation.
    pushWindowEvent(SDL_WINDOWEVENT_MINIMIZED);
    m_tarnis->SYS_ProcessMessages();
    EXPECT_FALSE(g_bWindowActive);
    EXPECT_EQ(tst::logCount("FOCUS LOST"), 2);
    EXPECT_EQ(g_lost, 2);
    // An activation carrying the minimised flag in its high word is no activation.
    GameWindowProc(m_window, WM_ACTIVATE, WA_ACTIVE | (WPARAM(1) << 16), 0);
    EXPECT_FALSE(g_bWindowActive);
    GameWindowProc(m_window, WM_ACTIVATE, WA_CLICKACTIVE, 0);
    EXPECT_TRUE(g_bWindowActive);
    EXPECT_EQ(tst::logCount("FOCUS GAINED"), 2);
}

TEST_F(WindowTest, ClosingTheWindowEndsTheLoop)
{
    CreateGameWindow(&m_window, 320, 200, true);
    pushWindowEvent(SDL_WINDOWEVENT_CLOSE);
    static int frames = 0;
    frames = 0;
    RunMainLoop([] {
        ++frames;
        return frames < 1000;
    });
    EXPECT_LT(frames, 1000);
    EXPECT_TRUE(IsQuitRequested());
    EXPECT_FALSE(g_bWindowActive);
}

TEST_F(WindowTest, QuitSignalIsPostedAsTheQuitMessage)
{
    CreateGameWindow(&m_window, 320, 200, true);
    TNS_InstallQuitSignals();
    EXPECT_EQ(m_tarnis->SYS_UpdateAllSystems(), 1);
    raise(SIGTERM);
    EXPECT_EQ(m_tarnis->SYS_UpdateAllSystems(), -1);
    raise(SIGINT);
    EXPECT_EQ(m_tarnis->SYS_ProcessMessages(), -1);
    EXPECT_EQ(m_tarnis->SYS_ProcessMessages(), 0);
}

TEST_F(WindowTest, WaitMessageBlocksUntilAnEventArrives)
{
    CreateGameWindow(&m_window, 320, 200, true);
    m_tarnis->SYS_ProcessMessages();
    Uint32 start = SDL_GetTicks();
    std::thread later([this] {
        SDL_Delay(150);
        tst::pushWindowEvent(m_window, SDL_WINDOWEVENT_FOCUS_LOST);
    });
    WaitMessage();
    later.join();
    EXPECT_GE(SDL_GetTicks() - start, 140u);
    m_tarnis->SYS_ProcessMessages();
    EXPECT_FALSE(g_bWindowActive);
}

TEST_F(WindowTest, ShowCursorCountsLikeTheDisplayCounter)
{
    int base = ShowCursor(TRUE) - 1;
    EXPECT_EQ(ShowCursor(FALSE), base);
    EXPECT_EQ(ShowCursor(FALSE), base - 1);
    EXPECT_EQ(ShowCursor(TRUE), base);
}

TEST_F(WindowTest, LetterboxMapsWindowPointsToBackBufferPixels)
{
    CreateGameWindow(&m_window, 800, 600, true);
    SDL_Rect r{};
    ASSERT_TRUE(TnsGetPresentRect(m_window, &r));
    EXPECT_EQ(std::pair(r.x, r.w), std::pair(0, 800));
    int bx = 0, by = 0;
    ASSERT_TRUE(TnsWindowToBackBuffer(m_window, 10, 20, &bx, &by));
    EXPECT_EQ(std::pair(bx, by), std::pair(10, 20));

    // A 1600 x 900 window shows 800 x 600 at 1.5x: 1200 x 900, bars of 200 px.
    SDL_SetWindowSize(TnsGetSdlWindow(m_window), 1600, 900);
    ASSERT_TRUE(TnsGetPresentRect(m_window, &r));
    EXPECT_EQ(std::tuple(r.x, r.y, r.w, r.h), std::tuple(200, 0, 1200, 900));
    TnsWindowToBackBuffer(m_window, 200 + 1199, 899, &bx, &by);
    EXPECT_EQ(std::pair(bx, by), std::pair(799, 599));
    TnsWindowToBackBuffer(m_window, 199, 0, &bx, &by);
    EXPECT_EQ(bx, -1) << "a point on the left bar is outside the picture";
}

} // namespace
