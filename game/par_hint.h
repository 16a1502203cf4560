// The board's par and the hint key, from the exact solver on worker threads:
// the par is asked for once when a play session starts, a hint when the player
// presses H; the frame only polls. Both are extras: without their labels or the
// hint texture in the data the game plays exactly as it does without them.
#pragma once

#include <cstdint>

// Builds the solver's board from the level and asks for its par.
void ParHint_Start();
// Per frame, after the game's logic: picks up answers, drops a hint the game
// has moved past, and asks for one when H is pressed.
void ParHint_Update();
// Over the board: the hint's target cell, if one is shown.
void ParHint_Draw();
// Fills the result windows' "score / par" labels.
void ParHint_ShowResult(int32_t score);
// Ends the workers; the next start begins afresh.
void ParHint_Stop();

// The par once known, else -1.
int32_t ParHint_GetPar();
// True while a hint's search runs.
bool ParHint_Pending();
// True and the target cell (0-based) while a hint is shown.
bool ParHint_GetHint(int32_t& x, int32_t& y);
