// Par and hints: two solver workers (the par's question never waits behind a
// hint's), the frame's polling, and the hint's cell drawn over the board.
#include "game/par_hint.h"

#include <cmath>
#include <memory>
#include <string>

#include "engine/core/ctarnis.h"
#include "engine/res/ctarnis_utils_csmartid.h"
#include "game/cgame_element.h"
#include "game/gamelogic_main.h"
#include "game/gameplay_main.h"
#include "game/resload_functions.h"
#include "game/solver/solver_worker.h"
#include "gui/trsgui_ctarnisgui.h"

namespace {

constexpr uint8_t kKeyH = 0x23;
// The shipped board is proven in milliseconds; a huge one gets its best line so far.
constexpr double kParTimeLimitMs = 5000.0;
constexpr double kHintTimeLimitMs = 1500.0;

CSmartID g_idTexHint("TEX_HINT");

// Which position a hint belongs to: every placement and slide changes the score.
struct PositionKey {
    int32_t moves = -1, pieceX = -1, pieceY = -1;
    bool operator==(const PositionKey&) const = default;
};

struct State {
    std::unique_ptr<solver::SolverWorker> parWorker, hintWorker;
    solver::Board board;
    solver::Position position; // reused from one hint to the next
    int32_t par = -1;
    bool hintPending = false, hintShown = false;
    PositionKey hintKey;
    int32_t hintX = -1, hintY = -1;
    float clock = 0.0f; // seconds, for the highlight's pulse
};

State g_state;

bool hasElement(const char* id)
{
    return g_pGUI && g_pGUI->GetElementID(id) >= 0;
}

void setOptionalText(const char* id, const std::string& text)
{
    if (hasElement(id)) SetElementText(id, text);
}

PositionKey currentKey()
{
    PositionKey k;
    k.moves = g_iMoves;
    if (g_pCurrentPiece) k.pieceX = g_pCurrentPiece->m_iCellX, k.pieceY = g_pCurrentPiece->m_iCellY;
    return k;
}

// A hint makes sense while the player is to move: placing, or steering an idle piece.
bool playerToMove()
{
    if (g_iGameState == GAMESTATE_PLACEMENT) return true;
    return g_iGameState == GAMESTATE_STEERING && g_pCurrentPiece && g_pCurrentPiece->m_iState == PIECESTATE_IDLE;
}

void dropHint()
{
    if (g_state.hintPending) g_state.hintWorker->cancel();
    g_state.hintPending = g_state.hintShown = false;
}

void requestHint()
{
    const int32_t w = g_state.board.width, h = g_state.board.height;
    if (w != g_Board.GetWidth() || h != g_Board.GetHeight()) return;
    solver::Position& p = g_state.position;
    p.covered.clear();
    p.pieceX = p.pieceY = -1;
    if (g_pCurrentPiece) {
        p.covered.resize(size_t(w) * size_t(h));
        for (int32_t y = 0; y < h; ++y)
            for (int32_t x = 0; x < w; ++x) p.covered[size_t(x + y * w)] = g_Board.At(x, y) == CELL_COVERED;
        p.pieceX = g_pCurrentPiece->m_iCellX;
        p.pieceY = g_pCurrentPiece->m_iCellY;
    }
    g_state.hintWorker->request(g_state.board, p, kHintTimeLimitMs);
    g_state.hintPending = true;
    g_state.hintKey = currentKey();
}

void pollPar()
{
    solver::Answer a;
    if (g_state.par >= 0 || !g_state.parWorker->poll(a) || a.score < 0) return;
    g_state.par = a.score;
    setOptionalText("L_MW_BESTRESULT_PAR", "par " + std::to_string(a.score));
}

void pollHint()
{
    solver::Answer a;
    if (!g_state.hintPending || !g_state.hintWorker->poll(a)) return;
    g_state.hintPending = false;
    g_state.hintShown = a.hasMove();
    g_state.hintX = a.move.x;
    g_state.hintY = a.move.y;
}

} // namespace

void ParHint_Start()
{
    ParHint_Stop();
    g_state.parWorker = std::make_unique<solver::SolverWorker>();
    g_state.hintWorker = std::make_unique<solver::SolverWorker>();
    g_state.board = solver::Board::fromLevel(g_LevelDesc.m_iSizeX, g_LevelDesc.m_iSizeY, g_LevelDesc.m_vecBarriers);
    g_state.parWorker->request(g_state.board, solver::Position(), kParTimeLimitMs);
}

void ParHint_Update()
{
    if (!g_state.parWorker) return;
    g_state.clock += g_fFrameDelta;
    pollPar();
    if ((g_state.hintPending || g_state.hintShown) && !(currentKey() == g_state.hintKey)) dropHint();
    pollHint();
    // Without the highlight's picture in the data the key does nothing.
    if (g_idTexHint.GetID() >= 0 && playerToMove() && !g_state.hintPending && !g_state.hintShown &&
        g_pTRS->INP_KeyboardIsKeyClicked(kKeyH))
        requestHint();
}

void ParHint_Draw()
{
    if (!g_state.hintShown || !playerToMove() || g_idTexHint.GetID() < 0) return;
    PrepareBoardQuads();
    const float pulse = 0.7f + 0.3f * std::sin(g_state.clock * 5.0f);
    g_pTRS->GFX_VQuadSetColor(1.0f, 1.0f, 1.0f, pulse);
    DrawBoardQuad(float(g_state.hintX) * g_fCellWidth + g_fBoardOriginX,
                  float(g_state.hintY) * g_fCellHeight + g_fBoardOriginY, g_idTexHint);
}

void ParHint_ShowResult(int32_t score)
{
    std::string text = std::to_string(score);
    if (g_state.par >= 0) text += " / " + std::to_string(g_state.par);
    setOptionalText("L_CMP_SCORE", text);
    setOptionalText("L_HS_SCORE", text);
}

void ParHint_Stop()
{
    g_state = State();
}

int32_t ParHint_GetPar()
{
    return g_state.par;
}

bool ParHint_Pending()
{
    return g_state.hintPending;
}

bool ParHint_GetHint(int32_t& x, int32_t& y)
{
    if (!g_state.hintShown) return false;
    x = g_state.hintX;
    y = g_state.hintY;
    return true;
}
