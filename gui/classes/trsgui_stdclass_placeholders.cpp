// Factories of the standard classes that are not written yet: each raises a
// clear error instead of making an element that would only pretend to work.
// Writing a class removes its line here (see trsgui_stdclasses.h).
#include "gui/classes/trsgui_stdclasses.h"

// clang-format off
CGUIElement* TRSGUI_CreateTile(const std::string& id) { TRSGUI_ClassNotAvailable("tile", id); }
CGUIElement* TRSGUI_CreateTip(const std::string& id) { TRSGUI_ClassNotAvailable("tip", id); }
CGUIElement* TRSGUI_CreateAdvTile(const std::string& id) { TRSGUI_ClassNotAvailable("advtile", id); }
CGUIElement* TRSGUI_CreateWindow(const std::string& id) { TRSGUI_ClassNotAvailable("window", id); }
CGUIElement* TRSGUI_CreateAnimTile(const std::string& id) { TRSGUI_ClassNotAvailable("animtile", id); }
CGUIElement* TRSGUI_CreateLabel(const std::string& id) { TRSGUI_ClassNotAvailable("label", id); }
CGUIElement* TRSGUI_CreateTextBox(const std::string& id) { TRSGUI_ClassNotAvailable("textbox", id); }
CGUIElement* TRSGUI_CreateButton(const std::string& id) { TRSGUI_ClassNotAvailable("button", id); }
CGUIElement* TRSGUI_CreateCheckBox(const std::string& id) { TRSGUI_ClassNotAvailable("checkbox", id); }
CGUIElement* TRSGUI_CreateVerScroll(const std::string& id) { TRSGUI_ClassNotAvailable("verscroll", id); }
CGUIElement* TRSGUI_CreateHorScroll(const std::string& id) { TRSGUI_ClassNotAvailable("horscroll", id); }
CGUIElement* TRSGUI_CreateListBox(const std::string& id) { TRSGUI_ClassNotAvailable("listbox", id); }
CGUIElement* TRSGUI_CreateScrollBox(const std::string& id) { TRSGUI_ClassNotAvailable("scrollbox", id); }
CGUIElement* TRSGUI_CreateFlex(const std::string& id) { TRSGUI_ClassNotAvailable("flex", id); }
CGUIElement* TRSGUI_CreateTimer(const std::string& id) { TRSGUI_ClassNotAvailable("timer", id); }
// clang-format on
