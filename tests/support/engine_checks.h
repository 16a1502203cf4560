// Checks of the engine's errors: what a call raised, as the exception or as one
// comparable "type:text" string, and the plain texts the items managers throw.
#pragma once

#include <string>

#include "engine/core/ctarnis_ehs.h"

namespace tst {

// The engine error fn raised; type -1 and "nothing raised" when it returned.
template <class F>
CEHSException raised(F&& fn)
{
    try {
        fn();
    } catch (const CEHSException& e) {
        return e;
    }
    return CEHSException(-1, -1, "nothing raised", "", 0);
}

template <class F>
std::string raisedText(F&& fn)
{
    const CEHSException e = raised(fn);
    return std::to_string(e.m_iType) + ":" + e.m_strDescription;
}

// The bare text fn threw (the items managers throw plain strings); empty when
// it threw nothing.
template <class F>
std::string thrownText(F&& fn)
{
    try {
        fn();
    } catch (const char* text) {
        return text;
    }
    return "";
}

} // namespace tst
