// Bitmap fonts: renders a system TrueType font through FreeType into a 16 x 16
// sheet of glyph cells (white glyphs, coverage in alpha) and writes the font
// description with the advance width of every byte value.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace gen {

struct FontRecipe {
    std::string id;        // FNT_...
    std::string textureID; // TEX_... of the sheet
    std::string ttf;       // font file
    int pixelSize;         // nominal size handed to FreeType
    int cell;              // cell size in pixels; the sheet is 16 cells square
    bool shadow;           // bakes a soft dark shadow under each glyph
};

// What layout code needs to place text drawn with a font.
struct FontMetrics {
    int cell = 0;
    int baseline = 0;  // from the top of a cell to the baseline
    int capHeight = 0; // height of 'H' above the baseline
    std::array<float, 256> advance{};

    float width(const std::string& text) const; // as the engine measures one line
};

// Renders the sheet to pngPath and returns the metrics.
FontMetrics renderFontSheet(const FontRecipe& recipe, const std::string& pngPath);

// Coverage mask (0..1, row-major) of one line of text, tightly cropped.
struct TextMask {
    int width = 0, height = 0;
    std::vector<float> cover;
};
TextMask renderTextMask(const std::string& ttf, int pixelSize, const std::string& text, int letterSpacing = 0);

// The font description XML (root fontdesc) for a rendered font.
std::string fontDescription(const FontRecipe& recipe, const FontMetrics& m, const std::string& techniqueID,
                            const std::string& techPackID);

} // namespace gen
