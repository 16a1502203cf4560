// Glyph sheets through FreeType and their font descriptions (see font_sheet.h).
#include "tools/gen_assets/font_sheet.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <vector>

#include "tools/gen_assets/image.h"
#include "tools/gen_assets/xml_writer.h"

namespace gen {

float FontMetrics::width(const std::string& text) const
{
    float w = 0;
    for (unsigned char c : text) {
        if (c == 0 || c == '\n') break;
        if (c >= 0x20 || c == '\t') w += std::floor(advance[c]);
    }
    return w;
}

namespace {

// Byte values with a glyph: printable ASCII and the printable half of Latin-1,
// whose code points equal their byte values.
bool hasGlyph(int c)
{
    return (c > 0x20 && c < 0x7F) || (c > 0xA0 && c <= 0xFF);
}

struct FreeType {
    FT_Library lib = nullptr;
    FT_Face face = nullptr;
    FreeType(const std::string& path, int pixelSize)
    {
        if (FT_Init_FreeType(&lib)) throw std::runtime_error("FreeType did not start");
        if (FT_New_Face(lib, path.c_str(), 0, &face)) throw std::runtime_error("cannot open font " + path);
        FT_Set_Pixel_Sizes(face, 0, FT_UInt(pixelSize));
    }
    ~FreeType()
    {
        if (face) FT_Done_Face(face);
        if (lib) FT_Done_FreeType(lib);
    }
    FT_GlyphSlot load(int c)
    {
        if (FT_Load_Char(face, FT_ULong(c), FT_LOAD_RENDER | FT_LOAD_TARGET_LIGHT))
            throw std::runtime_error("cannot render glyph " + std::to_string(c));
        return face->glyph;
    }
};

} // namespace

FontMetrics renderFontSheet(const FontRecipe& recipe, const std::string& pngPath)
{
    FreeType ft(recipe.ttf, recipe.pixelSize);
    FontMetrics m;
    m.cell = recipe.cell;
    const int pad = recipe.cell >= 64 ? 3 : 2;
    m.baseline = pad + int(std::ceil(double(ft.face->size->metrics.ascender) / 64.0));
    m.capHeight = ft.load('H')->bitmap_top;

    const int cell = recipe.cell;
    Image sheet(cell * 16, cell * 16);
    for (int c = 0; c < 256; ++c) {
        if (c == ' ' || c == 0xA0) m.advance[size_t(c)] = float((ft.load(' ')->advance.x + 32) >> 6);
        if (!hasGlyph(c)) continue;
        FT_GlyphSlot g = ft.load(c);
        m.advance[size_t(c)] = float((g->advance.x + 32) >> 6);
        // The glyph's coverage in a cell-sized mask, pen at (pad, baseline).
        std::vector<float> mask(size_t(cell) * cell, 0.0f);
        const FT_Bitmap& bm = g->bitmap;
        for (unsigned row = 0; row < bm.rows; ++row) {
            for (unsigned col = 0; col < bm.width; ++col) {
                const int x = pad + g->bitmap_left + int(col), y = m.baseline - g->bitmap_top + int(row);
                if (x < 0 || y < 0 || x >= cell || y >= cell) continue;
                mask[size_t(y) * cell + x] = float(bm.buffer[row * unsigned(bm.pitch) + col]) / 255.0f;
            }
        }
        const int cx = (c % 16) * cell, cy = (c / 16) * cell;
        if (recipe.shadow) {
            const int off = cell >= 64 ? 2 : 1;
            std::vector<float> sh(mask.size(), 0.0f);
            for (int y = off; y < cell; ++y)
                for (int x = off; x < cell; ++x) sh[size_t(y) * cell + x] = mask[size_t(y - off) * cell + x - off];
            blurMask(sh, cell, cell, 1);
            sheet.drawMask(sh, cell, cell, cx, cy, Rgba{0.02f, 0.04f, 0.10f, 0.75f});
        }
        sheet.drawMask(mask, cell, cell, cx, cy, Rgba{1, 1, 1, 1});
    }
    m.advance['\t'] = m.advance[' '] * 4;
    sheet.writePng(pngPath);
    return m;
}

TextMask renderTextMask(const std::string& ttf, int pixelSize, const std::string& text, int letterSpacing)
{
    FreeType ft(ttf, pixelSize);
    // First pass: extent of the inked pixels with the pen on baseline 0.
    int minX = 1 << 20, maxX = -(1 << 20), minY = 1 << 20, maxY = -(1 << 20), pen = 0;
    for (unsigned char c : text) {
        FT_GlyphSlot g = ft.load(c);
        if (g->bitmap.width && g->bitmap.rows) {
            minX = std::min(minX, pen + g->bitmap_left);
            maxX = std::max(maxX, pen + g->bitmap_left + int(g->bitmap.width));
            minY = std::min(minY, -g->bitmap_top);
            maxY = std::max(maxY, -g->bitmap_top + int(g->bitmap.rows));
        }
        pen += int((g->advance.x + 32) >> 6) + letterSpacing;
    }
    TextMask m;
    m.width = maxX - minX;
    m.height = maxY - minY;
    m.cover.assign(size_t(m.width) * m.height, 0.0f);
    pen = 0;
    for (unsigned char c : text) {
        FT_GlyphSlot g = ft.load(c);
        for (unsigned row = 0; row < g->bitmap.rows; ++row) {
            for (unsigned col = 0; col < g->bitmap.width; ++col) {
                const int x = pen + g->bitmap_left + int(col) - minX, y = -g->bitmap_top + int(row) - minY;
                float& dst = m.cover[size_t(y) * m.width + x];
                dst = std::max(dst, float(g->bitmap.buffer[row * unsigned(g->bitmap.pitch) + col]) / 255.0f);
            }
        }
        pen += int((g->advance.x + 32) >> 6) + letterSpacing;
    }
    return m;
}

std::string fontDescription(const FontRecipe& recipe, const FontMetrics& m, const std::string& techniqueID,
                            const std::string& techPackID)
{
    // Palette for texts that pick their colour by index (and %digit codes):
    // 0 white, 1 gold, 2 navy, 3 teal, 4 coral, 5 mist, 6 slate, 7 amber, 8 ink, 9 cream.
    static const uint32_t kPalette[10] = {0xFFFFFF, 0xFFD166, 0x1B2A49, 0x17867B, 0xE8554A,
                                          0xB8C7DD, 0x4B5670, 0xE58E0C, 0x101522, 0xFBF5E6};
    XmlNode root("fontdesc");
    root.attr("id", recipe.id)
        .attr("textureid", recipe.textureID)
        .attr("techniqueid", techniqueID)
        .attr("techpackid", techPackID)
        .attr("cellsize", m.cell);
    for (int i = 0; i < 10; ++i) {
        const Rgba c = hex(kPalette[i]);
        root.attr("color" + std::to_string(i) + "r", c.r)
            .attr("color" + std::to_string(i) + "g", c.g)
            .attr("color" + std::to_string(i) + "b", c.b);
    }
    for (int c = 0; c < 256; ++c) root.attr("cs" + std::to_string(c), m.advance[size_t(c)]);
    root.attr("tag", 2);
    return xmlDocument(root, "Bitmap font " + recipe.id + ": advance widths in pixels for every byte value.");
}

} // namespace gen
