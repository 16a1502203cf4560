// The element base: z-order, what a parent hands down (position, colour,
// flags), walks that survive handlers changing the tree, the tip parameter.
#include "tests/gui/gui_fixture.h"

#include <cmath>

namespace guitest {
namespace {

class GuiElement : public GuiTest {
protected:
    std::vector<std::string> childIDs(CGUIElement* e)
    {
        std::vector<std::string> out;
        for (CGUIElement* c : e->GetChildren()) out.push_back(c->GetID());
        return out;
    }
    void setZ(const std::string& id, float z) { m_gui->SetElementParam(id, "zorder", CGUIValue(z)); }
};

TEST_F(GuiElement, ZOrderSortsStablyAndTruncates)
{
    for (const char* id : {"A", "B", "C"}) probe(id);
    CGUIElement* desktop = m_gui->GetElement(0);
    setZ("A", 5);
    EXPECT_EQ(childIDs(desktop), (std::vector<std::string>{"B", "C", "A"}));
    setZ("C", 5);
    EXPECT_EQ(childIDs(desktop), (std::vector<std::string>{"B", "C", "A"})) << "equal z-orders keep their places";
    for (auto [in, out] : {std::pair{2.9f, 2.0f}, {-1.5f, -1.0f}, {1e20f, 2147483647.0f}}) {
        setZ("B", in);
        EXPECT_EQ(m_gui->GetElementParam("B", "zorder").GetFloat(), out);
    }
    EXPECT_EQ(error([&] { setZ("B", NAN); }), "Cannot use a GUI number as an integer: not a number (NaN)!");
    EXPECT_EQ(error([&] { at(1)->SetParent(at(2)); }),
              "Error in setting GUI element parent: possible element dublication!");
}

TEST_F(GuiElement, ParentsHandDownPositionColourAndState)
{
    Probe* parent = probe("P");
    Probe* child = probe("C", "P");
    m_gui->SetElementParam("P", "coords", CGUIValue(GUIRECT{100, 100, 200, 200}));
    m_gui->SetElementParam("P", "color", CGUIValue(GUIRECT{1, 1, 1, 0.5f}));
    m_gui->SetElementParam("C", "coords", CGUIValue(GUIRECT{10, 20, 50, 50}));
    m_gui->SetElementParam("C", "color", CGUIValue(GUIRECT{1, 0, 0, 1}));
    for (Probe* p : {parent, child}) p->m_bVisible = p->m_bEnabled = true;
    frame();
    EXPECT_EQ(child->m_rcCurRect.x, 110);
    EXPECT_EQ(child->m_rcCurRect.y, 120);
    EXPECT_EQ(child->m_clrCurColor.x, 1);
    EXPECT_EQ(child->m_clrCurColor.y, 0);
    EXPECT_EQ(child->m_clrCurColor.height, 0.5f);
    g_trace.clear();
    m_gui->Render();
    EXPECT_EQ(g_trace, (std::vector<std::string>{"render P", "render C"}));
    // Hidden but active: children still update but are neither shown nor drawn.
    parent->m_bVisible = false;
    frame();
    EXPECT_FALSE(child->m_bShown);
    EXPECT_TRUE(child->m_bActive);
    g_trace.clear();
    m_gui->Render();
    EXPECT_TRUE(g_trace.empty());
    parent->m_bEnabled = false;
    frame();
    EXPECT_EQ(g_trace, std::vector<std::string>{"update P"});
}

TEST_F(GuiElement, HandlersMayAddElementsAndMoveSiblingsDuringTheWalk)
{
    Probe* a = probe("A");
    probe("B");
    for (CGUIElement* e : m_gui->GetElement(0)->GetChildren()) e->m_bVisible = true;
    a->m_onUpdate = [&] {
        if (m_gui->GetElementCount() > 3) return;
        setZ("A", 3);
        probe("N");
    };
    frame();
    EXPECT_EQ(g_trace, (std::vector<std::string>{"update A", "update B"})) << "the walk sees the tree it started with";
    EXPECT_EQ(childIDs(m_gui->GetElement(0)), (std::vector<std::string>{"B", "N", "A"}));
    frame();
    EXPECT_EQ(g_trace, (std::vector<std::string>{"update B", "update N", "update A"}));
}

TEST_F(GuiElement, TipParameterTakesOnlyTipElements)
{
    probe("A");
    probe("B");
    EXPECT_EQ(error([&] { m_gui->SetElementParam("A", "tip", CGUIValue("B")); }),
              "Cannot set GUI element tip: the tip element is not of class tip! Tip ID = B  Element ID = A");
    EXPECT_EQ(error([&] { m_gui->SetElementParam("A", "tip", CGUIValue(2.0f)); }),
              "Cannot set GUI element tip: the tip element is not of class tip! Tip ID = B  Element ID = A");
    EXPECT_EQ(at(1)->m_iTip, -1);
}

} // namespace
} // namespace guitest
