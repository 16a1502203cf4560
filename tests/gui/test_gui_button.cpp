// Buttons and check boxes driven by the mouse through the manager: the
// state machine, its events, hold repeats and the check box toggle.
#include <algorithm>

#include "gui/classes/trsgui_stdclass_button.h"
#include "tests/gui/gui_fixture.h"

namespace guitest {
namespace {

class GuiButton : public GuiTest {
protected:
    // A visible, enabled button (or check box) at (10, 10, 40, 20) recording its events.
    void make(const char* cls, const char* id)
    {
        add(cls, id, GUIRECT{10, 10, 40, 20});
        set(id, "on_click", recorder(0, "click"));
        set(id, "on_press", recorder(1, "press"));
        set(id, "on_gotfocus", recorder(2, "enter"));
        set(id, "on_lostfocus", recorder(3, "leave"));
        set(id, "on_hold", recorder(4, "hold"));
    }
    // The events and the state after each frame.
    std::vector<std::string> run(const char* id, std::initializer_list<Input> inputs)
    {
        std::vector<std::string> seen;
        for (const Input& in : inputs) {
            step(in);
            for (const std::string& s : g_trace)
                if (s.rfind("update ", 0) != 0) seen.push_back(s);
            seen.push_back(std::to_string(static_cast<CGUIButton*>(m_gui->GetElement(m_gui->GetElementID(id)))->m_iState));
        }
        return seen;
    }
};

TEST_F(GuiButton, PressAndReleaseOverTheButtonOrOutside)
{
    make("button", "B");
    EXPECT_EQ(run("B", {mouse(0, 0), mouse(20, 15), mouse(20, 15, true), mouse(20, 15)}),
              (std::vector<std::string>{"1", "enter", "2", "click", "3", "press", "2"}));
    // Press, drag off and release outside: the click ran, the press did not.
    EXPECT_EQ(run("B", {mouse(20, 15, true), mouse(100, 15, true), mouse(100, 15)}),
              (std::vector<std::string>{"click", "3", "2", "leave", "1"}));
    // A press that starts outside does not latch.
    EXPECT_EQ(run("B", {mouse(100, 15, true), mouse(20, 15, true), mouse(20, 15)}),
              (std::vector<std::string>{"1", "enter", "2", "2"}));
}

TEST_F(GuiButton, HoldRepeatsAfterTheStartDelay)
{
    make("button", "B");
    set("B", "holdtime_start", 0.5f);
    set("B", "holdtime_interval", 0.1f);
    int holds = 0;
    for (int i = 0; i < 10; ++i) {
        step(mouse(20, 15, true));
        holds += int(std::count(g_trace.begin(), g_trace.end(), "hold"));
    }
    EXPECT_NEAR(holds, 5, 1) << "1.0 s held";
    step(mouse(100, 15, true));
    step(mouse(20, 15, true));
    EXPECT_EQ(std::count(g_trace.begin(), g_trace.end(), "hold"), 0) << "back over, held: the hold starts over";
}

TEST_F(GuiButton, ActiveRectAndDisabledChildrenColour)
{
    make("button", "B");
    set("B", "activerect", GUIRECT{10, 10, 10, 10});
    set("B", "childscolor_disabled", GUIRECT{0.5f, 0.5f, 0.5f, 1});
    set("B", "childscolor_selected", GUIRECT{1, 0, 0, 1});
    Probe* child = probe("C", "B");
    child->m_bVisible = true;
    EXPECT_EQ(run("B", {mouse(30, 15)}), std::vector<std::string>{"1"}) << "outside the active rect";
    EXPECT_EQ(run("B", {mouse(15, 15)}), (std::vector<std::string>{"enter", "2"}));
    EXPECT_FLOAT_EQ(child->m_clrCurColor.y, 0);
    set("DESKTOP", "enabled", false);
    EXPECT_EQ(run("B", {mouse(15, 15, true)}), std::vector<std::string>{"1"}) << "no events when inactive";
    EXPECT_FLOAT_EQ(child->m_clrCurColor.x, 0.5f);
    set("DESKTOP", "enabled", true);

    set("B", "on_enable", recorder(5, "on_enable"));
    set("B", "on_disable", recorder(6, "on_disable"));
    g_trace.clear();
    for (int cmd : {4, 4, 3, 3}) m_gui->ExecuteElementCommand("B", cmd, 0);
    EXPECT_EQ(g_trace, (std::vector<std::string>{"on_disable", "on_enable"}));
}

TEST_F(GuiButton, CheckBoxTogglesOnReleaseAndRadioIgnoresTheMouse)
{
    make("checkbox", "K");
    set("K", "tag", 7.0f);
    set("K", "on_check", recorder(5, "check"));
    set("K", "on_uncheck", recorder(6, "uncheck"));
    const Input up = mouse(20, 15), down = mouse(20, 15, true);
    EXPECT_EQ(run("K", {up, down, up}), (std::vector<std::string>{"enter", "2", "click", "3", "check 7", "2"}));
    EXPECT_TRUE(m_gui->GetElementParam("K", "checked").GetBool());
    EXPECT_EQ(run("K", {down, up}), (std::vector<std::string>{"click", "3", "uncheck 7", "2"}));

    set("K", "radiobutton", true);
    run("K", {down, up});
    EXPECT_EQ(run("K", {down, up, mouse(0, 0)}), (std::vector<std::string>{"1", "1", "1"})) << "checked radio";
    EXPECT_TRUE(m_gui->GetElementParam("K", "checked").GetBool());
    g_trace.clear();
    m_gui->ExecuteElementCommand("K", 8, 0);
    m_gui->ExecuteElementCommand("K", 8, 0);
    EXPECT_EQ(g_trace, std::vector<std::string>{"uncheck 7"}) << "the game still unchecks it, once";
}

} // namespace
} // namespace guitest
