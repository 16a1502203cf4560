// The PAK archive layout, read and written in one place. All integers are
// 32-bit signed little-endian: an entry count, then per entry the ID and the
// type ID as zero-terminated strings and offset, size, tag, data1..data3; the
// data blocks lie at their offsets. A PAK file is untrusted input.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace res {

struct PakEntry {
    std::string id;
    std::string typeID;
    int32_t offset = 0;
    int32_t size = 0;
    int32_t tag = 0;
    int32_t data1 = 0;
    int32_t data2 = 0;
    int32_t data3 = 0;
};

// Calls onEntry for every directory entry in file order and returns the count
// of the header. Raises a Game-type error "Cannot open ResPack: " + path when
// the file cannot be read, and "Corrupted ResPack: " + path when the count,
// a string or an entry runs past the end of the file, or an offset or size
// lies outside it. Nothing is allocated from an unchecked number.
int32_t readPakDirectory(const std::string& path, const std::function<void(const PakEntry&)>& onEntry);

// Writes entries and their data (blocks[i] for entries[i]) as one PAK file,
// the blocks back to back after the directory; fills in the offsets and sizes.
// False when the file cannot be written or would exceed the 2 GiB offsets.
bool writePak(const std::string& path, std::vector<PakEntry>& entries, const std::vector<std::string>& blocks);

} // namespace res
