// GUI data resources: building and reconfiguring the tree, style references
// against attributes by name order, the text forms of values, enumerations.
#include "tests/gui/gui_fixture.h"

namespace guitest {
namespace {

class GuiData : public GuiTest {
protected:
    // Resources G (GUIDATA), S and S2 (GUISTYLEDATA), E (GUIENUMDATA) from the given texts.
    void load(const std::string& gui, const std::string& style = "<guistyle/>",
              const std::string& style2 = "<guistyle/>", const std::string& guienum = "<guienum/>")
    {
        withData({R"(<r id="G" typeid="GUIDATA" filename="gui\g.xml" tag="1"/>)",
                  R"(<r id="S" typeid="GUISTYLEDATA" filename="gui\s.xml" tag="2"/>)",
                  R"(<r id="S2" typeid="GUISTYLEDATA" filename="gui\s2.xml" tag="2"/>)",
                  R"(<r id="E" typeid="GUIENUMDATA" filename="gui\e.xml" tag="2"/>)"},
                 {{"g.xml", gui}, {"s.xml", style}, {"s2.xml", style2}, {"e.xml", guienum}});
        m_t->RES_LoadResource("G");
    }
    GUIRECT rect(const std::string& id) { return m_gui->GetElementParam(id, "coords").GetRect(); }
};

TEST_F(GuiData, NodesBuildTheTreeAndExistingIDsAreReconfigured)
{
    load(R"(<desktop><probe id="W1" coords="1 2 3 4"><probe id="B1" coords="5 6 7 8" visible="true"/></probe>
            <probe id="DESKTOP" color="1 1 1 0.5"><probe id="X" visible="1"/></probe></desktop>)");
    EXPECT_EQ(at(2)->GetParent(), at(1));
    EXPECT_EQ(at(1)->GetParent(), m_gui->GetElement(0));
    EXPECT_EQ(rect("B1").x, 5);
    EXPECT_EQ(rect("W1").height, 4);
    EXPECT_EQ(m_gui->GetElement(0)->m_clrColor.height, 0.5f);
    EXPECT_EQ(at(3)->GetParent(), m_gui->GetElement(0));
    EXPECT_TRUE(at(2)->m_bVisible && at(3)->m_bVisible) << "\"true\" and \"1\" are true";
    m_gui->SetElementParam("B1", "coords", CGUIValue(GUIRECT{}));
    m_t->RES_LoadResource("G"); // loading again returns the screen to its data state
    EXPECT_EQ(m_gui->GetElementCount(), 4);
    EXPECT_EQ(rect("B1").x, 5);
}

TEST_F(GuiData, AScreenCutInHalfKeepsItsFirstHalfAndWarnsNamingIt)
{
    load(R"(<desktop><probe id="W1" coords="1 2 3 4"/><probe id="W2"><!-- cut here)");
    EXPECT_EQ(m_gui->GetElementCount(), 3);
    const auto lines = tst::readLines("gamelog.txt");
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& l) { return l.find("resource G is cut short") != std::string::npos; }),
              1);
}

TEST_F(GuiData, StylesApplyInNameOrderAgainstTheAttributes)
{
    load(R"(<desktop><probe id="L" text="own" alignment="1" style="S"/>
            <probe id="M" styleB="S2" styleA="S"/></desktop>)",
         R"(<guistyle text="styled" alignment="3"/>)", R"(<guistyle text="second"/>)");
    EXPECT_EQ(at(1)->m_text, "own") << "style sorts before text";
    EXPECT_EQ(at(1)->m_alignment, 3) << "alignment sorts before style";
    EXPECT_EQ(at(2)->m_text, "second");
}

