// Text boxes: input focus by mouse and keys, typing, Backspace and the caret.
#include "engine/platform/dinput8/dinput8.h"
#include "gui/classes/trsgui_stdclass_textbox.h"
#include "tests/gui/gui_fixture.h"

namespace guitest {
namespace {

class GuiTextBox : public GuiTest {
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        m_gui->AddNewElement("textbox", "T", 0);
        set("T", "coords", GUIRECT{10, 10, 100, 20});
        set("T", "visible", true);
        set("T", "on_enable", recorder(0, "enable"));
        set("T", "on_disable", recorder(1, "disable"));
        set("T", "on_input", recorder(2, "input"));
        set("T", "blink_char", std::string("_"));
        box = static_cast<CGUITextBox*>(m_gui->GetElement(1));
    }
    std::string text() { return m_gui->GetElementParam("T", "text").GetString(); }
    CGUITextBox* box = nullptr;
};

TEST_F(GuiTextBox, FocusComesAndGoesByMouseAndEnter)
{
    struct {
        Input in;
        std::vector<std::string> events;
        bool focus;
    } cases[] = {
        {mouse(20, 15, true), {"enable"}, true},
        {mouse(20, 15), {}, true},
        {mouse(20, 15, true), {"enable"}, true}, // inside again: on_enable again
        {mouse(200, 15, true), {"disable"}, false},
        {mouse(20, 15, true), {"enable"}, true},
        {keys({DIK_RETURN}), {"disable"}, false},
        {mouse(20, 15, true), {"enable"}, true},
    };
    for (const auto& c : cases) {
        step(mouse(0, 0));
        step(c.in);
        EXPECT_EQ(g_trace, c.events);
        EXPECT_EQ(box->m_bEnabled, c.focus);
    }
    set("DESKTOP", "enabled", false);
    step(mouse(0, 0));
    step(mouse(200, 15, true));
    EXPECT_TRUE(g_trace.empty()) << "no focus changes under an inactive parent";
}

TEST_F(GuiTextBox, TypingStopsAtMaxCharsButBackspaceWorks)
{
    set("T", "maxchars", 3.0f);
    m_gui->ExecuteElementCommand("T", 3, 0);
    for (uint8_t k : {DIK_A, DIK_B, DIK_C, DIK_D}) {
        step(keys({k}));
        step(mouse(0, 0));
    }
    EXPECT_EQ(text(), "abc");
    step(keys({DIK_BACK}));
    EXPECT_EQ(g_trace, std::vector<std::string>{"input"});
    step(keys({DIK_LSHIFT}));
    step(keys({DIK_LSHIFT, DIK_Z}));
    EXPECT_EQ(text(), "abZ");
    set("T", "language", 2.0f);
    step(keys({DIK_Q}));
    EXPECT_EQ(text(), "abZ") << "no character map for other languages";
}

TEST_F(GuiTextBox, CaretBlinksAfterTheTextAndAZeroBlinkTimeStillEnds)
{
    set("T", "text", std::string("hi"));
    set("T", "blink_time", 0.4f);
    m_gui->ExecuteElementCommand("T", 3, 0);
    std::string shown;
    for (int i = 0; i < 6; ++i) {
        step(mouse(0, 0), 0.2f);
        shown += box->m_strDisplayed + "|";
    }
    EXPECT_EQ(shown, "hi_|hi|hi|hi_|hi_|hi|") << "on at once after taking focus, then every 0.4 s";
    set("T", "blink_time", 0.0f);
    EXPECT_GT(getf("T", "blink_time"), 0.0f);
    step(mouse(0, 0), 100.0f);
    m_gui->ExecuteElementCommand("T", 4, 0);
    EXPECT_EQ(box->m_strDisplayed, "hi");
}

} // namespace
} // namespace guitest
