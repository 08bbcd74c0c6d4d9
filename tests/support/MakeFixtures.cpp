// Writes every msts fixture into the folder given as the only argument.

#include "support/FixtureSet.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder / "shapes");
    std::filesystem::create_directories(folder / "textures");
    std::filesystem::create_directories(folder / "broken");
    const auto write = [&](const std::filesystem::path& sub, const fixtures::FixtureFile& f) {
        std::ofstream out(folder / sub / f.name, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(f.bytes.data()),
                  static_cast<std::streamsize>(f.bytes.size()));
        if (!out) {
            std::fprintf(stderr, "cannot write %s\n", f.name.c_str());
            return false;
        }
        return true;
    };
    bool ok = true;
    for (const auto& f : fixtures::goodShapeFiles())
        ok = write("shapes", f) && ok;
    for (const auto& f : fixtures::goodTextureFiles())
        ok = write("textures", f) && ok;
    for (const auto& f : fixtures::brokenShapeFiles())
        ok = write("broken", f) && ok;
    for (const auto& f : fixtures::brokenTextureFiles())
        ok = write("broken", f) && ok;
    return ok ? 0 : 1;
}
