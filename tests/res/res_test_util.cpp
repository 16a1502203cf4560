// Helpers of the resource tests.
#include "tests/res/res_test_util.h"

#include <filesystem>

#include "tests/support/test_support.h"

namespace restest {

std::vector<LoaderCall> g_calls;

void put(const std::string& path, const std::string& content)
{
    std::filesystem::path p(path);
    if (p.has_parent_path()) std::filesystem::create_directories(p.parent_path());
    tst::writeFile(path, content);
}

std::string le32(int32_t v)
{
    uint32_t u = uint32_t(v);
    return {char(u & 0xFF), char((u >> 8) & 0xFF), char((u >> 16) & 0xFF), char((u >> 24) & 0xFF)};
}

std::string pakImage(const std::vector<RawEntry>& entries, const std::string& tail)
{
    std::string s = le32(int32_t(entries.size()));
    for (const RawEntry& e : entries) {
        s += e.id + '\0' + e.typeID + '\0';
        for (int32_t v : {e.offset, e.size, e.tag, e.data1, e.data2, e.data3}) s += le32(v);
    }
    return s + tail;
}

void recordLoad(const uint8_t* data, int32_t size, const char* id, int32_t tag, int32_t data1, int32_t data2,
                int32_t data3)
{
    g_calls.push_back({id, std::string(reinterpret_cast<const char*>(data), size_t(size)), "", 0, size, tag, data1,
                       data2, data3});
}

void recordLoadEx(const char* fileName, int32_t offset, int32_t size, const char* id, int32_t tag, int32_t data1,
                  int32_t data2, int32_t data3)
{
    g_calls.push_back({id, "", fileName, offset, size, tag, data1, data2, data3});
}

std::string str(const LoaderCall& c)
{
    std::string s = c.id + "|" + c.bytes + "|" + c.fileName;
    for (int32_t v : {c.offset, c.size, c.tag, c.data1, c.data2, c.data3}) s += "|" + std::to_string(v);
    return s;
}

} // namespace restest
