// Bounds-checked reading of PAK directories and writing of PAK files.
#include "engine/res/ctarnis_res_pakfile.h"

#include <cstdio>
#include <limits>

#include "engine/core/ctarnis_ehs.h"

namespace res {

namespace {

// Smallest directory entry: two empty strings and six integers.
constexpr int64_t kMinEntryBytes = 2 + 6 * 4;

class PakReader {
public:
    PakReader(FILE* f, int64_t fileSize) : m_file(f), m_fileSize(fileSize) {}

    bool readInt(int32_t& value)
    {
        uint8_t b[4];
        if (fread(b, 1, 4, m_file) != 4) return false;
        m_pos += 4;
        value = int32_t(uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24);
        return true;
    }

    bool readString(std::string& out)
    {
        out.clear();
        for (;;) {
            int c = getc(m_file);
            if (c == EOF) return false;
            ++m_pos;
            if (c == 0) return true;
            out.push_back(char(c));
        }
    }

    int64_t fileSize() const { return m_fileSize; }

private:
    FILE* m_file;
    int64_t m_fileSize;
    int64_t m_pos = 0;
};

void putInt(std::string& out, int32_t v)
{
    uint32_t u = uint32_t(v);
    for (int i = 0; i < 4; ++i) out.push_back(char((u >> (8 * i)) & 0xFF));
}

} // namespace

int32_t readPakDirectory(const std::string& path, const std::function<void(const PakEntry&)>& onEntry)
{
    FILE* f = fopen(path.c_str(), "rb");
    if (!f) EHS_THROW(EHS_TYPE_GAME, 0, "Cannot open ResPack: " + path);
    int64_t fileSize = -1;
    if (fseek(f, 0, SEEK_END) == 0) fileSize = ftell(f);
    if (fileSize < 0 || fseek(f, 0, SEEK_SET) != 0) {
        fclose(f);
        EHS_THROW(EHS_TYPE_GAME, 0, "Cannot open ResPack: " + path);
    }
    // The file is closed on every way out, the loader's errors included.
    struct Closer {
        FILE* f;
        ~Closer() { fclose(f); }
    } closer{f};
    auto corrupted = [&path]() { EHS_THROW(EHS_TYPE_GAME, 0, "Corrupted ResPack: " + path); };

    PakReader in(f, fileSize);
    int32_t count = 0;
    if (!in.readInt(count) || count < 0 || int64_t(count) > (fileSize - 4) / kMinEntryBytes) corrupted();
    PakEntry e;
    for (int32_t i = 0; i < count; ++i) {
        if (!in.readString(e.id) || !in.readString(e.typeID)) corrupted();
        if (!in.readInt(e.offset) || !in.readInt(e.size) || !in.readInt(e.tag) || !in.readInt(e.data1) ||
            !in.readInt(e.data2) || !in.readInt(e.data3))
            corrupted();
        if (e.offset < 0 || e.size < 0 || int64_t(e.offset) + int64_t(e.size) > fileSize) corrupted();
        onEntry(e);
    }
    return count;
}

bool writePak(const std::string& path, std::vector<PakEntry>& entries, const std::vector<std::string>& blocks)
{
    if (blocks.size() != entries.size()) return false;
    int64_t dirSize = 4;
    for (const PakEntry& e : entries) dirSize += int64_t(e.id.size() + e.typeID.size()) + kMinEntryBytes;
    int64_t offset = dirSize;
    for (size_t i = 0; i < entries.size(); ++i) {
        entries[i].offset = int32_t(offset);
        entries[i].size = int32_t(blocks[i].size());
        offset += int64_t(blocks[i].size());
        if (offset > std::numeric_limits<int32_t>::max()) return false;
    }
    std::string dir;
    dir.reserve(size_t(dirSize));
    putInt(dir, int32_t(entries.size()));
    for (const PakEntry& e : entries) {
        dir.append(e.id).push_back('\0');
        dir.append(e.typeID).push_back('\0');
        for (int32_t v : {e.offset, e.size, e.tag, e.data1, e.data2, e.data3}) putInt(dir, v);
    }
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = fwrite(dir.data(), 1, dir.size(), f) == dir.size();
    for (const std::string& b : blocks) ok = ok && fwrite(b.data(), 1, b.size(), f) == b.size();
    ok = fclose(f) == 0 && ok;
    return ok;
}

} // namespace res
