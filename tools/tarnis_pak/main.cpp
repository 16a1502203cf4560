// tarnis-pak command line: build, list and extract PAK files.
#include <cstdio>
#include <cstring>
#include <string>

#include "tools/tarnis_pak/pak_tool.h"

namespace {

int usage()
{
    fputs("usage: tarnis-pak build DATA_DIR OUT.pak\n"
          "       tarnis-pak list FILE.pak\n"
          "       tarnis-pak extract FILE.pak DIR\n",
          stderr);
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) return usage();
    const std::string command = argv[1];
    std::string error;
    bool ok;
    if (command == "build" && argc == 4) ok = pak::buildPak(argv[2], argv[3], error);
    else if (command == "list" && argc == 3) ok = pak::listPak(argv[2], stdout, error);
    else if (command == "extract" && argc == 4) ok = pak::extractPak(argv[2], argv[3], error);
    else return usage();
    if (!ok) {
        fprintf(stderr, "tarnis-pak: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
