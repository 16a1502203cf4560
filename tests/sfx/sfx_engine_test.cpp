#include "engine/platform/audio/bass_testing.h"
#include "tests/sfx/sfx_engine_test.h"

#include <gtest/gtest.h>

#include "engine/core/ctarnis.h"
#include "engine/platform/audio/bass.h"

namespace sfxtest {

void EngineTest::SetUp()
{
    TNS_BassUseCaptureDevice(true);
    m_engine = new CTarnis;
    m_engine->m_bGraphicsCreated = true;
    g_bWindowActive = true;
}

void EngineTest::TearDown()
{
    if (m_engine->m_bSoundReady) m_engine->SFX_Deinit();
    // Only sound was started here; the other subsystems' ends must not run.
    m_engine->m_bGraphicsCreated = false;
    delete m_engine;
    g_bWindowActive = false;
    TNS_BassUseCaptureDevice(false);
}

void EngineTest::startSound()
{
    m_engine->SFX_Init(44100);
    ASSERT_FALSE(m_engine->m_bNoSoundMode);
}

std::vector<int16_t> EngineTest::renderMs(int ms)
{
    const int frames = ms * 441 / 10;
    std::vector<int16_t> out(size_t(frames) * 2);
    EXPECT_TRUE(TNS_BassCaptureRender(out.data(), frames));
    return out;
}

} // namespace sfxtest
