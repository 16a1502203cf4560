// The sound tests' engine: graphics counted as started, the window active and
// the capture device standing in for the sound card; sound is not started yet.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/core/ctarnis.h"
#include "engine/platform/audio/bass_testing.h"
#include "tests/support/audio_samples.h"
#include "tests/support/test_support.h"

namespace sfxtest {

class EngineTest : public tst::InScratchDir {
protected:
    void SetUp() override
    {
        TNS_BassUseCaptureDevice(true);
        m_engine = new CTarnis;
        m_engine->m_bGraphicsCreated = true;
        g_bWindowActive = true;
    }
    void TearDown() override
    {
        if (m_engine->m_bSoundReady) m_engine->SFX_Deinit();
        // Only sound was started here; the other subsystems' ends must not run.
        m_engine->m_bGraphicsCreated = false;
        delete m_engine;
        g_bWindowActive = false;
        TNS_BassUseCaptureDevice(false);
    }
    // Starts sound at 44100 Hz on the capture device.
    void startSound()
    {
        m_engine->SFX_Init(44100);
        ASSERT_FALSE(m_engine->m_bNoSoundMode);
    }
    // Pulls ms milliseconds of output (this is what moves time on).
    std::vector<int16_t> renderMs(int ms)
    {
        std::vector<int16_t> out(size_t(ms * 441 / 10) * 2);
        EXPECT_TRUE(TNS_BassCaptureRender(out.data(), ms * 441 / 10));
        return out;
    }

    CTarnis* m_engine = nullptr;
};

} // namespace sfxtest
