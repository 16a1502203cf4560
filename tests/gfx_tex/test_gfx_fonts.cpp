// Bitmap fonts loaded from real resource files (texture and technique loaded
// on demand), the description's rules and errors, glyph layout of both drawing
// calls, colour codes, line feeds and measuring.
#include <filesystem>
#include <map>

#include "tests/gfx_tex/tex_fixture.h"

using textest::errorOf;
using textest::TexTest;

namespace {

// A description with every width 8 except those given; a width of "" omits it.
std::string fontXml(const std::string& attrs, std::map<int, std::string> widths = {})
{
    std::string xml = "<fontdesc " + attrs;
    for (int c = 0; c < 256; ++c) {
        auto it = widths.find(c);
        const std::string w = it == widths.end() ? "8" : it->second;
        if (!w.empty()) xml += " cs" + std::to_string(c) + "=\"" + w + "\"";
    }
    return xml + "/>";
}

const std::string kMainAttrs = R"(id="FNT_MAIN" textureid="TEX_FONT" techniqueid="TEQ_FONT" techpackid="TEQ_PACK" )"
                               R"(cellsize="20" color1r="1" color1g="0.5" color3r="0.75" tag="2")";
const std::map<int, std::string> kMainWidths = {{'A', "10.6"}, {'B', "9"}, {' ', "5.5"}, {9, "12.25"}};

class FontTest : public TexTest {
protected:
    void SetUp() override
    {
        TexTest::SetUp();
        std::filesystem::create_directories("DATA/fx");
        tst::writeFile("DATA/pack.xml",
                       "<respack>\r\n"
                       R"(<r id="TEX_FONT" typeid="TEXTURE" filename="font.png" data1="3" data2="1"/>)"
                       "\r\n"
                       R"(<r id="TEQ_PACK" typeid="TECHNIQUE" filename="fx\Tech.teq"/>)"
                       R"(<r id="FNT_MAIN" typeid="FONT" filename="main.fnt"/></respack>)");
        const imgtest::Bytes png = textest::pngOf(32, 32, std::vector<uint32_t>(32 * 32, 0xFFFFFFFFu));
        tst::writeFile("DATA/font.png", std::string(png.begin(), png.end()));
        tst::writeFile("DATA/fx/tech.teq", R"(<techniquespack><t id="TEQ_FONT" alphablending="ON" )"
                                           R"(absrc="SRCALPHA" abdest="INVSRCALPHA"/></techniquespack>)");
        tst::writeFile("DATA/main.fnt", fontXml(kMainAttrs, kMainWidths));
        m_t->RES_Init();
        start();
    }
    int32_t loadFont(const std::string& xml)
    {
        return m_t->GFX_FontLoadFromMemory(reinterpret_cast<const uint8_t*>(xml.data()), int32_t(xml.size()));
    }
    // Top-left corner of queued glyph k (queuing shifted it by half a pixel).
    std::pair<float, float> glyphAt(int k)
    {
        const TRSQUADVERTEX& v = m_t->m_pQuadLocked[4 * k];
        return {v.x + 0.5f, v.y + 0.5f};
    }
    int queued() { return m_t->m_iQuadsInBatch; }
};

} // namespace

TEST_F(FontTest, DescriptionLoadsItsTextureAndTechniqueOnDemand)
{
    m_t->RES_LoadResource("FNT_MAIN");
    ASSERT_EQ(m_t->GFX_FontGetID("FNT_MAIN"), 0);
    EXPECT_EQ(m_t->m_iCurrentFont, 0) << "the font in slot 0 becomes current";
    EXPECT_EQ(tst::logCount(" !: Cannot find iID of texture with strID = TEX_FONT"), 1);
    const TRSFONT& f = *m_t->m_pFontsManager->GetItem(0);
    EXPECT_EQ(f.iTextureID, m_t->GFX_TexGetID("TEX_FONT"));
    EXPECT_EQ(f.iTechniqueID, m_t->GFX_TechGetID("TEQ_FONT"));
    EXPECT_EQ(f.fCellSize, 20.0f);
    EXPECT_FLOAT_EQ(f.fCharWidths[size_t('A')], 10.6f);
    EXPECT_EQ(f.fCharWidths[200], 8.0f);
    // Only the red of entry 3 given: (r, 0, 0, 1); untouched entries are black.
    EXPECT_EQ(f.Colors[3].r, 0.75f);
    EXPECT_EQ(f.Colors[3].g, 0.0f);
    EXPECT_EQ(f.Colors[3].a, 1.0f);
    EXPECT_EQ(f.Colors[0].r + f.Colors[0].g + f.Colors[0].b, 0.0f);
    EXPECT_EQ(f.Colors[0].a, 1.0f);
    EXPECT_EQ(m_t->m_pFontsManager->GetTag(0), 2);

    // The same description again: a warning and the first font's ID.
    EXPECT_EQ(loadFont(fontXml(kMainAttrs)), 0);
    EXPECT_EQ(tst::logCount(" !: Warning: Dublicated font!"), 1);
    EXPECT_EQ(m_t->m_pFontsManager->GetSlotCount(), 1);
}

