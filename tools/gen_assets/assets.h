// The asset generator's shared pieces: the catalogue of generated resources
// that becomes the resource-pack descriptors, the palette every picture draws
// from, and the screen layout shared by the pictures and the GUI data.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "tools/gen_assets/font_sheet.h"
#include "tools/gen_assets/image.h"

namespace gen {

struct Resource {
    std::string id, type, file;
    int tag = 0, data1 = 0, data2 = 0, data3 = 0;
};

// Where the generators write and what they declare. pack is the descriptor's
// base name (DATA/<pack>.xml); file is relative to the data folder.
class Output {
public:
    explicit Output(std::string dataDir) : m_dir(std::move(dataDir)) {}
    std::string path(const std::string& file) const { return m_dir + "/" + file; }
    void declare(const std::string& pack, Resource r) { m_packs[pack].push_back(std::move(r)); }
    const std::map<std::string, std::vector<Resource>>& packs() const { return m_packs; }

private:
    std::string m_dir;
    std::map<std::string, std::vector<Resource>> m_packs;
};

// Loading happens by tag: 1 the game's data and the techniques (the GUI looks
// techniques up without loading them), 2 media, 3 GUI screens.
constexpr int kTagBase = 1, kTagMedia = 2, kTagGui = 3;

struct Fonts {
    FontMetrics regular; // FNT_FONT1
    FontMetrics bold;    // FNT_BOLD
    FontMetrics big;     // FNT_BIG
};

// System fonts (Debian package fonts-dejavu-core), rendered at generation time.
inline const std::string kSansTtf = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
inline const std::string kSansBoldTtf = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";

// Writes a texture and declares it (opaque pictures use the format class
// without alpha, the others 32-bit with alpha; one mip level, natural size).
void saveTexture(Output& out, const std::string& id, const std::string& file, const Image& img);

// Palette.
namespace pal {
inline const Rgba kNight = hex(0x141C33);    // deepest background, board gaps
inline const Rgba kNavy = hex(0x1E2B4D);     // background
inline const Rgba kDusk = hex(0x2E4470);     // background, lower part
inline const Rgba kTile = hex(0xE3EAF4);     // free cell
inline const Rgba kTileEdge = hex(0xB3C0D6); // free cell shading
inline const Rgba kAmber = hex(0xF7B538);    // covered cell
inline const Rgba kAmberDeep = hex(0xE0891A);
inline const Rgba kCoral = hex(0xF2594B);    // the piece
inline const Rgba kCoralDeep = hex(0xB8302A);
inline const Rgba kSlate = hex(0x46506A);    // barriers
inline const Rgba kSlateDeep = hex(0x2C3347);
inline const Rgba kTeal = hex(0x22A699);     // buttons
inline const Rgba kTealDeep = hex(0x157A70);
inline const Rgba kIndigo = hex(0x5267A0);   // secondary buttons
inline const Rgba kIndigoDeep = hex(0x36477A);
inline const Rgba kCream = hex(0xFBF6EA);    // dialog cards
inline const Rgba kInk = hex(0x1B2A49);      // text on cards
inline const Rgba kGold = hex(0xFFD166);
inline const Rgba kMist = hex(0xB8C7DD);     // quiet text on dark
} // namespace pal

// Screen layout (800 x 600).
namespace lay {
constexpr int kScreenW = 800, kScreenH = 600;
constexpr int kCell = 40;                       // board cell, on screen
constexpr int kBoardCols = 12, kBoardRows = 10; // the level pack's board
constexpr int kBoardX = 44, kBoardY = 150;      // top-left of cell (0, 0)
constexpr int kFrameRim = 12;                   // board frame around the cells
constexpr int kPanelX = 566, kPanelW = 204;     // right-hand column
} // namespace lay

void generateGameTextures(Output& out);
void generateGuiTextures(Output& out);
Fonts generateFonts(Output& out);
void generateSounds(Output& out);
void generateMusic(Output& out);
void generateGuiData(Output& out, const Fonts& fonts);
void generateGameData(Output& out);
void writeDescriptors(const Output& out);

} // namespace gen
