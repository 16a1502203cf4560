// The puzzle's rules and the screens' flow on small boards: placing, steering,
// blocked moves, the slide on an injected clock, clicks at the board's edge,
// barriers, help and start in each state, the dialog that ends a game, hints.
#include <filesystem>
#include <thread>

#include "engine/core/ctarnis.h"
#include "engine/res/ctarnis_utils_csmartid.h"
#include "game/cgame_element.h"
#include "game/gamelogic_main.h"
#include "game/gameplay_main.h"
#include "game/par_hint.h"
#include "game/resload_functions.h"
#include "game/solver/quoril_solver.h"
#include "gui/trsgui_ctarnisgui.h"
#include "tests/sfx/sfx_engine_test.h"

namespace {

constexpr int32_t kText = 53;
constexpr float kOrigin = 50.0f, kCell = 10.0f;

// Stands in for each element the game talks to: the base's flags and commands, plus a text.
class Probe : public CGUIElement {
public:
    using CGUIElement::CGUIElement;
    void SetParam(int32_t id, const CGUIValue& v) override
    {
        id == kText ? void(m_text = v.GetString()) : CGUIElement::SetParam(id, v);
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
                               "L_MW_BESTRESULT_MOVES", "FLX_MW_GAMEBOARD"})
            g_pGUI->AddNewElement("probe", id, 0);
        RegisterGameActions();
        g_fBoardOriginX = g_fBoardOriginY = kOrigin;
        g_fCellWidth = g_fCellHeight = kCell;
        g_xvActionTime.m_fValue = 0.0f;
    }
    void TearDown() override
    {
        ParHint_Stop();
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
        action("BTN_MW_START_ONPRESS");
    }
    // One frame of the game's logic on the injected clock, with a click at
    // window pixels (x, y) or, by default, none.
    void frame(float delta, int32_t x = -999, int32_t y = 0)
    {
        m_engine->m_fFrameDeltaSec = delta;
        m_engine->m_PrevMouseState.rgbButtons[0] = 0;
        m_engine->m_MouseState.rgbButtons[0] = x == -999 ? 0 : 0x80;
        if (x != -999) m_engine->m_ptCursor = POINT{x, y};
        UpdateGame();
    }
    // H, then frames until the search has answered: the frame only polls it.
    void askHint()
    {
        m_engine->m_aKeyState[0x23] = 0x80;
        frame(0.01f);
        m_engine->m_aKeyState[0x23] = 0;
        int32_t x, y;
        EXPECT_TRUE(ParHint_Pending() && !ParHint_GetHint(x, y)) << "the frame asks and goes on";
        for (int i = 0; i < 4000 && ParHint_Pending(); ++i)
            frame(0.01f), std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    void click(int32_t cellX, int32_t cellY)
    {
        frame(0.01f, int32_t(kOrigin + kCell * cellX + 5), int32_t(kOrigin + kCell * cellY + 5));
    }
    void expectPiece(int32_t x, int32_t y)
    {
        EXPECT_EQ(std::pair(g_pCurrentPiece->m_iCellX, g_pCurrentPiece->m_iCellY), std::pair(x, y));
    }
    bool soundPlaying() { return m_engine->SFX_SoundGetStatus("SND_PIECEMOVE") != 0; }
    std::string text(const char* id) { return g_pGUI->GetElementParam(id, kText).GetString(); }
    bool flag(const char* id, int32_t param = GUIPARAM_VISIBLE) { return g_pGUI->GetElementParam(id, param).GetBool(); }
    void action(const char* name) { g_pGUI->FindAction(name)(); }
};

