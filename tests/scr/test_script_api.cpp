// The script API through a real interpreter, graphics device and input state:
// argument checks, optional arguments, resource IDs by Lua type,
// and a scene drawn entirely from a script.
#include <lua.hpp>

#include <cstring>

#include "engine/core/tns_window.h"
#include "engine/platform/dinput8/dinput8.h"
#include "tests/gfx/gfx_test_support.h"
#include "tests/support/engine_checks.h"

namespace {

class ScriptApiTest : public gfxtest::GfxTest {
protected:
    void SetUp() override
    {
        GfxTest::SetUp();
        start();
        m_t->SCR_Init();
        L = m_t->SCR_GetLuaState();
    }
    void run(const std::string& code) { m_t->SCR_LoadScriptFromBuffer(code.data(), code.size(), "api.lua"); }
    std::string errorOf(const std::string& code) { return tst::raised([&] { run(code); }).m_strDescription; }
    lua_State* L = nullptr;
};

// The set of registered functions is checked against the guide's table (tests/docs).
TEST_F(ScriptApiTest, ArgumentErrorsNameTheFirstFailingIndex)
{
    EXPECT_EQ(errorOf("TRS_GFX_TexSet({})"),
              "Error in glue function: glue_TRS_GFX_TexSet.Invalid argument type. Index = 1");
    EXPECT_EQ(errorOf("TRS_GFX_SceneClearScreen(1, 'x')"),
              "Error in glue function: glue_TRS_GFX_SceneClearScreen.Invalid argument type. Index = 2");
    EXPECT_EQ(errorOf("TRS_LOG_AddEntry()"),
              "Error in glue function: glue_TRS_LOG_AddEntry.Invalid argument type. Index = 1");
    // A number-looking string is still a string, and the other way round.
    EXPECT_EQ(errorOf("TRS_GFX_SceneSetViewport(0, 0, '10', 10)"),
              "Error in glue function: glue_TRS_GFX_SceneSetViewport.Invalid argument type. Index = 3");
    // An optional argument is tested only when exactly that many are passed.
    EXPECT_EQ(errorOf("TRS_GFX_TexSetNoTexture('x')"),
              "Error in glue function: glue_TRS_GFX_TexSetNoTexture.Invalid argument type. Index = 1");
    EXPECT_EQ(errorOf("TRS_GFX_VQuadSetPos(0, 0, 1, 1, 'z', 'ignored')"), "nothing raised");
    const CEHSException e = tst::raised([&] { run("TRS_GFX_SceneSetGamma(true, 1)"); });
    EXPECT_EQ(e.m_iType, 2);
    EXPECT_EQ(e.m_strFile, "engine/scr/ctarnis_glue_gfx.cpp");
    EXPECT_EQ(EHS_GetCheckpointFileID(), 147);
}

TEST_F(ScriptApiTest, OptionalArgumentsCountOnlyWhenExactlyThatManyArePassed)
{
    run("TRS_GFX_VQuadSetPos(10, 20, 30, 40)");
    EXPECT_FLOAT_EQ(m_t->m_QuadVertices[0].z, 0.5f);
    run("TRS_GFX_VQuadSetPos(10, 20, 30, 40, 0.25)");
    EXPECT_FLOAT_EQ(m_t->m_QuadVertices[0].z, 0.25f);
    run("TRS_GFX_VQuadSetPos(10, 20, 30, 40, 0.75, 1)");
    EXPECT_FLOAT_EQ(m_t->m_QuadVertices[0].z, 0.5f);

    run("TRS_GFX_VQuadSetColor(1, 0, 0)");
    for (const auto& v : m_t->m_QuadVertices) EXPECT_EQ(v.diffuse >> 24, 0xFFu);
    run("TRS_GFX_VQuadSetColorByVertex(2, 0, 1, 0)");
    EXPECT_EQ(m_t->m_QuadVertices[2].diffuse >> 24, 0u) << "a corner coloured without alpha is transparent";
}

TEST_F(ScriptApiTest, KeysAndButtonsAreTruncatedAndRangeChecked)
{
    m_t->m_aKeyState[2] = 0x80;
    run("r1 = TRS_INP_KeyboardIsKeyPressed(2.9)\nr2 = TRS_INP_KeyboardIsKeyPressed(3)\n"
        "r3 = TRS_INP_KeyboardIsKeyPressed(258)\nr4 = TRS_INP_KeyboardIsKeyPressed(-254)\n"
        "x, y = TRS_INP_MouseGetCursorPos()");
    const char* expected[][2] = {{"r1", "true"}, {"r2", "false"}, {"r3", "false"}, {"r4", "false"}};
    for (auto& e : expected) {
        lua_getglobal(L, e[0]);
        EXPECT_EQ(lua_toboolean(L, -1) ? std::string("true") : std::string("false"), e[1]) << e[0];
        lua_pop(L, 1);
    }
    lua_getglobal(L, "y");
    EXPECT_TRUE(lua_isnumber(L, -1)) << "the cursor position is two results";
    lua_pop(L, 1);
}

TEST_F(ScriptApiTest, ResourceIdsSelectTheVariantByLuaType)
{
    // A number is used as the integer ID (3 does not exist: an error); a string
    // is looked up by name, and an unknown name resolves to -1, which is the
    // stage's current "no texture" and so changes nothing.
    std::string byString = errorOf("TRS_GFX_TexSet('3')");
    std::string byNumber = errorOf("TRS_GFX_TexSet(3)");
    EXPECT_EQ(byNumber, "Cannot set texture - invalid ID!");
    EXPECT_EQ(byString, "nothing raised");
    EXPECT_EQ(errorOf("TRS_GFX_TexSet(3.7)"), byNumber) << "truncated like an integer";
}

TEST_F(ScriptApiTest, ScriptDrawsAScene)
{
    run("TRS_GFX_SceneBegin()\n"
        "TRS_GFX_SceneClearScreen(0, 0, 1)\n"
        "TRS_GFX_TexSetNoTexture()\n"
        "TRS_GFX_VQuadSetPos(100, 100, 200, 100)\n"
        "TRS_GFX_VQuadSetColor(1, 0, 0)\n"
        "TRS_GFX_SceneRender()\n"
        "TRS_GFX_SceneEnd()\n"
        "TRS_GFX_ScenePresent()\n");
    auto px = picture();
    ASSERT_EQ(px.size(), 800u * 600u);
    EXPECT_EQ(px[150 * 800 + 200] & 0xFFFFFFu, 0xFF0000u) << "inside the quad";
    EXPECT_EQ(px[10 * 800 + 10] & 0xFFFFFFu, 0x0000FFu) << "the cleared background";
}

TEST_F(ScriptApiTest, DemandOfAnUnknownIdLogsAndRaises)
{
    m_t->RES_Init();
    EXPECT_EQ(errorOf("TRSUTIL_DemandTexture('TEX_MISSING')"), "Invalid texture demand. ID = TEX_MISSING");
    EXPECT_EQ(errorOf("TRSUTIL_DemandTechnique('TEQ_X', 'TEQPACK')"),
              "Invalid technique demand. ID = TEQ_X  TechPackID = TEQPACK");
    bool logged = false;
    for (const auto& l : tst::readLines("gamelog.txt")) logged |= l == " !: Cannot find resource with ID = TEX_MISSING";
    EXPECT_TRUE(logged);
}

} // namespace
