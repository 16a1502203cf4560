// Flex and timer elements: what their handlers receive and when they run.
#include <algorithm>
#include <cstdlib>

#include "tests/gui/gui_fixture.h"

namespace guitest {
namespace {

using GuiTimer = GuiTest;

TEST_F(GuiTimer, FlexUpdatesEveryFrameButRedrawsOnlyWhenShown)
{
    add("flex", "F", GUIRECT{10, 20, 30, 40});
    set("F", "visible", false);
    set("F", "color", GUIRECT{1, 0.5f, 1, 1});
    set("F", "on_update", recorder(0, "update"));
    set("F", "on_redraw", recorder(1, "redraw"));
    frame();
    m_gui->Render();
    EXPECT_EQ(g_trace, std::vector<std::string>{"update 10 20 30 40 1 0.5 1 1 0 1"}) << "hidden: no redraw";
    set("F", "visible", true);
    frame();
    m_gui->Render();
    EXPECT_EQ(g_trace, (std::vector<std::string>{"update 10 20 30 40 1 0.5 1 1 1 1", "redraw"}));
}

TEST_F(GuiTimer, FactorActionRunsBelowOneThenStopsOrLoops)
{
    m_gui->AddNewElement("timer", "T", 0);
    set("T", "factoraction_time", 0.5f);
    set("T", "on_factoraction", recorder(0, "f"));
    frame();
    EXPECT_TRUE(g_trace.empty()) << "a timer starts disabled";
    set("T", "enabled", true);
    std::vector<std::string> seen;
    for (int i = 0; i < 7; ++i) {
        frame();
        seen.insert(seen.end(), g_trace.begin(), g_trace.end());
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"f 0.2", "f 0.4", "f 0.6", "f 0.8"}));

    set("T", "factoraction_looped", true);
    seen.clear();
    for (int i = 0; i < 3; ++i) {
        frame();
        seen.insert(seen.end(), g_trace.begin(), g_trace.end());
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"f 0", "f 0.2", "f 0.4"}));
}

TEST_F(GuiTimer, RandomDelaysComeInTenthsBelowTheMaximum)
{
    m_gui->AddNewElement("timer", "T", 0);
    set("T", "randomaction_maxtime", 2.5f);
    set("T", "randomaction_mintime", 2.0f);
    EXPECT_FLOAT_EQ(getf("T", "randomaction_maxtime"), 2.5f);
    set("T", "randomaction_maxtime", 1.0f);
    EXPECT_FLOAT_EQ(getf("T", "randomaction_maxtime"), 3.0f) << "not above the minimum: minimum + 1";

    // Measure the delays between random actions at 100 frames per second.
    set("T", "randomaction_mintime", 2.0f);
    set("T", "randomaction_maxtime", 2.5f);
    set("T", "on_randomaction", recorder(0, "r"));
    set("T", "enabled", true);
    m_gui->ExecuteElementCommand("T", 13, 0);
    std::srand(7);
    int frames = 0, shortest = 1000, longest = 0;
    for (int runs = 0; runs < 40; frames = 0, ++runs) {
        do ++frames, frame(0.01f); while (g_trace.empty());
        EXPECT_TRUE(frames >= 200 && frames <= 241 && (frames % 10 <= 1 || frames % 10 == 9)) << frames;
        shortest = std::min(shortest, frames), longest = std::max(longest, frames);
    }
    EXPECT_TRUE(shortest < 210 && longest > 230) << "2.0 and 2.4 s both occur";
}

} // namespace
} // namespace guitest
