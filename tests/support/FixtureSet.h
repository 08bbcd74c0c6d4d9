#pragma once

// The named shape and texture fixtures: good files in every form and layout, and small
// broken files named after their defect with the diagnostic each must end in. The fixture
// tool writes them all into one folder (test data and fuzz seeds); tests may also build
// them in memory.

#include "support/SimisWriter.h"

#include "msts/Diagnostics.h"

#include <string>
#include <vector>

namespace fixtures {

struct FixtureFile {
    std::string name; // file name, e.g. "sample_binary.s", "bad_lod_index.s"
    Bytes bytes;
    msts::DiagCode expected{}; // broken files: the diagnostic they must produce
    bool fatal = false;        // broken files: whether reading must fail
};

// sample shape in every form, the chain shape, and a generated one.
std::vector<FixtureFile> goodShapeFiles();
// one small texture per layout (planar 3/4/5 channels, DXT1 with and without mask, DXT3,
// DXT5), with and without mipmaps and compression.
std::vector<FixtureFile> goodTextureFiles();
std::vector<FixtureFile> brokenShapeFiles();
std::vector<FixtureFile> brokenTextureFiles();

} // namespace fixtures
