// The resource manager: the data-folder scan in XML and PAK mode, the loader
// registries, loading by ID and by tag, records, and untrusted PAK files.
#include <filesystem>
#include <memory>

#include "engine/core/ctarnis.h"
#include "engine/res/ctarnis_res_cres.h"
#include "tests/res/res_test_util.h"
#include "tests/support/test_support.h"

using namespace restest;

namespace {

class ResManager : public tst::InScratchDir {
protected:
    void SetUp() override
    {
        g_calls.clear();
        m_tarnis = std::make_unique<CTarnis>();
    }
    void TearDown() override { m_tarnis.reset(); }

    CTarnis& trs() { return *m_tarnis; }
    TItemsManager<CTRSResource>& catalogue() { return *trs().m_pResManager; }
    CTRSResource* record(const std::string& id)
    {
        int32_t slot = catalogue().FindByStrID(id);
        return slot < 0 ? nullptr : catalogue().GetItem(slot);
    }
    // Replaces a registered loader with the recording one.
    void recordType(const char* typeID)
    {
        trs().m_mapLoadRes.erase(typeID);
        trs().RES_RegisterLoadResFunction(recordLoad, typeID);
    }

    // A fresh engine's scan with the file at path holding content: what it raised.
    CEHSException initWith(const std::string& content, const std::string& path = "DATA/a.xml")
    {
        put(path, content);
        m_tarnis = std::make_unique<CTarnis>();
        return raised([&] { trs().RES_Init(); });
    }

