// The puzzle's rules: the board, the game values they work on, placing and
// steering the piece, and the end of a game. All of it runs on the game's
// single thread, once per frame from the frame function.
#pragma once

#include <cstdint>

#include "engine/res/ctarnis_utils_cxmlvar.h"
#include "game/t2dsafearray.h"

class CGameElement;

// Checkpoint file IDs of the rules.
constexpr int32_t EHS_FILE_CGAME_ELEMENT = 1011;
constexpr int32_t EHS_FILE_STARTNEWBOARD = 1013;
constexpr int32_t EHS_FILE_HANDLEBOARDCLICK = 1017;
constexpr int32_t EHS_FILE_GAMELOGIC_MAIN = 1025;

enum : int32_t {
    GAMESTATE_STEERING = 1,  // piece placed, waiting for a steering click
    GAMESTATE_MOVING = 2,    // a move runs
    GAMESTATE_PLACEMENT = 3, // new board, waiting for the placement
    GAMESTATE_DIALOG = 4,    // a dialog is open over a game
    GAMESTATE_NOGAME = 5,    // no game yet, or help opened before one
};

enum : int32_t {
    CELL_FREE = 0,
    CELL_BARRIER = 1,
    CELL_COVERED = 2, // the piece's cell and its whole path
};

// x grows to the right, y downward.
enum : int32_t {
    DIR_NONE = 0,
    DIR_UP = 1,
    DIR_RIGHT = 2,
    DIR_DOWN = 3,
    DIR_LEFT = 4,
};

// Cells are indexed [column][row]; a read outside the board yields -1.
using TBoard = T2DSafeArray<int32_t, -1>;

extern TBoard g_Board;
extern int32_t g_iGameState;
extern int32_t g_iMoves; // the running game's score: covered cells
extern CGameElement* g_pCurrentPiece;
extern int32_t g_iChosenDir;
extern float g_fMoveElapsed;  // seconds
extern float g_fMoveDuration; // seconds
// Screen position of cell (0, 0)'s top-left corner and one cell's size, pixels.
extern float g_fBoardOriginX;
extern float g_fBoardOriginY;
extern float g_fCellWidth;
extern float g_fCellHeight;
// The engine timer's delta in seconds, copied at the start of every frame.
extern float g_fFrameDelta;
// Window pixels; the cursor is drawn there too.
extern float g_fCursorX;
extern float g_fCursorY;
// Seconds a move takes per cell.
extern CXMLVarFloat g_xvActionTime;

// New game board from the level description; waits for the placement.
void StartNewBoard();
// Turns this frame's left click on the board into a placement or a move.
void HandleBoardClick();
// Starts a move of the piece in the chosen direction, or ignores a blocked one.
void ProcessGameLogic();
// True when none of the four cells next to the piece is free.
bool IsGameOver();
void FreeCurrentPiece();
// The step from (x, y) in a direction; the direction must be 1 to 4.
void StepInDirection(int32_t direction, int32_t& x, int32_t& y);
