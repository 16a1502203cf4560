// The piece: its cell, where it is drawn, and its slide from cell to cell,
// which covers the cells it passes once the slide ends.
#pragma once

#include <cstdint>

enum : int32_t {
    PIECESTATE_IDLE = 101,
    PIECESTATE_MOVING = 102,
};

class CGameElement {
public:
    CGameElement(int32_t cellX, int32_t cellY);

    // Starts a slide of count cells (direction 1 to 4); a count of 0 changes nothing.
    void MoveElement(int32_t direction, int32_t count);
    // Per frame: advances a running slide by the frame delta and ends it when
    // its time is up; an idle piece follows its cell.
    void Update();
    void Draw();

    int32_t m_iCellX;
    int32_t m_iCellY;
    float m_fScreenX; // left edge, pixels
    float m_fScreenY; // top edge, pixels
    int32_t m_iMoveDir = 0;
    int32_t m_iMoveCount = 0;
    int32_t m_iState = PIECESTATE_IDLE;

private:
    void followCell();
    void finishMove();
};

// The quadratic Bézier value at t of the points p0, p1, p2.
float QuadraticBezier(float p0, float p1, float p2, float t);
