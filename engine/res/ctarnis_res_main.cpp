// The resources subsystem of CTarnis: the data-folder scan in XML or PAK mode,
// the loader registries, and loading by string ID and by tag. The catalogue is
// built once by RES_Init; records hold their bytes only during a loader call.
#include "engine/res/ctarnis_res_main.h"

#include <cstdio>
#include <limits>
#include <memory>
#include <new>

#include "engine/core/ctarnis.h"
#include "engine/res/ctarnis_res_pakfile.h"
#include "engine/res/ctarnis_res_path.h"
#include "engine/res/ctarnis_utils_cxmlparser.h"
#include "engine/res/ctarnis_utils_numtext.h"

namespace {

// The resource whose loader is running (empty outside RES_LoadResourceRecord).
std::string g_loadingID;

} // namespace

namespace res {

namespace {

// A descriptor value that is absent, empty or not a number counts as 0.
int32_t attributeNumber(CXMLNode* node, const char* name)
{
    int32_t value = 0;
    readDecimalInt(node->GetAttribute(name), value);
    return value;
}

} // namespace

int32_t catalogueXMLResPack(const std::string& path, const std::string& dataDir, TRSResourcesManager& catalogue,
                            const char** incomplete)
{
    EHS_CHECKPOINT(EHS_FILE_RES_MAIN);
    CXMLParser parser;
    parser.LoadFromFile(path.c_str(), false);
    parser.Parse();
    if (incomplete) *incomplete = parser.GetIncompleteReason();
    CXMLNode* root = parser.GetRoot();
    if (std::string(root->GetName()) != "respack") EHS_THROW(EHS_TYPE_GAME, 0, "Wrong XML ResPack descriptor: " + path);

    const int32_t count = root->GetChildrenCount();
    for (int32_t i = 0; i < count; ++i) {
        CXMLNode* child = root->GetChild(i);
        if (!child) EHS_THROW(EHS_TYPE_GENERAL, 0, "XML Parser error: child node object is NULL!");
        const std::string id = child->GetAttribute("id");
        if (catalogue.FindByStrID(id) != -1) EHS_THROW(EHS_TYPE_GAME, 0, "Dublicated resource. ID = " + id);

        const std::string written = child->GetAttribute("filename");
        const std::string fileName = resolveDataPath(dataDir, written);
        FILE* f = fileName.empty() ? nullptr : fopen(fileName.c_str(), "rb");
        if (!f) EHS_THROW(EHS_TYPE_GAME, 0, "Cannot find file declared in ResPack. Filename = " + written);
        long size = -1;
        if (fseek(f, 0, SEEK_END) == 0) size = ftell(f);
        fclose(f);
        // Sizes and offsets are 32-bit in records and PAK files alike.
        if (size <= 0 || size > std::numeric_limits<int32_t>::max())
            EHS_THROW(EHS_TYPE_GENERAL, 0, "Wrong resource file - check if it exists!");

        const int32_t tag = attributeNumber(child, "tag");
        auto record = std::make_unique<CTRSResource>(id, child->GetAttribute("typeid"), tag, fileName, 0,
                                                     int32_t(size), attributeNumber(child, "data1"),
                                                     attributeNumber(child, "data2"), attributeNumber(child, "data3"));
        catalogue.AddItem(record.release(), id, tag);
    }
    return count;
}

int32_t cataloguePakResPack(const std::string& path, TRSResourcesManager& catalogue)
{
    EHS_CHECKPOINT(EHS_FILE_RES_MAIN);
    return readPakDirectory(path, [&](const PakEntry& e) {
        auto record = std::make_unique<CTRSResource>(e.id, e.typeID, e.tag, path, e.offset, e.size, e.data1,
                                                     e.data2, e.data3);
        // The first entry of an ID wins; later ones are dropped without a word.
        if (catalogue.FindByStrID(e.id) == -1) catalogue.AddItem(record.release(), e.id, e.tag);
    });
}

void warnIfIncomplete(const CXMLParser& parser)
{
    if (const char* reason = parser.GetIncompleteReason())
        CTarnis::LOG_AddLevelEntry("Warning: XML text of resource " + (g_loadingID.empty() ? "(from memory)" : g_loadingID) +
                                       " is cut short: " + reason,
                                   5);
}

} // namespace res

