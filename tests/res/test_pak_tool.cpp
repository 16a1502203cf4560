// tarnis-pak: a data folder of loose files, the PAK built from it and the
// folder extracted from that PAK catalogue the same records with the same
// bytes; a corrupted PAK is refused cleanly by the tool and by the program.
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "engine/core/ctarnis.h"
#include "engine/res/ctarnis_res_main.h"
#include "engine/res/ctarnis_res_pakfile.h"
#include "engine/res/ctarnis_res_path.h"
#include "game/resload_functions.h"
#include "tests/res/res_test_util.h"
#include "tests/support/test_support.h"
#include "tools/tarnis_pak/pak_tool.h"

using namespace restest;

namespace {

struct Record {
    std::string id, typeID, bytes;
    int32_t tag, data1, data2, data3;
    bool operator==(const Record&) const = default;
};

std::vector<Record> records(TRSResourcesManager& cat, bool unscrambleXML)
{
    std::vector<Record> out;
    for (int32_t slot = 0; slot < cat.GetSlotCount(); ++slot) {
        CTRSResource* r = cat.GetItem(slot);
        if (!r) continue;
        r->DataLoad();
        std::string bytes(reinterpret_cast<const char*>(r->GetData()), size_t(r->GetSize()));
        r->DataUnLoad();
        if (unscrambleXML && pak::isXMLResourceType(r->GetTypeID()))
            for (char& c : bytes) c = char(uint8_t(c) ^ 0xA6);
        out.push_back({r->GetID(), r->GetTypeID(), bytes, r->GetTag(), r->GetData1(), r->GetData2(), r->GetData3()});
    }
    cat.FreeAll();
    return out;
}

std::vector<Record> looseRecords(const std::string& dir)
{
    TRSResourcesManager cat;
    for (const std::string& name : res::listFilesWithExtension(dir, ".xml"))
        res::catalogueXMLResPack(dir + name, dir, cat);
    return records(cat, false);
}

std::vector<Record> pakRecords(const std::string& pak)
{
    TRSResourcesManager cat;
    res::cataloguePakResPack(pak, cat);
    return records(cat, true);
}

class PakTool : public tst::InScratchDir {
protected:
    void SetUp() override
    {
        put("src/DATA/Main.XML", "<?xml version=\"1.0\"?>\r\n<respack>\r\n"
                                 R"(<res id="TEX_BG" typeid="TEXTURE" filename="gfx\BG.png" tag="2" data1="1"/>)"
                                 "\r\n"
                                 R"(<res id="LVL_MAIN" typeid="LEVEL" filename="Levels/Main.lvl" tag="1"/>)"
                                 R"(<res id="SND_MOVE" typeid="SOUND" filename="move.wav" tag="3" data2="4" data3="1"/>)"
                                 "</respack>\r\n");
        put("src/DATA/more.xml", R"(<respack><res id="XML_GAME" typeid="XMLDATA" filename="game.xd" tag="1"/>)"
                                 R"(<res id="SCR_MAIN" typeid="SCRIPT" filename="main.lua" tag="9" data3="-2"/>)"
                                 "</respack>");
        put("src/DATA/gfx/bg.png", std::string("\x89PNG\r\n\x1a\n\0\0binary", 16));
        put("src/DATA/levels/main.lvl", "<boarddata sizex=\"4\" sizey=\"3\">\r\n<barier x=\"4\" y=\"3\"/>\r\n</boarddata>");
        put("src/DATA/move.wav", std::string("RIFF\0\0\0\0WAVEfmt ", 16));
        put("src/DATA/game.xd", R"(<xmldata><a actiontime="0.5"/></xmldata>)");
        put("src/DATA/main.lua", "function main() end\n");
        g_LevelDesc = LevelDescription();
    }
};

TEST_F(PakTool, BuildListExtractRoundTrip)
{
    std::string error;
    ASSERT_TRUE(pak::buildPak("src/DATA", "game.pak", error)) << error;
    const std::vector<Record> loose = looseRecords("src/DATA/");
    ASSERT_EQ(loose.size(), 5u);
    EXPECT_EQ(pakRecords("game.pak"), loose);

    // XML resources are stored scrambled, the rest verbatim.
    TRSResourcesManager raw;
    res::cataloguePakResPack("game.pak", raw);
    auto stored = records(raw, false);
    EXPECT_EQ(stored[0].id, "TEX_BG");
    EXPECT_EQ(stored[0].bytes, loose[0].bytes);
    EXPECT_NE(stored[1].bytes, loose[1].bytes);

    FILE* listing = tmpfile();
    ASSERT_TRUE(pak::listPak("game.pak", listing, error)) << error;
    rewind(listing);
    std::string text(4096, '\0');
    text.resize(fread(text.data(), 1, text.size(), listing));
    fclose(listing);
    EXPECT_NE(text.find("5 entries in game.pak"), std::string::npos) << text;
    EXPECT_NE(text.find("SND_MOVE"), std::string::npos) << text;

    ASSERT_TRUE(pak::extractPak("game.pak", "out/DATA", error)) << error;
    EXPECT_TRUE(tst::fileExists("out/DATA/game.xml"));
    EXPECT_TRUE(tst::fileExists("out/DATA/game/TEX_BG.png"));
    EXPECT_TRUE(tst::fileExists("out/DATA/game/LVL_MAIN.xml"));
    EXPECT_EQ(res::listFilesWithExtension("out/DATA/", ".xml").size(), 1u) << "only the descriptor is a descriptor";
    EXPECT_EQ(looseRecords("out/DATA/"), loose);
}

TEST_F(PakTool, AGameFolderWithOnlyThePakLoadsLikeTheLooseFiles)
{
    std::string error;
    ASSERT_TRUE(pak::buildPak("src/DATA/", "packed/DATA/quoril.pak", error)) << error;
    std::filesystem::current_path("packed");
    {
        CTarnis tarnis;
        tarnis.RES_Init();
        EXPECT_EQ(tarnis.m_iResMode, TRS_RESMODE_PAK);
        tarnis.RES_RegisterLoadResFunction(RESLOAD_Level, "LEVEL");
        tarnis.RES_LoadResource("LVL_MAIN");
    }
    std::filesystem::current_path("..");
    EXPECT_EQ(g_LevelDesc.m_iSizeX, 4);
    EXPECT_EQ(g_LevelDesc.m_iSizeY, 3);
    ASSERT_EQ(g_LevelDesc.m_vecBarriers.size(), 1u);
    EXPECT_EQ(g_LevelDesc.m_vecBarriers[0].x, 4);
}

TEST_F(PakTool, WriterLaysOutWhatTheReaderReads)
{
    std::vector<res::PakEntry> entries(2);
    entries[0].id = "A";
    entries[0].typeID = "T";
    entries[0].tag = 3;
    entries[0].data3 = -1;
    entries[1].id = "BB";
    entries[1].typeID = "UU";
    ASSERT_TRUE(res::writePak("w.pak", entries, {"xyz", "12"}));
    // 4 + (4 + 24) + (6 + 24) = 62 bytes of directory.
    EXPECT_EQ(tst::readFile("w.pak"),
              pakImage({{"A", "T", 62, 3, 3, 0, 0, -1}, {"BB", "UU", 65, 2, 0}}, "xyz12"));
}

TEST_F(PakTool, BadInputIsRefusedWithAMessage)
{
    put("bad.pak", le32(3) + "A");
    std::string error;
    EXPECT_FALSE(pak::listPak("bad.pak", stdout, error));
    EXPECT_EQ(error, "Corrupted ResPack: bad.pak");
    EXPECT_FALSE(pak::extractPak("bad.pak", "x", error));
    EXPECT_EQ(error, "Corrupted ResPack: bad.pak");
    EXPECT_FALSE(pak::buildPak("nowhere", "x.pak", error));
    put("dup/DATA/a.xml", R"(<respack><r id="A" typeid="T" filename="f"/><r id="A" typeid="T" filename="f"/></respack>)");
    put("dup/DATA/f", "f");
    EXPECT_FALSE(pak::buildPak("dup/DATA", "x.pak", error));
    EXPECT_EQ(error, "Dublicated resource. ID = A");
    put("out/DATA/a.xml", R"(<respack><r id="A" typeid="T" filename="..\secret"/></respack>)");
    put("out/secret", "s");
    EXPECT_FALSE(pak::buildPak("out/DATA", "x.pak", error));
    EXPECT_EQ(error, "Cannot find file declared in ResPack. Filename = ..\\secret");

    // IDs from an untrusted PAK never name paths outside the output folder.
    put("evil.pak", pakImage({{"../../escape", "T", 4 + 13 + 2 + 24, 1, 0}}, "e"));
    ASSERT_TRUE(pak::extractPak("evil.pak", "safe", error)) << error;
    EXPECT_TRUE(tst::fileExists("safe/evil/______escape.bin"));
}

TEST_F(PakTool, CommandLine)
{
    const std::string tool = TARNIS_PAK_PATH;
    EXPECT_EQ(std::system((tool + " build src/DATA cli.pak").c_str()), 0);
    EXPECT_EQ(std::system((tool + " list cli.pak > list.txt").c_str()), 0);
    EXPECT_NE(tst::readFile("list.txt").find("LVL_MAIN"), std::string::npos);
    put("bad.pak", le32(-1));
    int rc = std::system((tool + " extract bad.pak out 2> err.txt").c_str());
    EXPECT_TRUE(WIFEXITED(rc) && WEXITSTATUS(rc) == 1);
    EXPECT_EQ(tst::readFile("err.txt"), "tarnis-pak: Corrupted ResPack: bad.pak\n");
    rc = std::system((tool + " frobnicate 2> /dev/null").c_str());
    EXPECT_TRUE(WIFEXITED(rc) && WEXITSTATUS(rc) == 2);
}

} // namespace
