// XML variables: assignments from XMLDATA resources, warnings, the encrypt
// mode, and the map of IDs.
#include <memory>

#include "engine/core/ctarnis.h"
#include "engine/res/ctarnis_utils_cxmlvar.h"
#include "tests/res/res_test_util.h"
#include "tests/support/test_support.h"

using namespace restest;

namespace {

class XMLVars : public tst::InScratchDir {
protected:
    void load(const std::string& text)
    {
        RESLOAD_XMLData(reinterpret_cast<const uint8_t*>(text.data()), int32_t(text.size()), "XML_TEST", 0, 0, 0, 0);
    }
    // Owned by pointer: the root object's end may raise, a fixture's may not.
    std::unique_ptr<CTarnis> m_owner = std::make_unique<CTarnis>();
    CTarnis& m_tarnis = *m_owner;
    void TearDown() override { m_owner.reset(); }
    CXMLVarFloat m_actionTime{"actiontime"};
    CXMLVarInt m_gameID{"quorilgameid"};
};

TEST_F(XMLVars, LastAssignmentWinsAcrossChildrenAndWithinOne)
{
    load(R"(<xmldata><a actiontime="0.5"/><b actiontime="2"/></xmldata>)");
    EXPECT_FLOAT_EQ(m_actionTime.m_fValue, 2.0f);
    load("<xmldata>\r\n<g quorilgameid=\"12abc\" actiontime=\" 0.25\"/>\r\n</xmldata>");
    EXPECT_EQ(m_gameID.m_iValue, 12);
    EXPECT_FLOAT_EQ(m_actionTime.m_fValue, 0.25f);
    // Values that are not numbers read as 0.
    load(R"(<xmldata><g quorilgameid="abc" actiontime="-"/></xmldata>)");
    EXPECT_EQ(m_gameID.m_iValue, 0);
    EXPECT_FLOAT_EQ(m_actionTime.m_fValue, 0.0f);
    load(R"(<xmldata><g quorilgameid="-7" actiontime="1e2x"/></xmldata>)");
    EXPECT_EQ(m_gameID.m_iValue, -7);
    EXPECT_FLOAT_EQ(m_actionTime.m_fValue, 100.0f);
}

TEST_F(XMLVars, WarningsChangeNothing)
{
    m_gameID.m_iValue = 5;
    load("<xmldata/>");
    EXPECT_TRUE(tst::logCount(" !: Warning: empty xmldata file!"));
    load(R"(<xmldata><a speed="3"/></xmldata>)");
    EXPECT_TRUE(tst::logCount(" !: Warning: unused xml variable: speed"));
    EXPECT_EQ(m_gameID.m_iValue, 5);
}

TEST_F(XMLVars, ErrorsOfTheFileAndOfTheDeclarations)
{
    CEHSException root = raised([&] { load(R"(<data><a actiontime="1"/></data>)"); });
    EXPECT_EQ(root.m_iType, EHS_TYPE_GENERAL);
    EXPECT_EQ(root.m_strDescription, "Error in loading XMLData: invalid root node name!");
    EXPECT_EQ(root.m_strFile, "engine/res/ctarnis_utils_cxmlvar.cpp");
    EXPECT_EQ(thrownText([&] { load(""); }), "XMLERROR: buffer is empty.");

    CEHSException dup = raised([] { CXMLVarInt again("actiontime"); });
    EXPECT_EQ(dup.m_iType, EHS_TYPE_GAME);
    EXPECT_EQ(dup.m_strDescription,
              "Error in CXMLVar::CXMLVar(const char* fp_pszID). An object with same ID already exists! ID = actiontime");
    // The failed construction left the first variable in place.
    load(R"(<xmldata><a actiontime="3"/></xmldata>)");
    EXPECT_FLOAT_EQ(m_actionTime.m_fValue, 3.0f);
    {
        CXMLVarInt shortLived("other");
    }
    // A variable that ends takes only its own entry with it.
    load(R"(<xmldata><a quorilgameid="4"/></xmldata>)");
    EXPECT_EQ(m_gameID.m_iValue, 4);
}

TEST_F(XMLVars, ScrambledDataFollowsTheEncryptMode)
{
    std::string text = R"(<xmldata><a quorilgameid="9"/></xmldata>)";
    std::string scrambled = text;
    for (char& c : scrambled) c = char(uint8_t(c) ^ 0xA6);
    m_tarnis.m_bXMLEncryptMode = true;
    load(scrambled);
    EXPECT_EQ(m_gameID.m_iValue, 9);
    // A plain-text resource does not parse in encrypt mode.
    EXPECT_EQ(raised([&] { load(text); }).m_strDescription, "Error in loading XMLData: invalid root node name!");
}

TEST_F(XMLVars, LoadedThroughTheResourceManager)
{
    put("DATA/a.xml", R"(<respack><r id="XML_GAME" typeid="XMLDATA" filename="game.xd" tag="1"/></respack>)");
    put("DATA/game.xd", R"(<xmldata><timing actiontime="0.75"/></xmldata>)");
    m_tarnis.RES_Init();
    m_tarnis.RES_LoadResources(1);
    EXPECT_FLOAT_EQ(m_actionTime.m_fValue, 0.75f);
}

} // namespace
