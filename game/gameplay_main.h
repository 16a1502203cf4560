// The game's side of the screens: start-up of a play session, the frame
// function, the result dialogs, the GUI actions, and the drawing of the board,
// the piece, the cursor and the debug overlay.
#pragma once

#include <cstdint>
#include <string>

#include "engine/res/ctarnis_utils_cxmlvar.h"
#include "gui/trsgui_cguielement.h"

class CTarnis;
class CTarnisGUI;
class CSmartID;

// Checkpoint file IDs of the game flow (StartGame shares StartNewBoard's).
constexpr int32_t EHS_FILE_STARTGAME = 1013;
constexpr int32_t EHS_FILE_SHOWGAMERESULT = 1015;
constexpr int32_t EHS_FILE_GAMEPLAY_INIT = 1023;

extern CTarnis* g_pTRS;
extern CTarnisGUI* g_pGUI;
extern bool g_bDebugOverlay;
// Must be 1 once the game's XML data is loaded.
extern CXMLVarInt g_xvGameID;
extern CSmartID g_idTexPiece2;

// The twelve actions the GUI data refers to, by name.
void RegisterGameActions();
// Reads the board's place from its element, starts the music and shows the
// scores; no game runs until the start button is pressed.
void GamePlay_Init();
void StartGame();
// The frame's logic: the clock, the click, the GUI, the piece, the end of a game, F2.
void UpdateGame();
// UpdateGame, then the frame drawn and presented; F9 saves it.
bool GameFrame();
// Opens the completion window, or the high-score window for a new record.
void ShowGameResult();

// Element access by string ID, commands without delay.
void ExecuteElementCommand(const char* element, int32_t command);
void SetElementVisible(const char* element, bool visible);
void SetElementText(const char* element, const std::string& text);
std::string GetElementText(const char* element);
// The running score into the moves label.
void WriteMovesLabel();

// One board cell's quad: white, whole texture, the game's technique...
void PrepareBoardQuads();
// ...then placed at (x, y) with one cell's size and the texture, and rendered.
void DrawBoardQuad(float x, float y, const CSmartID& texture);
