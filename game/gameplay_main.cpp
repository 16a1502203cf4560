// The game flow on the screens: a play session's start, every frame's order
// (clicks, GUI, piece, drawing, keys), the result dialogs, and the drawing of
// the board, the piece, the cursor and the debug overlay.
#include "game/gameplay_main.h"

#include <cstdio>

#include "engine/core/ctarnis.h"
#include "engine/core/tns_window.h"
#include "engine/res/ctarnis_utils_csmartid.h"
#include "game/cgame_element.h"
#include "game/gamelogic_main.h"
#include "game/highscore.h"
#include "game/par_hint.h"
#include "game/resload_functions.h"
#include "gui/trsgui_ctarnisgui.h"

CTarnis* g_pTRS = nullptr;
CTarnisGUI* g_pGUI = nullptr;
bool g_bDebugOverlay = false;
CXMLVarInt g_xvGameID("quorilgameid");

CSmartID g_idTexPiece2("TEX_PIECE2");

namespace {

CSmartID g_idFont1("FNT_FONT1");
CSmartID g_idTexCell1("TEX_CELL1");
CSmartID g_idTexCell2("TEX_CELL2");
CSmartID g_idTexPiece1("TEX_PIECE1");
CSmartID g_idTexCursor("TEX_CURSOR");
CSmartID g_idTexBG("TEX_BG");
CSmartID g_idTeqStd2("TEQ_STD2");

constexpr uint8_t kKeyF2 = 0x3C;
constexpr uint8_t kKeyF9 = 0x43;

// The OK button of the high-score window is usable only with a name typed.
void enableNameConfirmation()
{
    ExecuteElementCommand("BTN_HS_OK", GetElementText("TBX_HS_NAME").empty() ? GUICMD_DISABLE : GUICMD_ENABLE);
}

void drawBoard()
{
    if (g_iGameState == GAMESTATE_NOGAME) return;
    PrepareBoardQuads();
    const int32_t sizeX = g_LevelDesc.m_iSizeX;
    const int32_t sizeY = g_LevelDesc.m_iSizeY;
    for (int32_t y = 0; y < sizeY; ++y)
        for (int32_t x = 0; x < sizeX; ++x)
            DrawBoardQuad(float(x) * g_fCellWidth + g_fBoardOriginX, float(y) * g_fCellHeight + g_fBoardOriginY,
                          g_Board.At(x, y) == CELL_COVERED ? g_idTexCell2 : g_idTexCell1);
    // Barriers get their mark over the plain cell.
    for (int32_t y = 0; y < sizeY; ++y)
        for (int32_t x = 0; x < sizeX; ++x)
            if (g_Board.At(x, y) == CELL_BARRIER)
                DrawBoardQuad(float(x) * g_fCellWidth + g_fBoardOriginX, float(y) * g_fCellHeight + g_fBoardOriginY,
                              g_idTexPiece1);
    if (g_pCurrentPiece) g_pCurrentPiece->Draw();
    ParHint_Draw();
}

void drawCursor()
{
    // The texture's top-left corner is the hot spot.
    g_pTRS->GFX_VQuadSetColor(1.0f, 1.0f, 1.0f, 1.0f);
    g_pTRS->GFX_VQuadSetPos(g_fCursorX, g_fCursorY, 32.0f, 32.0f, 0.5f);
    g_pTRS->GFX_VQuadSetTexCoords(1, 0.0f, 0.0f, 1.0f, 1.0f);
    g_pTRS->GFX_TexSet(g_idTexCursor, 0);
    g_pTRS->GFX_TechApply(g_idTeqStd2);
    g_pTRS->GFX_SceneRender();
}

void drawDebugOverlay()
{
    g_pTRS->GFX_FontSet(g_idFont1);
    char text[32];
    snprintf(text, sizeof text, "%d", g_pTRS->SYS_TimerGetFPS());
    g_pTRS->GFX_FontDrawTextEx(text, 690.0f, 20.0f, 0, 0, 1.0f, true, 0.5f, 0.0f, 0.0f);
    // Default stream formatting: six significant digits, no trailing zeros.
    snprintf(text, sizeof text, "%g", double(g_pTRS->SFX_GetCPU()));
    g_pTRS->GFX_FontDrawTextEx(text, 690.0f, 40.0f, 0, 0, 1.0f, true, 0.5f, 0.0f, 0.0f);
}

// ---- the actions the GUI data names ----

void onMainWindowShow() {}

void onStartPress()
{
    StartGame();
}

void onHelpPress()
{
    if (g_iGameState == GAMESTATE_MOVING) return;
    ExecuteElementCommand("WND_DTP_MAINWINDOW", GUICMD_DISABLE);
    ExecuteElementCommand("WND_DTP_HELP", GUICMD_SHOW);
}

void onExitPress()
{
    RequestQuit();
}

void onCompleteShow()
{
    g_iGameState = GAMESTATE_DIALOG;
}

void onCompleteOkPress()
{
    ExecuteElementCommand("WND_DTP_COMPLETE", GUICMD_HIDE);
    ExecuteElementCommand("WND_DTP_MAINWINDOW", GUICMD_ENABLE);
    StartGame();
}

void onHighScoreShow()
{
    enableNameConfirmation();
    g_iGameState = GAMESTATE_DIALOG;
}

void onHighScoreOkPress()
{
    std::string name = GetElementText("TBX_HS_NAME");
    // An empty name would make a record that no later start could read.
    if (name.empty()) return;
    ExecuteElementCommand("WND_DTP_HIGHSCORE", GUICMD_HIDE);
    ExecuteElementCommand("WND_DTP_MAINWINDOW", GUICMD_ENABLE);
    g_strBestName = name;
    g_iBestMoves = g_iMoves;
    SaveFile();
    StartGame();
}

void onNameInput()
{
    enableNameConfirmation();
}

void onHelpShow()
{
    if (g_pCurrentPiece) g_iGameState = GAMESTATE_DIALOG;
    else g_iGameState = g_iGameState == GAMESTATE_PLACEMENT ? GAMESTATE_DIALOG : GAMESTATE_NOGAME;
}

void onHelpOkPress()
{
    ExecuteElementCommand("WND_DTP_HELP", GUICMD_HIDE);
    ExecuteElementCommand("WND_DTP_MAINWINDOW", GUICMD_ENABLE);
    if (g_iGameState != GAMESTATE_DIALOG) return;
    g_iGameState = g_pCurrentPiece ? GAMESTATE_STEERING : GAMESTATE_PLACEMENT;
}

} // namespace

