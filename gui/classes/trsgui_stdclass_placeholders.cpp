// Factories of the standard classes that are not written yet: each raises a
// clear error instead of making an element that would only pretend to work.
// Writing a class removes its line here (see trsgui_stdclasses.h).
#include "gui/classes/trsgui_stdclasses.h"

// clang-format off
CGUIElement* TRSGUI_CreateVerScroll(const std::string& id) { TRSGUI_ClassNotAvailable("verscroll", id); }
CGUIElement* TRSGUI_CreateHorScroll(const std::string& id) { TRSGUI_ClassNotAvailable("horscroll", id); }
// clang-format on
