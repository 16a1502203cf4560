// GUI data building blocks, shared styles, the tips and the animation frames
// (see gui_build.h). Parameters are written exactly as the GUI data format
// names them; everything an element shows comes from here.
#include <cmath>
#include <stdexcept>
#include <sstream>

#include "tools/gen_assets/gui_build.h"

namespace gen {

std::string boxText(const Box& b)
{
    return num(b.x) + " " + num(b.y) + " " + num(b.w) + " " + num(b.h);
}

std::string colourText(const Rgba& c)
{
    return num(std::round(c.r * 1000) / 1000) + " " + num(std::round(c.g * 1000) / 1000) + " " +
           num(std::round(c.b * 1000) / 1000) + " " + num(std::round(c.a * 1000) / 1000);
}

XmlNode windowNode(const std::string& id, int zorder, const std::string& style)
{
    XmlNode w("window");
    w.attr("id", id).attr("coords", boxText({0, 0, lay::kScreenW, lay::kScreenH})).attr("style", style);
    w.attr("zorder", zorder);
    return w;
}

XmlNode tileNode(const std::string& id, const Box& b, const std::string& texture)
{
    XmlNode t("tile");
    t.attr("id", id).attr("coords", boxText(b)).attr("drawscheme", 1).attr("enabled", 1);
    t.attr("technique", "TEQ_GUI").attr("texture", texture).attr("visible", 1);
    return t;
}

XmlNode frameNode(const std::string& id, const Box& b, const std::string& texture, int texW, int texH, int border)
{
    XmlNode t("tile");
    t.attr("id", id).attr("coords", boxText(b)).attr("drawscheme", 4);
    t.attr("drawparams", boxText({float(texW), float(texH), float(border), float(border)})).attr("enabled", 1);
    t.attr("technique", "TEQ_GUI").attr("texture", texture).attr("visible", 1);
    return t;
}

XmlNode fillNode(const std::string& id, const Box& b, const Rgba& colour)
{
    XmlNode t = tileNode(id, b, "TEX_WHITE");
    t.attr("color", colourText(colour));
    return t;
}

XmlNode labelNode(const std::string& id, float x, float midY, float width, const std::string& font,
                  const FontMetrics& m, const std::string& text, const Rgba& colour, Align align)
{
    if (m.width(text) > width) throw std::runtime_error("text does not fit its label " + id + ": " + text);
    // A label's y is the top of its glyph cells; the capitals sit between
    // baseline - capHeight and baseline below it.
    const float top = std::round(midY - float(m.baseline) + float(m.capHeight) / 2.0f);
    XmlNode l("label");
    l.attr("id", id).attr("alignment", int(align)).attr("color", colourText(colour));
    l.attr("coords", boxText({x, top, width, float(m.cell)})).attr("font", font);
    if (!text.empty()) l.attr("text", text); // labels the game fills start empty
    l.attr("visible", 1);
    return l;
}

XmlNode buttonNode(const ButtonDef& s, const Box& b, const Fonts& fonts)
{
    XmlNode n("button");
    n.attr("id", s.id).attr("coords", boxText(b));
    if (!s.hotkey.empty()) n.attr("hotkey", s.hotkey).attr("on_hotkey", s.action);
    n.attr("on_press", s.action).attr("style", s.style);
    if (!s.tip.empty()) n.attr("tip", s.tip);
    // The face of the button picture is a little above its middle (its lip is below).
    const float mid = std::round(b.h * 0.46f);
    float textX = 0, textW = b.w;
    if (!s.icon.empty()) {
        n.add(tileNode(s.id + "_ICON", {16, mid - 12, 24, 24}, s.icon));
        textX = 28;
        textW = b.w - 36;
    }
    n.add(labelNode("L_" + s.id.substr(4) + "_TEXT", textX, mid, textW, "FNT_BOLD", fonts.bold, s.text,
                    Rgba{1, 1, 1, 1}, Align::Centre));
    return n;
}

std::vector<std::string> wrap(const std::string& text, const FontMetrics& m, float width)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string word, line;
    while (in >> word) {
        const std::string tryLine = line.empty() ? word : line + " " + word;
        if (!line.empty() && m.width(tryLine) > width) {
            lines.push_back(line);
            line = word;
        } else {
            line = tryLine;
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

void saveGui(Output& out, const std::string& id, const std::string& type, const std::string& file,
             const XmlNode& root, const std::string& comment)
{
    writeFile(out.path(file), xmlDocument(root, comment));
    out.declare("gui", {id, type, file, kTagGui});
}

void generateStyles(Output& out)
{
    // Buttons: their four pictures, children colours per state and sounds.
    auto button = [&](const std::string& id, const std::string& tex, const std::string& file, const std::string& what) {
        XmlNode s("guistyle");
        s.attr("childscolor_disabled", "0.82 0.85 0.9 0.8")
            .attr("childscolor_normal", "1 1 1 1")
            .attr("childscolor_pressed", "0.9 0.95 1 1")
            .attr("childscolor_selected", "1 1 1 1")
            .attr("drawparams", "128 64 20 20")
            .attr("drawscheme", 4)
            .attr("enabled", 1)
            .attr("sound_click", "SND_CLICK")
            .attr("sound_gotfocus", "SND_HOVER")
            .attr("technique", "TEQ_GUI")
            .attr("texture_disabled", tex + "DISABLED")
            .attr("texture_normal", tex + "NORMAL")
            .attr("texture_pressed", tex + "PRESSED")
            .attr("texture_selected", tex + "HOVER")
            .attr("visible", 1);
        saveGui(out, id, "GUISTYLEDATA", file, s, what);
    };
    button("STY_BTN_PRIMARY", "TEX_BTN_", "gui/styles/button_primary.xml", "Style of the main action buttons (teal).");
    button("STY_BTN_SECONDARY", "TEX_BTN2_", "gui/styles/button_secondary.xml", "Style of the other buttons (indigo).");

    // Windows: a fade with a short rise into place.
    auto window = [&](const std::string& id, const std::string& file, float time, float rise, const std::string& what) {
        XmlNode s("guistyle");
        s.attr("color_hidden", "1 1 1 0")
            .attr("color_middle", "1 1 1 0.85")
            .attr("color_shown", "1 1 1 1")
            .attr("enabled", 1)
            .attr("location_hidden", "0 " + num(rise))
            .attr("location_middle", "0 0")
            .attr("location_shown", "0 0")
            .attr("time_showhide", time)
            .attr("visible", 1);
        saveGui(out, id, "GUISTYLEDATA", file, s, what);
    };
    window("STY_SCREEN", "gui/styles/screen.xml", 0.7f, 0, "Style of the main screen: a slow fade in.");
    window("STY_DIALOG", "gui/styles/dialog.xml", 0.3f, 28, "Style of the dialogs: fade and rise.");

    // Frames of the gently swaying icons in the result dialogs.
    XmlNode star("guienum");
    star.attr("frame1", "TEX_STAR");
    saveGui(out, "ENUM_STAR", "GUIENUMDATA", "gui/enums/star.xml", star, "Animation frames of the star.");
    XmlNode trophy("guienum");
    trophy.attr("frame1", "TEX_TROPHY");
    saveGui(out, "ENUM_TROPHY", "GUIENUMDATA", "gui/enums/trophy.xml", trophy, "Animation frames of the trophy.");
}

void generateTips(Output& out, const Fonts& fonts)
{
    static const struct {
        const char *id, *text;
    } kTips[] = {
        {"TIP_MW_START", "Start a new game on a fresh board (F5)"},
        {"TIP_MW_HELP", "The rules of the game (F1)"},
        {"TIP_MW_EXIT", "Leave Quoril"},
        {"TIP_MW_MOVES", "Cells covered in this game"},
        {"TIP_MW_BEST", "The best result so far"},
        {"TIP_MW_GOAL", "Tip: plan your path so you do not trap the piece early"},
    };
    XmlNode root("desktop");
    for (const auto& t : kTips) {
        const float w = fonts.regular.width(t.text) + 28, h = 32;
        XmlNode tip("tip");
        tip.attr("id", t.id).attr("coords", boxText({16, 30, w, h})).attr("drawparams", "64 64 12 12");
        tip.attr("drawscheme", 4).attr("technique", "TEQ_GUI").attr("texture", "TEX_TIP").attr("tipappeartime", 0.25);
        tip.add(labelNode("L_" + std::string(t.id), 14, h / 2, w - 28, "FNT_FONT1", fonts.regular, t.text,
                          Rgba{0.92f, 0.96f, 1, 1}, Align::Left));
        root.add(std::move(tip));
    }
    // An empty tip for the layer that dims the screen under a dialog: it is
    // updated after the screen below, so it hides that screen's tips.
    XmlNode& none = root.child("tip");
    none.attr("id", "TIP_NONE").attr("coords", "0 0 1 1").attr("drawscheme", 6);
    saveGui(out, "GUI_TIPS", "GUIDATA", "gui/tips.xml", root, "Tool tips, shown when the pointer rests on an element.");
}

void generateGuiData(Output& out, const Fonts& fonts)
{
    generateStyles(out);
    generateTips(out, fonts);
    generateScreens(out, fonts);
}

} // namespace gen
