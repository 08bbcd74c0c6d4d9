// Fuzz target: the shape reader, its validation and the triangles built from its result.

#include "msts/ShapeMesh.h"
#include "msts/ShapeReader.h"

#include <cstddef>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::byte> bytes(reinterpret_cast<const std::byte*>(data), size);
    const auto result = msts::readShape(bytes);
    if (result.ok()) {
        const msts::Mesh mesh = msts::buildMesh(result.shape);
        (void)mesh.bounds();
    }
    return 0;
}
