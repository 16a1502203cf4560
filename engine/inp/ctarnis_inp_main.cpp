// Input subsystem. No devices exist in this build yet.
#include "engine/core/ctarnis.h"

void CTarnis::INP_Update() {}
void CTarnis::INP_Reacquire() {}
void CTarnis::INP_Deinit() { m_bInputReady = false; }
