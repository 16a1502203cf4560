// The four screens: the main window with the board, the score tiles and the
// buttons; the help, completion and high-score dialogs. Element IDs and action
// names are the ones the game code refers to.
#include <cmath>

#include "tools/gen_assets/gui_build.h"

namespace gen {

namespace {

const Rgba kWhite{1, 1, 1, 1};
const Rgba kMistText{0.72f, 0.78f, 0.87f, 1};

// Dialog cards: the visible card rect; the tile reaches 12 pixels further for
// the shadow baked into the picture.
XmlNode cardNode(const std::string& id, const Box& c)
{
    return frameNode(id, {c.x - 12, c.y - 10, c.w + 24, c.h + 24}, "TEX_CARD", 128, 128, 40);
}

// Dims everything under a dialog; taller than the screen so the dialog's rise
// never uncovers the top.
XmlNode dimNode(const std::string& id)
{
    XmlNode dim = fillNode(id, {0, -40, float(lay::kScreenW), float(lay::kScreenH) + 80}, Rgba{0.02f, 0.03f, 0.08f, 0.55f});
    dim.attr("tip", "TIP_NONE"); // the buttons under it keep their tips to themselves
    return dim;
}

XmlNode headerNode(const std::string& prefix, const Box& card, const std::string& title, const Fonts& f)
{
    XmlNode h = frameNode("TILE_" + prefix + "_HEADER", {card.x, card.y, card.w, 58}, "TEX_HEADER", 64, 64, 20);
    h.add(labelNode("L_" + prefix + "_TITLE", 0, 28, card.w, "FNT_BIG", f.big, title, kWhite, Align::Centre));
    return h;
}

// A dialog window: full screen, a dimming layer, the card and its title band.
XmlNode dialogNode(const std::string& wndID, const std::string& prefix, int zorder, const std::string& soundShow,
                   const Box& card, const std::string& title, const Fonts& f)
{
    XmlNode w = windowNode(wndID, zorder, "STY_DIALOG");
    w.attr("on_show", wndID + "_ONSHOW").attr("sound_hide", "SND_HIDE").attr("sound_show", soundShow);
    w.add(dimNode("TILE_" + prefix + "_DIM"));
    w.add(cardNode("TILE_" + prefix + "_CARD", card));
    w.add(headerNode(prefix, card, title, f));
    return w;
}

// Result dialogs sit over the board, so the score on the right stays in view.
Box overBoard(float w, float h)
{
    using namespace lay;
    return {kBoardX + (kBoardCols * kCell - w) / 2, kBoardY + (kBoardRows * kCell - h) / 2, w, h};
}

// A gently swaying, breathing icon (star or trophy) on a dialog.
XmlNode swayingIcon(const std::string& id, float x, float y, const std::string& frames)
{
    XmlNode a("animtile");
    const std::string at = num(x) + " " + num(y);
    a.attr("id", id)
        .attr("angle_begin", -5)
        .attr("angle_end", -5)
        .attr("angle_middle", 15)
        .attr("color_begin", "1 1 1 1")
        .attr("color_end", "1 1 1 1")
        .attr("color_middle", "1 1 1 1")
        .attr("coords", boxText({x, y, 64, 64}))
        .attr("drawscheme", 1)
        .attr("enabled", 1)
        .attr("enum_frames", frames)
        .attr("location_begin", at)
        .attr("location_center", "32 32")
        .attr("location_end", at)
        .attr("location_middle", at)
        .attr("looped", 1)
        .attr("noparentenabled", 1)
        .attr("scale_begin", 1)
        .attr("scale_end", 1)
        .attr("scale_middle", 1.16)
        .attr("technique", "TEQ_GUI")
        .attr("time_animcycle", 1.6)
        .attr("visible", 1);
    return a;
}

// The final score over the board's par on a result card, the game fills it in;
// y is the top and comes back as the space under it.
void scoreOverPar(XmlNode& parent, const std::string& prefix, const Box& card, float& y, const Fonts& f)
{
    parent.add(labelNode("L_" + prefix + "_SCORE_TITLE", card.x, y + 8, card.w, "FNT_FONT1", f.regular, "score / par",
                         hex(0x4B5670), Align::Centre));
    parent.add(labelNode("L_" + prefix + "_SCORE", card.x, y + 38, card.w, "FNT_BIG", f.big, "", pal::kInk,
                         Align::Centre));
    y += 68;
}

// Lines of text on a card, one label each.
void paragraph(XmlNode& parent, const std::string& idBase, float x, float& y, float width, const std::string& text,
               const Fonts& f, const Rgba& colour, Align align, float lineGap = 22)
{
    int n = 1;
    for (const std::string& line : wrap(text, f.regular, width)) {
        parent.add(labelNode(idBase + std::to_string(n++), x, y, width, "FNT_FONT1", f.regular, line, colour, align));
        y += lineGap;
    }
}

XmlNode mainWindow(const Fonts& f)
{
    using namespace lay;
    XmlNode w = windowNode("WND_DTP_MAINWINDOW", 1, "STY_SCREEN");
    w.attr("on_show", "WND_DTP_MAINWINDOW_ONSHOW");
    XmlNode& bg = w.add(tileNode("TILE_MW_BG", {0, 0, kScreenW, kScreenH}, "TEX_BG"));
    bg.attr("texcoords", "0 0 0.78125 0.5859375"); // the 800 x 600 corner of the 1024 x 1024 picture
    w.add(tileNode("TILE_MW_LOGO", {float(kBoardX) - 18, 6, 512, 128}, "TEX_LOGO"));

    // The board: a frame, a welcome under the cells (the board covers it once
    // a game starts), and the flex element the game draws the cells on. Its
    // coords are the position of cell (0, 0) and the size of one cell.
    const float bw = kBoardCols * kCell, bh = kBoardRows * kCell;
    w.add(frameNode("TILE_MW_BOARD", {kBoardX - float(kFrameRim), kBoardY - float(kFrameRim), bw + 2 * kFrameRim,
                                      bh + 2 * kFrameRim},
                    "TEX_BOARDFRAME", 64, 64, 16));
    const float cx = kBoardX + bw / 2, cy = kBoardY + bh / 2;
    w.add(tileNode("TILE_MW_WELCOME", {cx - 32, cy - 86, 64, 64}, "TEX_PIECE2"));
    w.add(labelNode("L_MW_WELCOME1", kBoardX, cy + 6, bw, "FNT_BOLD", f.bold, "Press New game to start", kWhite,
                    Align::Centre));
    w.add(labelNode("L_MW_WELCOME2", kBoardX, cy + 36, bw, "FNT_FONT1", f.regular,
                    "New here? How to play explains the rules.", kMistText, Align::Centre));
    XmlNode& board = w.child("flex");
    board.attr("id", "FLX_MW_GAMEBOARD").attr("coords", boxText({float(kBoardX), float(kBoardY), kCell, kCell}));
    board.attr("enabled", 1).attr("on_redraw", "FLX_MW_GAMEBOARD_ONREDRAW").attr("visible", 1);

    // Right-hand column: the goal, the running score, the best result, buttons.
    const float px = kPanelX, pw = kPanelW;
    XmlNode& goal = w.add(frameNode("TILE_MW_GOAL", {px, 20, pw, 110}, "TEX_GLASS", 64, 64, 16));
    goal.attr("tip", "TIP_MW_GOAL");
    goal.add(labelNode("L_MW_GOAL_TITLE", 16, 20, pw - 32, "FNT_BOLD", f.bold, "GOAL", kMistText,
                       Align::Left));
    float gy = 47;
    paragraph(goal, "L_MW_GOAL_TEXT", 16, gy, pw - 28, "Slide the piece to cover as many cells as you can.", f,
              Rgba{0.93f, 0.95f, 1, 1}, Align::Left, 20);

    XmlNode& moves = w.add(frameNode("TILE_MW_MOVES", {px, kBoardY - 12, pw, 96}, "TEX_GLASS", 64, 64, 16));
    moves.attr("tip", "TIP_MW_MOVES").attr("visible", 0); // shown when a game starts
    moves.add(labelNode("L_MW_MOVES_TITLE", 0, 22, pw, "FNT_BOLD", f.bold, "SCORE", kMistText, Align::Centre));
    moves.add(labelNode("L_MW_MOVES_MOVES", 0, 60, pw, "FNT_BIG", f.big, "0", kWhite, Align::Centre));

    XmlNode& best = w.add(frameNode("TILE_MW_BESTRESULT", {px, kBoardY + 96, pw, 124}, "TEX_GLASS", 64, 64, 16));
    best.attr("tip", "TIP_MW_BEST").attr("visible", 0); // shown when a best result exists
    const float titleW = f.bold.width("BEST RESULT");
    best.add(tileNode("TILE_MW_BESTRESULT_STAR", {std::round((pw - titleW) / 2) - 30, 9, 24, 24}, "TEX_STAR"));
    best.add(labelNode("L_MW_BESTRESULT_TITLE", 0, 22, pw, "FNT_BOLD", f.bold, "BEST RESULT", kMistText, Align::Centre));
    best.add(labelNode("L_MW_BESTRESULT_MOVES", 0, 62, pw, "FNT_BIG", f.big, "0", pal::kGold, Align::Centre));
    // The most this board allows, beside the record; the game fills it in.
    best.add(labelNode("L_MW_BESTRESULT_PAR", pw - 86, 64, 72, "FNT_FONT1", f.regular, "", kMistText, Align::Right));
    // The name is the player's: clipped to the panel should a long one not fit.
    best.add(labelNode("L_MW_BESTRESULT_NAME", 8, 100, pw - 16, "FNT_BOLD", f.bold, "", kWhite, Align::Centre))
        .attr("limitviewport", 1);

    const float by = kBoardY + bh + kFrameRim - 3 * 48 - 2 * 10;
    w.add(buttonNode({"BTN_MW_START", "STY_BTN_PRIMARY", "New game", "TEX_ICON_PLAY", "BTN_MW_START_ONPRESS", "F5",
                      "TIP_MW_START"},
                     {px, by, pw, 48}, f));
    w.add(buttonNode({"BTN_MW_HELP", "STY_BTN_SECONDARY", "How to play", "TEX_ICON_HELP", "BTN_MW_HELP_ONPRESS", "F1",
                      "TIP_MW_HELP"},
                     {px, by + 58, pw, 48}, f));
    w.add(buttonNode({"BTN_MW_EXIT", "STY_BTN_SECONDARY", "Exit", "TEX_ICON_EXIT", "BTN_MW_EXIT_ONPRESS", "",
                      "TIP_MW_EXIT"},
                     {px, by + 116, pw, 48}, f));
    return w;
}

// A board cell of the legend: the picture(s) and a caption under it.
void legendCell(XmlNode& parent, const std::string& name, float x, float y, const std::string& under,
                const std::string& over, const std::string& caption, const Fonts& f)
{
    parent.add(tileNode("TILE_HLP_" + name, {x, y, 40, 40}, under));
    if (!over.empty()) parent.add(tileNode("TILE_HLP_" + name + "_TOP", {x, y, 40, 40}, over));
    parent.add(labelNode("L_HLP_" + name, x - 30, y + 54, 100, "FNT_FONT1", f.regular, caption, pal::kInk,
                         Align::Centre));
}

XmlNode helpWindow(const Fonts& f)
{
    const Box card{120, 22, 560, 556};
    XmlNode w = dialogNode("WND_DTP_HELP", "HLP", 10, "SND_SHOW", card, "How to play", f);

    static const char* kRules[] = {
        "Press New game, then click any free cell to place your piece there.",
        "Click a cell in the piece's row or column. The piece slides that way until a barrier, a covered cell "
        "or the edge of the board stops it.",
        "Every cell the piece slides over becomes covered. A slide that cannot start is ignored.",
        "When the piece cannot move any more, the game is over. The covered cells are your score: cover as "
        "many as you can!",
    };
    float y = card.y + 92;
    const float textX = card.x + 74, textW = card.w - 74 - 34;
    for (int i = 0; i < 4; ++i) {
        const std::string n = std::to_string(i + 1);
        // Numbered badge: the covered-cell picture with the rule's number on it.
        XmlNode& badge = w.add(tileNode("TILE_HLP_RULE" + n, {card.x + 30, y - 16, 32, 32}, "TEX_BADGE"));
        badge.add(labelNode("L_HLP_RULE" + n + "_NUM", 0, 15, 32, "FNT_BOLD", f.bold, n, kWhite, Align::Centre));
        paragraph(w, "L_HLP_RULE" + n + "_", textX, y, textW, kRules[i], f, pal::kInk, Align::Left);
        y += 14;
    }
    // The four kinds of cell, as the board shows them.
    const float ly = y + 6, step = 110, lx = card.x + (card.w - 3 * step - 40) / 2;
    legendCell(w, "FREE", lx, ly, "TEX_CELL1", "", "Free", f);
    legendCell(w, "COVERED", lx + step, ly, "TEX_CELL2", "", "Covered", f);
    legendCell(w, "BARRIER", lx + 2 * step, ly, "TEX_CELL1", "TEX_PIECE1", "Barrier", f);
    legendCell(w, "PIECE", lx + 3 * step, ly, "TEX_CELL2", "TEX_PIECE2", "Piece", f);
    w.add(labelNode("L_HLP_HINTKEY", card.x + 30, ly + 86, card.w - 60, "FNT_FONT1", f.regular,
                    "Stuck? Press H: the best next move lights up.", hex(0x17867B), Align::Centre));

    w.add(buttonNode({"BTN_HLP_OK", "STY_BTN_PRIMARY", "Got it!", "TEX_ICON_OK", "BTN_HLP_OK_ONPRESS", "RETURN", ""},
                     {card.x + (card.w - 180) / 2, card.y + card.h - 68, 180, 48}, f));
    return w;
}

XmlNode completeWindow(const Fonts& f)
{
    const Box card = overBoard(400, 316);
    XmlNode w = dialogNode("WND_DTP_COMPLETE", "CMP", 11, "SND_COMPLETE", card, "Game over", f);
    w.add(swayingIcon("ATILE_CMP_STAR", card.x + card.w - 58, card.y - 30, "ENUM_STAR"));
    float y = card.y + 98;
    paragraph(w, "L_CMP_TEXT", card.x + 30, y, card.w - 60,
              "The piece has nowhere left to go. Your score is shown on the right.", f, pal::kInk,
              Align::Centre);
    scoreOverPar(w, "CMP", card, y, f);
    y += 4;
    w.add(labelNode("L_CMP_HINT", card.x + 30, y, card.w - 60, "FNT_FONT1", f.regular, "Can you cover more next time?",
                    hex(0x17867B), Align::Centre));
    w.add(buttonNode({"BTN_CMP_OK", "STY_BTN_PRIMARY", "Play again", "TEX_ICON_PLAY", "BTN_CMP_OK_ONPRESS", "RETURN", ""},
                     {card.x + (card.w - 200) / 2, card.y + card.h - 68, 200, 48}, f));
    return w;
}

XmlNode highScoreWindow(const Fonts& f)
{
    using namespace lay;
    const Box card = overBoard(420, 360);
    XmlNode w = dialogNode("WND_DTP_HIGHSCORE", "HS", 12, "SND_RECORD", card, "New best result!", f);
    w.add(swayingIcon("ATILE_HS_TROPHY", card.x - 20, card.y - 34, "ENUM_TROPHY"));
    float y = card.y + 96;
    paragraph(w, "L_HS_TEXT", card.x + 30, y, card.w - 60, "You covered more cells than the best result so far.", f,
              pal::kInk, Align::Centre);
    scoreOverPar(w, "HS", card, y, f);
    w.add(labelNode("L_HS_PROMPT", card.x + 40, y + 8, card.w - 80, "FNT_FONT1", f.regular, "Your name:", hex(0x4B5670),
                    Align::Left));
    const Box field{card.x + 36, y + 24, card.w - 72, 44};
    w.add(frameNode("TILE_HS_FIELD", field, "TEX_FIELD", 64, 64, 14));
    // The name box keeps the input focus wherever the player clicks (its
    // active area is the whole screen); Enter confirms through the OK button.
    XmlNode& name = w.child("textbox");
    const float top = std::round(field.y + field.h / 2 - float(f.regular.baseline) + float(f.regular.capHeight) / 2.0f);
    name.attr("id", "TBX_HS_NAME")
        .attr("activerect", boxText({0, 0, float(kScreenW), float(kScreenH)}))
        .attr("alignment", 1)
        .attr("blink_char", "_")
        .attr("blink_time", 0.45)
        .attr("color", colourText(pal::kInk))
        .attr("coords", boxText({field.x + 14, top, field.w - 28, float(f.regular.cell)}))
        .attr("enabled", 1)
        .attr("font", "FNT_FONT1")
        .attr("language", 1)
        .attr("maxchars", 16)
        .attr("on_input", "TBX_HS_NAME_ONINPUT")
        .attr("sound_input", "SND_TYPE")
        .attr("visible", 1);
    w.add(buttonNode({"BTN_HS_OK", "STY_BTN_PRIMARY", "Save", "TEX_ICON_OK", "BTN_HS_OK_ONPRESS", "RETURN", ""},
                     {card.x + (card.w - 180) / 2, card.y + card.h - 68, 180, 48}, f));
    return w;
}

XmlNode desktop(XmlNode window)
{
    XmlNode d("desktop");
    d.add(std::move(window));
    return d;
}

} // namespace

void generateScreens(Output& out, const Fonts& f)
{
    saveGui(out, "GUI_MAIN", "GUIDATA", "gui/main.xml", desktop(mainWindow(f)),
            "Main window: the board, the score, the best result and the buttons.");
    saveGui(out, "GUI_HELP", "GUIDATA", "gui/help.xml", desktop(helpWindow(f)), "Help window: the rules.");
    saveGui(out, "GUI_COMPLETE", "GUIDATA", "gui/complete.xml", desktop(completeWindow(f)),
            "Completion window: the game is over without a new best result.");
    saveGui(out, "GUI_HIGHSCORE", "GUIDATA", "gui/highscore.xml", desktop(highScoreWindow(f)),
            "High-score window: a new best result and the player's name.");
}

} // namespace gen
