// The keyboard as the engine sees it, fed by injected SDL key events: start and
// end, click detection, text entry with its fixed character map, key names, and
// both devices lost across a focus change.
#include "tests/support/engine_checks.h"
#include "tests/inp/inp_fixture.h"

namespace {

using inptest::InputTest;

TEST_F(InputTest, StartBeforeGraphicsRaisesItsMessage)
{
    CreateGameWindow(&m_window, 800, 600, true);
    const CEHSException e = tst::raised([&] { m_tarnis->INP_Init(); });
    EXPECT_EQ(e.m_iType, EHS_TYPE_GAME);
    EXPECT_EQ(e.m_iCode, 0);
    EXPECT_EQ(e.m_strDescription, "Input system should be initialized after graphics system!");
    // The failed start is still ended in order by the destructor (TearDown).
    EXPECT_TRUE(m_tarnis->m_bInputReady);
    EXPECT_EQ(m_tarnis->m_pDirectInput, nullptr);
}

TEST_F(InputTest, StartAndEndLogTheirLinesAndAcquireBothDevices)
{
    startInput();
    EXPECT_TRUE(m_tarnis->m_bInputReady);
    EXPECT_TRUE(m_tarnis->m_bKeyboardAcquired);
    EXPECT_TRUE(m_tarnis->m_bMouseAcquired);
    m_tarnis->INP_Deinit();
    EXPECT_FALSE(m_tarnis->m_bInputReady);
    EXPECT_EQ(m_tarnis->m_pKeyboard, nullptr);
    EXPECT_EQ(m_tarnis->m_pMouse, nullptr);
    EXPECT_EQ(m_tarnis->m_pDirectInput, nullptr);
    EXPECT_EQ(tst::logCount("--==: Initializing Input Subsystem..."), 1);
    EXPECT_EQ(tst::logCount("--==: Deinitializing Input Subsystem..."), 1);
    EXPECT_EQ(tst::logCount("   +: Done."), 2);
}

TEST_F(InputTest, StartInTheBackgroundLogsTheAcquireFailuresAndRecoversOnFocus)
{
    CreateGameWindow(&m_window, 800, 600, true);
    g_bWindowActive = false;
    TNS_SetActiveWindow(nullptr);
    m_tarnis->m_bGraphicsDeviceReady = true;
    m_tarnis->INP_Init();
    EXPECT_FALSE(m_tarnis->m_bKeyboardAcquired);
    EXPECT_FALSE(m_tarnis->m_bMouseAcquired);
    EXPECT_EQ(tst::logCount(" !: Cannot acquire keyboard!"), 1);
    EXPECT_EQ(tst::logCount(" !: Cannot acquire mouse!"), 1);
    // DIERR_OTHERAPPHASPRIO as a signed decimal, after each of the two lines.
    EXPECT_EQ(tst::logCount(" !: -2147024891"), 2);

    pushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
    pushKey(SDL_SCANCODE_Q, true);
    ASSERT_EQ(frame(), 1);
    EXPECT_TRUE(m_tarnis->m_bKeyboardAcquired);
    EXPECT_TRUE(m_tarnis->m_bMouseAcquired);
    EXPECT_TRUE(m_tarnis->INP_KeyboardIsKeyPressed(DIK_Q));
}

TEST_F(InputTest, ClickLastsExactlyOneSample)
{
    startInput();
    pushKey(SDL_SCANCODE_ESCAPE, true);
    ASSERT_EQ(frame(), 1);
    EXPECT_TRUE(m_tarnis->INP_KeyboardIsKeyPressed(DIK_ESCAPE));
    EXPECT_TRUE(m_tarnis->INP_KeyboardIsKeyClicked(DIK_ESCAPE));
    EXPECT_EQ(m_tarnis->INP_KeyboardGetAnyPressedKey(), DIK_ESCAPE);
    // Still held: pressed, no longer clicked.
    ASSERT_EQ(frame(), 1);
    EXPECT_TRUE(m_tarnis->INP_KeyboardIsKeyPressed(DIK_ESCAPE));
    EXPECT_FALSE(m_tarnis->INP_KeyboardIsKeyClicked(DIK_ESCAPE));
    pushKey(SDL_SCANCODE_ESCAPE, false);
    ASSERT_EQ(frame(), 1);
    EXPECT_FALSE(m_tarnis->INP_KeyboardIsKeyPressed(DIK_ESCAPE));
    EXPECT_FALSE(m_tarnis->INP_KeyboardIsKeyClicked(DIK_ESCAPE));
    EXPECT_EQ(m_tarnis->INP_KeyboardGetAnyPressedKey(), 0);

    // With several keys down the lowest code is reported.
    pushKey(SDL_SCANCODE_UP, true); // 0xC8
    pushKey(SDL_SCANCODE_A, true);  // 0x1E
    ASSERT_EQ(frame(), 1);
    EXPECT_EQ(m_tarnis->INP_KeyboardGetAnyPressedKey(), DIK_A);
}

class TextEntryTest : public InputTest {
protected:
    void SetUp() override
    {
        InputTest::SetUp();
        startInput();
        m_tarnis->INP_KeyboardSetTextBufferStatus(true);
    }
    const std::string& text() { return m_tarnis->INP_KeyboardGetTextInBuffer(); }
};

TEST_F(TextEntryTest, BufferSizeCutsTypingAndTrailingSpace)
{
    m_tarnis->INP_KeyboardSetTextBufferSize(3);
    for (SDL_Scancode k : {SDL_SCANCODE_A, SDL_SCANCODE_B, SDL_SCANCODE_C, SDL_SCANCODE_D}) typeKey(k);
    EXPECT_EQ(text(), "abc");
    typeKey(SDL_SCANCODE_SPACE);
    EXPECT_EQ(text(), "abc");
}

TEST_F(TextEntryTest, ShiftDigitsKeypadAndCapsLock)
{
    pushKey(SDL_SCANCODE_LSHIFT, true);
    typeKey(SDL_SCANCODE_1);
    typeKey(SDL_SCANCODE_2);
    typeKey(SDL_SCANCODE_KP_1);
    typeKey(SDL_SCANCODE_SLASH);
    pushKey(SDL_SCANCODE_LSHIFT, false);
    typeKey(SDL_SCANCODE_KP_1);
    typeKey(SDL_SCANCODE_KP_MULTIPLY);
    EXPECT_EQ(text(), "!@1?1*");

    // Caps Lock is not consulted: letters stay lower case without shift.
    m_tarnis->INP_KeyboardSetTextInBuffer("");
    typeKey(SDL_SCANCODE_CAPSLOCK);
    typeKey(SDL_SCANCODE_X);
    pushKey(SDL_SCANCODE_RSHIFT, true);
    typeKey(SDL_SCANCODE_X);
    EXPECT_EQ(text(), "xX");
}

TEST_F(TextEntryTest, TwoKeysInOneFrameAppendTheFirstInMapOrder)
{
    // B has the lower key code, but letters are tried alphabetically.
    pushKey(SDL_SCANCODE_B, true);
    pushKey(SDL_SCANCODE_A, true);
    ASSERT_EQ(frame(), 1);
    EXPECT_EQ(text(), "a");
    // Space wins over any letter clicked with it.
    pushKey(SDL_SCANCODE_B, false);
    pushKey(SDL_SCANCODE_A, false);
    pushKey(SDL_SCANCODE_C, true);
    pushKey(SDL_SCANCODE_SPACE, true);
    ASSERT_EQ(frame(), 1);
    EXPECT_EQ(text(), "a ");
}

TEST_F(TextEntryTest, BackspaceAndBufferOperations)
{
    typeKey(SDL_SCANCODE_BACKSPACE);
    EXPECT_EQ(text(), "");
    typeKey(SDL_SCANCODE_H);
    typeKey(SDL_SCANCODE_I);
    typeKey(SDL_SCANCODE_BACKSPACE);
    EXPECT_EQ(text(), "h");

    // Setting keeps the text whole; the next step that appends cuts it.
    m_tarnis->INP_KeyboardSetTextBufferSize(4);
    m_tarnis->INP_KeyboardSetTextInBuffer("abcdefg");
    EXPECT_EQ(text(), "abcdefg");
    typeKey(SDL_SCANCODE_SEMICOLON);
    EXPECT_EQ(text(), "abcd");
    // Shrinking the size cuts at once; switching off keeps the contents.
    m_tarnis->INP_KeyboardSetTextBufferSize(2);
    EXPECT_EQ(text(), "ab");
    m_tarnis->INP_KeyboardSetTextBufferStatus(false);
    typeKey(SDL_SCANCODE_BACKSPACE);
    typeKey(SDL_SCANCODE_Z);
    EXPECT_EQ(text(), "ab");
}

TEST(KeyNames, CodesAliasesAndUnknownNames)
{
    EXPECT_EQ(CTarnis::INP_KeyNameToCode("ESCAPE"), 1);
    EXPECT_EQ(CTarnis::INP_KeyNameToCode("escape"), 0);
    EXPECT_EQ(CTarnis::INP_KeyNameToCode(""), 0);
    EXPECT_EQ(CTarnis::INP_KeyNameToCode("ESCAPE "), 0);
    EXPECT_EQ(CTarnis::INP_KeyNameToCode(std::string("ESCAPE\0", 7)), 0);
    EXPECT_EQ(CTarnis::INP_KeyNameToCode(static_cast<const char*>(nullptr)), 0);
    EXPECT_EQ(CTarnis::INP_KeyNameToCode("0"), 0x0B);
    EXPECT_EQ(CTarnis::INP_KeyNameToCode("Z"), 0x2C);
    EXPECT_EQ(CTarnis::INP_KeyNameToCode("F12"), 0x58);
    EXPECT_EQ(CTarnis::INP_KeyNameToCode("NUMPADENTER"), 0x9C);
    EXPECT_EQ(CTarnis::INP_KeyNameToCode("WAKE"), 0xE3);
    // Aliases name the same code as the key they stand for.
    for (const auto& [alias, name] : {std::pair{"BACKSPACE", "BACK"}, {"PGDN", "NEXT"}, {"NUMPADPLUS", "ADD"}}) {
        EXPECT_NE(CTarnis::INP_KeyNameToCode(name), 0) << name;
        EXPECT_EQ(CTarnis::INP_KeyNameToCode(alias), CTarnis::INP_KeyNameToCode(name)) << alias;
    }
}

TEST_F(InputTest, DevicesLostAcrossAFocusChangeAreReacquired)
{
    startInput();
    pushKey(SDL_SCANCODE_W, true);
    pushButton(SDL_BUTTON_LEFT, true);
    ASSERT_EQ(frame(), 1);
    ASSERT_TRUE(m_tarnis->INP_KeyboardIsKeyPressed(DIK_W));

    // Leaving: the releases happen elsewhere and are never seen; motion while away is not ours.
    pushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
    EXPECT_EQ(frame(), 0);
    EXPECT_FALSE(g_bWindowActive);
    pushMotion(400, 300, 50, 50);

    // Coming back re-acquires; the first read reports the loss, which the sample
    // answers by acquiring and reading again.
    pushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
    pushKey(SDL_SCANCODE_S, true);
    ASSERT_EQ(frame(), 1);
    EXPECT_TRUE(m_tarnis->m_bKeyboardAcquired);
    EXPECT_TRUE(m_tarnis->m_bMouseAcquired);
    EXPECT_FALSE(m_tarnis->INP_KeyboardIsKeyPressed(DIK_W));
    EXPECT_TRUE(m_tarnis->INP_KeyboardIsKeyClicked(DIK_S));
    EXPECT_EQ(m_tarnis->INP_MouseGetAnyPressedKey(), 0);
    EXPECT_EQ(m_tarnis->INP_MouseGetDeltaX(), 0);
    pushButton(SDL_BUTTON_LEFT, true);
    pushMotion(402, 300, 2, 0);
    ASSERT_EQ(frame(), 1);
    EXPECT_TRUE(m_tarnis->INP_MouseIsKeyClicked(1));
    EXPECT_EQ(m_tarnis->INP_MouseGetDeltaX(), 2);
    EXPECT_EQ(tst::logCount("FOCUS LOST"), 1);
    EXPECT_EQ(tst::logCount("FOCUS GAINED"), 1);
    EXPECT_EQ(tst::logCount(" !: Cannot acquire keyboard!"), 0);
}

TEST_F(InputTest, SamplingWithoutFocusReadsNoKeys)
{
    startInput();
    pushKey(SDL_SCANCODE_W, true);
    ASSERT_EQ(frame(), 1);
    // Not acquired and the window in the background: the sample cannot acquire
    // and both states read as nothing down.
    m_tarnis->m_bKeyboardAcquired = false;
    g_bWindowActive = false;
    TNS_SetActiveWindow(nullptr);
    m_tarnis->INP_Update();
    EXPECT_EQ(m_tarnis->INP_KeyboardGetAnyPressedKey(), 0);
    EXPECT_FALSE(m_tarnis->INP_KeyboardIsKeyClicked(DIK_W));
    EXPECT_FALSE(m_tarnis->m_bKeyboardAcquired);
}

} // namespace
