// Test hooks of the audio-library subset: a capture device that the caller
// drives by pulling the mix, so tests (and tools) hear exactly what plays.
#pragma once

#include <cstdint>

#include "engine/platform/audio/bass.h"

// A capture device replaces the default device (-1) at the next BASS_Init: no
// thread and no sound card; the caller pulls the mixed output with
// TNS_BassCaptureRender, which also advances time. For tests and tools.
void TNS_BassUseCaptureDevice(bool use);
// Mixes frames stereo frames of 16-bit output; false when no capture device is open.
bool TNS_BassCaptureRender(int16_t* out, int frames);
// The rate the output actually runs at (0 before BASS_Init).
DWORD TNS_BassGetOutputRate();