void CTarnis::RES_Init()
{
    EHS_CHECKPOINT(EHS_FILE_RES_MAIN);
    m_bResourcesReady = true;
    m_iResMode = TRS_RESMODE_NONE;
    LOG_AddSeparator(1);
    LOG_AddEmptyLines(1);
    LOG_AddLevelEntry("Initializing Resources Subsystem...", 3);
    LOG_AddEmptyLines(1);

    if (m_pResManager) {
        m_pResManager->FreeAll();
        delete m_pResManager;
    }
    m_pResManager = new (std::nothrow) TRSResourcesManager;
    if (!m_pResManager) EHS_THROW(EHS_TYPE_GENERAL, 0, "Cannot create Resources Manager!");
    m_mapLoadRes.clear();

    const std::string dataDir = res::kDataFolder;
    std::vector<std::string> packs = res::listFilesWithExtension(dataDir, ".xml");
    if (!packs.empty()) {
        m_iResMode = TRS_RESMODE_XML;
    } else {
        packs = res::listFilesWithExtension(dataDir, ".pak");
        if (!packs.empty()) {
            m_iResMode = TRS_RESMODE_PAK;
            m_bXMLEncryptMode = true;
        }
    }
    LOG_AddEmptyLines(1);
    if (m_iResMode == TRS_RESMODE_XML) LOG_AddLevelEntry("Resources Subsystem operates in XML mode.", 1);
    else if (m_iResMode == TRS_RESMODE_PAK) LOG_AddLevelEntry("Resources Subsystem operates in PAK mode.", 1);
    else LOG_AddLevelEntry("No resources were found!", 5);

    if (m_iResMode != TRS_RESMODE_NONE) {
        for (const std::string& name : packs) {
            const std::string path = dataDir + name;
            LOG_AddEmptyLines(1);
            LOG_AddLevelEntry("Processing ResPack: " + path, 1);
            LOG_AddEmptyLines(1);
            const char* incomplete = nullptr;
            int32_t found = m_iResMode == TRS_RESMODE_XML
                                ? res::catalogueXMLResPack(path, dataDir, *m_pResManager, &incomplete)
                                : res::cataloguePakResPack(path, *m_pResManager);
            if (incomplete) LOG_AddLevelEntry("Warning: XML descriptor " + path + " is cut short: " + incomplete, 5);
            LOG_AddLevelEntry(std::to_string(found) + " resources found.", 4);
            LOG_AddEmptyLines(1);
        }
        LOG_AddEmptyLines(1);
        LOG_AddLevelEntry(std::to_string(packs.size()) + " resource packs found.", 4);
        LOG_AddEmptyLines(1);
    }

    LOG_AddEmptyLines(1);
    LOG_AddLevelEntry("Registering resources-loading functions for standart resource types...", 2);
    LOG_AddEmptyLines(1);
    RES_RegisterStandardLoaders();
    LOG_AddEmptyLines(1);
    LOG_AddLevelEntry("Done.", 4);
    LOG_AddEmptyLines(1);

    LOG_AddLevelEntry("Done.", 4);
    LOG_AddEmptyLines(1);
    LOG_AddSeparator(1);
    LOG_AddEmptyLines(1);
}

void CTarnis::RES_Deinit()
{
    EHS_CHECKPOINT(EHS_FILE_RES_MAIN);
    LOG_AddSeparator(1);
    LOG_AddEmptyLines(1);
    LOG_AddLevelEntry("Deinitializing Resources Subsystem...", 3);
    LOG_AddEmptyLines(1);
    if (m_pResManager) {
        m_pResManager->FreeAll();
        delete m_pResManager;
        m_pResManager = nullptr;
    }
    m_mapLoadRes.clear();
    // Loads after the end must not reach the freed catalogue.
    m_bResourcesReady = false;
    LOG_AddLevelEntry("Done.", 4);
    LOG_AddEmptyLines(1);
    LOG_AddSeparator(1);
    LOG_AddEmptyLines(1);
}

