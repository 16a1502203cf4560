// The factory of the vertical scroll bar (its work is the base's, along y).
#include "gui/classes/trsgui_stdclass_verscroll.h"

#include "gui/classes/trsgui_stdclasses.h"

CGUIElement* TRSGUI_CreateVerScroll(const std::string& id)
{
    return new CGUIVerScroll(id);
}
