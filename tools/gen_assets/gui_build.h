// Building blocks of the generated GUI data: element nodes with the parameters
// each class needs, text placed from the fonts' metrics, and the styles, tips
// and enumerations the screens share.
#pragma once

#include <string>
#include <vector>

#include "tools/gen_assets/assets.h"
#include "tools/gen_assets/xml_writer.h"

namespace gen {

struct Box {
    float x, y, w, h;
};

std::string boxText(const Box& b);
std::string colourText(const Rgba& c);

// A full-screen window that shows and hides with a fade and a short slide.
XmlNode windowNode(const std::string& id, int zorder, const std::string& style);
// A tile with one picture stretched over it.
XmlNode tileNode(const std::string& id, const Box& b, const std::string& texture);
// A nine-part tile: texW x texH picture, corners of border texels kept 1:1.
XmlNode frameNode(const std::string& id, const Box& b, const std::string& texture, int texW, int texH, int border);
// A solid colour rectangle.
XmlNode fillNode(const std::string& id, const Box& b, const Rgba& colour);

enum class Align { Left = 1, Centre = 2, Right = 3 };
// One line of text whose capitals are centred vertically on midY.
XmlNode labelNode(const std::string& id, float x, float midY, float width, const std::string& font,
                  const FontMetrics& m, const std::string& text, const Rgba& colour, Align align);

struct ButtonDef {
    std::string id, style, text, icon, action, hotkey, tip;
};
XmlNode buttonNode(const ButtonDef& s, const Box& b, const Fonts& fonts);

// Splits text into lines no wider than width in the given font.
std::vector<std::string> wrap(const std::string& text, const FontMetrics& m, float width);

// Writes a GUI data file and declares it.
void saveGui(Output& out, const std::string& id, const std::string& type, const std::string& file,
             const XmlNode& root, const std::string& comment);

void generateStyles(Output& out);
void generateTips(Output& out, const Fonts& fonts);
void generateScreens(Output& out, const Fonts& fonts);

} // namespace gen
