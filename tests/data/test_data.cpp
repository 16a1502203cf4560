// The game's data folder: running the generators again gives the committed
// files byte for byte, and every resource the descriptors declare loads into
// its manager (the game's own play covers the PAK packed from them).
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <set>

#include "engine/core/ctarnis.h"
#include "engine/res/ctarnis_res_cres.h"
#include "engine/res/ctarnis_utils_csmartid.h"
#include "engine/res/ctarnis_utils_cxmlparser.h"
#include "engine/res/ctarnis_utils_cxmlvar.h"
#include "gui/trsgui_ctarnisgui.h"
#include "tests/support/test_support.h"

namespace fs = std::filesystem;

namespace {

CXMLVarInt g_gameID("quorilgameid");
CXMLVarFloat g_actionTime("actiontime");

// Files written by other tools or by the game, not by the asset generator.
bool notGenerated(const std::string& rel)
{
    return rel == "levels/board1.xml" || rel == "quorilhs.dat";
}

std::map<std::string, std::string> generatedFiles(const std::string& dir)
{
    std::map<std::string, std::string> files;
    for (const auto& e : fs::recursive_directory_iterator(dir)) {
        if (!e.is_regular_file()) continue;
        const std::string rel = fs::relative(e.path(), dir).generic_string();
        if (!notGenerated(rel)) files[rel] = tst::readFile(e.path().string());
    }
    return files;
}

class DataFolder : public tst::InScratchDir {};

TEST_F(DataFolder, GeneratorsReproduceTheCommittedFiles)
{
    ASSERT_EQ(std::system((std::string(GEN_ASSETS_PATH) + " generated").c_str()), 0);
    const auto committed = generatedFiles(DATA_DIR), fresh = generatedFiles("generated");
    for (const auto& [name, bytes] : fresh) {
        auto it = committed.find(name);
        if (it == committed.end()) ADD_FAILURE() << name << " is generated but not committed";
        else EXPECT_TRUE(it->second == bytes) << name << " differs from what the generator writes";
    }
    for (const auto& [name, bytes] : committed)
        EXPECT_TRUE(fresh.count(name)) << name << " is committed but no generator writes it";
}

// What the loaders that belong to the game and the GUI received: root names by ID.
std::map<std::string, std::string>& rootsSeen()
{
    static std::map<std::string, std::string> roots;
    return roots;
}

void recordRoot(const uint8_t* data, int32_t size, const char* id, int32_t, int32_t, int32_t, int32_t)
{
    CXMLParser p;
    p.LoadFromBuffer(data, size, CTarnis::Instance()->m_bXMLEncryptMode);
    p.Parse();
    rootsSeen()[id] = p.GetRoot()->GetName();
}

void noAction() {}

// The actions the game registers before it loads its screens.
const char* const kGameActions[] = {
    "WND_DTP_MAINWINDOW_ONSHOW", "BTN_MW_START_ONPRESS", "BTN_MW_HELP_ONPRESS", "BTN_MW_EXIT_ONPRESS",
    "FLX_MW_GAMEBOARD_ONREDRAW", "WND_DTP_COMPLETE_ONSHOW", "BTN_CMP_OK_ONPRESS", "WND_DTP_HIGHSCORE_ONSHOW",
    "BTN_HS_OK_ONPRESS", "TBX_HS_NAME_ONINPUT", "WND_DTP_HELP_ONSHOW", "BTN_HLP_OK_ONPRESS"};

// Elements the game reaches by ID.
const char* const kGameElements[] = {
    "WND_DTP_MAINWINDOW", "WND_DTP_HELP", "WND_DTP_COMPLETE", "WND_DTP_HIGHSCORE", "FLX_MW_GAMEBOARD",
    "TILE_MW_MOVES", "L_MW_MOVES_MOVES", "TILE_MW_BESTRESULT", "L_MW_BESTRESULT_NAME", "L_MW_BESTRESULT_MOVES",
    "TBX_HS_NAME", "BTN_HS_OK", "BTN_MW_START", "BTN_MW_HELP", "BTN_MW_EXIT", "BTN_CMP_OK", "BTN_HLP_OK"};

// Shows every window and runs the GUI for a second of frames, as the game
// does, so that every element is updated and drawn at least once.
void runScreens(CTarnis* t, CTarnisGUI* gui)
{
    for (const char* id : kGameElements) EXPECT_GE(gui->GetElementID(id), 0) << id;
    const GUIRECT board = gui->GetElementParam("FLX_MW_GAMEBOARD", "coords").GetRect();
    EXPECT_GT(board.width, 0.0f);
    EXPECT_GT(board.height, 0.0f);
    t->m_fFrameDeltaSec = 0.05f;
    t->m_iFrameDelta = 50;
    for (const char* wnd : {"WND_DTP_MAINWINDOW", "WND_DTP_HELP", "WND_DTP_COMPLETE", "WND_DTP_HIGHSCORE"}) {
        gui->ExecuteElementCommand(wnd, 1, 0.0f);
        for (int frame = 0; frame < 20; ++frame) {
            gui->Update();
            t->GFX_SceneBegin();
            t->GFX_SceneClearScreen(0, 0, 0);
            gui->Render();
            t->GFX_SceneEnd();
            t->GFX_ScenePresent();
        }
        gui->ExecuteElementCommand(wnd, 2, 0.0f);
    }
}

// Loads everything in ./DATA by tags 1 to 9, as the game does, and checks that
// each catalogued resource became an item of its kind.
void checkEverything(CTarnis* t)
{
    t->LOG_WriteHeader("Data Test", "v.1");
    t->RES_Init();
    t->GFX_Preinit(800, 600);
    t->GFX_Init(2, false);
    t->INP_Init();
    t->SFX_Init(44100);
    t->SCR_Init();
    ASSERT_FALSE(t->m_bNoSoundMode);
    std::unique_ptr<CTarnisGUI> gui(new CTarnisGUI);
    for (const char* a : kGameActions) gui->RegisterAction(a, noAction);
    t->RES_RegisterLoadResFunction(recordRoot, "LEVEL");
    for (int32_t tag = 1; tag <= 9; ++tag) t->RES_LoadResources(tag);
    runScreens(t, gui.get());

    std::set<std::string> types;
    auto* cat = t->RES_GetResourcesManager();
    for (int32_t slot = 0; slot < cat->GetSlotCount(); ++slot) {
        const CTRSResource* r = cat->GetItem(slot);
        if (!r) continue;
        const std::string& id = r->GetID();
        const std::string& type = r->GetTypeID();
        types.insert(type);
        if (type == "TEXTURE") EXPECT_GE(t->GFX_TexGetID(id.c_str()), 0) << id;
        else if (type == "FONT") EXPECT_GE(t->GFX_FontGetID(id.c_str()), 0) << id;
        else if (type == "SOUND") EXPECT_GE(t->SFX_GetSoundID(id.c_str()), 0) << id;
        else if (type == "MUSIC") EXPECT_GE(t->SFX_GetMusicID(id.c_str()), 0) << id;
        else if (type == "PLAYLIST") EXPECT_GE(t->SFX_GetPlaylistID("PLS_GAME"), 0) << id;
        else if (type == "LEVEL") EXPECT_EQ(rootsSeen()[id], "boarddata") << id;
        else if (type == "GUIENUMDATA") EXPECT_NE(gui->FindEnum(id), nullptr) << id;
        else if (type != "TECHNIQUE" && type != "XMLDATA" && type != "GUIDATA" && type != "GUISTYLEDATA")
            ADD_FAILURE() << id << " has an unexpected type " << type;
    }
    EXPECT_EQ(types.size(), 11u);
    for (const char* teq : {"TEQ_STD2", "TEQ_GUI", "TEQ_FONT"}) EXPECT_GE(t->GFX_TechGetID(teq), 0) << teq;
    EXPECT_EQ(g_gameID.m_iValue, 1);
    EXPECT_GT(g_actionTime.m_fValue, 0.0f);

    // The music is read when it starts: load it once as a preloaded module.
    const int32_t slot = cat->FindByStrID("MUS_GAME");
    ASSERT_GE(slot, 0);
    const CTRSResource* mus = cat->GetItem(slot);
    EXPECT_GE(t->SFX_LoadMusic(mus->GetFileName().c_str(), "MUS_CHECK", 0, mus->GetOffset(), mus->GetSize(), 1), 0);
}

void loadAndCheckEverything()
{
    rootsSeen().clear();
    g_gameID.m_iValue = 0;
    g_actionTime.m_fValue = 0;
    CSmartID::CreateIDsMap();
    auto* t = new CTarnis;
    try {
        checkEverything(t);
    } catch (const CEHSException& e) {
        ADD_FAILURE() << "engine error: " << e.m_strDescription;
    } catch (const char* text) {
        ADD_FAILURE() << "engine error: " << text;
    }
    delete t;
    CSmartID::DestroyIDsMap();
}

TEST_F(DataFolder, EveryResourceLoadsFromLooseFiles)
{
    fs::create_directory("DATA");
    for (const auto& e : fs::directory_iterator(DATA_DIR))
        if (e.path().filename() != "quorilhs.dat") fs::copy(e.path(), "DATA" / e.path().filename(), fs::copy_options::recursive);
    loadAndCheckEverything();
}

} // namespace
