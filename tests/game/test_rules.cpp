// The puzzle's rules and the screens' flow: placing, steering, blocked moves,
// the slide's timing on an injected clock, click mapping at the board's edge,
// barriers, help and start in each state, and which dialog ends a game.
#include <filesystem>

#include "engine/core/ctarnis.h"
#include "game/cgame_element.h"
#include "game/gamelogic_main.h"
#include "game/gameplay_main.h"
#include "game/highscore.h"
#include "game/resload_functions.h"
#include "gui/trsgui_ctarnisgui.h"
#include "tests/sfx/sfx_test_audio.h"

namespace {

constexpr int32_t kText = 53;
constexpr float kOrigin = 50.0f;
constexpr float kCell = 10.0f;

// Stands in for every element the game talks to: the base's flags and commands, plus a text.
class Probe : public CGUIElement {
public:
    using CGUIElement::CGUIElement;
    void SetParam(int32_t id, const CGUIValue& v) override
    {
        if (id == kText) m_text = v.GetString();
        else CGUIElement::SetParam(id, v);
    }
    CGUIValue GetParam(int32_t id) override { return id == kText ? CGUIValue(m_text) : CGUIElement::GetParam(id); }
    std::string m_text;
};

class Game : public sfxtest::EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        std::filesystem::create_directory("DATA");
        startSound();
        ASSERT_TRUE(sfxtest::writeSound("move.wav", sfxtest::constant(0.5f, 44100), 1, 44100));
        m_engine->SFX_LoadSound("move.wav", "SND_PIECEMOVE", 0, false, 1, false, 0, 0);
        g_pTRS = m_engine;
        g_pGUI = new CTarnisGUI;
        g_pGUI->RegisterClass([](const std::string& id) -> CGUIElement* { return new Probe(id); }, "probe");
        for (const char* id : {"WND_DTP_MAINWINDOW", "WND_DTP_HELP", "WND_DTP_COMPLETE", "WND_DTP_HIGHSCORE",
                               "TILE_MW_MOVES", "L_MW_MOVES_MOVES", "TILE_MW_BESTRESULT", "L_MW_BESTRESULT_NAME",
                               "L_MW_BESTRESULT_MOVES", "TBX_HS_NAME", "BTN_HS_OK"})
            g_pGUI->AddNewElement("probe", id, 0);
        RegisterGameActions();
        g_fBoardOriginX = g_fBoardOriginY = kOrigin;
        g_fCellWidth = g_fCellHeight = kCell;
        g_xvActionTime.m_fValue = 0.0f;
    }
    void TearDown() override
    {
        FreeCurrentPiece();
        delete g_pGUI;
        g_pGUI = nullptr;
        g_LevelDesc = LevelDescription();
        g_iGameState = GAMESTATE_NOGAME;
        EngineTest::TearDown();
    }
    void newGame(int32_t sizeX, int32_t sizeY, std::vector<LevelBarrier> barriers = {})
    {
        g_LevelDesc = LevelDescription{sizeX, sizeY, std::move(barriers)};
        StartGame();
    }
    // One frame of the game's logic; a click lands in the middle of cell (x, y) unless pixels are given.
    void frame(float delta, int32_t x = -9, int32_t y = -9, bool pixels = false)
    {
        m_engine->m_fFrameDeltaSec = delta;
        m_engine->m_PrevMouseState.rgbButtons[0] = 0;
        m_engine->m_MouseState.rgbButtons[0] = x == -9 ? 0 : 0x80;
        if (x != -9)
            m_engine->m_ptCursor = pixels ? POINT{x, y} : POINT{LONG(kOrigin + kCell * x + 5), LONG(kOrigin + kCell * y + 5)};
        UpdateGame();
    }
    void click(int32_t x, int32_t y) { frame(0.01f, x, y); }
    bool soundPlaying() { return m_engine->SFX_SoundGetStatus("SND_PIECEMOVE") != 0; }
    std::string text(const char* id) { return g_pGUI->GetElementParam(id, kText).GetString(); }
    bool visible(const char* id) { return g_pGUI->GetElementParam(id, GUIPARAM_VISIBLE).GetBool(); }
    void action(const char* name) { g_pGUI->FindAction(name)(); }
};