    std::unique_ptr<CTarnis> m_tarnis;
};

TEST_F(ResManager, XMLDescriptorsWinOverPakFiles)
{
    put("DATA/a.xml", R"(<respack><r id="TEX_A" typeid="TEXTURE" filename="a.png" tag="1"/></respack>)");
    put("DATA/a.png", "png");
    put("DATA/b.pak", pakImage({{"TEX_P", "TEXTURE", 46, 1, 1}}, "x"));
    trs().RES_Init();
    EXPECT_EQ(trs().m_iResMode, TRS_RESMODE_XML);
    EXPECT_FALSE(trs().m_bXMLEncryptMode);
    EXPECT_NE(record("TEX_A"), nullptr);
    EXPECT_EQ(record("TEX_P"), nullptr);
    EXPECT_EQ(record("TEX_A")->GetFileName(), "./DATA/a.png");
    EXPECT_TRUE(tst::logCount("   =: Resources Subsystem operates in XML mode."));
    EXPECT_TRUE(tst::logCount("   =: Processing ResPack: ./DATA/a.xml"));
    EXPECT_TRUE(tst::logCount("   +: 1 resources found."));
    EXPECT_TRUE(tst::logCount("   +: 1 resource packs found."));
    EXPECT_TRUE(tst::logCount("--==: Initializing Resources Subsystem..."));
}

TEST_F(ResManager, NoDescriptorIsAWarningAndTheStandardLoadersAreStillThere)
{
    std::filesystem::create_directories("DATA");
    put("DATA/readme.txt", "not a descriptor");
    trs().RES_Init();
    EXPECT_EQ(trs().m_iResMode, TRS_RESMODE_NONE);
    EXPECT_TRUE(tst::logCount(" !: No resources were found!"));
    EXPECT_TRUE(tst::logCount("  -=: Registering resources-loading functions for standart resource types..."));
    for (const char* type : {"TEXTURE", "TECHNIQUE", "FONT", "PLAYLIST", "SCRIPT", "XMLDATA"})
        EXPECT_EQ(trs().m_mapLoadRes.count(type), 1u) << type;
    EXPECT_EQ(trs().m_mapLoadResEx.count("SOUND"), 1u);
    EXPECT_EQ(trs().m_mapLoadResEx.count("MUSIC"), 1u);
    trs().RES_LoadResource("TEX_BG");
    EXPECT_TRUE(tst::logCount(" !: Cannot find resource with ID = TEX_BG"));
    trs().RES_LoadResources(0);
    EXPECT_TRUE(tst::logCount("   +: 0 resources with Tag = 0 loaded."));
}

TEST_F(ResManager, DuplicateIDsAcrossDescriptorsStopTheScan)
{
    put("DATA/a.xml", R"(<respack><r id="TEX_BG" typeid="TEXTURE" filename="bg.png"/></respack>)");
    put("DATA/b.xml", R"(<respack><r id="TEX_OK" typeid="TEXTURE" filename="bg.png"/>)"
                      R"(<r id="TEX_BG" typeid="TEXTURE" filename="bg.png"/></respack>)");
    put("DATA/bg.png", "png");
    CEHSException e = raised([&] { trs().RES_Init(); });
    EXPECT_EQ(e.m_iType, EHS_TYPE_GAME);
    EXPECT_EQ(e.m_strDescription, "Dublicated resource. ID = TEX_BG");
    EXPECT_EQ(e.m_strFile, "engine/res/ctarnis_res_main.cpp");
    // What was catalogued before the error stays.
    EXPECT_NE(record("TEX_OK"), nullptr);
}

TEST_F(ResManager, DescriptorErrors)
{
    put("DATA/empty.png", "");
    put("DATA/x.png", "x");
    const struct {
        const char* xml;
        int32_t type;
        const char* text;
    } cases[] = {
        {"<pack/>", EHS_TYPE_GAME, "Wrong XML ResPack descriptor: ./DATA/a.xml"},
        {R"(<respack><r id="A" typeid="T" filename="gone.png"/></respack>)", EHS_TYPE_GAME,
         "Cannot find file declared in ResPack. Filename = gone.png"},
        {R"(<respack><r id="A" typeid="T" filename="empty.png"/></respack>)", EHS_TYPE_GENERAL,
         "Wrong resource file - check if it exists!"},
        // The record's own checks (see ResRecord) apply to the scan.
        {R"(<respack><r typeid="T" filename="x.png"/></respack>)", EHS_TYPE_GENERAL, "Invalid resource ID!"},
    };
    for (const auto& c : cases) {
        CEHSException e = initWith(c.xml);
        EXPECT_EQ(e.m_iType, c.type) << c.text;
        EXPECT_EQ(e.m_strDescription, c.text);
    }
    put("DATA/a.xml", "");
    m_tarnis = std::make_unique<CTarnis>();
    EXPECT_EQ(thrownText([&] { trs().RES_Init(); }), "XMLERROR: the file is empty - ./DATA/a.xml");
}

TEST_F(ResManager, DescriptorNumbersAndPathsFromOtherSystems)
{
    // Upper-case extension, '\' separators and letter case that differs from the disk.
    put("DATA/Pack.XML", "<respack>\r\n"
                         R"(<r id="A" typeid="T" filename="Tex\Sub\BG.png" tag="3" data1="12abc" data2="" data3="-4"/>)"
                         "\r\n"
                         R"(<r id="B" typeid="T" filename="tex/sub/bg.PNG" tag="abc" data1="x"/>)"
                         R"(<r id="C" typeid="T" filename="./tex//sub/bg.PNG"/>)"
                         "</respack>");
    put("DATA/tex/sub/bg.PNG", "12345");
    trs().RES_Init();
    ASSERT_EQ(trs().m_iResMode, TRS_RESMODE_XML);
    CTRSResource* a = record("A");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->GetFileName(), "./DATA/tex/sub/bg.PNG");
    EXPECT_EQ(a->GetSize(), 5);
    EXPECT_EQ(a->GetOffset(), 0);
    EXPECT_EQ(a->GetTag(), 3);
    EXPECT_EQ(a->GetData1(), 12);
    EXPECT_EQ(a->GetData2(), 0);
    EXPECT_EQ(a->GetData3(), -4);
    // Values that are not numbers count as 0.
    EXPECT_EQ(record("B")->GetTag(), 0);
    EXPECT_EQ(record("B")->GetData1(), 0);
    EXPECT_EQ(record("C")->GetFileName(), "./DATA/./tex/sub/bg.PNG");
}

TEST_F(ResManager, TextsCutShortAreUsedWithOneWarningNamingThem)
{
    put("DATA/a.xml", R"(<respack><r id="XD" typeid="XMLDATA" filename="x.dat"/><!-- the rest is lost)");
    put("DATA/x.dat", "<xmldata>");
    trs().RES_Init();
    trs().RES_LoadResource("XD");
    std::vector<std::string> warnings;
    for (const std::string& line : tst::readLines("gamelog.txt"))
        if (line.find("cut short") != std::string::npos) warnings.push_back(line);
    ASSERT_EQ(warnings.size(), 2u);
    EXPECT_NE(warnings[0].find("Warning: XML descriptor ./DATA/a.xml is cut short: the text ends inside a comment"),
              std::string::npos);
    EXPECT_NE(warnings[1].find("Warning: XML text of resource XD is cut short: the text ends before the root element"),
              std::string::npos);
}

