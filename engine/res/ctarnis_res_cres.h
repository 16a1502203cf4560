// CTRSResource: one catalogued resource, where its bytes lie and what its loader
// is given. The bytes are held only between DataLoad and DataUnLoad.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "engine/res/ctarnis_res_types.h"

class CTRSResource {
public:
    // Raises "Invalid resource ID!", "Invalid resource type ID!",
    // "Invalid resource filename!" or, for a size not above 0,
    // "Invalide resource name - check if resource file exist!".
    CTRSResource(const std::string& id, const std::string& typeID, int32_t tag, const std::string& fileName,
                 int32_t offset, int32_t size, int32_t data1, int32_t data2, int32_t data3);
    ~CTRSResource();
    CTRSResource(const CTRSResource&) = delete;
    CTRSResource& operator=(const CTRSResource&) = delete;

    // Reads Size bytes at Offset of FileName. A file that vanished or got
    // shorter since the scan raises an error rather than handing out short data.
    void DataLoad();
    void DataUnLoad();

    const uint8_t* GetData() const { return m_bLoaded ? m_pData.get() : nullptr; }
    const std::string& GetFileName() const { return m_strFileName; }
    const std::string& GetID() const { return m_strID; }
    const std::string& GetTypeID() const { return m_strTypeID; }
    int32_t GetTag() const { return m_iTag; }
    int32_t GetData1() const { return m_iData1; }
    int32_t GetData2() const { return m_iData2; }
    int32_t GetData3() const { return m_iData3; }
    int32_t GetOffset() const { return m_iOffset; }
    int32_t GetSize() const { return m_iSize; }
    bool IsLoaded() const { return m_bLoaded; }

private:
    std::string m_strID;
    std::string m_strTypeID;
    int32_t m_iTag;
    std::string m_strFileName;
    int32_t m_iData1;
    int32_t m_iData2;
    int32_t m_iData3;
    int32_t m_iOffset;
    int32_t m_iSize;
    bool m_bLoaded = false;
    std::unique_ptr<uint8_t[]> m_pData;
};