TEST_F(Game, TwoByTwoWalkThroughScoresFour)
{
    newGame(2, 2);
    EXPECT_EQ(g_iGameState, GAMESTATE_PLACEMENT);
    EXPECT_TRUE(visible("TILE_MW_MOVES"));
    const struct {
        int32_t x, y, moves;
    } steps[] = {{0, 0, 1}, {1, 0, 2}, {1, 1, 3}, {0, 1, 4}};
    for (const auto& s : steps) {
        EXPECT_FALSE(visible("WND_DTP_HIGHSCORE"));
        click(s.x, s.y);
        EXPECT_EQ(g_iMoves, s.moves);
        EXPECT_EQ(text("L_MW_MOVES_MOVES"), std::to_string(s.moves));
        EXPECT_EQ(g_Board.At(s.x, s.y), CELL_COVERED);
        EXPECT_EQ(g_pCurrentPiece->m_iCellX, s.x);
        EXPECT_EQ(g_pCurrentPiece->m_iCellY, s.y);
    }
    EXPECT_TRUE(soundPlaying());
    EXPECT_TRUE(IsGameOver());
    // No record yet: the new best gets the high-score window over a disabled main window.
    EXPECT_TRUE(visible("WND_DTP_HIGHSCORE"));
    EXPECT_FALSE(g_pGUI->GetElementParam("WND_DTP_MAINWINDOW", GUIPARAM_ENABLED).GetBool());
}

TEST_F(Game, BlockedDirectionChangesNothingAndIsSilent)
{
    newGame(3, 2, {{3, 1}}); // barrier right of the middle cell of the top row
    click(1, 0);
    click(2, 0); // the barrier
    click(2, 1); // a diagonal
    click(0, 0); // a real move
    EXPECT_EQ(g_pCurrentPiece->m_iCellX, 0);
    m_engine->SFX_SoundStop("SND_PIECEMOVE");
    click(2, 0); // right again: the covered middle cell blocks
    EXPECT_EQ(g_iGameState, GAMESTATE_STEERING);
    EXPECT_EQ(g_pCurrentPiece->m_iState, PIECESTATE_IDLE);
    EXPECT_EQ(g_iMoves, 2);
    EXPECT_FALSE(soundPlaying());
    EXPECT_EQ(g_Board.At(2, 0), CELL_BARRIER);
}

TEST_F(Game, SlideTakesActionTimePerCellOnTheFrameClock)
{
    newGame(4, 1);
    g_xvActionTime.m_fValue = 0.25f; // exact in binary: sums of deltas compare exactly
    click(0, 0);
    frame(0.25f, 3, 0);              // the click's frame counts: 0.25 of 0.75 s
    EXPECT_EQ(g_iGameState, GAMESTATE_MOVING);
    EXPECT_NEAR(g_pCurrentPiece->m_fScreenX, kOrigin + 10.0f, 1e-3); // constant speed: a third of 30 px
    frame(0.25f);
    EXPECT_NEAR(g_pCurrentPiece->m_fScreenX, kOrigin + 20.0f, 1e-3);
    EXPECT_EQ(g_Board.At(3, 0), CELL_FREE);
    frame(0.25f);
    EXPECT_TRUE(visible("WND_DTP_HIGHSCORE")) << "finished, stuck, result shown";
    EXPECT_EQ(g_iMoves, 4);
    EXPECT_EQ(g_Board.At(3, 0), CELL_COVERED);
    EXPECT_FLOAT_EQ(g_pCurrentPiece->m_fScreenX, kOrigin + 30.0f);
}