TEST_F(ResManager, NamesOutsideTheDataFolderAreNotFound)
{
    put("secret.txt", "secret");
    put("DATA/tex/a.png", "a");
    std::filesystem::path abs = std::filesystem::absolute("secret.txt");
    const std::string names[] = {"..\\secret.txt", "../secret.txt", "tex/../../secret.txt", "TEX\\..\\..\\secret.txt",
                                 abs.string(), "\\" + abs.string().substr(1), "C:\\secret.txt"};
    for (const std::string& name : names) {
        EXPECT_EQ(initWith(R"(<respack><r id="S" typeid="T" filename=")" + name + R"("/></respack>)").m_strDescription,
                  "Cannot find file declared in ResPack. Filename = " + name);
    }
    // Climbing within the data folder is fine.
    EXPECT_EQ(initWith(R"(<respack><r id="S" typeid="T" filename="tex/../tex/a.png"/></respack>)").m_iType, -1);
    EXPECT_NE(record("S"), nullptr);
}

TEST_F(ResManager, LoadingByTagFollowsCatalogueOrderAndTagZeroLoadsAll)
{
    put("DATA/a.xml", R"(<respack>
        <r id="R1" typeid="REC" filename="1.bin" tag="2" data1="7" data2="8" data3="9"/>
        <r id="R2" typeid="REC" filename="2.bin" tag="1"/>
        <r id="R3" typeid="REC" filename="3.bin" tag="2"/>
        <r id="R4" typeid="REC" filename="4.bin" tag="5"/>
    </respack>)");
    for (int i = 1; i <= 4; ++i) put("DATA/" + std::to_string(i) + ".bin", "bytes" + std::to_string(i));
    trs().RES_Init();
    trs().RES_RegisterLoadResFunction(recordLoad, "REC");
    trs().RES_LoadResources(2);
    ASSERT_EQ(g_calls.size(), 2u);
    EXPECT_EQ(str(g_calls[0]), "R1|bytes1||0|6|2|7|8|9");
    EXPECT_EQ(g_calls[1].id, "R3");
    EXPECT_EQ(catalogue().GetScanPos(), -1);
    EXPECT_TRUE(tst::logCount("  -=: Loading resources with Tag = 2"));
    EXPECT_TRUE(tst::logCount("   +: 2 resources with Tag = 2 loaded."));
    // Records hold no bytes after their load.
    EXPECT_FALSE(record("R1")->IsLoaded());
    EXPECT_EQ(record("R1")->GetData(), nullptr);

    g_calls.clear();
    trs().RES_LoadResources(0);
    ASSERT_EQ(g_calls.size(), 4u);
    EXPECT_EQ(g_calls[3].id, "R4");
    // Loading again calls the loader again.
    g_calls.clear();
    trs().RES_LoadResource("R2");
    trs().RES_LoadResource("R2");
    EXPECT_EQ(g_calls.size(), 2u);
}

TEST_F(ResManager, LoaderRegistriesAndLoadErrors)
{
    EXPECT_EQ(raised([&] { trs().RES_LoadResource("X"); }).m_strDescription,
              "Resources subsystem was not initialized!");
    EXPECT_EQ(raised([&] { trs().RES_LoadResources(1); }).m_iType, EHS_TYPE_GAME);
    put("DATA/a.xml", R"(<respack><r id="W" typeid="WEIRD" filename="w"/><r id="T" typeid="TEXTURE" filename="w"/>
                         <r id="S" typeid="SOUND" filename="w" tag="1" data1="1" data2="0"/></respack>)");
    put("DATA/w", "w");
    trs().RES_Init(); // an unknown type ID is no problem while scanning

    CEHSException again = raised([&] { trs().RES_RegisterLoadResFunction(recordLoad, "TEXTURE"); });
    EXPECT_EQ(again.m_iType, EHS_TYPE_GAME);
    EXPECT_EQ(again.m_strDescription, "LoadRes function already registered for TypeID = TEXTURE");
    EXPECT_EQ(raised([&] { trs().RES_RegisterLoadResExFunction(recordLoadEx, "SOUND"); }).m_strDescription,
              "LoadResEx function already registered for TypeID = SOUND");

    CEHSException weird = raised([&] { trs().RES_LoadResource("W"); });
    EXPECT_EQ(weird.m_iType, EHS_TYPE_GAME);
    EXPECT_EQ(weird.m_strDescription, "Cannot load resource: no function registered for Res_Type = WEIRD");
    EXPECT_EQ(raised([&] { trs().RES_LoadResourceRecord(nullptr); }).m_strDescription,
              "Resource subsystem was not initialized!");

    // A type in both registries is loaded by the LoadRes one.
    trs().RES_RegisterLoadResExFunction(recordLoadEx, "WEIRD");
    trs().RES_RegisterLoadResFunction(recordLoad, "WEIRD");
    trs().RES_LoadResource("W");
    ASSERT_EQ(g_calls.size(), 1u);
    EXPECT_EQ(g_calls[0].bytes, "w");

    // A loader that raises: its error is the report, every time, and the record is released.
    trs().m_mapLoadRes["TEXTURE"] = [](const uint8_t*, int32_t, const char*, int32_t, int32_t, int32_t, int32_t) {
        EHS_THROW(EHS_TYPE_GAME, 0, "Corrupted texture");
    };
    for (int attempt = 0; attempt < 2; ++attempt) {
        EXPECT_EQ(raised([&] { trs().RES_LoadResource("T"); }).m_strDescription, "Corrupted texture") << attempt;
        EXPECT_FALSE(record("T")->IsLoaded());
    }

    trs().RES_Deinit();
    EXPECT_TRUE(tst::logCount("--==: Deinitializing Resources Subsystem..."));
    EXPECT_TRUE(trs().m_mapLoadRes.empty());
    EXPECT_EQ(trs().m_mapLoadResEx.count("SOUND"), 1u) << "the LoadResEx registry lives on";
    EXPECT_EQ(raised([&] { trs().RES_LoadResource("W"); }).m_strDescription,
              "Resources subsystem was not initialized!");
}

