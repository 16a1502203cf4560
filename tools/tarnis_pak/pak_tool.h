// The PAK packer's three commands as functions, so tests can run them in
// process: build a PAK from a data folder's XML descriptors, list a PAK's
// directory, and extract a PAK back into loose files with a descriptor.
#pragma once

#include <cstdio>
#include <string>

namespace pak {

// Each returns true on success; on failure error holds one line of text.
// XML resources are scrambled in the PAK, as PAK mode parses them scrambled.
bool buildPak(const std::string& dataDir, const std::string& outPak, std::string& error);
bool listPak(const std::string& pakFile, FILE* out, std::string& error);
// Writes outDir/<name>.xml and the resources, unscrambled, into outDir/<name>/,
// where <name> is the PAK file's name without its extension.
bool extractPak(const std::string& pakFile, const std::string& outDir, std::string& error);

// Type IDs whose resources are XML and therefore scrambled inside a PAK.
bool isXMLResourceType(const std::string& typeID);

} // namespace pak
