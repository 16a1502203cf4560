// What the tests of the real game need: its data folder from the tree, and a
// reason to skip while the data or the GUI classes of its screens are missing.
#pragma once

#include <filesystem>
#include <string>

#include "engine/core/ctarnis.h"
#include "gui/trsgui_ctarnisgui.h"
#include "tests/support/test_support.h"

namespace e2e {

// Empty when the game can run; otherwise why not.
inline std::string QuorilNotReady()
{
    if (!std::filesystem::exists(std::filesystem::path(GAME_DATA_DIR) / "levels" / "board1.xml"))
        return "the game's data (DATA/ with its level pack) is not in the tree yet";
    tst::ChildResult r = tst::runInChild([] {
        CTarnis tarnis;
        CTarnisGUI gui;
        int missing = 0;
        for (const char* cls : {"window", "tile", "label", "textbox", "button", "flex"}) {
            try {
                gui.AddNewElement(cls, std::string("PROBE_") + cls, 0);
            } catch (const CEHSException&) {
                ++missing;
            }
        }
        return missing;
    });
    return r.exited && r.exitCode == 0 ? "" : "the GUI element classes of the game's screens are not built yet";
}

// The tree's data into ./DATA, without a stored record.
inline void CopyGameData()
{
    std::filesystem::copy(GAME_DATA_DIR, "DATA", std::filesystem::copy_options::recursive);
    std::filesystem::remove("DATA/quorilhs.dat");
}

} // namespace e2e
