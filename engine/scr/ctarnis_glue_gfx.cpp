// Script adapters for the scene, the current quad, textures, techniques and fonts.
#include "engine/scr/ctarnis_glue_api.h"

namespace {

constexpr int32_t kFileID = EHS_FILE_GLUE_GFX;
using A = GlueArg;

CTarnis* trs()
{
    return CTarnis::Instance();
}

int glue_TRS_GFX_SceneBegin(lua_State*)
{
    EHS_CHECKPOINT(kFileID);
    trs()->GFX_SceneBegin();
    return 0;
}

int glue_TRS_GFX_SceneEnd(lua_State*)
{
    EHS_CHECKPOINT(kFileID);
    trs()->GFX_SceneEnd();
    return 0;
}

int glue_TRS_GFX_SceneClearScreen(lua_State* L)
{
    GLUE_CHECK(L, kFileID, "TRS_GFX_SceneClearScreen", {A::Number, A::Number, A::Number});
    trs()->GFX_SceneClearScreen(GlueNumber(L, 1), GlueNumber(L, 2), GlueNumber(L, 3));
    return 0;
}

int glue_TRS_GFX_SceneRender(lua_State*)
{
    EHS_CHECKPOINT(kFileID);
    trs()->GFX_SceneRender();
    return 0;
}

int glue_TRS_GFX_ScenePresent(lua_State*)
{
    EHS_CHECKPOINT(kFileID);
    trs()->GFX_ScenePresent();
    return 0;
}

int glue_TRS_GFX_SceneSetViewport(lua_State* L)
{
    GLUE_CHECK(L, kFileID, "TRS_GFX_SceneSetViewport", {A::Integer, A::Integer, A::Integer, A::Integer});
    trs()->GFX_SceneSetViewport(GlueInteger(L, 1), GlueInteger(L, 2), GlueInteger(L, 3), GlueInteger(L, 4));
    return 0;
}

int glue_TRS_GFX_SceneMakeScreenshot(lua_State*)
{
    EHS_CHECKPOINT(kFileID);
    trs()->GFX_SceneMakeScreenshot();
    return 0;
}

int glue_TRS_GFX_SceneSetGamma(lua_State* L)
{
    GLUE_CHECK(L, kFileID, "TRS_GFX_SceneSetGamma", {A::Number, A::Number});
    trs()->GFX_SceneSetGamma(GlueNumber(L, 1), GlueNumber(L, 2));
    return 0;
}

int glue_TRS_GFX_VQuadSetPos(lua_State* L)
{
    GLUE_CHECK(L, kFileID, "TRS_GFX_VQuadSetPos", {A::Number, A::Number, A::Number, A::Number}, 5, A::Number);
    float z = GlueHasOptional(L, 5) ? GlueNumber(L, 5) : 0.5f;
    trs()->GFX_VQuadSetPos(GlueNumber(L, 1), GlueNumber(L, 2), GlueNumber(L, 3), GlueNumber(L, 4), z);
    return 0;
}

int glue_TRS_GFX_VQuadSetPosByVertex(lua_State* L)
{
    GLUE_CHECK(L, kFileID, "TRS_GFX_VQuadSetPosByVertex", {A::Integer, A::Number, A::Number}, 4, A::Number);
    float z = GlueHasOptional(L, 4) ? GlueNumber(L, 4) : 0.5f;
    trs()->GFX_VQuadSetPosByVertex(GlueInteger(L, 1), GlueNumber(L, 2), GlueNumber(L, 3), z);
    return 0;
}

int glue_TRS_GFX_VQuadRotate(lua_State* L)
{
    GLUE_CHECK(L, kFileID, "TRS_GFX_VQuadRotate", {A::Number, A::Number, A::Number});
    trs()->GFX_VQuadRotate(GlueNumber(L, 1), GlueNumber(L, 2), GlueNumber(L, 3));
    return 0;
}

int glue_TRS_GFX_VQuadScale(lua_State* L)
{
    GLUE_CHECK(L, kFileID, "TRS_GFX_VQuadScale", {A::Number, A::Number, A::Number});
    trs()->GFX_VQuadScale(GlueNumber(L, 1), GlueNumber(L, 2), GlueNumber(L, 3));
    return 0;
}

int glue_TRS_GFX_VQuadMove(lua_State* L)
{
    GLUE_CHECK(L, kFileID, "TRS_GFX_VQuadMove", {A::Number, A::Number}, 3, A::Number);
    float dz = GlueHasOptional(L, 3) ? GlueNumber(L, 3) : 0.0f;
    trs()->GFX_VQuadMove(GlueNumber(L, 1), GlueNumber(L, 2), dz);
    return 0;
}

int glue_TRS_GFX_VQuadSetTexCoords(lua_State* L)
{
    GLUE_CHECK(L, kFileID, "TRS_GFX_VQuadSetTexCoords", {A::Integer, A::Number, A::Number, A::Number, A::Number});
    trs()->GFX_VQuadSetTexCoords(GlueInteger(L, 1), GlueNumber(L, 2), GlueNumber(L, 3), GlueNumber(L, 4),
                                 GlueNumber(L, 5));
    return 0;
}

int glue_TRS_GFX_VQuadSetColor(lua_State* L)
{
    GLUE_CHECK(L, kFileID, "TRS_GFX_VQuadSetColor", {A::Number, A::Number, A::Number}, 4, A::Number);
    float a = GlueHasOptional(L, 4) ? GlueNumber(L, 4) : 1.0f;
    trs()->GFX_VQuadSetColor(GlueNumber(L, 1), GlueNumber(L, 2), GlueNumber(L, 3), a);
    return 0;
}

int glue_TRS_GFX_VQuadSetColorByVertex(lua_State* L)
{
    GLUE_CHECK(L, kFileID, "TRS_GFX_VQuadSetColorByVertex", {A::Integer, A::Number, A::Number, A::Number}, 5,
               A::Number);
    // A corner coloured without an alpha is transparent, unlike the whole-quad form.
    float a = GlueHasOptional(L, 5) ? GlueNumber(L, 5) : 0.0f;
    trs()->GFX_VQuadSetColorByVertex(GlueInteger(L, 1), GlueNumber(L, 2), GlueNumber(L, 3), GlueNumber(L, 4), a);
    return 0;
}

int glue_TRS_GFX_TexUnloadByID(lua_State* L)
{
    GLUE_CHECK(L, kFileID, "TRS_GFX_TexUnloadByID", {A::ResID});
    if (GlueIsStringID(L, 1))
        trs()->GFX_TexUnloadByID(lua_tostring(L, 1));
    else
        trs()->GFX_TexUnloadByID(GlueInteger(L, 1));
    return 0;
}

int glue_TRS_GFX_TexSet(lua_State* L)
{
    GLUE_CHECK(L, kFileID, "TRS_GFX_TexSet", {A::ResID}, 2, A::Integer);
    int32_t stage = GlueHasOptional(L, 2) ? GlueInteger(L, 2) : 0;
    if (GlueIsStringID(L, 1))
        trs()->GFX_TexSet(lua_tostring(L, 1), stage);
    else
        trs()->GFX_TexSet(GlueInteger(L, 1), stage);
    return 0;
}

int glue_TRS_GFX_TexSetNoTexture(lua_State* L)
{
    GLUE_CHECK(L, kFileID, "TRS_GFX_TexSetNoTexture", {}, 1, A::Integer);
    trs()->GFX_TexSetNoTexture(GlueHasOptional(L, 1) ? GlueInteger(L, 1) : 0);
    return 0;
}

int glue_TRS_GFX_TechApply(lua_State* L)
{
    GLUE_CHECK(L, kFileID, "TRS_GFX_TechApply", {A::ResID});
    if (GlueIsStringID(L, 1))
        trs()->GFX_TechApply(lua_tostring(L, 1));
    else
        trs()->GFX_TechApply(GlueInteger(L, 1));
    return 0;
}

int glue_TRS_GFX_FontSet(lua_State* L)
{
    GLUE_CHECK(L, kFileID, "TRS_GFX_FontSet", {A::ResID});
    if (GlueIsStringID(L, 1))
        trs()->GFX_FontSet(lua_tostring(L, 1));
    else
        trs()->GFX_FontSet(GlueInteger(L, 1));
    return 0;
}

int glue_TRS_GFX_FontDrawText(lua_State* L)
{
    GLUE_CHECK(L, kFileID, "TRS_GFX_FontDrawText",
               {A::String, A::Number, A::Number, A::Integer, A::Integer, A::Number});
    trs()->GFX_FontDrawText(lua_tostring(L, 1), GlueNumber(L, 2), GlueNumber(L, 3), GlueInteger(L, 4),
                            GlueInteger(L, 5), GlueNumber(L, 6));
    return 0;
}

} // namespace

