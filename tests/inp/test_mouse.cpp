// The mouse as the engine sees it, fed by injected SDL mouse events: buttons
// numbered from 1, relative motion and wheel, the cursor in client pixels, and
// the system cursor hidden exactly while over the active window.
#include "tests/inp/inp_fixture.h"

namespace {

using inptest::InputTest;

// The window layer's display counter, read without changing it.
int cursorCounter()
{
    int counter = ShowCursor(TRUE) - 1;
    ShowCursor(FALSE);
    return counter;
}

TEST_F(InputTest, ButtonsAreNumberedFromOneAndClickOnce)
{
    startInput();
    pushButton(SDL_BUTTON_RIGHT, true);
    pushButton(SDL_BUTTON_LEFT, true);
    ASSERT_EQ(frame(), 1);
    EXPECT_EQ(m_tarnis->INP_MouseGetAnyPressedKey(), 1);
    EXPECT_TRUE(m_tarnis->INP_MouseIsKeyPressed(1));
    EXPECT_TRUE(m_tarnis->INP_MouseIsKeyPressed(2));
    EXPECT_TRUE(m_tarnis->INP_MouseIsKeyClicked(1));
    ASSERT_EQ(frame(), 1);
    EXPECT_TRUE(m_tarnis->INP_MouseIsKeyPressed(1));
    EXPECT_FALSE(m_tarnis->INP_MouseIsKeyClicked(1));

    pushButton(SDL_BUTTON_RIGHT, false);
    pushButton(SDL_BUTTON_LEFT, false);
    pushButton(SDL_BUTTON_MIDDLE, true);
    ASSERT_EQ(frame(), 1);
    EXPECT_EQ(m_tarnis->INP_MouseGetAnyPressedKey(), 3);
    pushButton(SDL_BUTTON_MIDDLE, false);
    pushButton(SDL_BUTTON_X2, true);
    ASSERT_EQ(frame(), 1);
    EXPECT_EQ(m_tarnis->INP_MouseGetAnyPressedKey(), 5);
    pushButton(SDL_BUTTON_X2, false);
    ASSERT_EQ(frame(), 1);
    EXPECT_EQ(m_tarnis->INP_MouseGetAnyPressedKey(), 0);
    // Numbers that name no button are simply not pressed.
    EXPECT_FALSE(m_tarnis->INP_MouseIsKeyPressed(0));
    EXPECT_FALSE(m_tarnis->INP_MouseIsKeyClicked(9));
    EXPECT_FALSE(m_tarnis->INP_MouseIsKeyPressed(255));
}

TEST_F(InputTest, MotionWheelAndCursorAreSinceTheLastSample)
{
    startInput();
    pushMotion(410, 300, 10, 0);
    pushMotion(415, 297, 5, -3);
    pushWheel(-2);
    ASSERT_EQ(frame(), 1);
    EXPECT_EQ(m_tarnis->INP_MouseGetDeltaX(), 15);
    EXPECT_EQ(m_tarnis->INP_MouseGetDeltaY(), -3);
    EXPECT_EQ(m_tarnis->m_MouseState.lZ, -240);
    EXPECT_EQ(m_tarnis->INP_MouseGetWheelDelta(), -1);
    EXPECT_EQ(m_tarnis->INP_MouseGetCursorPos().x, 415);
    EXPECT_EQ(m_tarnis->INP_MouseGetCursorPos().y, 297);

    pushWheel(1);
    pushMotion(405, 302);
    ASSERT_EQ(frame(), 1);
    EXPECT_EQ(m_tarnis->m_MouseState.lZ, 120);
    EXPECT_EQ(m_tarnis->INP_MouseGetWheelDelta(), 1);
    EXPECT_EQ(m_tarnis->INP_MouseGetDeltaX(), 0) << "the relative motion of the event, not the position's";
    EXPECT_EQ(m_tarnis->INP_MouseGetCursorDeltaX(), -10);
    EXPECT_EQ(m_tarnis->INP_MouseGetCursorDeltaY(), 5);

    ASSERT_EQ(frame(), 1);
    EXPECT_EQ(m_tarnis->INP_MouseGetWheelDelta(), 0);
    EXPECT_EQ(m_tarnis->INP_MouseGetCursorDeltaX(), 0);
}

TEST_F(InputTest, CursorInLetterboxedFullScreenIsInBackBufferPixels)
{
    // A 640 x 400 back buffer on the desktop-sized window is scaled uniformly
    // and centred; the expected numbers come from that rectangle.
    startInput(640, 400, false);
    SDL_Rect shown{};
    ASSERT_TRUE(TnsGetPresentRect(m_window, &shown));
    ASSERT_GT(shown.w, 0);
    pushMotion(shown.x + shown.w / 2, shown.y + shown.h / 2);
    ASSERT_EQ(frame(), 1);
    POINT p = m_tarnis->INP_MouseGetCursorPos();
    EXPECT_NEAR(p.x, 320, 1);
    EXPECT_NEAR(p.y, 200, 1);
    EXPECT_TRUE(m_tarnis->INP_MouseGetCursorStatus());
    pushMotion(shown.x + shown.w - 1, shown.y + shown.h - 1);
    ASSERT_EQ(frame(), 1);
    p = m_tarnis->INP_MouseGetCursorPos();
    EXPECT_EQ(p.x, 639);
    EXPECT_EQ(p.y, 399);
    if (shown.y > 0) {
        // On the bar above the picture: outside the client area.
        pushMotion(shown.x + shown.w / 2, shown.y - 1);
        ASSERT_EQ(frame(), 1);
        EXPECT_LT(m_tarnis->INP_MouseGetCursorPos().y, 0);
        EXPECT_FALSE(m_tarnis->INP_MouseGetCursorStatus());
    }
}

TEST_F(InputTest, SystemCursorIsHiddenAndShownOncePerCrossing)
{
    const int base = cursorCounter();
    startInput();
    pushMotion(400, 300);
    ASSERT_EQ(frame(), 1);
    EXPECT_TRUE(m_tarnis->INP_MouseGetCursorStatus());
    EXPECT_EQ(cursorCounter(), base - 1);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), base - 1 >= 0 ? SDL_ENABLE : SDL_DISABLE);
    pushMotion(410, 300);
    ASSERT_EQ(frame(), 1);
    EXPECT_EQ(cursorCounter(), base - 1);

    // Leaving through the right edge: SDL reports no position outside, only the leave.
    pushMotion(798, 300);
    pushWindowEvent(SDL_WINDOWEVENT_LEAVE);
    ASSERT_EQ(frame(), 1);
    EXPECT_FALSE(m_tarnis->INP_MouseGetCursorStatus());
    EXPECT_EQ(m_tarnis->INP_MouseGetCursorPos().x, 800);
    EXPECT_EQ(cursorCounter(), base);
    ASSERT_EQ(frame(), 1);
    EXPECT_EQ(cursorCounter(), base);

    pushWindowEvent(SDL_WINDOWEVENT_ENTER);
    pushMotion(790, 300);
    ASSERT_EQ(frame(), 1);
    EXPECT_EQ(cursorCounter(), base - 1);
    // The end shows what the sample hid, once.
    m_tarnis->INP_Deinit();
    EXPECT_EQ(cursorCounter(), base);
}

TEST_F(InputTest, InactiveWindowCountsAsCursorOutside)
{
    const int base = cursorCounter();
    startInput();
    pushMotion(400, 300);
    ASSERT_EQ(frame(), 1);
    ASSERT_TRUE(m_tarnis->INP_MouseGetCursorStatus());
    // The window stops being the active one while the cursor stays over it.
    ASSERT_EQ(PostMessage(m_window, WM_ACTIVATE, WA_INACTIVE, 0), TRUE);
    EXPECT_EQ(frame(), 0);
    m_tarnis->INP_Update();
    EXPECT_FALSE(m_tarnis->INP_MouseGetCursorStatus());
    EXPECT_EQ(cursorCounter(), base);
}

} // namespace