TEST_F(Game, ClicksMapToCellsAndDirections)
{
    // From the middle of a 3 × 3 board; pixels relative to the board's origin.
    const struct {
        int32_t px, py, cellX, cellY;
    } cases[] = {
        {15, 5, 1, 0},  {25, 15, 2, 1}, {15, 25, 1, 2}, {5, 15, 0, 1}, // up, right, down, left
        {15, 15, 1, 1}, {5, 5, 1, 1},                                  // the piece itself, a diagonal
        {-3, 15, 0, 1},                                                // a few pixels left of the board: column 0
        {-13, 15, 1, 1},                                               // more than a cell left: outside
    };
    for (const auto& c : cases) {
        newGame(3, 3);
        click(1, 1);
        frame(0.01f, int32_t(kOrigin) + c.px, int32_t(kOrigin) + c.py, true);
        EXPECT_EQ(g_pCurrentPiece->m_iCellX, c.cellX) << c.px << "," << c.py;
        EXPECT_EQ(g_pCurrentPiece->m_iCellY, c.cellY) << c.px << "," << c.py;
        EXPECT_EQ(g_iGameState, GAMESTATE_STEERING);
    }
}

TEST_F(Game, BarriersAtBothCornersBlockPlacement)
{
    newGame(3, 3, {{1, 1}, {3, 3}});
    EXPECT_EQ(g_Board.At(0, 0), CELL_BARRIER);
    EXPECT_EQ(g_Board.At(2, 2), CELL_BARRIER);
    EXPECT_EQ(g_Board.At(1, 1), CELL_FREE);
    g_Board.At(-1, 0) = CELL_COVERED;
    EXPECT_EQ(g_Board.At(-1, 0), -1) << "a write outside is lost";
    EXPECT_EQ(g_Board.At(3, 0), -1);
    click(2, 2);
    click(0, 0);
    EXPECT_EQ(g_iGameState, GAMESTATE_PLACEMENT);
    EXPECT_EQ(g_pCurrentPiece, nullptr);
}

TEST_F(Game, HelpAndStartInEachState)
{
    const struct {
        int32_t placed; // 0 no game, 1 board waiting, 2 piece placed, 3 moving
        int32_t afterHelp;
    } cases[] = {{0, GAMESTATE_NOGAME}, {1, GAMESTATE_PLACEMENT}, {2, GAMESTATE_STEERING}, {3, GAMESTATE_MOVING}};
    for (const auto& c : cases) {
        g_iGameState = GAMESTATE_NOGAME;
        FreeCurrentPiece();
        g_xvActionTime.m_fValue = 1.0f;
        if (c.placed >= 1) newGame(3, 1);
        if (c.placed >= 2) click(0, 0);
        if (c.placed >= 3) click(2, 0);
        action("BTN_MW_HELP_ONPRESS");
        // The window runs its show handler as it starts showing.
        if (visible("WND_DTP_HELP")) action("WND_DTP_HELP_ONSHOW");
        EXPECT_EQ(visible("WND_DTP_HELP"), c.placed != 3);
        click(2, 0); // the board takes no clicks under the help
        action("BTN_HLP_OK_ONPRESS");
        EXPECT_EQ(g_iGameState, c.afterHelp) << c.placed;
        EXPECT_EQ(g_iMoves, c.placed >= 2 ? 1 : 0) << c.placed;
        g_pGUI->ExecuteElementCommand("WND_DTP_HELP", GUICMD_HIDE, 0.0f);
        action("BTN_MW_START_ONPRESS");
        EXPECT_EQ(g_iGameState, GAMESTATE_PLACEMENT);
        EXPECT_EQ(g_pCurrentPiece, nullptr);
        EXPECT_EQ(text("L_MW_MOVES_MOVES"), "0");
    }
}

