// The piece's slide: a quadratic Bézier along the axis of motion whose middle
// control point halves the distance, so the piece moves at constant speed.
#include "game/cgame_element.h"

#include "engine/core/ctarnis.h"
#include "game/gamelogic_main.h"
#include "game/gameplay_main.h"
#include "game/resload_functions.h"

CGameElement::CGameElement(int32_t cellX, int32_t cellY) : m_iCellX(cellX), m_iCellY(cellY)
{
    EHS_CHECKPOINT(EHS_FILE_CGAME_ELEMENT);
    followCell();
}

float QuadraticBezier(float p0, float p1, float p2, float t)
{
    float u = 1.0f - t;
    return u * u * p0 + 2.0f * t * u * p1 + t * t * p2;
}

void CGameElement::followCell()
{
    m_fScreenX = float(m_iCellX) * g_fCellWidth + g_fBoardOriginX;
    m_fScreenY = float(m_iCellY) * g_fCellHeight + g_fBoardOriginY;
}

void CGameElement::MoveElement(int32_t direction, int32_t count)
{
    EHS_CHECKPOINT(EHS_FILE_CGAME_ELEMENT);
    if (direction < 0 || direction > 4)
        EHS_THROW(EHS_TYPE_GAME, 0, "Error in CGameElement::MoveElement - Invalid direction!");
    if (direction == DIR_UP || direction == DIR_DOWN) {
        if (count > g_LevelDesc.m_iSizeY)
            EHS_THROW(EHS_TYPE_GAME, 0, "Error in CGameElement::MoveElement - Invalid count of move cells (Y)!");
    } else if (count > g_LevelDesc.m_iSizeX) {
        EHS_THROW(EHS_TYPE_GAME, 0, "Error in CGameElement::MoveElement - Invalid count of move cells (X)!");
    }
    if (count == 0) return;
    m_iMoveDir = direction;
    m_iMoveCount = count;
    m_iState = PIECESTATE_MOVING;
}

void CGameElement::Update()
{
    EHS_CHECKPOINT(EHS_FILE_CGAME_ELEMENT);
    if (m_iState != PIECESTATE_MOVING) {
        followCell();
        return;
    }
    if (m_iMoveDir < DIR_UP || m_iMoveDir > DIR_LEFT)
        EHS_THROW(EHS_TYPE_GAME, 0, "Error in CGameElement::Update - Invalid direction!");
    bool vertical = m_iMoveDir == DIR_UP || m_iMoveDir == DIR_DOWN;
    float distance = float(m_iMoveCount) * (vertical ? g_fCellHeight : g_fCellWidth);
    g_fMoveDuration = float(m_iMoveCount) * g_xvActionTime.m_fValue;
    g_fMoveElapsed += g_fFrameDelta;
    // One step per frame: the slide advances with the frames, it never spins.
    if (g_fMoveElapsed >= g_fMoveDuration) {
        finishMove();
        return;
    }
    followCell();
    float t = g_fMoveElapsed / g_fMoveDuration;
    float sign = (m_iMoveDir == DIR_UP || m_iMoveDir == DIR_LEFT) ? -1.0f : 1.0f;
    float& axis = vertical ? m_fScreenY : m_fScreenX;
    float start = axis;
    axis = QuadraticBezier(start, start + sign * distance / 2.0f, start + sign * distance, t);
}

void CGameElement::finishMove()
{
    int32_t x = m_iCellX;
    int32_t y = m_iCellY;
    for (int32_t k = 1; k <= m_iMoveCount; ++k) {
        StepInDirection(m_iMoveDir, x, y);
        g_Board.At(x, y) = CELL_COVERED;
    }
    m_iCellX = x;
    m_iCellY = y;
    g_iMoves += m_iMoveCount;
    WriteMovesLabel();
    g_fMoveElapsed = 0.0f;
    m_iState = PIECESTATE_IDLE;
    g_iGameState = GAMESTATE_STEERING;
    m_iMoveCount = 0;
    m_iMoveDir = DIR_NONE;
    // Drawn at its new cell in this very frame, not where the last step left it.
    followCell();
}

void CGameElement::Draw()
{
    EHS_CHECKPOINT(EHS_FILE_CGAME_ELEMENT);
    DrawBoardQuad(m_fScreenX, m_fScreenY, g_idTexPiece2);
}
