// Resource subsystem start and end. Nothing is loaded in this build yet.
#include "engine/core/ctarnis.h"

void CTarnis::RES_Deinit() { m_bResourcesReady = false; }
