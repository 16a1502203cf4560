// Lookups shared by the textures, techniques and fonts code: finding a slot by
// string ID straight from a C string, so per-frame callers build no strings.
#pragma once

#include <cstdint>
#include <cstring>

#include "engine/core/titemsmanager.h"

namespace gfx {

// Lowest used slot with exactly that string ID, -1 when none (or no manager).
template <class T>
int32_t FindSlot(const TItemsManager<T>* manager, const char* strID)
{
    if (!manager || !strID || !*strID) return -1;
    for (int32_t i = 0; i < manager->GetSlotCount(); ++i)
        if (manager->GetItem(i) && manager->GetStrID(i) == strID) return i;
    return -1;
}

} // namespace gfx
