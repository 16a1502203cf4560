// CTRSResource: the record's checks at construction and the reading of its
// bytes for the duration of one loader call.
#include "engine/res/ctarnis_res_cres.h"

#include <cstdio>
#include <new>

#include "engine/core/ctarnis_ehs.h"

CTRSResource::CTRSResource(const std::string& id, const std::string& typeID, int32_t tag, const std::string& fileName,
                           int32_t offset, int32_t size, int32_t data1, int32_t data2, int32_t data3)
{
    EHS_CHECKPOINT(EHS_FILE_RES_CRES);
    if (id.empty()) EHS_THROW(EHS_TYPE_GENERAL, 1, "Invalid resource ID!");
    if (typeID.empty()) EHS_THROW(EHS_TYPE_GENERAL, 1, "Invalid resource type ID!");
    if (fileName.empty()) EHS_THROW(EHS_TYPE_GENERAL, 1, "Invalid resource filename!");
    if (size <= 0) EHS_THROW(EHS_TYPE_GENERAL, 0, "Invalide resource name - check if resource file exist!");
    m_strID = id;
    m_strTypeID = typeID;
    m_iTag = tag;
    m_strFileName = fileName;
    m_iData1 = data1;
    m_iData2 = data2;
    m_iData3 = data3;
    m_iOffset = offset;
    m_iSize = size;
}

CTRSResource::~CTRSResource() = default;

void CTRSResource::DataLoad()
{
    EHS_CHECKPOINT(EHS_FILE_RES_CRES);
    if (m_bLoaded) EHS_THROW(EHS_TYPE_GENERAL, 1, "Internal error in CTRSResource::DataLoad()!");
    FILE* f = fopen(m_strFileName.c_str(), "rb");
    if (!f) EHS_THROW(EHS_TYPE_GAME, 0, "Cannot read resource data. Filename = " + m_strFileName);
    std::unique_ptr<uint8_t[]> data(new (std::nothrow) uint8_t[size_t(m_iSize)]);
    if (!data) {
        fclose(f);
        EHS_THROW(EHS_TYPE_GENERAL, 0, "Cannot create resource data buffer!");
    }
    // The file may have changed since the scan: a loader must never see bytes
    // that were not read, so a short read is an error, not short data.
    bool complete = m_iOffset >= 0 && fseek(f, long(m_iOffset), SEEK_SET) == 0 &&
                    fread(data.get(), 1, size_t(m_iSize), f) == size_t(m_iSize);
    fclose(f);
    if (!complete) EHS_THROW(EHS_TYPE_GAME, 0, "Cannot read resource data. Filename = " + m_strFileName);
    m_pData = std::move(data);
    m_bLoaded = true;
}

void CTRSResource::DataUnLoad()
{
    EHS_CHECKPOINT(EHS_FILE_RES_CRES);
    if (!m_bLoaded || !m_pData) EHS_THROW(EHS_TYPE_GENERAL, 0, "Internal error in CTRSResource::DataUnLoad()!");
    m_pData.reset();
    m_bLoaded = false;
}
