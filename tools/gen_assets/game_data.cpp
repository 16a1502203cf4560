// The game's data files: the techniques pack (render states for the board,
// the GUI and the fonts) and the XML variables of the rules; and the resource-
// pack descriptors that declare everything the generators wrote.
#include "tools/gen_assets/assets.h"
#include "tools/gen_assets/xml_writer.h"

namespace gen {

namespace {

// Alpha-blended, texture times vertex colour, clamped addressing.
XmlNode blended(const std::string& id, const std::string& filter, const std::string& destBlend)
{
    XmlNode t("technique");
    t.attr("id", id)
        .attr("alphablending", "ON")
        .attr("absrc", "SRCALPHA")
        .attr("abdest", destBlend)
        .attr("fog", "OFF")
        .attr("s0_colorop", "MODULATE")
        .attr("s0_colorarg1", "TEXTURE")
        .attr("s0_colorarg2", "DIFFUSE")
        .attr("s0_alphaop", "MODULATE")
        .attr("s0_alphaarg1", "TEXTURE")
        .attr("s0_alphaarg2", "DIFFUSE")
        .attr("s0_address", "CLAMP")
        .attr("s1_colorop", "DISABLE")
        .attr("s0_minfilter", filter)
        .attr("s0_magfilter", filter)
        .attr("s0_mipfilter", "NONE")
        .attr("s1_minfilter", filter)
        .attr("s1_magfilter", filter)
        .attr("s1_mipfilter", "NONE")
        .attr("dynlightmode", "DISABLED")
        .attr("tag", 1);
    return t;
}

} // namespace

void generateGameData(Output& out)
{
    XmlNode pack("techniquespack");
    // Board cells are scaled from 64 texels to the cell size: filter them.
    pack.add(blended("TEQ_STD2", "LINEAR", "INVSRCALPHA")).note("The board, the piece and the cursor.");
    pack.add(blended("TEQ_GUI", "LINEAR", "INVSRCALPHA")).note("Every textured GUI element.");
    // Glyphs usually land texel for texel, where filtering changes nothing; it
    // keeps scaled text and text in a sliding window smooth.
    pack.add(blended("TEQ_FONT", "LINEAR", "INVSRCALPHA")).note("Bitmap font glyphs.");
    pack.add(blended("TEQ_GLOW", "LINEAR", "ONE")).note("Additive light for highlights.");
    writeFile(out.path("gfx/techniques.xml"), xmlDocument(pack, "Render techniques of the game and its screens."));
    out.declare("game", {"TEQ_PACK1", "TECHNIQUE", "gfx/techniques.xml", kTagBase});

    XmlNode vars("xmldata");
    // quorilgameid marks this data set as the game's; actiontime is the
    // seconds the piece takes to slide one cell.
    vars.child("game").attr("quorilgameid", 1).attr("actiontime", 0.045);
    writeFile(out.path("data/game.xml"), xmlDocument(vars, "Tunable values of the rules."));
    out.declare("game", {"XML_GAME", "XMLDATA", "data/game.xml", kTagBase});

    // The level pack is written by the level generator (tools/); it is only
    // declared here.
    out.declare("game", {"LEVEL_BOARD1", "LEVEL", "levels/board1.xml", kTagBase});
}

void writeDescriptors(const Output& out)
{
    static const std::map<std::string, std::string> kWhat = {
        {"game", "The game's rules data: level pack, tunable values and render techniques."},
        {"graphics", "Pictures and fonts."},
        {"sound", "Sound effects, music and the playlist."},
        {"gui", "Screens, their styles and their animation frames."},
    };
    for (const auto& [pack, list] : out.packs()) {
        XmlNode root("respack");
        for (const Resource& r : list) {
            XmlNode& n = root.child("resource");
            n.attr("id", r.id).attr("typeid", r.type).attr("filename", r.file).attr("tag", r.tag);
            if (r.data1) n.attr("data1", r.data1);
            if (r.data2) n.attr("data2", r.data2);
            if (r.data3) n.attr("data3", r.data3);
        }
        writeFile(out.path(pack + ".xml"), xmlDocument(root, kWhat.at(pack)));
    }
}

} // namespace gen
