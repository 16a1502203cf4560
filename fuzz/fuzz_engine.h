// The engine brought up headless once per fuzzing process, for the readers that
// need a subsystem: graphics (with a font texture and a techniques pack in the
// data folder) or sound (through the capture device, no sound card).
#pragma once

#include <cstdlib>

#include "engine/core/ctarnis.h"
#include "engine/platform/audio/bass_testing.h"
#include "engine/res/ctarnis_utils_csmartid.h"
#include "fuzz/fuzz_support.h"

namespace fuzz {

// A 2 x 2 24-bit BMP.
inline std::string smallBmp()
{
    std::string b = "BM";
    auto put32 = [&b](uint32_t v) {
        for (int i = 0; i < 4; ++i) b += char(v >> (8 * i));
    };
    put32(14 + 40 + 16), put32(0), put32(14 + 40), put32(40), put32(2), put32(2);
    b += std::string("\x01\x00\x18\x00", 4);
    for (int i = 0; i < 6; ++i) put32(0);
    b += std::string(16, '\x7F');
    return b;
}

inline CTarnis* graphicsEngine()
{
    static CTarnis* engine = setUp([] {
        enterScratchDir();
        setenv("SDL_VIDEODRIVER", "dummy", 0);
        const std::string bmp = smallBmp();
        writeBytes("DATA/font.bmp", bmp.data(), bmp.size());
        const std::string tech = R"(<techniquespack><t id="TEQ_FONT" alphablending="ON"/></techniquespack>)";
        writeBytes("DATA/tech.teq", tech.data(), tech.size());
        const std::string pack = R"(<respack><r id="TEX_FONT" typeid="TEXTURE" filename="font.bmp" data1="3"/>)"
                                 R"(<r id="TEQ_PACK" typeid="TECHNIQUE" filename="tech.teq"/></respack>)";
        writeBytes("DATA/pack.xml", pack.data(), pack.size());
        CSmartID::CreateIDsMap();
        auto* t = new CTarnis;
        t->RES_Init();
        t->GFX_Preinit(800, 600);
        t->GFX_Init(2, false);
        return t;
    });
    return engine;
}

inline CTarnis* soundEngine()
{
    static CTarnis* engine = setUp([] {
        enterScratchDir();
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        TNS_BassUseCaptureDevice(true);
        CSmartID::CreateIDsMap();
        auto* t = new CTarnis;
        // Sound comes up after graphics; only the order is checked.
        t->m_bGraphicsCreated = true;
        g_bWindowActive = true;
        t->SFX_Init(44100);
        if (t->m_bNoSoundMode) std::abort();
        return t;
    });
    return engine;
}

} // namespace fuzz
