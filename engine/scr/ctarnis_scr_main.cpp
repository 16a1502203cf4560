// Scripting subsystem. No interpreter exists in this build yet.
#include "engine/core/ctarnis.h"

namespace {
std::string g_strLastCalledFunction;
}

const char* SCR_GetLastCalledFunctionName() { return g_strLastCalledFunction.c_str(); }
void CTarnis::SCR_Deinit() { m_bScriptsReady = false; }
