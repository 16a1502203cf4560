// Slot tables that own the engine's loaded objects. An item's integer ID is its
// slot index; freed slots keep their index and are reused lowest first, so the
// IDs of other items never move. TItemsManagerCOM releases instead of deleting.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

template <class T>
class TItemsManager {
public:
    virtual ~TItemsManager() = default;

    // Frees the object in slot id; a bad id is a programming error.
    virtual void FreeItem(int32_t id)
    {
        if (id < 0 || id >= m_iSlotCount) throw "Error in TItemsManager<T>::FreeItem";
        delete m_items[id];
        clearSlot(id);
    }

    // Frees every slot, used or not; the slot count stays.
    virtual void FreeAll()
    {
        for (int32_t i = 0; i < m_iSlotCount; ++i) FreeItem(i);
    }

    // Lowest slot whose string ID equals strID exactly, else -1.
    int32_t FindByStrID(const std::string& strID) const
    {
        if (strID.empty()) return -1;
        for (int32_t i = 0; i < m_iSlotCount; ++i)
            if (m_strIDs[i] == strID) return i;
        return -1;
    }

    // Stores the item in the lowest free slot (or a new one) and returns its ID.
    int32_t AddItem(T* item, const std::string& strID, int32_t tag)
    {
        int32_t id = 0;
        while (id < m_iSlotCount && m_items[id] != nullptr) ++id;
        if (id == m_iSlotCount) {
            m_items.push_back(nullptr);
            m_tags.push_back(0);
            m_strIDs.emplace_back();
            ++m_iSlotCount;
        }
        m_items[id] = item;
        m_strIDs[id] = strID;
        m_tags[id] = tag;
        return id;
    }

    // Starts a scan over the used slots with the tag (0: any tag).
    T* GetFirstItem(int32_t tag)
    {
        m_iScanTag = tag;
        m_iScanPos = 0;
        return advance();
    }

    T* GetNextItem()
    {
        if (m_iScanPos == -1 || m_iScanPos >= m_iSlotCount) return nullptr;
        ++m_iScanPos;
        return advance();
    }

    // Slot of the item the running scan stands on, -1 when exhausted.
    int32_t GetScanPos() const { return m_iScanPos; }

    int32_t GetSlotCount() const { return m_iSlotCount; }
    bool IsValidID(int32_t id) const { return id >= 0 && id < m_iSlotCount && m_items[id] != nullptr; }
    T* GetItem(int32_t id) const { return id >= 0 && id < m_iSlotCount ? m_items[id] : nullptr; }
    const std::string& GetStrID(int32_t id) const { return m_strIDs[id]; }
    int32_t GetTag(int32_t id) const { return m_tags[id]; }

protected:
    void clearSlot(int32_t id)
    {
        m_items[id] = nullptr;
        m_strIDs[id].clear();
        m_tags[id] = 0;
    }

    int32_t m_iSlotCount = 0;
    std::vector<T*> m_items;
    std::vector<int32_t> m_tags;
    std::vector<std::string> m_strIDs;
    int32_t m_iScanTag = 0;
    int32_t m_iScanPos = -1;

private:
    T* advance()
    {
        for (int32_t i = m_iScanPos; i >= 0 && i < m_iSlotCount; ++i) {
            if (m_items[i] && (m_iScanTag == 0 || m_tags[i] == m_iScanTag)) {
                m_iScanPos = i;
                return m_items[i];
            }
        }
        m_iScanPos = -1;
        return nullptr;
    }
};

// For reference-counted platform objects: the manager holds one reference and
// must hold the last one when it frees the item.
template <class T>
class TItemsManagerCOM : public TItemsManager<T> {
public:
    void FreeItem(int32_t id) override
    {
        if (id < 0 || id >= this->m_iSlotCount) throw "Error in TItemsManagerCOM<T>::FreeItem";
        if (T* item = this->m_items[id]) {
            if (item->Release() > 0) throw "Unreleased object references left!";
        }
        this->clearSlot(id);
    }
};
