// A scripted player for the real game played in process: goals that run one
// at a time, every frame until met, and the events they queue, one per frame.
// The test wraps CTarnis::GFX_ScenePresent and calls frame() after each frame.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <string>

#include "game/cgame_element.h"
#include "game/gamelogic_main.h"
#include "game/gameplay_main.h"
#include "game/resload_functions.h"
#include "gui/trsgui_ctarnisgui.h"
#include "tests/support/game_input.h"

namespace e2e {

inline CGUIElement* element(const char* id)
{
    return g_pGUI->GetElement(g_pGUI->GetElementID(id));
}

inline bool idle()
{
    return g_iGameState == GAMESTATE_STEERING && g_pCurrentPiece->m_iState == PIECESTATE_IDLE;
}

// Goals run one at a time, each every frame until it is met; the events it
// queues go out one per frame, and the next goal waits until they are out.
struct Player {
    std::deque<std::function<void()>> events;
    std::deque<std::function<bool()>> goals;
    std::map<std::string, std::string> report;
    int frames = 0;

    void click(int x, int y)
    {
        for (Uint32 type : {SDL_MOUSEMOTION, SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP})
            events.push_back([=] { tst::pushGameEvent(type, x, y); });
    }
    void key(SDL_Scancode k)
    {
        for (Uint32 type : {SDL_KEYDOWN, SDL_KEYUP}) events.push_back([=] { tst::pushGameEvent(type, 0, 0, k); });
    }
    void clickCell(int32_t x, int32_t y)
    {
        click(int(g_fBoardOriginX + g_fCellWidth * (float(x) + 0.5f)),
              int(g_fBoardOriginY + g_fCellHeight * (float(y) + 0.5f)));
    }
    // Presses the element's middle once `gate` takes input (its window shown and enabled).
    void press(const char* id, const char* gate = nullptr)
    {
        goals.push_back([=, this] {
            CGUIElement* g = element(gate ? gate : id);
            if (!g || !g->m_bActive) return false;
            const GUIRECT& r = element(id)->m_rcCurRect;
            return click(int(r.x + r.width / 2), int(r.y + r.height / 2)), true;
        });
    }
    void placeOnFirstFreeCell()
    {
        goals.push_back([this] {
            const int32_t w = g_LevelDesc.m_iSizeX;
            for (int32_t i = 0; g_iGameState == GAMESTATE_PLACEMENT && i < w * g_LevelDesc.m_iSizeY; ++i)
                if (g_Board.At(i % w, i / w) == CELL_FREE) return clickCell(i % w, i / w), true;
            return false;
        });
    }
    // Types the name into the high-score window once it is open.
    void typeName(const char* name)
    {
        press("TBX_HS_NAME", "WND_DTP_HIGHSCORE");
        goals.push_back([=, this] {
            for (const char* c = name; *c; ++c) key(SDL_Scancode(SDL_SCANCODE_A + (*c - 'a')));
            return true;
        });
    }
    // One move toward a free neighbour, or (untilStuck) moves until a dialog opens.
    void steer(bool untilStuck)
    {
        goals.push_back([=, this] {
            if (g_iGameState == GAMESTATE_DIALOG) return true;
            if (!idle()) return false;
            for (int32_t direction = DIR_UP; direction <= DIR_LEFT; ++direction) {
                int32_t x = g_pCurrentPiece->m_iCellX, y = g_pCurrentPiece->m_iCellY;
                StepInDirection(direction, x, y);
                if (g_Board.At(x, y) == CELL_FREE) return clickCell(x, y), !untilStuck;
            }
            return false;
        });
        goals.push_back([] { return idle() || g_iGameState == GAMESTATE_DIALOG; });
    }
    void note(const char* name, std::function<std::string()> value)
    {
        goals.push_back([=, this] { return report[name] = value(), true; });
    }
    std::string label(const char* id) { return g_pGUI->GetElementParam(id, "text").GetString(); }

    void frame()
    {
        if (++frames > 6000) RequestQuit(); // a stuck script still ends the game, in order
        if (!events.empty()) {
            events.front()();
            events.pop_front();
        } else if (!goals.empty() && goals.front()()) {
            goals.pop_front();
        }
    }
};

} // namespace e2e