TEST_F(Game, TieWithTheRecordIsNoNewRecord)
{
    tst::writeFile("DATA/quorilhs.dat", std::string("ABC\0\x02\0\0\0", 8));
    newGame(2, 1);
    EXPECT_TRUE(visible("TILE_MW_BESTRESULT"));
    EXPECT_EQ(text("L_MW_BESTRESULT_NAME"), "ABC");
    EXPECT_EQ(text("L_MW_BESTRESULT_MOVES"), "2");
    click(0, 0);
    click(1, 0);
    EXPECT_TRUE(visible("WND_DTP_COMPLETE"));
    EXPECT_FALSE(visible("WND_DTP_HIGHSCORE"));
    action("BTN_CMP_OK_ONPRESS");
    EXPECT_EQ(tst::readFile("DATA/quorilhs.dat"), std::string("ABC\0\x02\0\0\0", 8)) << "not written";
    EXPECT_EQ(g_iGameState, GAMESTATE_PLACEMENT);
}

TEST_F(Game, NewRecordIsSavedUnderTheTypedName)
{
    newGame(2, 1);
    EXPECT_FALSE(visible("TILE_MW_BESTRESULT"));
    click(0, 0);
    click(1, 0);
    action("WND_DTP_HIGHSCORE_ONSHOW");
    EXPECT_FALSE(g_pGUI->GetElementParam("BTN_HS_OK", GUIPARAM_ENABLED).GetBool()) << "no name yet";
    g_pGUI->SetElementParam("TBX_HS_NAME", kText, CGUIValue("Zed"));
    action("TBX_HS_NAME_ONINPUT");
    EXPECT_TRUE(g_pGUI->GetElementParam("BTN_HS_OK", GUIPARAM_ENABLED).GetBool());
    action("BTN_HS_OK_ONPRESS");
    EXPECT_EQ(tst::readFile("DATA/quorilhs.dat"), std::string("Zed\0\x02\0\0\0", 8));
    EXPECT_EQ(text("L_MW_BESTRESULT_NAME"), "Zed");
    EXPECT_EQ(g_iGameState, GAMESTATE_PLACEMENT);
}

TEST_F(Game, SessionStartRefusesDataItCannotPlay)
{
    g_pGUI->AddNewElement("probe", "FLX_MW_GAMEBOARD", 0);
    tst::writeFile("game.mod", sfxtest::modModule());
    m_engine->SFX_LoadMusic("game.mod", "MUS_GAME", 0, 0, 0, 0);
    const struct {
        int32_t gameID, sizeX;
        GUIRECT board;
        const char* error;
    } cases[] = {
        {0, 3, {1, 2, 3, 4}, "Error in GamePlay_Init: invalid resource ID!"},
        {1, 0, {1, 2, 3, 4}, "Error in GamePlay_Init: no level pack loaded!"},
        {1, 3, {1, 2, 0, 4}, "Error in GamePlay_Init: invalid game board cell size!"},
        {1, 3, {1, 2, 3, -4}, "Error in GamePlay_Init: invalid game board cell size!"},
        {1, 3, {1, 2, 3, 4}, ""},
    };
    for (const auto& c : cases) {
        g_xvGameID.m_iValue = c.gameID;
        g_LevelDesc.m_iSizeX = g_LevelDesc.m_iSizeY = c.sizeX;
        g_pGUI->SetElementParam("FLX_MW_GAMEBOARD", GUIPARAM_COORDS, CGUIValue(c.board));
        std::string error;
        try {
            GamePlay_Init();
        } catch (const CEHSException& e) {
            error = e.m_strDescription;
        }
        EXPECT_EQ(error, c.error);
    }
    EXPECT_EQ(g_fBoardOriginY, 2.0f);
    EXPECT_EQ(g_fCellHeight, 4.0f);
    EXPECT_EQ(g_iGameState, GAMESTATE_NOGAME) << "no game until start is pressed";
    EXPECT_EQ(text("L_MW_MOVES_MOVES"), "0");
}

TEST(SafeArray, AccessBeforeCreationRaisesItsText)
{
    T2DSafeArray<int32_t, -1> cells;
    EXPECT_THROW(cells.At(0, 0), const char*);
    cells.Create(2, 3);
    EXPECT_EQ(cells.At(1, 2), 0);
    EXPECT_EQ(cells.At(2, 0), -1);
}

} // namespace
