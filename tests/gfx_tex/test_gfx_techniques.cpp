// Techniques packs and their application: vocabularies and fallbacks, group
// presence and the device states applied, pack errors, the apply rules, and the
// dynamic-light tint techniques switch on. (What states draw is the device's.)
#include "tests/gfx_tex/tex_fixture.h"

using textest::errorOf;
using textest::TexTest;

namespace {

class TechTest : public TexTest {
protected:
    void SetUp() override
    {
        TexTest::SetUp();
        start();
    }
    void pack(const std::string& body)
    {
        const std::string xml = "<techniquespack>" + body + "</techniquespack>";
        m_t->GFX_TechLoadPack(reinterpret_cast<const uint8_t*>(xml.data()), int32_t(xml.size()));
    }
    const TRSTECHNIQUE& tech(const char* id) { return *m_t->m_pTechniquesManager->GetItem(m_t->GFX_TechGetID(id)); }
    DWORD rs(D3DRENDERSTATETYPE s)
    {
        DWORD v = 0;
        m_t->m_pD3DDevice->GetRenderState(s, &v);
        return v;
    }
    DWORD tss(DWORD stage, D3DTEXTURESTAGESTATETYPE s)
    {
        DWORD v = 0;
        m_t->m_pD3DDevice->GetTextureStageState(stage, s, &v);
        return v;
    }
};

} // namespace

TEST_F(TechTest, VocabulariesMapExactUpperCaseWordsAndFallBack)
{
    pack(R"(<t id="TEQ_W" alphablending="ON" absrc="SRCALPHA" abdest="INVSRCALPHA" fog="ON" fogstart="0.25"
              fogend="2" fogcolorr="1.0" fogcolorg="0.5" s0_colorop="MODULATE" s0_colorarg1="TEXTURE"
              s0_colorarg2="DIFFUSE" s0_alphaop="SELECTARG2" s0_alphaarg1="TFACTOR" s0_alphaarg2="SPECULAR"
              s0_address="CLAMP" s1_colorop="DOTPRODUCT3" s1_colorarg1="CURRENT" s0_minfilter="LINEAR"
              s0_magfilter="POINT" s0_mipfilter="NONE" dynlightmode="VERTEX" texturefactorr="0.5"
              texturefactora="1.0" tag="4"/>
            <t id="TEQ_F" alphablending="OFF" absrc="srcalpha" abdest="what" fog="on" s0_colorop="modulate"
              s0_colorarg1="texture" s0_address="Clamp" s0_minfilter="linear" dynlightmode="vertex"/>)");
    const TRSTECHNIQUE& w = tech("TEQ_W");
    EXPECT_TRUE(w.bBlendingPresent && w.bAlphaBlending);
    EXPECT_EQ(w.iSrcBlend, D3DBLEND_SRCALPHA);
    EXPECT_EQ(w.iDestBlend, D3DBLEND_INVSRCALPHA);
    EXPECT_TRUE(w.bFog);
    EXPECT_EQ(w.fFogStart, 0.25f);
    EXPECT_EQ(w.dwFogColor, 0xFFFF7F00u); // 0.5 * 255 = 127.5, truncated
    EXPECT_EQ(w.dwTextureFactor, 0xFF7F0000u);
    EXPECT_EQ(w.iColorOp[0], D3DTOP_MODULATE);
    EXPECT_EQ(w.iColorArg1[0], int32_t(D3DTA_TEXTURE));
    EXPECT_EQ(w.iColorArg2[0], int32_t(D3DTA_DIFFUSE));
    EXPECT_EQ(w.iAlphaOp[0], D3DTOP_SELECTARG2);
    EXPECT_EQ(w.iAlphaArg1[0], int32_t(D3DTA_TFACTOR));
    EXPECT_EQ(w.iAlphaArg2[0], int32_t(D3DTA_SPECULAR));
    EXPECT_EQ(w.iAddressMode[0], D3DTADDRESS_CLAMP);
    EXPECT_EQ(w.iColorOp[1], D3DTOP_DOTPRODUCT3);
    EXPECT_EQ(w.iAddressMode[1], D3DTADDRESS_WRAP) << "missing inside a present group: the fallback";
    EXPECT_EQ(w.iMinFilter[0], D3DTEXF_LINEAR);
    EXPECT_EQ(w.iMagFilter[0], D3DTEXF_POINT);
    EXPECT_EQ(w.iDynLightMode, 1);
    EXPECT_EQ(m_t->m_pTechniquesManager->GetTag(m_t->GFX_TechGetID("TEQ_W")), 4);

    // Lower case and unknown words take each vocabulary's fallback, and the
    // groups still count as present.
    const TRSTECHNIQUE& f = tech("TEQ_F");
    EXPECT_TRUE(f.bBlendingPresent);
    EXPECT_FALSE(f.bAlphaBlending);
    EXPECT_EQ(f.iSrcBlend, D3DBLEND_ZERO);
    EXPECT_EQ(f.iDestBlend, D3DBLEND_ZERO);
    EXPECT_TRUE(f.bFogPresent);
    EXPECT_FALSE(f.bFog);
    EXPECT_EQ(f.iColorOp[0], D3DTOP_DISABLE);
    EXPECT_EQ(f.iColorArg1[0], int32_t(D3DTA_CURRENT));
    EXPECT_EQ(f.iAddressMode[0], D3DTADDRESS_WRAP);
    EXPECT_EQ(f.iMinFilter[0], D3DTEXF_NONE);
    EXPECT_TRUE(f.bDynLightPresent);
    EXPECT_EQ(f.iDynLightMode, 0);
    EXPECT_FALSE(f.bTextureFactorPresent);
}

