// Reference counting for the objects our stand-in COM interfaces hand out
// (Direct3D 8 and DirectInput 8): created with one reference, deleted by the
// Release that drops the last one. Not thread-safe, as the engine is not.
#pragma once

#include <cstdint>

template <class Interface>
class TnsComObject : public Interface {
public:
    uint32_t AddRef() override { return ++m_refs; }
    uint32_t Release() override
    {
        uint32_t left = --m_refs;
        if (left == 0) delete this;
        return left;
    }

protected:
    uint32_t m_refs = 1;
};