TEST_F(ResManager, StreamedTypesAreNeverReadByTheManager)
{
    put("DATA/a.xml", R"(<respack><r id="SND_A" typeid="SOUND" filename="a.ogg" tag="4" data1="1" data2="3"/>
                         </respack>)");
    put("DATA/a.ogg", "OggS....");
    trs().RES_Init();
    trs().m_mapLoadResEx.erase("SOUND");
    trs().RES_RegisterLoadResExFunction(recordLoadEx, "SOUND");
    // Even a file that went away is not touched: the loader gets its location.
    std::filesystem::remove("DATA/a.ogg");
    trs().RES_LoadResource("SND_A");
    ASSERT_EQ(g_calls.size(), 1u);
    EXPECT_EQ(str(g_calls[0]), "SND_A||./DATA/a.ogg|0|8|4|1|3|0");
}

TEST_F(ResManager, PakModeScramblesXMLAndDropsLaterDuplicates)
{
    // Directory: 4 + (6+8+24) * 3 = 118 bytes; data from there.
    put("DATA/game.pak", pakImage({{"TEX_A1", "RECORD", 118, 3, 1, 5, 6, 7},
                                   {"TEX_B1", "RECORD", 121, 2, 2},
                                   {"TEX_A1", "RECORD", 118, 1, 9}},
                                  "abcXY"));
    trs().RES_Init();
    EXPECT_EQ(trs().m_iResMode, TRS_RESMODE_PAK);
    EXPECT_TRUE(trs().m_bXMLEncryptMode);
    EXPECT_TRUE(tst::logCount("   =: Resources Subsystem operates in PAK mode."));
    EXPECT_TRUE(tst::logCount("   +: 3 resources found.")) << "the header's count, duplicates included";
    EXPECT_EQ(catalogue().GetSlotCount(), 2);
    CTRSResource* a = record("TEX_A1");
    EXPECT_EQ(a->GetTag(), 1) << "the first entry stays";
    EXPECT_EQ(a->GetFileName(), "./DATA/game.pak");
    EXPECT_EQ(a->GetOffset(), 118);
    trs().RES_RegisterLoadResFunction(recordLoad, "RECORD");
    trs().RES_LoadResources(0);
    ASSERT_EQ(g_calls.size(), 2u);
    EXPECT_EQ(str(g_calls[0]), "TEX_A1|abc||0|3|1|5|6|7");
    EXPECT_EQ(str(g_calls[1]), "TEX_B1|XY||0|2|2|0|0|0");
}

