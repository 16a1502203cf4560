// The DirectInput layer on its own: the scancode table covers the keyboard,
// devices refuse what they do not support, and acquisition follows the game
// window's activation, reporting a loss exactly once.
#include <set>
#include <sstream>

#include "tests/support/engine_checks.h"
#include "tests/inp/inp_fixture.h"

namespace {

using inptest::InputTest;

TEST(DikTable, EveryNamedKeyButWakeHasAnSdlScancode)
{
    std::set<int> produced;
    for (int sc = 0; sc < SDL_NUM_SCANCODES; ++sc) produced.insert(TNS_DikFromSdlScancode(sc));
    // The key names of data files, aliases left out. SDL has no wake key.
    std::istringstream names(
        "0 1 2 3 4 5 6 7 8 9 A B C D E F G H I J K L M N O P Q R S T U V W X Y Z "
        "F1 F2 F3 F4 F5 F6 F7 F8 F9 F10 F11 F12 ADD APOSTROPHE APPS BACK BACKSLASH CALCULATOR CAPITAL "
        "COMMA DECIMAL DELETE DIVIDE DOWN END EQUALS ESCAPE GRAVE HOME INSERT LBRACKET LCONTROL LEFT "
        "LMENU LSHIFT LWIN MAIL MEDIASELECT MEDIASTOP MINUS MULTIPLY MUTE MYCOMPUTER NEXT NEXTTRACK "
        "NUMLOCK NUMPAD0 NUMPAD1 NUMPAD2 NUMPAD3 NUMPAD4 NUMPAD5 NUMPAD6 NUMPAD7 NUMPAD8 NUMPAD9 "
        "NUMPADENTER PAUSE PERIOD PLAYPAUSE POWER PREVTRACK PRIOR RBRACKET RCONTROL RETURN RIGHT RMENU "
        "RSHIFT RWIN SCROLL SEMICOLON SLASH SLEEP SPACE STOP SUBTRACT SYSRQ TAB UP VOLUMEDOWN VOLUMEUP "
        "WEBBACK WEBFAVORITES WEBFORWARD WEBHOME WEBREFRESH WEBSEARCH WEBSTOP");
    int count = 0;
    for (std::string name; names >> name; ++count) {
        uint8_t code = CTarnis::INP_KeyNameToCode(name);
        ASSERT_NE(code, 0) << name;
        EXPECT_TRUE(produced.count(code)) << name;
    }
    EXPECT_EQ(count, 125);
    // Spot checks where the two numberings differ most.
    EXPECT_EQ(TNS_DikFromSdlScancode(SDL_SCANCODE_KP_ENTER), DIK_NUMPADENTER);
    EXPECT_EQ(TNS_DikFromSdlScancode(SDL_SCANCODE_RALT), DIK_RMENU);
    EXPECT_EQ(TNS_DikFromSdlScancode(SDL_SCANCODE_PAGEUP), DIK_PRIOR);
    EXPECT_EQ(TNS_DikFromSdlScancode(SDL_SCANCODE_NONUSBACKSLASH), DIK_OEM_102);
    EXPECT_EQ(TNS_DikFromSdlScancode(SDL_SCANCODE_F20), 0);
    EXPECT_EQ(TNS_DikFromSdlScancode(-1), 0);
    EXPECT_EQ(TNS_DikFromSdlScancode(SDL_NUM_SCANCODES), 0);
}

class DeviceTest : public InputTest {
protected:
    void SetUp() override
    {
        InputTest::SetUp();
        CreateGameWindow(&m_window, 320, 200, true);
        void* di = nullptr;
        ASSERT_EQ(DirectInput8Create(nullptr, DIRECTINPUT_VERSION, IID_IDirectInput8A, &di, nullptr), DI_OK);
        m_di = static_cast<IDirectInput8*>(di);
        ASSERT_EQ(m_di->CreateDevice(GUID_SysKeyboard, &m_keyboard, nullptr), DI_OK);
    }
    void TearDown() override
    {
        if (m_keyboard) m_keyboard->Release();
        if (m_di) m_di->Release();
        InputTest::TearDown();
    }
    void pump() { m_tarnis->SYS_ProcessMessages(); }