TEST_F(TechTest, AbsentGroupsKeepEarlierStatesAndDisabledStageOneKeepsItsArguments)
{
    pack(R"(<t id="TEQ_BLEND" alphablending="ON" absrc="SRCALPHA" abdest="INVSRCALPHA" texturefactorr="1"/>
            <t id="TEQ_STAGE" s0_colorop="SELECTARG1" s0_colorarg1="DIFFUSE" s0_alphaop="SELECTARG2"
              s0_alphaarg2="TFACTOR" s1_colorop="DISABLE"
              s1_colorarg1="DIFFUSE" s0_minfilter="LINEAR" s1_minfilter="LINEAR" s1_magfilter="LINEAR"/>)");
    m_t->GFX_TechApply("TEQ_BLEND");
    EXPECT_EQ(rs(D3DRS_ALPHABLENDENABLE), 1u);
    EXPECT_EQ(rs(D3DRS_SRCBLEND), DWORD(D3DBLEND_SRCALPHA));
    EXPECT_EQ(rs(D3DRS_TEXTUREFACTOR), 0x00FF0000u); // a missing "texturefactora" reads as 0
    const DWORD stage1Arg = tss(1, D3DTSS_COLORARG1);
    m_t->GFX_TechApply("TEQ_STAGE");
    EXPECT_EQ(rs(D3DRS_ALPHABLENDENABLE), 1u) << "no blending group: blending stays on";
    EXPECT_EQ(rs(D3DRS_DESTBLEND), DWORD(D3DBLEND_INVSRCALPHA));
    EXPECT_EQ(tss(0, D3DTSS_COLOROP), DWORD(D3DTOP_SELECTARG1));
    EXPECT_EQ(tss(0, D3DTSS_COLORARG1), D3DTA_DIFFUSE);
    EXPECT_EQ(tss(0, D3DTSS_ALPHAOP), DWORD(D3DTOP_SELECTARG2));
    EXPECT_EQ(tss(0, D3DTSS_ALPHAARG2), D3DTA_TFACTOR);
    EXPECT_EQ(tss(1, D3DTSS_COLOROP), DWORD(D3DTOP_DISABLE));
    EXPECT_EQ(tss(1, D3DTSS_COLORARG1), stage1Arg) << "a disabled stage 1 sets nothing else";
    EXPECT_EQ(tss(1, D3DTSS_MINFILTER), DWORD(D3DTEXF_LINEAR)) << "but its filters are set";
    EXPECT_EQ(tss(1, D3DTSS_MAGFILTER), DWORD(D3DTEXF_LINEAR));
    EXPECT_EQ(tss(0, D3DTSS_MAGFILTER), DWORD(D3DTEXF_NONE));
    EXPECT_EQ(m_t->m_iCurrentTechnique, m_t->GFX_TechGetID("TEQ_STAGE"));
}

TEST_F(TechTest, FogGroupSetsTheQuadFogFlagAndTheDeviceFog)
{
    pack(R"(<t id="TEQ_FOG" fog="ON" fogstart="0.5" fogend="4" fogcolorb="1"/><t id="TEQ_NOFOG" fog="OFF"/>)");
    m_t->GFX_TechApply("TEQ_FOG");
    EXPECT_TRUE(m_t->m_bFogOn);
    EXPECT_EQ(rs(D3DRS_FOGENABLE), 1u);
    EXPECT_EQ(rs(D3DRS_FOGVERTEXMODE), DWORD(D3DFOG_LINEAR));
    EXPECT_EQ(rs(D3DRS_FOGSTART), 0x3F000000u); // 0.5f
    EXPECT_EQ(rs(D3DRS_FOGEND), 0x40800000u);   // 4.0f
    EXPECT_EQ(rs(D3DRS_FOGCOLOR), 0xFF0000FFu);
    m_t->GFX_TechApply("TEQ_NOFOG");
    EXPECT_FALSE(m_t->m_bFogOn);
    EXPECT_EQ(rs(D3DRS_FOGENABLE), 0u);
}

