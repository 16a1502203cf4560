// Factories of the sixteen standard element classes, registered by the GUI
// manager at its creation in this order.
//
// Each class lives in its own files, trsgui_stdclass_<class>.h/.cpp in this
// folder, and defines its factory there, e.g. in trsgui_stdclass_tile.cpp:
//     CGUIElement* TRSGUI_CreateTile(const std::string& id) { return new CGUITile(id); }
// The build picks up every .cpp in this folder by itself.
#pragma once

#include <string>

#include "gui/trsgui_cguielement.h"

CGUIElement* TRSGUI_CreateDesktop(const std::string& id);
CGUIElement* TRSGUI_CreateTile(const std::string& id);
CGUIElement* TRSGUI_CreateTip(const std::string& id);
CGUIElement* TRSGUI_CreateAdvTile(const std::string& id);
CGUIElement* TRSGUI_CreateWindow(const std::string& id);
CGUIElement* TRSGUI_CreateAnimTile(const std::string& id);
CGUIElement* TRSGUI_CreateLabel(const std::string& id);
CGUIElement* TRSGUI_CreateTextBox(const std::string& id);
CGUIElement* TRSGUI_CreateButton(const std::string& id);
CGUIElement* TRSGUI_CreateCheckBox(const std::string& id);
CGUIElement* TRSGUI_CreateVerScroll(const std::string& id);
CGUIElement* TRSGUI_CreateHorScroll(const std::string& id);
CGUIElement* TRSGUI_CreateListBox(const std::string& id);
CGUIElement* TRSGUI_CreateScrollBox(const std::string& id);
CGUIElement* TRSGUI_CreateFlex(const std::string& id);
CGUIElement* TRSGUI_CreateTimer(const std::string& id);
