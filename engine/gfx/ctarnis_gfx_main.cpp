// Graphics subsystem start and end. No device exists in this build yet.
#include "engine/core/ctarnis.h"

bool CTarnis::GFX_DeviceExists() const { return false; }
bool CTarnis::GFX_CheckDevice() { return true; }
void CTarnis::GFX_Deinit() { m_bGraphicsCreated = false; }
void CTarnis::GFX_VQuadReleaseLock() {}
