// A program built from the portable cores alone: the rasterizer, the image
// decoders and the audio core, without SDL. That it links is the check; it also
// draws, decodes and mixes once so each library's code is really pulled in.
#include <cstdio>

#include "engine/platform/audio/tns_audio_decode.h"
#include "engine/platform/audio/tns_audio_output.h"
#include "engine/platform/image/tns_image.h"
#include "engine/platform/raster/tns_raster.h"

namespace audio = tns::audio;

int main()
{
    uint32_t pixels[16] = {};
    tns::raster::Target target{pixels, 4, 4, 4};
    tns::raster::Clear(target, {1, 1, 3, 3}, 0xFF00FF00u);
    bool drawn = pixels[5] == 0xFF00FF00u && pixels[0] == 0;

    const uint8_t junk[] = {'B', 'M', 0, 0};
    tns::image::Image image;
    bool refused = !tns::image::Decode(junk, sizeof(junk), image);

    audio::Mixer mixer(44100);
    auto capture = audio::OpenCaptureOutput(&mixer);
    int16_t out[64] = {};
    audio::SampleData sample;
    bool mixed = capture && capture->capture(out, 32) && out[0] == 0 &&
                 audio::DecodeSample("", 0, 0, &sample) == audio::DecodeError::FileOpen;

    if (drawn && refused && mixed) return 0;
    std::fprintf(stderr, "seam: drawn %d refused %d mixed %d\n", drawn, refused, mixed);
    return 1;
}
