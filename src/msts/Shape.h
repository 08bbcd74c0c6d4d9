#pragma once

// The plain value model of a simulator shape file (.s).
//
// It mirrors the file's tree: shared tables (points, uv points, normals, matrices, images,
// textures, vertex and primitive states) followed by lod_controls -> distance levels ->
// sub_objects -> vertices and primitives. Indices keep the file's meaning and are 32-bit
// throughout; -1 means "none". After reading, validateShape() has checked every index: an
// index that pointed outside its table has been replaced by -1 (or the element dropped)
// and reported, so users of a validated shape may rely on every non-negative index.
//
// Coordinates are the file's own: left-handed, +Y up, +Z the vehicle's front.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace msts {

struct Vec2 {
    float u = 0, v = 0;
};

struct Vec3 {
    float x = 0, y = 0, z = 0;
};

// A part's placement: three basis rows then a translation row, applied to a row vector:
// p' = x*(m0,m1,m2) + y*(m3,m4,m5) + z*(m6,m7,m8) + (m9,m10,m11).
struct Matrix {
    std::string name;
    std::array<float, 12> m{1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0};
};

struct VolumeSphere {
    Vec3 centre;
    float radius = 0;
};

struct Colour {
    float a = 0, r = 0, g = 0, b = 0;
};

struct Texture {
    std::int32_t imageIndex = -1;
    std::int32_t filterIndex = -1;
    float mipLodBias = 0;
    std::uint32_t borderColour = 0;
};

struct LightMaterial {
    std::uint32_t flags = 0;
    std::int32_t diffuseColour = 0, ambientColour = 0, specularColour = 0, emissiveColour = 0;
    float specularPower = 0;
};

struct UvOp {
    std::uint16_t kind = 0; // token number of the uv_op_* block
    std::int32_t textureAddressMode = 0;
    std::int32_t sourceUv = 0;
};

struct LightModelConfig {
    std::uint32_t flags = 0;
    std::vector<UvOp> uvOps;
};

struct VtxState {
    std::uint32_t flags = 0;
    std::int32_t matrixIndex = -1;
    std::int32_t lightMaterialIndex =
        0; // negative values are lighting codes (-5 diffuse, -8 unlit)
    std::int32_t lightConfigIndex = -1;
    std::uint32_t lightFlags = 0;
    std::int32_t matrix2Index = -1;
};

struct PrimState {
    std::string name;
    std::uint32_t flags = 0;
    std::int32_t shaderIndex = -1;
    std::vector<std::int32_t> textureIndices;
    float zBias = 0;
    std::int32_t vtxStateIndex = -1;
    std::int32_t alphaTestMode = 0;
    std::int32_t lightConfigIndex = -1;
    std::int32_t zBufferMode = 1;
};

struct Vertex {
    std::uint32_t flags = 0;
    std::int32_t pointIndex = -1;
    std::int32_t normalIndex = -1;
    std::uint32_t colour1 = 0, colour2 = 0;
    // First uv point of the vertex (-1: none). Further uv channels are counted, not kept:
    // nothing in a shape's static picture uses them.
    std::int32_t uvIndex = -1;
    std::uint32_t uvCount = 0;
};

struct VertexSet {
    std::int32_t vtxStateIndex = -1;
    std::int32_t firstVertex = 0;
    std::int32_t vertexCount = 0;
};

// One indexed_trilist with the prim_state that was in force for it (set by the last
// prim_state_idx block before it in the sub_object).
struct Primitive {
    std::int32_t primStateIndex = -1;
    std::vector<std::uint32_t> indices;          // into the sub_object's vertices, 3 per triangle
    std::vector<std::int32_t> faceNormalIndices; // into Shape::normals, 1 per triangle
    std::vector<std::uint32_t> flags;            // 1 per triangle
};

struct SubObject {
    std::uint32_t flags = 0;
    std::int32_t sortVectorIndex = -1;
    std::int32_t volumeIndex = -1;
    std::uint32_t sourceVertexFormat = 0;
    std::uint32_t destinationVertexFormat = 0;
    std::vector<std::int32_t> shaders;
    std::vector<std::int32_t> lightConfigs;
    std::int32_t id = -1;
    std::vector<Vertex> vertices;
    std::vector<VertexSet> vertexSets;
    std::vector<Primitive> primitives;
};

struct DistanceLevel {
    float selection = 0;                 // greatest viewing distance in metres
    std::vector<std::int32_t> hierarchy; // parent of each matrix, -1 for a root
    std::vector<SubObject> subObjects;
};

struct LodControl {
    std::int32_t bias = 0;
    std::vector<DistanceLevel> levels;
};

struct Shape {
    std::uint32_t flags1 = 0;
    std::uint32_t flags2 = 0;
    std::vector<VolumeSphere> volumes;
    std::vector<std::string> shaderNames;
    std::vector<std::string> filterNames;
    std::vector<Vec3> points;
    std::vector<Vec2> uvPoints;
    std::vector<Vec3> normals;
    std::vector<Vec3> sortVectors;
    std::vector<Colour> colours;
    std::vector<Matrix> matrices;
    std::vector<std::string> images;
    std::vector<Texture> textures;
    std::vector<LightMaterial> lightMaterials;
    std::vector<LightModelConfig> lightModelConfigs;
    std::vector<VtxState> vtxStates;
    std::vector<PrimState> primStates;
    std::vector<LodControl> lodControls;
    // Animations do not change a static picture; they are recognised and counted only.
    std::uint32_t animationCount = 0;
};

} // namespace msts