TEST_F(FontTest, DescriptionErrorsLeaveNoFontBehind)
{
    const std::string base = R"(textureid="TEX_FONT" techniqueid="TEQ_FONT" techpackid="TEQ_PACK" cellsize="20")";
    const struct {
        std::string xml;
        const char* error;
    } cases[] = {
        {"plain text", "1:Parsing error during loading the font data!"},
        {"<font id=\"FNT_A\"/>", "2:XML file doesn't contain font description!"},
        {fontXml(base), "1:Invalid font ID"},
        {fontXml(R"(id="FNT_A" techniqueid="TEQ_FONT" techpackid="TEQ_PACK" cellsize="20")"),
         "1:Invalid font texture ID!"},
        {fontXml(R"(id="FNT_A" textureid="TEX_NOWHERE" techniqueid="TEQ_FONT" techpackid="TEQ_PACK")"),
         "1:Cannot load font texture!"},
        {fontXml(R"(id="FNT_A" textureid="TEX_FONT" techpackid="TEQ_PACK" cellsize="20")"),
         "1:Invalid font technique ID!"},
        {fontXml(R"(id="FNT_A" textureid="TEX_FONT" techniqueid="TEQ_FONT" cellsize="20")"),
         "1:Invalid font technique pack ID!"},
        {fontXml(R"(id="FNT_A" textureid="TEX_FONT" techniqueid="TEQ_NONE" techpackid="TEQ_PACK")"),
         "1:Cannot load font technique!"},
        {fontXml(R"(id="FNT_A" textureid="TEX_FONT" techniqueid="TEQ_FONT" techpackid="TEQ_PACK")"),
         "1:Invalid font cell size!"},
        // Byte 200 may never be drawn, yet its width is required.
        {fontXml("id=\"FNT_A\" " + base, {{200, ""}}), "1:Invalid character length!"},
    };
    for (const auto& c : cases) EXPECT_EQ(errorOf([&] { loadFont(c.xml); }), c.error) << c.xml.substr(0, 60);
    EXPECT_EQ(m_t->m_pFontsManager->GetSlotCount(), 0);
    EXPECT_EQ(m_t->m_iCurrentFont, -1);
}

TEST_F(FontTest, GlyphLayoutOfBothDrawingCalls)
{
    m_t->RES_LoadResource("FNT_MAIN");
    m_t->m_iCurrentFont = -1; // as after a device setup: the next draw takes font 0
    m_t->GFX_SceneBegin();
    m_t->GFX_FontDrawText("A B", 0, 0, 0, -1, 1.0f);
    EXPECT_EQ(m_t->m_iCurrentFont, 0);
    ASSERT_EQ(queued(), 2);
    EXPECT_FLOAT_EQ(glyphAt(1).first, 15.6f) << "advances are not rounded, the space is";
    // 'A' = 65: column 1, row 4 of the sheet.
    EXPECT_EQ(m_t->m_pQuadLocked[0].tu1, 0.0625f);
    EXPECT_EQ(m_t->m_pQuadLocked[0].tv1, 0.25f);
    EXPECT_EQ(m_t->m_pQuadLocked[2].tu1, 0.125f);
    EXPECT_EQ(m_t->m_pQuadLocked[2].tv1, 0.3125f);
    EXPECT_EQ(m_t->m_pQuadLocked[2].x + 0.5f, 20.0f) << "a cell is cellsize wide";
    m_t->GFX_SceneEnd();

    m_t->GFX_SceneBegin();
    m_t->GFX_FontDrawTextEx("A B", 0, 0, 0, -1, 1.0f, true, 1.0f, 0.0f, 0.0f);
    ASSERT_EQ(queued(), 2);
    EXPECT_EQ(glyphAt(1).first, 15.0f) << "floor(10.6) + floor(5.5)";
    m_t->GFX_SceneEnd();

    // Line feeds: down floor(1.1 x cell) = 22, back to the start x; scaled by 2
    // with 3 extra pixels of line spacing: floor(44 + 3) = 47. Control bytes
    // other than tab and line feed are skipped; the limit counts bytes.
    m_t->GFX_SceneBegin();
    m_t->GFX_FontDrawText("A\nB\x01" "B", 3, 4, 0, -1, 1.0f);
    ASSERT_EQ(queued(), 3);
    EXPECT_EQ(glyphAt(1), std::make_pair(3.0f, 26.0f));
    EXPECT_EQ(glyphAt(2), std::make_pair(12.0f, 26.0f));
    m_t->GFX_FontDrawTextEx("A\n\tB", 3, 4, 0, -1, 1.0f, false, 2.0f, 1.0f, 3.0f);
    ASSERT_EQ(queued(), 5);
    EXPECT_EQ(glyphAt(4), std::make_pair(3.0f + 25.0f, 51.0f)) << "tab: floor(2 x 12.25 + 1)";
    EXPECT_EQ(m_t->m_pQuadLocked[16 + 2].x + 0.5f, 28.0f + 40.0f) << "cells scale too";
    m_t->GFX_FontDrawText("ABAB", 0, 0, 3, -1, 1.0f);
    EXPECT_EQ(queued(), 8);
    m_t->GFX_SceneEnd();
}