void ExecuteElementCommand(const char* element, int32_t command)
{
    g_pGUI->ExecuteElementCommand(element, command, 0.0f);
}

void SetElementVisible(const char* element, bool visible)
{
    g_pGUI->SetElementParam(element, "visible", CGUIValue(visible));
}

void SetElementText(const char* element, const std::string& text)
{
    g_pGUI->SetElementParam(element, "text", CGUIValue(text));
}

std::string GetElementText(const char* element)
{
    return g_pGUI->GetElementParam(element, "text").GetString();
}

void WriteMovesLabel()
{
    SetElementText("L_MW_MOVES_MOVES", std::to_string(g_iMoves));
}

void PrepareBoardQuads()
{
    g_pTRS->GFX_VQuadSetColor(1.0f, 1.0f, 1.0f, 1.0f);
    g_pTRS->GFX_VQuadSetTexCoords(1, 0.0f, 0.0f, 1.0f, 1.0f);
    g_pTRS->GFX_TechApply(g_idTeqStd2);
}

void DrawBoardQuad(float x, float y, const CSmartID& texture)
{
    g_pTRS->GFX_VQuadSetPos(x, y, g_fCellWidth, g_fCellHeight, 0.5f);
    g_pTRS->GFX_TexSet(texture, 0);
    g_pTRS->GFX_SceneRender();
}

