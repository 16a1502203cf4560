// The PAK directory reader on any file, and PAK writing: records built from the
// input, written and read back, are the same records.
#include <vector>

#include "engine/res/ctarnis_res_pakfile.h"
#include "fuzz/fuzz_support.h"

namespace {

// Records from the input: a string up to each NUL (IDs and type IDs by turns),
// numbers and data blocks from the bytes that follow.
void buildAndReadBack(const uint8_t* data, size_t size)
{
    std::vector<res::PakEntry> entries;
    std::vector<std::string> blocks;
    size_t p = 0;
    auto text = [&] {
        std::string s;
        while (p < size && data[p]) s += char(data[p++]);
        ++p;
        return s;
    };
    while (p < size && entries.size() < 64) {
        res::PakEntry e;
        e.id = text();
        e.typeID = text();
        e.tag = p < size ? int8_t(data[p]) : 0;
        e.data1 = p + 1 < size ? int8_t(data[p + 1]) * 1000 : 0;
        const size_t n = p + 2 < size ? data[p + 2] % 32 : 0;
        p += 3;
        std::string block;
        for (size_t i = 0; i < n && p < size; ++i) block += char(data[p++]);
        entries.push_back(e);
        blocks.push_back(block);
    }
    if (!res::writePak("built.pak", entries, blocks)) return;
    std::vector<res::PakEntry> read;
    const int32_t count = res::readPakDirectory("built.pak", [&](const res::PakEntry& e) { read.push_back(e); });
    FUZZ_CHECK(count == int32_t(entries.size()) && read.size() == entries.size());
    for (size_t i = 0; i < read.size(); ++i) {
        FUZZ_CHECK(read[i].id == entries[i].id && read[i].typeID == entries[i].typeID);
        FUZZ_CHECK(read[i].offset == entries[i].offset && read[i].size == int32_t(blocks[i].size()));
        FUZZ_CHECK(read[i].tag == entries[i].tag && read[i].data1 == entries[i].data1);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::enterScratchDir();
    if (size == 0 || size > (1u << 20)) return 0;
    // The first byte chooses: read the rest as a PAK file, or build one from it.
    if (data[0] & 1) {
        buildAndReadBack(data + 1, size - 1);
        return 0;
    }
    fuzz::writeBytes("input.pak", data + 1, size - 1);
    fuzz::refusedOrDone([&] {
        res::readPakDirectory("input.pak", [&](const res::PakEntry& e) {
            // Every entry the reader hands out lies inside the file.
            FUZZ_CHECK(e.offset >= 0 && e.size >= 0 && int64_t(e.offset) + e.size <= int64_t(size - 1));
        });
    });
    return 0;
}
