// Test hooks of the Direct3D 8 subset: other hardware than the built-in adapter,
// and what a device was asked to draw.
#pragma once

#include "engine/platform/d3d8/d3d8.h"

// Describes the adapter the next Direct3DCreate8 reports, so tests can stand in
// other hardware (a 32-bit-only adapter, a palette desktop). Null fields keep the
// built-in values; passing null restores the built-in adapter.
struct TnsAdapterDesc {
    const char* description;             // null: built-in name
    DWORD vendorId, deviceId;
    const D3DDISPLAYMODE* modes;         // null: the built-in standard modes
    UINT modeCount;
    const D3DDISPLAYMODE* desktop;       // null: the desktop as SDL reports it
    DWORD caps2;                         // used when useCaps2 is set
    bool useCaps2;
    const D3DFORMAT* textureFormats;     // null: all eight texture formats
    UINT textureFormatCount;
};
void TNS_D3D8SetAdapter(const TnsAdapterDesc* desc);

// The draw calls a device of this layer has received since it was made, and the
// last call's counts: how the engine batches its quads, seen from the device.
struct TnsDrawStats {
    UINT calls, numVertices, startIndex, primCount;
};
TnsDrawStats TNS_D3D8DrawStats(IDirect3DDevice8* device);
