// The factory of the horizontal scroll bar (its work is the base's, along x).
#include "gui/classes/trsgui_stdclass_horscroll.h"

#include "gui/classes/trsgui_stdclasses.h"

CGUIElement* TRSGUI_CreateHorScroll(const std::string& id)
{
    return new CGUIHorScroll(id);
}
