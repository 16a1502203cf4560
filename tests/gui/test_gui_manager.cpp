// The GUI manager: registries, the element table and the order of its checks,
// parameter and command routing, delayed commands, tip timing, handler
// arguments, and what remains after the manager is destroyed.
#include <algorithm>

#include "gui/classes/trsgui_stdclasses.h"
#include "tests/gui/gui_fixture.h"

namespace guitest {
namespace {

using GuiManager = GuiTest;

TEST_F(GuiManager, RegistriesHoldTheStandardSetAndRefuseDuplicates)
{
    struct {
        const char* name;
        int32_t id, type;
    } params[] = {
        // A few of each type, and the first and last numbers, which data and scripts use.
        {"zorder", 1, GUIVAL_FLOAT},        {"tip", 8, GUIVAL_STRING},      {"on_click", 15, GUIVAL_FUNCTION},
        {"location_center", 35, GUIVAL_POINT}, {"enum_frames", 42, GUIVAL_ENUM}, {"activerect", 56, GUIVAL_RECT},
        {"scroll_enabled", 125, GUIVAL_BOOLEAN},
    };
    for (const auto& p : params) {
        EXPECT_EQ(m_gui->GetParamID(p.name), p.id) << p.name;
        EXPECT_EQ(m_gui->GetParamType(p.id), p.type) << p.name;
    }
    for (int32_t id = 1; id <= 125; ++id) EXPECT_NE(m_gui->GetParamType(id), GUIVAL_NONE) << id;
    EXPECT_EQ(m_gui->GetParamType(126), GUIVAL_NONE);

    EXPECT_EQ(error([&] { m_gui->RegisterParam("tag", 200, 1); }),
              "Dublicated GUI Element parameter(strID)! strID = tag iID = 200");
    EXPECT_EQ(error([&] { m_gui->RegisterParam("mine", 123, 1); }),
              "Dublicated GUI Element parameter(iID)! strID = mine iID = 123");
    EXPECT_EQ(error([&] { m_gui->RegisterClass(TRSGUI_CreateDesktop, "timer"); }),
              "Dublicated GUI Element class !ID = timer");
    m_gui->RegisterAction("A", [] {});
    EXPECT_EQ(error([&] { m_gui->RegisterAction("A", [] {}); }), "Dublicated C++ Action function! ID = A");
    EXPECT_EQ(error([] { CTarnisGUI second; }), "EHS Assertion failed.");
}

TEST_F(GuiManager, ElementsAreNumberedFromOneAndChecksComeInOrder)
{
    EXPECT_EQ(m_gui->GetElementID("DESKTOP"), 0);
    EXPECT_EQ(m_gui->AddNewElement("probe", "A", 0), 1);
    EXPECT_EQ(m_gui->AddNewElement("probe", "B", "A"), 2);
    EXPECT_EQ(m_gui->GetElementID("b"), -1);
    EXPECT_EQ(at(2)->GetParent(), at(1));
    struct {
        const char* cls;
        const char* id;
        int32_t parent;
        const char* message;
    } cases[] = {
        {"nope", "A", 7, "Cannot add GUI element: invalid parent ID! Parent ID = 7 Element ID = A"},
        {"nope", "A", 0, "Cannot add GUI element: invalid class! Class ID = nope Element ID = A"},
        {"desktop", "A", 0, "Cannot add GUI element: dublicated element ID! Element ID = A"},
        {"probe", "", 0, "Cannot add GUI element: element ID is null string!"},
    };
    for (const auto& c : cases) EXPECT_EQ(error([&] { m_gui->AddNewElement(c.cls, c.id, c.parent); }), c.message);
    EXPECT_EQ(error([&] { m_gui->AddNewElement("probe", "C", "missing"); }),
              "Cannot add GUI element: invalid parent ID! Parent ID = -1 Element ID = C");
    EXPECT_EQ(m_gui->GetElementCount(), 3);
}

TEST_F(GuiManager, ParametersAndCommandsReachTheElementByIndexOrName)
{
    probe("A");
    m_gui->SetElementParam("A", "coords", CGUIValue(GUIRECT{1, 2, 3, 4}));
    EXPECT_EQ(m_gui->GetElementParam(1, 2).GetRect().height, 4);
    m_gui->SetElementParam(1, "visible", CGUIValue(true));
    EXPECT_TRUE(m_gui->GetElementParam("A", GUIPARAM_VISIBLE).GetBool());
    const CGUIValue v(1.0f);
    std::pair<std::function<void()>, const char*> cases[] = {
        {[&] { m_gui->SetElementParam("Z", 1, v); }, "Cannot set element param: invalid element ID! Element ID = Z"},
        {[&] { m_gui->SetElementParam(9, "zorder", v); },
         "Cannot set element param: invalid element ID! Element ID = 9"},
        {[&] { m_gui->SetElementParam("A", "size", v); },
         "Cannot set element param: invalid param ID! Param ID = size"},
        {[&] { m_gui->GetElementParam(-1, 1); }, "Cannot get element param: invalid element ID! Element ID = -1"},
        {[&] { m_gui->GetElementParam(1, "size"); }, "Cannot get element param: invalid param ID! Param ID = size"},
        {[&] { m_gui->SetElementParam(1, 300, v); },
         "Cannot set GUI element param: unknown ID! ID = 300  Element ID = A"},
        {[&] { m_gui->GetElementParam(1, GUIPARAM_TIP); },
         "Cannot get GUI element param: unknown ID! ID = 8  Element ID = A"},
        {[&] { m_gui->ExecuteElementCommand(1, 77, 0); },
         "Cannot execute GUI element command: unknown ID! ID = 77  Element ID = A"},
        {[&] { m_gui->ExecuteElementCommand(5, 1, 0); },
         "Cannot pass command to element: invalid element ID! Element ID = 5"},
        {[&] { m_gui->SetElementParam(1, "visible", v); }, "CGUIValue error: current type is not boolean!"},
    };
    for (const auto& [fn, message] : cases) EXPECT_EQ(error(fn), message);
}

TEST_F(GuiManager, DelayedCommandsRunBeforeTheTreeAndTheirOwnCommandsWaitAFrame)
{
    Probe* a = probe("A");
    m_gui->ExecuteElementCommand("A", GUICMD_SHOW, 0);
    EXPECT_TRUE(a->m_bVisible);
    m_gui->ExecuteElementCommand("A", GUICMD_HIDE, 0.25f);
    frame(0.1f);
    EXPECT_TRUE(a->m_bVisible);
    frame(0.15f);
    EXPECT_EQ(g_trace, (std::vector<std::string>{"cmd 2 A", "update A"}));
    // A handler of a due command queues another due at once: it runs next frame.
    m_gui->RegisterAction("queue", [] { CTarnisGUI::Instance()->ExecuteElementCommand(1, 3, 0.01f); });
    a->m_onClick.SetNative(m_gui->FindAction("queue"));
    m_gui->ExecuteElementCommand(1, 5, 0.1f);
    frame(0.1f);
    EXPECT_EQ(g_trace, (std::vector<std::string>{"cmd 5 A", "update A"}));
    frame(0.1f);
    EXPECT_EQ(g_trace, (std::vector<std::string>{"cmd 3 A", "update A"}));
}

TEST_F(GuiManager, TipAppearsAfterRestingAndAgainOnEachNewTip)
{
    Probe* a = probe("A");
    Probe* b = probe("B");
    const int32_t tipA = m_gui->AddNewElement("probe", "TA", 0), tipB = m_gui->AddNewElement("probe", "TB", 0);
    for (Probe* p : {a, b}) p->m_bVisible = true;
    a->m_rcCoords = GUIRECT{0, 0, 10, 10};
    b->m_rcCoords = GUIRECT{10, 0, 10, 10};
    a->m_iTip = tipA;
    b->m_iTip = tipB;
    auto shows = [](const std::string& tip) { return std::count(g_trace.begin(), g_trace.end(), "cmd 1 " + tip); };
    m_t->m_ptCursor = POINT{5, 5};
    for (int i = 0; i < 9; ++i) frame(0.1f);
    EXPECT_EQ(m_gui->GetCurTip(), tipA);
    EXPECT_EQ(shows("TA"), 0);
    frame(0.11f);
    EXPECT_EQ(shows("TA"), 1);
    frame(0.1f);
    EXPECT_EQ(shows("TA"), 0) << "shown once, then only updated";
    m_t->m_MouseState.lX = 3; // any movement restarts the wait
    frame(0.1f);
    m_t->m_MouseState.lX = 0;
    for (int i = 0; i < 8; ++i) frame(0.1f);
    EXPECT_EQ(shows("TA"), 0);
    frame(0.11f);
    EXPECT_EQ(shows("TA"), 1);
    m_t->m_ptCursor = POINT{15, 5};
    frame(0.1f);
    EXPECT_EQ(m_gui->GetCurTip(), tipB);
    EXPECT_EQ(shows("TB"), 0);
    m_t->m_MouseState.rgbButtons[1] = 0x80; // button 2 shows it at once
    frame(0.1f);
    EXPECT_EQ(shows("TB"), 1);
    m_t->m_ptCursor = POINT{50, 50};
    frame(0.1f);
    EXPECT_EQ(m_gui->GetCurTip(), -1);
    m_gui->SetCurTip(99);
    m_gui->SetCurTip(-1);
    m_gui->SetCurTip("nobody");
    EXPECT_EQ(m_gui->GetCurTip(), -1);
}

TEST_F(GuiManager, NestedNativeActionsKeepTheirOwnArguments)
{
    Probe* a = probe("A");
    Probe* b = probe("B");
    a->m_iTag = 7;
    b->m_iTag = 9;
    static std::vector<float> seen;
    seen.clear();
    m_gui->RegisterAction("outer", [] {
        CTarnisGUI* g = CTarnisGUI::Instance();
        seen.push_back(g->GetActionArgFloat(0));
        g->ExecuteElementCommand("B", 5, 0); // runs "inner", which clears its own list
        seen.push_back(g->GetActionArgFloat(0));
        seen.push_back(float(g->GetActionArgCount()));
    });
    m_gui->RegisterAction("inner", [] {
        CTarnisGUI* g = CTarnisGUI::Instance();
        seen.push_back(g->GetActionArgFloat(0));
        g->ClearActionArgs();
    });
    a->m_onClick.SetNative(m_gui->FindAction("outer"));
    b->m_onClick.SetNative(m_gui->FindAction("inner"));
    m_gui->ExecuteElementCommand("A", 5, 0);
    EXPECT_EQ(seen, (std::vector<float>{7, 9, 7, 1}));
    EXPECT_EQ(m_gui->GetActionArgCount(), 0);
    m_gui->PushActionArg(true);
    EXPECT_EQ(error([&] { m_gui->GetActionArg(1); }), "Cannot read GUI action argument: invalid index! Index = 1");
    EXPECT_EQ(error([&] { m_gui->GetActionArgFloat(0); }), "CGUIValue error: current type is not float!");
    EXPECT_EQ(error([] { CGUIAction().Execute(); }), "Unknown action type!");
}

TEST_F(GuiManager, AfterDestructionLoadersAndScriptFunctionsReportTheMissingManager)
{
    withData({R"(<r id="G" typeid="GUIDATA" filename="gui\g.xml" tag="1"/>)",
              R"(<r id="H" typeid="GUIDATA" filename="gui\g.xml" tag="1"/>)"},
             {{"g.xml", R"(<desktop><probe id="A"/></desktop>)"}});
    delete m_gui;
    m_gui = nullptr;
    EXPECT_EQ(CTarnisGUI::Instance(), nullptr);
    EXPECT_EQ(error([&] { m_t->RES_LoadResource("G"); }), "Cannot load GUI data: the GUI manager does not exist!");
    EXPECT_EQ(error([&] { run("TRSGUI_GetElementID('DESKTOP')"); }),
              "Error in glue function glue_TRSGUI_GetElementID: the GUI manager does not exist!");
    newGui(); // a later manager takes the loaders over again
    m_t->RES_LoadResource("H");
    EXPECT_EQ(m_gui->GetElementID("A"), 1);
}

} // namespace
} // namespace guitest