TEST_F(Game, TwoByTwoWalkThroughScoresFourAndOpensTheRecordWindow)
{
    newGame(2, 2);
    EXPECT_TRUE(flag("TILE_MW_MOVES"));
    const int32_t path[][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    for (int32_t moves = 1; moves <= 4; ++moves) {
        EXPECT_FALSE(flag("WND_DTP_HIGHSCORE"));
        click(path[moves - 1][0], path[moves - 1][1]);
        EXPECT_EQ(text("L_MW_MOVES_MOVES"), std::to_string(moves));
        expectPiece(path[moves - 1][0], path[moves - 1][1]);
    }
    EXPECT_TRUE(soundPlaying());
    EXPECT_TRUE(flag("WND_DTP_HIGHSCORE")) << "no record yet: any score is a new one";
    EXPECT_FALSE(flag("WND_DTP_MAINWINDOW", GUIPARAM_ENABLED));
}

TEST_F(Game, BlockedDirectionsChangeNothingAndAreSilent)
{
    newGame(3, 2, {{3, 1}}); // a barrier right of the top row's middle
    click(1, 0);
    click(2, 0); // toward the barrier
    click(2, 1); // a diagonal
    click(0, 0); // a real move
    expectPiece(0, 0);
    m_engine->SFX_SoundStop("SND_PIECEMOVE");
    click(2, 0); // toward the covered middle
    EXPECT_EQ(g_iGameState, GAMESTATE_STEERING);
    EXPECT_EQ(g_pCurrentPiece->m_iState, PIECESTATE_IDLE);
    EXPECT_EQ(g_iMoves, 2);
    EXPECT_FALSE(soundPlaying());
}

TEST_F(Game, SlideTakesActionTimePerCellOnTheFrameClock)
{
    newGame(4, 1);
    g_xvActionTime.m_fValue = 0.25f; // binary-exact, so summed deltas compare exactly
    click(0, 0);
    frame(0.25f, int32_t(kOrigin + 35), int32_t(kOrigin + 5)); // the click's frame counts: 0.25 of 0.75 s
    EXPECT_NEAR(g_pCurrentPiece->m_fScreenX, kOrigin + 10.0f, 1e-3) << "constant speed";
    frame(0.25f);
    EXPECT_NEAR(g_pCurrentPiece->m_fScreenX, kOrigin + 20.0f, 1e-3);
    EXPECT_EQ(g_Board.At(3, 0), CELL_FREE);
    EXPECT_EQ(g_iGameState, GAMESTATE_MOVING);
    frame(0.25f);
    EXPECT_EQ(g_iMoves, 4);
    EXPECT_EQ(g_Board.At(3, 0), CELL_COVERED);
    EXPECT_NEAR(g_pCurrentPiece->m_fScreenX, kOrigin + 30.0f, 1e-3);
}

TEST_F(Game, ClicksMapToCellsAndDirections)
{
    // From the middle of a 3 × 3 board; pixels relative to the board's origin.
    const int32_t cases[][4] = {
        {15, 5, 1, 0},  {25, 15, 2, 1}, {15, 25, 1, 2}, {5, 15, 0, 1}, // up, right, down, left
        {15, 15, 1, 1}, {5, 5, 1, 1},                                  // the piece itself, a diagonal
        {-3, 15, 0, 1}, {-13, 15, 1, 1},                               // left of the board: column 0, then outside
    };
    for (const auto& c : cases) {
        newGame(3, 3);
        click(1, 1);
        frame(0.01f, int32_t(kOrigin) + c[0], int32_t(kOrigin) + c[1]);
        expectPiece(c[2], c[3]);
        EXPECT_EQ(g_iGameState, GAMESTATE_STEERING);
    }
}

TEST_F(Game, BarriersAtBothCornersBlockPlacement)
{
    newGame(3, 3, {{1, 1}, {3, 3}});
    EXPECT_EQ(g_Board.At(0, 0) * 10 + g_Board.At(2, 2), CELL_BARRIER * 11);
    EXPECT_EQ(g_Board.At(1, 1), CELL_FREE);
    g_Board.At(-1, 0) = CELL_COVERED;
    EXPECT_EQ(g_Board.At(-1, 0), -1) << "a write outside is lost";
    click(2, 2);
    click(0, 0);
    EXPECT_EQ(g_pCurrentPiece, nullptr);
}

TEST_F(Game, HelpAndStartInEachState)
{
    // Progress: 0 no game, 1 board waiting, 2 piece placed, 3 a move running.
    const int32_t afterHelp[] = {GAMESTATE_NOGAME, GAMESTATE_PLACEMENT, GAMESTATE_STEERING, GAMESTATE_MOVING};
    for (int32_t progress = 0; progress < 4; ++progress) {
        g_xvActionTime.m_fValue = 1.0f;
        if (progress >= 1) newGame(3, 1);
        if (progress >= 2) click(0, 0);
        if (progress >= 3) click(2, 0);
        action("BTN_MW_HELP_ONPRESS");
        EXPECT_EQ(flag("WND_DTP_HELP"), progress != 3);
        if (flag("WND_DTP_HELP")) action("WND_DTP_HELP_ONSHOW"); // as the window does when it starts showing
        click(2, 0); // the board takes no clicks under the help
        action("BTN_HLP_OK_ONPRESS");
        EXPECT_EQ(g_iGameState, afterHelp[progress]) << progress;
        EXPECT_EQ(g_iMoves, progress >= 2 ? 1 : 0) << progress;
        action("BTN_MW_START_ONPRESS");
        EXPECT_EQ(g_iGameState, GAMESTATE_PLACEMENT);
        EXPECT_EQ(g_pCurrentPiece, nullptr);
        EXPECT_EQ(text("L_MW_MOVES_MOVES"), "0");
    }
}

TEST_F(Game, TieWithTheRecordGetsTheCompletionWindow)
{
    tst::writeFile("DATA/quorilhs.dat", std::string("ABC\0\x02\0\0\0", 8));
    newGame(2, 1);
    EXPECT_EQ(text("L_MW_BESTRESULT_NAME") + text("L_MW_BESTRESULT_MOVES"), "ABC2");
    click(0, 0);
    click(1, 0);
    EXPECT_TRUE(flag("WND_DTP_COMPLETE"));
    EXPECT_FALSE(flag("WND_DTP_HIGHSCORE"));
}

TEST_F(Game, SessionStartRefusesABoardItCannotPlay)
{
    g_xvGameID.m_iValue = 1;
    const struct {
        int32_t size;
        GUIRECT board;
        const char* error;
    } cases[] = {
        {0, {1, 2, 3, 4}, "Error in GamePlay_Init: no level pack loaded!"},
        {3, {1, 2, 0, 4}, "Error in GamePlay_Init: invalid game board cell size!"},
        {3, {1, 2, 3, -4}, "Error in GamePlay_Init: invalid game board cell size!"},
    };
    for (const auto& c : cases) {
        g_LevelDesc.m_iSizeX = g_LevelDesc.m_iSizeY = c.size;
        g_pGUI->SetElementParam("FLX_MW_GAMEBOARD", GUIPARAM_COORDS, CGUIValue(c.board));
        try {
            GamePlay_Init();
            ADD_FAILURE() << c.error;
        } catch (const CEHSException& e) {
            EXPECT_EQ(e.m_strDescription, c.error);
        }
    }
}

TEST_F(Game, HintIsTheSolversNextMoveAndNoneWhenLost)
{
    CSmartID::SetIntID("TEX_HINT", 0); // stands for the loaded highlight
    const std::vector<LevelBarrier> barriers{{2, 2}, {4, 3}, {5, 1}};
    newGame(5, 4, barriers);
    ParHint_Start();
    click(0, 3);
    askHint();
    int32_t x = -1, y = -1;
    ASSERT_TRUE(ParHint_GetHint(x, y));

    solver::Position at{std::vector<uint8_t>(20), 0, 3};
    for (int32_t i = 0; i < 20; ++i) at.covered[size_t(i)] = g_Board.At(i % 5, i / 5) == CELL_COVERED;
    const solver::Move best = solver::solve(solver::Board::fromLevel(5, 4, barriers), at).line.front();
    EXPECT_EQ(std::pair(x, y), std::pair(best.x, best.y));
    click(x, y);
    EXPECT_FALSE(ParHint_GetHint(x, y)) << "a move ends the hint";

    newGame(3, 1, {{2, 1}}); // placed on the left, the piece is stuck at once
    ParHint_Start();
    click(0, 0);
    askHint();
    EXPECT_FALSE(ParHint_GetHint(x, y));
}

} // namespace
