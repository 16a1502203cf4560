// Fixture of the texture, technique and font tests: the graphics subsystem up
// headless (from the graphics tests' fixture), plus small PNG files and helpers
// to read texture levels and raise-and-catch engine errors.
#pragma once

#include <functional>
#include <string>

#include "engine/res/ctarnis_utils_csmartid.h"
#include "tests/gfx/gfx_test_support.h"
#include "tests/platform/image/image_files.h"

namespace textest {

// An RGBA PNG of the given ARGB pixels.
imgtest::Bytes pngOf(int width, int height, const std::vector<uint32_t>& argb);

// "type:text" of the engine error fn raises, "none" when it raises nothing.
std::string errorOf(const std::function<void()>& fn);

// Level pixels as ARGB (unpacked from the texture's format).
std::vector<uint32_t> levelPixels(IDirect3DTexture8* texture, UINT level);

class TexTest : public gfxtest::GfxTest {
protected:
    void SetUp() override
    {
        gfxtest::GfxTest::SetUp();
        CSmartID::CreateIDsMap();
    }
    void TearDown() override
    {
        gfxtest::GfxTest::TearDown();
        CSmartID::DestroyIDsMap();
    }
    int32_t loadPng(const char* id, int width = 2, int height = 2, int32_t formatClass = 3, int32_t mips = 1,
                    int32_t tag = 0, int32_t dim = 0);
    IDirect3DTexture8* texture(int32_t id) { return m_t->m_pTexturesManager->GetItem(id); }
};

} // namespace textest
