// The items of the GUI's two data stores: enumerations (ordered name/value
// string pairs, e.g. the frames of an animated tile) and styles (ordered
// parameter settings applied to elements). The stores own their items.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "engine/core/titemsmanager.h"
#include "gui/trsgui_datatypes.h"

class CGUIEnum {
public:
    void AddItem(const std::string& name, const std::string& value) { m_vecItems.emplace_back(name, value); }
    int32_t GetItemsCount() const { return int32_t(m_vecItems.size()); }
    // Null for an index outside the list.
    const char* GetItemName(int32_t index) const
    {
        return valid(index) ? m_vecItems[size_t(index)].first.c_str() : nullptr;
    }
    const char* GetItemValue(int32_t index) const
    {
        return valid(index) ? m_vecItems[size_t(index)].second.c_str() : nullptr;
    }

private:
    bool valid(int32_t index) const { return index >= 0 && index < GetItemsCount(); }
    std::vector<std::pair<std::string, std::string>> m_vecItems;
};

class CGUIStyle {
public:
    void AddParam(int32_t paramID, const CGUIValue& value) { m_vecParams.emplace_back(paramID, value); }
    const std::vector<std::pair<int32_t, CGUIValue>>& GetParams() const { return m_vecParams; }

private:
    std::vector<std::pair<int32_t, CGUIValue>> m_vecParams;
};

using CGUIEnumsManager = TItemsManager<CGUIEnum>;
using CGUIStylesManager = TItemsManager<CGUIStyle>;
