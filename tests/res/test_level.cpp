// Level packs: sizes, barriers, the limits of both, the stream-style numbers,
// scrambled packs, and appending across two packs.
#include <memory>
#include <string>

#include "engine/core/ctarnis.h"
#include "game/resload_functions.h"
#include "tests/res/res_test_util.h"
#include "tests/support/test_support.h"

using namespace restest;

namespace {

class LevelPack : public tst::InScratchDir {
protected:
    void SetUp() override { g_LevelDesc = LevelDescription(); }
    void load(const std::string& text)
    {
        RESLOAD_Level(reinterpret_cast<const uint8_t*>(text.data()), int32_t(text.size()), "LVL", 0, 0, 0, 0);
    }
    CEHSException loadError(const std::string& text)
    {
        return raised([&] { load(text); });
    }
    // Owned by pointer: the root object's end may raise, a fixture's may not.
    std::unique_ptr<CTarnis> m_owner = std::make_unique<CTarnis>();
    CTarnis& m_tarnis = *m_owner;
    void TearDown() override { m_owner.reset(); }
};

TEST_F(LevelPack, SizesAndBarriersAsWritten)
{
    load(R"(<boarddata sizex="12" sizey="10"><barier x="1" y="1"/><barier x="6" y="5"/>)"
         R"(<barier y="10" x="12" note="ignored"/></boarddata>)");
    EXPECT_EQ(g_LevelDesc.m_iSizeX, 12);
    EXPECT_EQ(g_LevelDesc.m_iSizeY, 10);
    ASSERT_EQ(g_LevelDesc.m_vecBarriers.size(), 3u);
    EXPECT_EQ(g_LevelDesc.m_vecBarriers[1].x, 6);
    EXPECT_EQ(g_LevelDesc.m_vecBarriers[1].y, 5);
    EXPECT_EQ(g_LevelDesc.m_vecBarriers[2].x, 12);
    // A second pack overwrites the sizes and appends its barriers.
    load(R"(<boarddata sizex="2" sizey="2"><barier x="2" y="2"/></boarddata>)");
    EXPECT_EQ(g_LevelDesc.m_iSizeX, 2);
    EXPECT_EQ(g_LevelDesc.m_vecBarriers.size(), 4u);
}

TEST_F(LevelPack, NumbersReadTheWayAStreamDoes)
{
    load("<boarddata sizex=\"12abc\" sizey=\" \t7\"/>");
    EXPECT_EQ(g_LevelDesc.m_iSizeX, 12);
    EXPECT_EQ(g_LevelDesc.m_iSizeY, 7);
    EXPECT_TRUE(g_LevelDesc.m_vecBarriers.empty());
}

// Beyond 256 cells a side is refused like too small; 256 itself loads.
TEST_F(LevelPack, BadSizesBarriersNamesAndEmptyData)
{
    const std::string sizeX = "Error in RESLOAD_Level: invalid level size X!";
    const std::string board = "<boarddata sizex=\"4\" sizey=\"3\">";
    const int32_t gen = EHS_TYPE_GENERAL, game = EHS_TYPE_GAME;
    const struct {
        std::string xml;
        int32_t type;
        std::string text;
    } cases[] = {
        {R"(<boarddata sizex="1" sizey="5"/>)", gen, sizeX},
        {R"(<boarddata sizex="x" sizey="5"/>)", gen, sizeX},
        {R"(<boarddata sizex="257" sizey="5"/>)", gen, sizeX},
        {R"(<boarddata sizex="3" sizey="0"/>)", gen, "Error in RESLOAD_Level: invalid level size Y!"},
        {R"(<boarddata sizex="3" sizey="2147483647"/>)", gen, "Error in RESLOAD_Level: invalid level size Y!"},
        {R"(<boarddata sizey="3"/>)", gen, "Error in RESLOAD_Level : There is no level size X in XML!"},
        {R"(<boarddata sizex="3" sizey=""/>)", gen, "Error in RESLOAD_Level : There is no level size Y in XML!"},
        {board + R"(<barier x="0" y="1"/>)", game, "Error in RESLOAD_Level: invalid barier X coord!"},
        {board + R"(<barier x="5" y="1"/>)", game, "Error in RESLOAD_Level: invalid barier X coord!"},
        {board + R"(<barier x="4" y="4"/>)", game, "Error in RESLOAD_Level: invalid barier Y coord!"},
        {board + R"(<barier y="1"/>)", gen, "Error in RESLOAD_Level : There is no barier param X in XML!"},
        {board + R"(<barier x="1"/>)", gen, "Error in RESLOAD_Level : There is no barier param Y in XML!"},
        {board + R"(<barrier x="1" y="1"/>)", gen, "Cannot load level data: invalid XML child node name!"},
        {R"(<BoardData sizex="4" sizey="3"/>)", gen, "Cannot load level data: invalid XML root node name!"},
    };
    for (const auto& c : cases) {
        const CEHSException e = loadError(c.xml);
        EXPECT_EQ(e.m_iType, c.type) << c.xml;
        EXPECT_EQ(e.m_strDescription, c.text) << c.xml;
    }
    loadError(cases[0].xml);
    EXPECT_EQ(g_LevelDesc.m_iSizeX, 1) << "stored before the test";
    load(R"(<boarddata sizex="256" sizey="256"/>)");
    EXPECT_EQ(g_LevelDesc.m_iSizeY, 256);
    CEHSException null = raised([] { RESLOAD_Level(nullptr, 0, "LVL", 0, 0, 0, 0); });
    EXPECT_EQ(null.m_iType, EHS_TYPE_GAME);
    EXPECT_EQ(null.m_strDescription, "Error in RESLOAD_Level : Cannot load levelpack! (buffer is empty)");
    EXPECT_EQ(thrownText([&] { load("\r"); }), "XMLERROR: buffer is empty.");
}

TEST_F(LevelPack, ScrambledPackInEncryptModeLoadsLikeThePlainOne)
{
    std::string text = "<boarddata sizex=\"5\" sizey=\"6\">\r\n<barier x=\"2\" y=\"3\"/>\r\n</boarddata>";
    for (char& c : text) c = char(uint8_t(c) ^ 0xA6);
    m_tarnis.m_bXMLEncryptMode = true;
    load(text);
    EXPECT_EQ(g_LevelDesc.m_iSizeX, 5);
    EXPECT_EQ(g_LevelDesc.m_iSizeY, 6);
    ASSERT_EQ(g_LevelDesc.m_vecBarriers.size(), 1u);
    EXPECT_EQ(g_LevelDesc.m_vecBarriers[0].y, 3);
}

TEST_F(LevelPack, RegisteredAsLevelAndLoadedByTag)
{
    put("DATA/a.xml", R"(<respack><r id="LVL_MAIN" typeid="LEVEL" filename="levels\Main.xml" tag="1"/></respack>)");
    put("DATA/levels/main.xml", R"(<boarddata sizex="8" sizey="9"><barier x="8" y="9"/></boarddata>)");
    m_tarnis.RES_Init();
    m_tarnis.RES_RegisterLoadResFunction(RESLOAD_Level, "LEVEL");
    m_tarnis.RES_LoadResources(1);
    EXPECT_EQ(g_LevelDesc.m_iSizeX, 8);
    EXPECT_EQ(g_LevelDesc.m_vecBarriers.size(), 1u);
}

} // namespace