TEST_F(TechTest, PackErrorsDuplicatesAndTheCount)
{
    pack(R"(<t id="TEQ_A" alphablending="ON"/><t id="TEQ_A" alphablending="OFF"/><x id="TEQ_B"/>)");
    EXPECT_TRUE(tech("TEQ_A").bAlphaBlending) << "the first definition stays";
    EXPECT_EQ(tst::logCount("   +: 2 techniques loaded."), 1);
    EXPECT_EQ(errorOf([&] { pack(R"(<t id="TEQ_C"/><t tag="1"/><t id="TEQ_D"/>)"); }), "1:Ivanlid technique ID!");
    EXPECT_GE(m_t->GFX_TechGetID("TEQ_C"), 0) << "techniques before the bad one stay loaded";
    EXPECT_EQ(m_t->GFX_TechGetID("TEQ_D"), -1);
    EXPECT_EQ(tst::logCount(" !: Cannot find iID of technique with strID = TEQ_D"), 1);
    const std::string wrong = "<techniques><t id=\"TEQ_E\"/></techniques>";
    EXPECT_EQ(errorOf([&] {
                  m_t->GFX_TechLoadPack(reinterpret_cast<const uint8_t*>(wrong.data()), int32_t(wrong.size()));
              }),
              "1:Wrong XML root node name: must be techniquespack!");
    const std::string none = "no markup here";
    EXPECT_EQ(errorOf([&] {
                  m_t->GFX_TechLoadPack(reinterpret_cast<const uint8_t*>(none.data()), int32_t(none.size()));
              }),
              "1:Error in XML parser: Root node is NULL!");
}

TEST_F(TechTest, ApplyRules)
{
    pack(R"(<t id="TEQ_A" alphablending="ON"/><t id="TEQ_B" alphablending="OFF"/>)");
    // Nothing current yet: an unknown ID is -1, which is current, so nothing happens.
    EXPECT_EQ(errorOf([&] { m_t->GFX_TechApply("TEQ_NONE"); }), "none");
    m_t->GFX_TechApply(0);
    EXPECT_EQ(errorOf([&] { m_t->GFX_TechApply("TEQ_NONE"); }), "2:Invalid technique ID! ID = -1");
    EXPECT_EQ(errorOf([&] { m_t->GFX_TechApply(5); }), "2:Invalid technique ID! ID = 5");
    CSmartID smart("TEQ_B");
    CSmartID::SetIntID("TEQ_B", 1);
    m_t->GFX_TechApply(smart);
    EXPECT_EQ(m_t->m_iCurrentTechnique, 1);

    // Re-applying the current technique keeps the batch going; a change flushes it.
    m_t->GFX_SceneBegin();
    m_t->GFX_VQuadSetPos(0, 0, 4, 4, 0.5f);
    m_t->GFX_SceneRender();
    m_t->GFX_TechApply(1);
    EXPECT_EQ(draws().calls, 0u);
    m_t->GFX_TechApply(0);
    EXPECT_EQ(draws().calls, 1u);
    m_t->GFX_SceneEnd();
}

TEST_F(TechTest, VertexLightTintsEveryQuadUntilTurnedOff)
{
    pack(R"(<t id="TEQ_LIT" dynlightmode="VERTEX" dynlightambientcolorr="1.0" dynlightambientcolorg="0.5"
              dynlightambientcolorb="0.0"/>
            <t id="TEQ_UNLIT" dynlightmode="DISABLED"/><t id="TEQ_DOT3" dynlightmode="DOT3"/>)");
    m_t->GFX_TechApply("TEQ_LIT");
    EXPECT_EQ(m_t->m_iDynLightMode, 1);
    EXPECT_FLOAT_EQ(m_t->m_fAmbientG, 127.0f / 255.0f);
    EXPECT_EQ(m_t->m_fAmbientA, 1.0f);
    // The technique keeps its ambient colour packed: 0.5 packs to 127 (127.5
    // truncated), unpacks to 127/255 and lights back as 127. Alpha 0.25 lights as 64.
    m_t->GFX_VQuadSetColor(0.0f, 0.0f, 1.0f, 1.0f);
    m_t->GFX_VQuadSetColorByVertex(2, 0.0f, 0.0f, 1.0f, 0.25f);
    m_t->GFX_SceneRender();
    EXPECT_EQ(m_t->m_QuadVertices[0].diffuse, 0xFFFF7F00u);
    EXPECT_EQ(m_t->m_QuadVertices[2].diffuse, 0x40FF7F00u);
    m_t->GFX_TechApply("TEQ_UNLIT");
    m_t->GFX_VQuadSetColor(0.0f, 0.0f, 1.0f, 1.0f);
    m_t->GFX_SceneRender();
    EXPECT_EQ(m_t->m_QuadVertices[0].diffuse, 0xFF0000FFu);

    // Dot3: no light can be selected, which only matters on Dot3 hardware.
    m_t->GFX_TechApply("TEQ_DOT3");
    m_t->m_VideoCardCaps.Dot3 = false;
    EXPECT_EQ(errorOf([&] { m_t->GFX_SceneRender(); }), "none");
    m_t->m_VideoCardCaps.Dot3 = true;
    EXPECT_EQ(errorOf([&] { m_t->GFX_SceneRender(); }), "1:Wrong Dot3 light specified!");
}
