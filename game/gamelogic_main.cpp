// The rules: building the board, turning clicks into a placement or a move,
// starting moves, and telling when the piece is stuck.
#include "game/gamelogic_main.h"

#include "engine/core/ctarnis.h"
#include "engine/res/ctarnis_utils_csmartid.h"
#include "game/cgame_element.h"
#include "game/gameplay_main.h"
#include "game/resload_functions.h"

TBoard g_Board;
int32_t g_iGameState = GAMESTATE_NOGAME;
int32_t g_iMoves = 0;
CGameElement* g_pCurrentPiece = nullptr;
int32_t g_iChosenDir = DIR_NONE;
float g_fMoveElapsed = 0.0f;
float g_fMoveDuration = 0.0f;
float g_fBoardOriginX = 0.0f;
float g_fBoardOriginY = 0.0f;
float g_fCellWidth = 0.0f;
float g_fCellHeight = 0.0f;
float g_fFrameDelta = 0.0f;
float g_fCursorX = 100.0f;
float g_fCursorY = 100.0f;
CXMLVarFloat g_xvActionTime("actiontime");

namespace {

CSmartID g_idSndPieceMove("SND_PIECEMOVE");

} // namespace

void StepInDirection(int32_t direction, int32_t& x, int32_t& y)
{
    static constexpr int32_t kStepX[5] = {0, 0, 1, 0, -1};
    static constexpr int32_t kStepY[5] = {0, -1, 0, 1, 0};
    x += kStepX[direction];
    y += kStepY[direction];
}

void StartNewBoard()
{
    EHS_CHECKPOINT(EHS_FILE_STARTNEWBOARD);
    g_iMoves = 0;
    g_iGameState = GAMESTATE_PLACEMENT;
    const LevelDescription& level = g_LevelDesc;
    if (level.m_iSizeX > 0 && level.m_iSizeY > 0) g_Board.Create(level.m_iSizeX, level.m_iSizeY);
    for (int32_t x = 0; x < g_Board.GetWidth(); ++x)
        for (int32_t y = 0; y < g_Board.GetHeight(); ++y) g_Board.At(x, y) = CELL_FREE;
    // The file counts from 1; a barrier outside a shrunken board lands on the
    // out-of-bounds slot and is lost, as intended.
    for (const LevelBarrier& b : level.m_vecBarriers) g_Board.At(b.x - 1, b.y - 1) = CELL_BARRIER;
    SetElementVisible("TILE_MW_MOVES", true);
}

void HandleBoardClick()
{
    EHS_CHECKPOINT(EHS_FILE_HANDLEBOARDCLICK);
    CTarnis* tarnis = CTarnis::Instance();
    POINT cursor = tarnis->INP_MouseGetCursorPos();
    g_fCursorX = float(cursor.x);
    g_fCursorY = float(cursor.y);
    // Truncation toward zero: less than a cell left of or above the board is column or row 0.
    int32_t column = int32_t((g_fCursorX - g_fBoardOriginX) / g_fCellWidth);
    int32_t row = int32_t((g_fCursorY - g_fBoardOriginY) / g_fCellHeight);
    if (!tarnis->INP_MouseIsKeyClicked(1)) return;
    if (column < 0 || column >= g_LevelDesc.m_iSizeX || row < 0 || row >= g_LevelDesc.m_iSizeY) return;
    if (g_iGameState == GAMESTATE_MOVING || g_iGameState == GAMESTATE_DIALOG || g_iGameState == GAMESTATE_NOGAME)
        return;

    if (g_iGameState == GAMESTATE_PLACEMENT) {
        if (g_Board.At(column, row) != CELL_FREE) return;
        g_pCurrentPiece = new CGameElement(column, row);
        g_Board.At(column, row) = CELL_COVERED;
        g_iGameState = GAMESTATE_STEERING;
        g_iMoves += 1;
        WriteMovesLabel();
        return;
    }
    if (g_iGameState != GAMESTATE_STEERING || !g_pCurrentPiece) return;
    int32_t px = g_pCurrentPiece->m_iCellX;
    int32_t py = g_pCurrentPiece->m_iCellY;
    int32_t direction = DIR_NONE;
    if (column == px && row < py) direction = DIR_UP;
    else if (row == py && column > px) direction = DIR_RIGHT;
    else if (column == px && row > py) direction = DIR_DOWN;
    else if (row == py && column < px) direction = DIR_LEFT;
    if (direction == DIR_NONE) return;
    g_iChosenDir = direction;
    g_iGameState = GAMESTATE_MOVING;
    ProcessGameLogic();
}

void ProcessGameLogic()
{
    EHS_CHECKPOINT(EHS_FILE_GAMELOGIC_MAIN);
    if (g_iChosenDir < DIR_UP || g_iChosenDir > DIR_LEFT)
        EHS_THROW(EHS_TYPE_GAME, 0, "Error in ProcessGameLogic : invalid move dir!");
    int32_t x = g_pCurrentPiece->m_iCellX;
    int32_t y = g_pCurrentPiece->m_iCellY;
    int32_t count = 0;
    // Outside the board reads -1, so the count stops at the edge.
    for (;;) {
        StepInDirection(g_iChosenDir, x, y);
        if (g_Board.At(x, y) != CELL_FREE) break;
        ++count;
    }
    if (count == 0) {
        g_iGameState = GAMESTATE_STEERING;
        return;
    }
    g_pCurrentPiece->MoveElement(g_iChosenDir, count);
    CTarnis::Instance()->SFX_SoundPlay(g_idSndPieceMove, false, -1, -1, -101);
}

bool IsGameOver()
{
    EHS_CHECKPOINT(EHS_FILE_GAMELOGIC_MAIN);
    for (int32_t direction = DIR_UP; direction <= DIR_LEFT; ++direction) {
        int32_t x = g_pCurrentPiece->m_iCellX;
        int32_t y = g_pCurrentPiece->m_iCellY;
        StepInDirection(direction, x, y);
        if (g_Board.At(x, y) == CELL_FREE) return false;
    }
    return true;
}

void FreeCurrentPiece()
{
    delete g_pCurrentPiece;
    g_pCurrentPiece = nullptr;
    g_fMoveElapsed = 0.0f;
    g_fMoveDuration = 0.0f;
}