void RegisterGameActions()
{
    static constexpr struct {
        const char* name;
        void (*action)();
    } kActions[] = {
        {"WND_DTP_MAINWINDOW_ONSHOW", onMainWindowShow},
        {"BTN_MW_START_ONPRESS", onStartPress},
        {"BTN_MW_HELP_ONPRESS", onHelpPress},
        {"BTN_MW_EXIT_ONPRESS", onExitPress},
        {"FLX_MW_GAMEBOARD_ONREDRAW", drawBoard},
        {"WND_DTP_COMPLETE_ONSHOW", onCompleteShow},
        {"BTN_CMP_OK_ONPRESS", onCompleteOkPress},
        {"WND_DTP_HIGHSCORE_ONSHOW", onHighScoreShow},
        {"BTN_HS_OK_ONPRESS", onHighScoreOkPress},
        {"TBX_HS_NAME_ONINPUT", onNameInput},
        {"WND_DTP_HELP_ONSHOW", onHelpShow},
        {"BTN_HLP_OK_ONPRESS", onHelpOkPress},
    };
    for (const auto& a : kActions) g_pGUI->RegisterAction(a.name, a.action);
}

void GamePlay_Init()
{
    EHS_CHECKPOINT(EHS_FILE_GAMEPLAY_INIT);
    if (g_xvGameID.m_iValue != 1) EHS_THROW(EHS_TYPE_GAME, 0, "Error in GamePlay_Init: invalid resource ID!");
    // Without a level pack the board would never take a placement.
    if (g_LevelDesc.m_iSizeX < 2 || g_LevelDesc.m_iSizeY < 2)
        EHS_THROW(EHS_TYPE_GAME, 0, "Error in GamePlay_Init: no level pack loaded!");
    GUIRECT board = g_pGUI->GetElementParam("FLX_MW_GAMEBOARD", "coords").GetRect();
    // Every click is divided by the cell's size (written so that NaN fails too).
    if (!(board.width > 0.0f) || !(board.height > 0.0f))
        EHS_THROW(EHS_TYPE_GAME, 0, "Error in GamePlay_Init: invalid game board cell size!");
    g_fBoardOriginX = board.x;
    g_fBoardOriginY = board.y;
    g_fCellWidth = board.width;
    g_fCellHeight = board.height;
    g_pTRS->SFX_MusicPlay("MUS_GAME", true, 3000);
    WriteMovesLabel();
    ShowBestResult();
    ParHint_Start();
}

void StartGame()
{
    EHS_CHECKPOINT(EHS_FILE_STARTGAME);
    FreeCurrentPiece();
    ShowBestResult();
    StartNewBoard();
    WriteMovesLabel();
}

void ShowGameResult()
{
    EHS_CHECKPOINT(EHS_FILE_SHOWGAMERESULT);
    ExecuteElementCommand("WND_DTP_MAINWINDOW", GUICMD_DISABLE);
    ParHint_ShowResult(g_iMoves);
    // A tie is no new record.
    ExecuteElementCommand(g_iBestMoves >= g_iMoves ? "WND_DTP_COMPLETE" : "WND_DTP_HIGHSCORE", GUICMD_SHOW);
}

void UpdateGame()
{
    g_fFrameDelta = g_pTRS->SYS_TimerGetDelta();
    HandleBoardClick();
    g_pGUI->Update();
    if (g_pCurrentPiece) {
        g_pCurrentPiece->Update();
        if (g_pCurrentPiece && g_iGameState == GAMESTATE_STEERING && IsGameOver()) ShowGameResult();
    }
    ParHint_Update();
    if (g_pTRS->INP_KeyboardIsKeyClicked(kKeyF2)) g_bDebugOverlay = !g_bDebugOverlay;
}

bool GameFrame()
{
    UpdateGame();
    g_pTRS->GFX_SceneBegin();
    g_pTRS->GFX_SceneClearScreen(0.0f, 0.0f, 0.0f);
    g_pGUI->Render();
    drawCursor();
    if (g_bDebugOverlay) drawDebugOverlay();
    g_pTRS->GFX_SceneEnd();
    g_pTRS->GFX_ScenePresent();
    if (g_pTRS->INP_KeyboardIsKeyClicked(kKeyF9)) g_pTRS->GFX_SceneMakeScreenshot();
    return true;
}
