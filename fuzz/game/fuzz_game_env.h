// The engine as the GUI and game readers expect it under a fuzz target: a root
// object with scripts and an empty resource catalogue, in a scratch folder of
// its own whose log cannot be written (so millions of runs leave no log).
#pragma once

#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "engine/core/ctarnis.h"

namespace fuzzenv {

inline CTarnis* StartEngine()
{
    char dir[] = "/tmp/tarnis_fuzz_XXXXXX";
    if (!mkdtemp(dir) || chdir(dir) != 0) return nullptr;
    std::filesystem::create_directory("gamelog.txt");
    std::filesystem::create_directory("DATA");
    std::ofstream("DATA/res.xml") << "<respack>\n</respack>\n";
    auto* tarnis = new CTarnis;
    tarnis->m_iRequestedWidth = 800;
    tarnis->m_iRequestedHeight = 600;
    tarnis->SCR_Init();
    tarnis->RES_Init();
    return tarnis;
}

} // namespace fuzzenv