TEST_F(GuiData, TextFormsOfValues)
{
    load(R"(<desktop><probe id="A" coords="10  20   30 40" on_click="OnA"/><probe id="B" coords=" 10 20 30 40"/>
            <probe id="C" visible="TRUE" zorder="2.5e0" /><probe id="D" visible="yes"/></desktop>)");
    EXPECT_EQ(rect("A").width, 30);
    EXPECT_EQ(rect("A").height, 40);
    GUIRECT b = rect("B");
    EXPECT_EQ(b.x, 0);
    EXPECT_EQ(b.y, 10);
    EXPECT_EQ(b.height, 30) << "a leading space shifts the fields and drops the last";
    EXPECT_FALSE(at(3)->m_bVisible);
    EXPECT_FALSE(at(4)->m_bVisible);
    EXPECT_EQ(at(3)->m_iZOrder, 2);
    EXPECT_EQ(at(1)->m_onClick.GetKind(), GUIACTION_SCRIPT);
    EXPECT_EQ(at(1)->m_onClick.GetName(), "OnA");
    m_gui->RegisterAction("OnA", [] {});
    m_t->RES_LoadResource("G");
    EXPECT_EQ(at(1)->m_onClick.GetKind(), GUIACTION_NATIVE);
}

TEST_F(GuiData, FailuresStopTheResourceWithTheirMessage)
{
    std::pair<std::string, std::string> cases[] = {
        {"<screen/>", "Cannot load GUI data from XML file: invalid root node name!"},
        {R"(<desktop><probe id="A" size="1"/></desktop>)",
         "Cannot process GUI element param: invalid param name! Param name = size"},
        {R"(<desktop><probe id="A" zorder=""/></desktop>)", "CGUIValue error: current type is not float!"},
        {R"(<desktop><probe id="A" style="NONE"/></desktop>)", "Cannot find GUISTYLE data! ID = NONE"},
        {R"(<desktop><probe id="A" enum_frames="E"/></desktop>)",
         "Cannot set GUI element param: unknown ID! ID = 42  Element ID = A"},
        {R"(<desktop><probe coords="1 1 1 1"/></desktop>)", "Cannot add GUI element: element ID is null string!"},
        {R"(<guistyle style="S"/>)", "Cannot process GUI element param: invalid param name! Param name = style"},
    };
    std::vector<std::string> resources = {R"(<r id="E" typeid="GUIENUMDATA" filename="gui\e.xml" tag="2"/>)"};
    std::vector<std::pair<std::string, std::string>> files = {{"e.xml", "<guienum/>"}};
    for (size_t i = 0; i < std::size(cases); ++i) {
        const std::string n = std::to_string(i), type = i + 1 < std::size(cases) ? "GUIDATA" : "GUISTYLEDATA";
        resources.push_back("<r id=\"F" + n + "\" typeid=\"" + type + "\" filename=\"gui/f" + n + ".xml\" tag=\"1\"/>");
        files.emplace_back("f" + n + ".xml", cases[i].first);
    }
    withData(resources, files);
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(error([&] { m_t->RES_LoadResource(("F" + std::to_string(i)).c_str()); }), cases[i].second);
}

TEST_F(GuiData, EnumerationsKeepAttributeNameOrderAndTheFirstDefinition)
{
    load("<desktop/>", "<guistyle/>", "<guistyle/>", R"(<guienum b="2" a="1"/>)");
    m_t->RES_LoadResource("E");
    CGUIEnum* e = m_gui->FindEnum("E");
    ASSERT_NE(e, nullptr);
    ASSERT_EQ(e->GetItemsCount(), 2);
    EXPECT_STREQ(e->GetItemName(0), "a");
    EXPECT_STREQ(e->GetItemValue(1), "2");
    EXPECT_EQ(e->GetItemValue(2), nullptr);
    m_t->RES_LoadResource("E");
    EXPECT_EQ(m_gui->FindEnum("E"), e);
    int32_t id = 0;
    EXPECT_EQ(m_gui->ParseParamValue("enum_frames", "E", &id).GetEnum(), e);
    EXPECT_EQ(error([&] { m_gui->ParseParamValue("enum_frames", "NOPE", &id); }),
              "Cannot find GUIENUM data! ID = NOPE");
}

} // namespace
} // namespace guitest
