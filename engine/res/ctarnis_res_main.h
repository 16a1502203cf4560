// Catalogue building shared by RES_Init and the PAK packer: reading one XML
// descriptor or one PAK file into a resources manager. Logging is left to the
// caller, so tools can build a catalogue without writing the game's log.
#pragma once

#include <cstdint>
#include <string>

#include "engine/core/titemsmanager.h"
#include "engine/res/ctarnis_res_cres.h"

class CXMLParser;

using TRSResourcesManager = TItemsManager<CTRSResource>;

namespace res {

// The data folder, relative to the current working directory.
inline constexpr const char* kDataFolder = "./DATA/";

// Catalogues the resources the XML descriptor at path declares; their files are
// resolved against dataDir (ending in '/'). Returns the number of children
// processed; *incomplete gets why the descriptor's text is cut short, if it is.
int32_t catalogueXMLResPack(const std::string& path, const std::string& dataDir, TRSResourcesManager& catalogue,
                            const char** incomplete = nullptr);
// Catalogues the entries of the PAK file at path; an ID already catalogued is
// dropped silently. Returns the entry count of the file's header.
int32_t cataloguePakResPack(const std::string& path, TRSResourcesManager& catalogue);

// For loaders of XML resources, after Parse: logs one warning naming the
// resource being loaded when its text was cut short (the partial tree is used).
void warnIfIncomplete(const CXMLParser& parser);

} // namespace res
