// gen_assets: writes the game's complete data folder (everything in DATA/ but
// the level pack, which has its own generator, and the high-score file).
// Usage: gen_assets OUT_DIR
#include <cstdio>
#include <exception>

#include "tools/gen_assets/assets.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        fputs("usage: gen_assets OUT_DIR\n", stderr);
        return 2;
    }
    try {
        gen::Output out(argv[1]);
        gen::generateGameData(out);
        gen::generateGameTextures(out);
        gen::generateGuiTextures(out);
        const gen::Fonts fonts = gen::generateFonts(out);
        gen::generateSounds(out);
        gen::generateMusic(out);
        gen::generateGuiData(out, fonts);
        gen::writeDescriptors(out);
    } catch (const std::exception& e) {
        fprintf(stderr, "gen_assets: %s\n", e.what());
        return 1;
    }
    return 0;
}