    IDirectInput8* m_di = nullptr;
    IDirectInputDevice8* m_keyboard = nullptr;
};

TEST_F(DeviceTest, RefusesWhatItDoesNotSupport)
{
    IDirectInputDevice8* device = nullptr;
    EXPECT_EQ(m_di->CreateDevice(IID_IDirectInput8A, &device, nullptr), DIERR_DEVICENOTREG);
    EXPECT_EQ(device, nullptr);
    EXPECT_EQ(m_keyboard->SetDataFormat(&c_dfDIMouse2), DIERR_INVALIDPARAM);
    EXPECT_EQ(m_keyboard->Acquire(), DIERR_INVALIDPARAM) << "no data format yet";
    ASSERT_EQ(m_keyboard->SetDataFormat(&c_dfDIKeyboard), DI_OK);
    EXPECT_EQ(m_keyboard->SetCooperativeLevel(m_window, DISCL_FOREGROUND | DISCL_EXCLUSIVE), DIERR_UNSUPPORTED);
    EXPECT_TRUE(FAILED(m_keyboard->SetCooperativeLevel(nullptr, DISCL_FOREGROUND | DISCL_NONEXCLUSIVE)));
    ASSERT_EQ(m_keyboard->Acquire(), DI_OK);
    BYTE keys[256];
    EXPECT_EQ(m_keyboard->GetDeviceState(20, keys), DIERR_INVALIDPARAM) << "a mouse-sized read";
}

TEST_F(DeviceTest, ForegroundFollowsActivationAndReportsALossOnce)
{
    ASSERT_EQ(m_keyboard->SetDataFormat(&c_dfDIKeyboard), DI_OK);
    ASSERT_EQ(m_keyboard->SetCooperativeLevel(m_window, DISCL_FOREGROUND | DISCL_NONEXCLUSIVE), DI_OK);
    BYTE keys[256];
    EXPECT_EQ(m_keyboard->GetDeviceState(256, keys), DIERR_NOTACQUIRED);
    ASSERT_EQ(m_keyboard->Acquire(), DI_OK);
    pushKey(SDL_SCANCODE_KP_ENTER, true);
    pump();
    ASSERT_EQ(m_keyboard->GetDeviceState(256, keys), DI_OK);
    EXPECT_EQ(keys[DIK_NUMPADENTER], 0x80);

    pushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
    pump();
    EXPECT_FALSE(g_bWindowActive);
    EXPECT_EQ(m_keyboard->Acquire(), DIERR_OTHERAPPHASPRIO);
    EXPECT_EQ(m_keyboard->GetDeviceState(256, keys), DIERR_INPUTLOST);
    EXPECT_EQ(m_keyboard->GetDeviceState(256, keys), DIERR_NOTACQUIRED);

    pushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
    pump();
    ASSERT_EQ(m_keyboard->Acquire(), DI_OK);
    ASSERT_EQ(m_keyboard->GetDeviceState(256, keys), DI_OK);
    EXPECT_EQ(keys[DIK_NUMPADENTER], 0) << "held keys are forgotten with the loss";
}

TEST_F(InputTest, ReadingALostDeviceInTheBackgroundRaises)
{
    startInput();
    pushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
    EXPECT_EQ(frame(), 0);
    // The frame update never samples in the background; a direct sample finds
    // the device lost and cannot get it back.
    const CEHSException e = tst::raised([&] { m_tarnis->INP_Update(); });
    EXPECT_EQ(e.m_iType, EHS_TYPE_GENERAL);
    EXPECT_EQ(e.m_iCode, DIERR_OTHERAPPHASPRIO);
    EXPECT_EQ(e.m_strDescription, "Cannot reacquire Keyboard!");
}

TEST_F(InputTest, StartWithoutAWindowRaisesTheCooperativeLevelMessage)
{
    m_tarnis->m_bGraphicsDeviceReady = true;
    const CEHSException e = tst::raised([&] { m_tarnis->INP_Init(); });
    EXPECT_EQ(e.m_iType, EHS_TYPE_GENERAL);
    EXPECT_NE(e.m_iCode, 0);
    EXPECT_EQ(e.m_strDescription, "Cannot set cooperative level for Keyboard!");
}

} // namespace
