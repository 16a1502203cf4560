// The sound tests' engine: graphics counted as started, the window active and
// the capture device standing in for the sound card; sound is not started yet.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/audio_samples.h"
#include "tests/support/test_support.h"

class CTarnis;

namespace sfxtest {

class EngineTest : public tst::InScratchDir {
protected:
    void SetUp() override;
    void TearDown() override;
    // Starts sound at 44100 Hz on the capture device.
    void startSound();
    // Pulls ms milliseconds of output (this is what moves time on).
    std::vector<int16_t> renderMs(int ms);

    CTarnis* m_engine = nullptr;
};

} // namespace sfxtest