TEST_F(ResManager, CorruptedPakFilesAreRejectedCleanly)
{
    // Directory: 4 + 4 + 24 = 32 bytes, then one byte of data.
    const std::string good = pakImage({{"A", "T", 32, 1, 1}}, "z");
    ASSERT_EQ(good.size(), 33u);
    const std::vector<std::pair<const char*, std::string>> cases = {
        {"shorter than the count", "\x01\x00"},
        {"negative count", le32(-1)},
        {"count beyond the file", le32(0x7FFFFFFF) + "A"},
        {"count larger than the entries", le32(2) + good.substr(4)},
        {"ID runs past the end", le32(1) + "ABC"},
        {"type ID runs past the end", le32(1) + std::string("A\0TY", 4)},
        {"integers cut short", good.substr(0, 20)},
        {"negative size", pakImage({{"A", "T", 32, -1, 1}}, "z")},
        {"negative offset", pakImage({{"A", "T", -4, 1, 1}}, "z")},
        {"block past the end", pakImage({{"A", "T", 32, 2, 1}}, "z")},
        {"offset past the end", pakImage({{"A", "T", 0x7FFFFFF0, 0x10, 1}}, "z")},
    };
    for (const auto& [what, image] : cases) {
        CEHSException e = initWith(image, "DATA/bad.pak");
        EXPECT_EQ(e.m_iType, EHS_TYPE_GAME) << what;
        EXPECT_EQ(e.m_strDescription, "Corrupted ResPack: ./DATA/bad.pak") << what;
    }
    // A zero size is the record's own refusal.
    EXPECT_EQ(initWith(pakImage({{"A", "T", 32, 0, 1}}, "z"), "DATA/bad.pak").m_strDescription,
              "Invalide resource name - check if resource file exist!");
}

TEST_F(ResManager, DataOfAFileThatShrankOrVanishedIsAnError)
{
    put("DATA/a.xml", R"(<respack><r id="R" typeid="REC" filename="r.bin"/></respack>)");
    put("DATA/r.bin", "0123456789");
    trs().RES_Init();
    trs().RES_RegisterLoadResFunction(recordLoad, "REC");
    put("DATA/r.bin", "0123");
    CEHSException shorter = raised([&] { trs().RES_LoadResource("R"); });
    EXPECT_EQ(shorter.m_iType, EHS_TYPE_GAME);
    EXPECT_EQ(shorter.m_strDescription, "Cannot read resource data. Filename = ./DATA/r.bin");
    EXPECT_TRUE(g_calls.empty());
    EXPECT_FALSE(record("R")->IsLoaded());
    std::filesystem::remove("DATA/r.bin");
    EXPECT_EQ(raised([&] { trs().RES_LoadResource("R"); }).m_strDescription,
              "Cannot read resource data. Filename = ./DATA/r.bin");
    put("DATA/r.bin", "abcdefghijXYZ");
    trs().RES_LoadResource("R");
    ASSERT_EQ(g_calls.size(), 1u);
    EXPECT_EQ(g_calls[0].bytes, "abcdefghij") << "the size taken at the scan";
}

TEST(ResRecord, ChecksAndLoadStates)
{
    auto make = [](const char* id, const char* type, const char* file, int32_t size) {
        return raised([&] { CTRSResource r(id, type, 0, file, 0, size, 0, 0, 0); });
    };
    CEHSException id = make("", "T", "f", 1);
    EXPECT_EQ(id.m_strDescription, "Invalid resource ID!");
    EXPECT_EQ(id.m_iCode, 1);
    EXPECT_EQ(id.m_strFile, "engine/res/ctarnis_res_cres.cpp");
    EXPECT_EQ(make("", "", "", 0).m_strDescription, "Invalid resource ID!") << "checked in order";
    EXPECT_EQ(make("I", "", "f", 1).m_strDescription, "Invalid resource type ID!");
    CEHSException file = make("I", "T", "", 1);
    EXPECT_EQ(file.m_strDescription, "Invalid resource filename!");
    EXPECT_EQ(file.m_iCode, 1);
    CEHSException size = make("I", "T", "f", 0);
    EXPECT_EQ(size.m_strDescription, "Invalide resource name - check if resource file exist!");
    EXPECT_EQ(size.m_iType, EHS_TYPE_GENERAL);
    EXPECT_EQ(size.m_iCode, 0);

    tst::ScratchDir dir;
    put("r.bin", "xyz");
    CTRSResource r("I", "T", 0, "r.bin", 1, 2, 0, 0, 0);
    EXPECT_EQ(raised([&] { r.DataUnLoad(); }).m_strDescription, "Internal error in CTRSResource::DataUnLoad()!");
    r.DataLoad();
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(r.GetData()), 2), "yz");
    CEHSException twice = raised([&] { r.DataLoad(); });
    EXPECT_EQ(twice.m_strDescription, "Internal error in CTRSResource::DataLoad()!");
    EXPECT_EQ(twice.m_iCode, 1);
    // Destroyed while loaded: the bytes go with the record (the sanitizer build checks).
}

} // namespace
