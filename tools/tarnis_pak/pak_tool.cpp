// tarnis-pak: PAK files from XML-mode data folders and back. Catalogues are
// built with the engine's own scan, so a PAK holds exactly the records (IDs,
// type IDs, tags, data values and bytes) the loose folder gives the engine.
#include "tools/tarnis_pak/pak_tool.h"

#include <cstring>
#include <filesystem>
#include <memory>
#include <set>
#include <vector>

#include "engine/core/ctarnis_ehs.h"
#include "engine/res/ctarnis_res_main.h"
#include "engine/res/ctarnis_res_pakfile.h"
#include "engine/res/ctarnis_res_path.h"
#include "engine/res/ctarnis_utils_cxmlparser.h"

namespace fs = std::filesystem;

namespace pak {

namespace {

struct Catalogue {
    TRSResourcesManager items;
    ~Catalogue() { items.FreeAll(); }
};

std::string withSlash(std::string dir)
{
    if (dir.empty()) dir = ".";
    if (dir.back() != '/') dir += '/';
    return dir;
}

void scramble(std::string& bytes)
{
    for (char& c : bytes) c = char(uint8_t(c) ^ TRS_XML_SCRAMBLE_BYTE);
}

std::string recordBytes(CTRSResource& r)
{
    r.DataLoad();
    std::string bytes(reinterpret_cast<const char*>(r.GetData()), size_t(r.GetSize()));
    r.DataUnLoad();
    return bytes;
}

// Runs fn, turning the engine's errors into one line of text.
template <class Fn>
bool guarded(std::string& error, Fn fn)
{
    try {
        return fn();
    } catch (const CEHSException& e) {
        error = e.m_strDescription;
    } catch (const char* text) {
        error = text;
    }
    return false;
}

// File extension for an extracted resource, from its type or its first bytes.
std::string extensionFor(const std::string& typeID, const std::string& bytes)
{
    if (isXMLResourceType(typeID)) return ".xml";
    if (typeID == "SCRIPT") return ".lua";
    static constexpr struct {
        size_t at;
        const char* magic;
        const char* ext;
    } kMagic[] = {
        {0, "\x89PNG", ".png"},  {0, "\xFF\xD8\xFF", ".jpg"}, {0, "BM", ".bmp"},   {0, "OggS", ".ogg"},
        {0, "fLaC", ".flac"},    {0, "ID3", ".mp3"},          {0, "IMPM", ".it"},  {0, "Extended Module:", ".xm"},
        {44, "SCRM", ".s3m"},    {1080, "M.K.", ".mod"},      {8, "WAVE", ".wav"},
    };
    for (const auto& m : kMagic) {
        size_t len = strlen(m.magic);
        if (bytes.size() >= m.at + len && bytes.compare(m.at, len, m.magic) == 0) return m.ext;
    }
    return ".bin";
}

// A file name from a resource ID: IDs come from an untrusted file, so only
// plain characters survive; nothing can climb out of the output folder.
std::string safeName(const std::string& id)
{
    std::string name;
    for (char c : id) {
        bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '-';
        name += plain ? c : '_';
    }
    return name.empty() ? "res" : name;
}

std::string lower(std::string s)
{
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return s;
}

} // namespace

bool isXMLResourceType(const std::string& typeID)
{
    static const std::set<std::string> kXMLTypes = {"TECHNIQUE", "FONT",         "PLAYLIST",     "XMLDATA",
                                                    "GUIDATA",   "GUIENUMDATA", "GUISTYLEDATA", "LEVEL"};
    return kXMLTypes.count(typeID) != 0;
}

bool buildPak(const std::string& dataDirIn, const std::string& outPak, std::string& error)
{
    return guarded(error, [&]() {
        const std::string dataDir = withSlash(dataDirIn);
        std::vector<std::string> descriptors = res::listFilesWithExtension(dataDir, ".xml");
        if (descriptors.empty()) {
            error = "No XML descriptors in " + dataDir;
            return false;
        }
        Catalogue cat;
        for (const std::string& name : descriptors) res::catalogueXMLResPack(dataDir + name, dataDir, cat.items);

        std::vector<res::PakEntry> entries;
        std::vector<std::string> blocks;
        for (int32_t slot = 0; slot < cat.items.GetSlotCount(); ++slot) {
            CTRSResource* r = cat.items.GetItem(slot);
            if (!r) continue;
            res::PakEntry e;
            e.id = r->GetID();
            e.typeID = r->GetTypeID();
            e.tag = r->GetTag();
            e.data1 = r->GetData1();
            e.data2 = r->GetData2();
            e.data3 = r->GetData3();
            std::string bytes = recordBytes(*r);
            if (isXMLResourceType(e.typeID)) scramble(bytes);
            entries.push_back(std::move(e));
            blocks.push_back(std::move(bytes));
        }
        std::error_code ec;
        if (fs::path(outPak).has_parent_path()) fs::create_directories(fs::path(outPak).parent_path(), ec);
        if (!res::writePak(outPak, entries, blocks)) {
            error = "Cannot write " + outPak;
            return false;
        }
        return true;
    });
}

bool listPak(const std::string& pakFile, FILE* out, std::string& error)
{
    return guarded(error, [&]() {
        std::vector<res::PakEntry> entries;
        int32_t count = res::readPakDirectory(pakFile, [&](const res::PakEntry& e) { entries.push_back(e); });
        fprintf(out, "%d entries in %s\n", count, pakFile.c_str());
        fprintf(out, "%-24s %-14s %6s %6s %6s %6s %10s %10s\n", "ID", "TYPEID", "TAG", "DATA1", "DATA2", "DATA3",
                "OFFSET", "SIZE");
        for (const res::PakEntry& e : entries)
            fprintf(out, "%-24s %-14s %6d %6d %6d %6d %10d %10d\n", e.id.c_str(), e.typeID.c_str(), e.tag, e.data1,
                    e.data2, e.data3, e.offset, e.size);
        return true;
    });
}

bool extractPak(const std::string& pakFile, const std::string& outDirIn, std::string& error)
{
    return guarded(error, [&]() {
        // The same records the engine would catalogue: duplicates dropped, every check applied.
        Catalogue cat;
        res::cataloguePakResPack(pakFile, cat.items);

        const std::string outDir = withSlash(outDirIn);
        const std::string stem = safeName(fs::path(pakFile).stem().string());
        std::error_code ec;
        fs::create_directories(outDir + stem, ec);
        if (ec) {
            error = "Cannot create " + outDir + stem;
            return false;
        }
        std::string descriptor = "<?xml version=\"1.0\"?>\n<respack>\n";
        std::set<std::string> taken;
        for (int32_t slot = 0; slot < cat.items.GetSlotCount(); ++slot) {
            CTRSResource* r = cat.items.GetItem(slot);
            if (!r) continue;
            // The reader has no escapes: a double quote cannot stand in a value.
            if (r->GetID().find('"') != std::string::npos || r->GetTypeID().find('"') != std::string::npos) {
                error = "Resource ID or type ID with a double quote cannot be written to a descriptor: " + r->GetID();
                return false;
            }
            std::string bytes = recordBytes(*r);
            if (isXMLResourceType(r->GetTypeID())) scramble(bytes);
            const std::string ext = extensionFor(r->GetTypeID(), bytes);
            std::string base = safeName(r->GetID());
            std::string file = base + ext;
            for (int n = 2; taken.count(lower(file)); ++n) file = base + "_" + std::to_string(n) + ext;
            taken.insert(lower(file));

            FILE* f = fopen((outDir + stem + "/" + file).c_str(), "wb");
            bool ok = f && fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
            if (f) ok = fclose(f) == 0 && ok;
            if (!ok) {
                error = "Cannot write " + outDir + stem + "/" + file;
                return false;
            }
            descriptor += "    <resource id=\"" + r->GetID() + "\" typeid=\"" + r->GetTypeID() + "\" filename=\"" +
                          stem + "/" + file + "\" tag=\"" + std::to_string(r->GetTag()) + "\" data1=\"" +
                          std::to_string(r->GetData1()) + "\" data2=\"" + std::to_string(r->GetData2()) +
                          "\" data3=\"" + std::to_string(r->GetData3()) + "\"/>\n";
        }
        descriptor += "</respack>\n";
        FILE* f = fopen((outDir + stem + ".xml").c_str(), "wb");
        bool ok = f && fwrite(descriptor.data(), 1, descriptor.size(), f) == descriptor.size();
        if (f) ok = fclose(f) == 0 && ok;
        if (!ok) {
            error = "Cannot write " + outDir + stem + ".xml";
            return false;
        }
        return true;
    });
}

} // namespace pak
