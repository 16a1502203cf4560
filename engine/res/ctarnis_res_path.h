// Finding data files on a case-sensitive file system: descriptors are found
// whatever the case of their extension, and paths written in data (with '\' or
// '/', any letter case) are resolved against the files that really exist.
#pragma once

#include <string>
#include <vector>

namespace res {

// Names of the regular files directly in dir whose extension is ext (".xml"),
// compared without regard to letter case; sorted byte-wise, so a scan is the
// same on every machine.
std::vector<std::string> listFilesWithExtension(const std::string& dir, const char* ext);

// dir (ending in '/') + the written path with '/' separators, matched exactly
// first and otherwise component by component without regard to letter case.
// Empty when no regular file matches, and for a name that is absolute or
// climbs out of dir.
std::string resolveDataPath(const std::string& dir, const std::string& written);

} // namespace res
