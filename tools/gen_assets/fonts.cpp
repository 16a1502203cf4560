// The three bitmap fonts of the game: regular text, bold text with a soft
// shadow (light text on dark), and large bold figures and titles.
#include "tools/gen_assets/assets.h"
#include "tools/gen_assets/xml_writer.h"

namespace gen {

namespace {

FontMetrics makeFont(Output& out, const FontRecipe& recipe, const std::string& base)
{
    const std::string png = "fonts/" + base + ".png", xml = "fonts/" + base + ".xml";
    const FontMetrics m = renderFontSheet(recipe, out.path(png));
    out.declare("graphics", {recipe.textureID, "TEXTURE", png, kTagMedia, 3, 1, 0});
    writeFile(out.path(xml), fontDescription(recipe, m, "TEQ_FONT", "TEQ_PACK1"));
    out.declare("graphics", {recipe.id, "FONT", xml, kTagMedia});
    return m;
}

} // namespace

Fonts generateFonts(Output& out)
{
    Fonts f;
    f.regular = makeFont(out, {"FNT_FONT1", "TEX_FONT1", kSansTtf, 17, 32, false}, "font1");
    f.bold = makeFont(out, {"FNT_BOLD", "TEX_FONTBOLD", kSansBoldTtf, 18, 32, true}, "font_bold");
    f.big = makeFont(out, {"FNT_BIG", "TEX_FONTBIG", kSansBoldTtf, 38, 64, true}, "font_big");
    return f;
}

} // namespace gen