const GlueEntry g_glueGfx[] = {
    {"TRS_GFX_SceneBegin", glue_TRS_GFX_SceneBegin},
    {"TRS_GFX_SceneEnd", glue_TRS_GFX_SceneEnd},
    {"TRS_GFX_SceneClearScreen", glue_TRS_GFX_SceneClearScreen},
    {"TRS_GFX_SceneRender", glue_TRS_GFX_SceneRender},
    {"TRS_GFX_ScenePresent", glue_TRS_GFX_ScenePresent},
    {"TRS_GFX_SceneSetViewport", glue_TRS_GFX_SceneSetViewport},
    {"TRS_GFX_SceneMakeScreenshot", glue_TRS_GFX_SceneMakeScreenshot},
    {"TRS_GFX_SceneSetGamma", glue_TRS_GFX_SceneSetGamma},
    {"TRS_GFX_VQuadSetPos", glue_TRS_GFX_VQuadSetPos},
    {"TRS_GFX_VQuadSetPosByVertex", glue_TRS_GFX_VQuadSetPosByVertex},
    {"TRS_GFX_VQuadRotate", glue_TRS_GFX_VQuadRotate},
    {"TRS_GFX_VQuadScale", glue_TRS_GFX_VQuadScale},
    {"TRS_GFX_VQuadMove", glue_TRS_GFX_VQuadMove},
    {"TRS_GFX_VQuadSetTexCoords", glue_TRS_GFX_VQuadSetTexCoords},
    {"TRS_GFX_VQuadSetColor", glue_TRS_GFX_VQuadSetColor},
    {"TRS_GFX_VQuadSetColorByVertex", glue_TRS_GFX_VQuadSetColorByVertex},
    {"TRS_GFX_TexUnloadByID", glue_TRS_GFX_TexUnloadByID},
    {"TRS_GFX_TexSet", glue_TRS_GFX_TexSet},
    {"TRS_GFX_TexSetNoTexture", glue_TRS_GFX_TexSetNoTexture},
    {"TRS_GFX_TechApply", glue_TRS_GFX_TechApply},
    {"TRS_GFX_FontSet", glue_TRS_GFX_FontSet},
    {"TRS_GFX_FontDrawText", glue_TRS_GFX_FontDrawText},
    {nullptr, nullptr},
};
