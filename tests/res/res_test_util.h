// Helpers of the resource tests: files in the data folder, hand-made PAK
// images, catching the engine's errors, and loaders that record their calls.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/engine_checks.h"

namespace restest {

// Writes a file, creating its folders.
void put(const std::string& path, const std::string& content);

struct RawEntry {
    std::string id;
    std::string typeID;
    int32_t offset;
    int32_t size;
    int32_t tag;
    int32_t data1 = 0;
    int32_t data2 = 0;
    int32_t data3 = 0;
};
// The PAK byte layout written out by hand (independent of the engine's writer).
std::string le32(int32_t v);
std::string pakImage(const std::vector<RawEntry>& entries, const std::string& tail);

using tst::raised;
using tst::thrownText;

struct LoaderCall {
    std::string id;
    std::string bytes;    // LoadRes loaders
    std::string fileName; // LoadResEx loaders
    int32_t offset;
    int32_t size;
    int32_t tag;
    int32_t data1;
    int32_t data2;
    int32_t data3;
};
extern std::vector<LoaderCall> g_calls;
// The whole call as "id|bytes|fileName|offset|size|tag|data1|data2|data3".
std::string str(const LoaderCall& c);
void recordLoad(const uint8_t* data, int32_t size, const char* id, int32_t tag, int32_t data1, int32_t data2,
                int32_t data3);
void recordLoadEx(const char* fileName, int32_t offset, int32_t size, const char* id, int32_t tag, int32_t data1,
                  int32_t data2, int32_t data3);

} // namespace restest
