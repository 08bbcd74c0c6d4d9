// Fuzz target: the container and the block reader, walking every block and value of
// whatever the bytes hold without any knowledge of a file's grammar.

#include "msts/BlockReader.h"
#include "msts/Container.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace {

void walk(msts::BlockReader& reader, int depth) {
    // Alternate between reading values and opening blocks until the block ends; the limit
    // keeps a block of endless values from running the fuzzer out of time.
    for (int steps = 0; steps < 100000 && !reader.atBlockEnd(); ++steps) {
        if (auto h = depth < msts::BlockReader::maxDepth ? reader.openBlockIfAny() : std::nullopt) {
            walk(reader, depth + 1);
            reader.endBlock();
            continue;
        }
        switch (steps % 4) {
        case 0:
            reader.readInt();
            break;
        case 1:
            reader.readFloat();
            break;
        case 2:
            reader.readDword();
            break;
        default:
            reader.readString();
            break;
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::byte> bytes(reinterpret_cast<const std::byte*>(data), size);
    const auto opened = msts::openContainer(bytes);
    if (!opened.ok() || opened.container.kind != msts::PayloadKind::Jinx)
        return 0;
    msts::Diagnostics diagnostics;
    auto reader = msts::BlockReader::create(opened.container, diagnostics);
    try {
        walk(*reader, 0);
    } catch (const msts::ReadError&) {
    }
    return 0;
}