TEST_F(FontTest, ColourCodesPickPaletteEntries)
{
    m_t->RES_LoadResource("FNT_MAIN");
    m_t->GFX_SceneBegin();
    m_t->GFX_FontDrawTextEx("%1AB", 0, 0, 0, 0, 1.0f, true, 1.0f, 0.0f, 0.0f);
    ASSERT_EQ(queued(), 2) << "the code draws nothing";
    EXPECT_EQ(glyphAt(0).first, 0.0f) << "and advances nothing";
    EXPECT_EQ(m_t->m_pQuadLocked[4].diffuse, 0xFFFF7F00u) << "palette entry 1";
    m_t->GFX_FontDrawTextEx("%1AB", 0, 0, 0, -1, 1.0f, true, 1.0f, 0.0f, 0.0f);
    EXPECT_EQ(queued(), 6) << "without a colour index '%' and the digit are glyphs";
    // The colour index colours the text with the given alpha.
    m_t->GFX_FontDrawText("A", 0, 0, 0, 3, 0.5f);
    EXPECT_EQ(m_t->m_pQuadLocked[24].diffuse, 0x7FBF0000u);
    m_t->GFX_SceneEnd();
}

TEST_F(FontTest, MeasuringStopsAtTheFirstLineFeed)
{
    m_t->RES_LoadResource("FNT_MAIN");
    EXPECT_EQ(m_t->GFX_FontGetStringWidth("AB\nCD", 0, 1.0f, 0.0f), 19.0f);
    EXPECT_EQ(m_t->GFX_FontGetStringWidth("AB\nCD", 0, 2.0f, 1.0f), 41.0f); // floor(22.2) + 19
    EXPECT_EQ(m_t->GFX_FontGetStringWidth("%1A B\tA\x01", 0, 1.0f, 0.0f), 46.0f); // 10 + 5 + 9 + 12 + 10
    EXPECT_EQ(m_t->GFX_FontGetStringWidth("", 0, 1.0f, 0.0f), 0.0f);
}

TEST_F(FontTest, CurrentFontRules)
{
    EXPECT_EQ(errorOf([&] { m_t->GFX_FontDrawText("A", 0, 0, 0, -1, 1.0f); }),
              "2:Cannot draw text: invalid current font id. ID = 0");
    m_t->RES_LoadResource("FNT_MAIN");
    EXPECT_EQ(errorOf([&] { m_t->GFX_FontSet(5); }), "2:Cannot set current font: invalid ID. ID = 5");
    EXPECT_EQ(errorOf([&] { m_t->GFX_FontSet("FNT_X"); }), "2:Cannot set current font: invalid ID. strID = FNT_X");
    EXPECT_EQ(m_t->GFX_FontGetID("FNT_X"), -1);
    EXPECT_EQ(tst::logCount(" !: Cannot find iID of font with strID = FNT_X"), 1);
    m_t->GFX_FontSet("FNT_MAIN");
    EXPECT_EQ(m_t->m_iCurrentFont, 0);
    CSmartID unbound("FNT_LATER");
    CSmartID::SetIntID("FNT_LATER", 7);
    m_t->GFX_FontSet(unbound);
    EXPECT_EQ(m_t->m_iCurrentFont, 7) << "identifiers are trusted";
    EXPECT_EQ(errorOf([&] { m_t->GFX_FontDrawTextEx("A", 0, 0, 0, -1, 1.0f, true, 1, 0, 0); }),
              "2:Cannot draw text: invalid current font id. ID = 7");
    EXPECT_EQ(errorOf([&] { m_t->GFX_FontGetStringWidth("A", 3, 1.0f, 0.0f); }),
              "2:Cannot calculate string width: invalid font id. ID = 3");
}
