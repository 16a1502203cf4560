// Sound subsystem. No output exists in this build yet.
#include "engine/core/ctarnis.h"

void CTarnis::SFX_Update() {}
void CTarnis::SFX_Start() {}
void CTarnis::SFX_Pause() {}
void CTarnis::SFX_Deinit() { m_bSoundReady = false; }
