// Outputs of the audio-library subset: where the mixer's sound goes and what
// clock drives it. An SDL2 device, the no-sound device (time passes, nothing is
// heard) and a capture device that the caller drives by pulling output.
#pragma once

#include <cstdint>
#include <memory>

#include "engine/platform/audio/tns_audio_mixer.h"

namespace tns::audio {

class Output {
public:
    virtual ~Output() = default;
    // Resume and pause the output; a paused output stops time for every channel.
    virtual bool start() = 0;
    virtual bool pause() = 0;
    // Only the capture device hands out its output; the others return false.
    virtual bool capture(int16_t*, int) { return false; }
};

// Why no output device opened; the audio library's front maps these.
enum class OutputError : int { None = 0, Driver, Device };

// The default SDL device at the mixer's rate, stereo 16-bit. Null with *error
// set when no driver starts or no device opens.
std::unique_ptr<Output> OpenSdlOutput(Mixer* mixer, OutputError* error);
std::unique_ptr<Output> OpenNoSoundOutput(Mixer* mixer);
std::unique_ptr<Output> OpenCaptureOutput(Mixer* mixer);

// Run first on every thread the audio layer runs code on (its threads and the
// SDL device's callback); the BASS front sets it so that each such thread gets
// an alternate signal stack and a stack overflow there is reported too.
using ThreadHook = void (*)();
void SetThreadHook(ThreadHook hook);
void RunThreadHook();

} // namespace tns::audio