void CTarnis::RES_RegisterLoadResFunction(LoadResFunc fn, const char* typeID)
{
    EHS_CHECKPOINT(EHS_FILE_RES_MAIN);
    std::string type = typeID ? typeID : "";
    if (m_mapLoadRes.count(type))
        EHS_THROW(EHS_TYPE_GAME, 0, "LoadRes function already registered for TypeID = " + type);
    m_mapLoadRes[type] = fn;
}

void CTarnis::RES_RegisterLoadResExFunction(LoadResExFunc fn, const char* typeID)
{
    EHS_CHECKPOINT(EHS_FILE_RES_MAIN);
    std::string type = typeID ? typeID : "";
    if (m_mapLoadResEx.count(type))
        EHS_THROW(EHS_TYPE_GAME, 0, "LoadResEx function already registered for TypeID = " + type);
    m_mapLoadResEx[type] = fn;
}

void CTarnis::RES_LoadResource(const char* id)
{
    EHS_CHECKPOINT(EHS_FILE_RES_MAIN);
    if (!m_bResourcesReady || !m_pResManager)
        EHS_THROW(EHS_TYPE_GAME, 0, "Resources subsystem was not initialized!");
    const std::string strID = id ? id : "";
    int32_t slot = m_pResManager->FindByStrID(strID);
    if (slot == -1) {
        LOG_AddEmptyLines(1);
        LOG_AddLevelEntry("Cannot find resource with ID = " + strID, 5);
        return;
    }
    RES_LoadResourceRecord(m_pResManager->GetItem(slot));
}

void CTarnis::RES_LoadResources(int32_t tag)
{
    EHS_CHECKPOINT(EHS_FILE_RES_MAIN);
    if (!m_bResourcesReady || !m_pResManager)
        EHS_THROW(EHS_TYPE_GAME, 0, "Resources subsystem was not initialized!");
    const std::string tagText = std::to_string(tag);
    LOG_AddEmptyLines(1);
    LOG_AddLevelEntry("Loading resources with Tag = " + tagText, 2);
    LOG_AddEmptyLines(1);
    int32_t loaded = 0;
    for (CTRSResource* r = m_pResManager->GetFirstItem(tag); r; r = m_pResManager->GetNextItem()) {
        RES_LoadResourceRecord(r);
        ++loaded;
    }
    LOG_AddEmptyLines(1);
    LOG_AddLevelEntry(std::to_string(loaded) + " resources with Tag = " + tagText + " loaded.", 4);
    LOG_AddEmptyLines(1);
}

void CTarnis::RES_LoadResourceRecord(CTRSResource* record)
{
    EHS_CHECKPOINT(EHS_FILE_RES_MAIN);
    if (!record) EHS_THROW(EHS_TYPE_GENERAL, 0, "Resource subsystem was not initialized!");
    const std::string& type = record->GetTypeID();
    if (auto it = m_mapLoadRes.find(type); it != m_mapLoadRes.end()) {
        record->DataLoad();
        const std::string outer = g_loadingID;
        g_loadingID = record->GetID();
        try {
            it->second(record->GetData(), record->GetSize(), record->GetID().c_str(), record->GetTag(),
                       record->GetData1(), record->GetData2(), record->GetData3());
        } catch (...) {
            // The loader's error is the report; the record must not stay loaded,
            // or the next load of it fails with an internal error instead.
            g_loadingID = outer;
            record->DataUnLoad();
            throw;
        }
        g_loadingID = outer;
        record->DataUnLoad();
        return;
    }
    if (auto it = m_mapLoadResEx.find(type); it != m_mapLoadResEx.end()) {
        it->second(record->GetFileName().c_str(), record->GetOffset(), record->GetSize(), record->GetID().c_str(),
                   record->GetTag(), record->GetData1(), record->GetData2(), record->GetData3());
        return;
    }
    EHS_THROW(EHS_TYPE_GAME, 0, "Cannot load resource: no function registered for Res_Type = " + type);
}
