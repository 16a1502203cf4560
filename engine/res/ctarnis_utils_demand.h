// Items by string ID, loaded on first demand: each returns the item's integer
// ID, loading its resource first when the item does not exist yet.
#pragma once

#include <cstdint>

int32_t DemandTexture(const char* id);
// Loads the techniques pack packID when the technique is missing.
int32_t DemandTechnique(const char* techniqueID, const char* packID);
int32_t DemandFont(const char* id);
int32_t DemandSound(const char* id);
int32_t DemandMusic(const char* id);
int32_t DemandPlaylist(const char* id);
