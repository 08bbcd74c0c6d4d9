#pragma once

// Token identities of the simulator's structured files.
//
// In binary files every block starts with its token number; in text files the same tokens
// appear as case-insensitive names. The enum values are the binary numbers of the core token
// set, so a binary reader needs no translation and text names map onto the same values.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace msts {

enum class Token : std::uint16_t {
    Unknown = 0,
    Comment = 1,
    Point = 2,
    Vector = 3,
    Quat = 4,
    Normals = 5,
    NormalIdxs = 6,
    Points = 7,
    UvPoint = 8,
    UvPoints = 9,
    Colour = 10,
    Colours = 11,
    PackedColour = 12,
    Image = 13,
    Images = 14,
    Texture = 15,
    Textures = 16,
    LightMaterial = 17,
    LightMaterials = 18,
    LinearKey = 19,
    TcbKey = 20,
    LinearPos = 21,
    TcbPos = 22,
    SlerpRot = 23,
    TcbRot = 24,
    Controllers = 25,
    AnimNode = 26,
    AnimNodes = 27,
    Animation = 28,
    Animations = 29,
    Anim = 30,
    LodControls = 31,
    LodControl = 32,
    DistanceLevelsHeader = 33,
    DistanceLevelHeader = 34,
    DlevelSelection = 35,
    DistanceLevels = 36,
    DistanceLevel = 37,
    SubObjects = 38,
    SubObject = 39,
    SubObjectHeader = 40,
    GeometryInfo = 41,
    GeometryNodes = 42,
    GeometryNode = 43,
    GeometryNodeMap = 44,
    CullablePrims = 45,
    VtxState = 46,
    VtxStates = 47,
    Vertex = 48,
    VertexUvs = 49,
    Vertices = 50,
    VertexSet = 51,
    VertexSets = 52,
    Primitives = 53,
    PrimState = 54,
    PrimStates = 55,
    PrimStateIdx = 56,
    IndexedPointList = 57,
    PointList = 58,
    IndexedLineList = 59,
    IndexedTrilist = 60,
    TexIdxs = 61,
    Tri = 62,
    VertexIdxs = 63,
    Flags = 64,
    Matrix = 65,
    Matrices = 66,
    Hierarchy = 67,
    Volumes = 68,
    VolSphere = 69,
    ShapeHeader = 70,
    Shape = 71,
    ShaderNames = 72,
    ShaderName = 73,
    TextureFilterNames = 74,
    TextureFilterName = 75,
    SortVectors = 76,
    UvopArgSets = 77,
    UvopArgSet = 78,
    LightModelCfgs = 79,
    LightModelCfg = 80,
    UvOps = 81,
    UvopCopy = 82,
    UvOpShare = 83,
    UvOpCopy = 84,
    UvOpUniformscale = 85,
    UvOpUserUninformscale = 86,
    UvOpNonuniformscale = 87,
    UvOpUserNonuninformscale = 88,
    UvOpTransform = 89,
    UvOpUserTransform = 90,
    UvOpReflectxy = 91,
    UvOpReflectmap = 92,
    UvOpReflectmapfull = 93,
    UvOpSpheremap = 94,
    UvOpSpheremapfull = 95,
    UvOpSpecularmap = 96,
    UvOpEmbossbump = 97,
    UserUvArgs = 98,
    IoDev = 99,
    IoMap = 100,
    Sguid = 101,
    DlevCfgTable = 102,
    DlevCfg = 103,
    SubobjectShaders = 104,
    SubobjectLightCfgs = 105,
    ShapeNamedData = 106,
    ShapeNamedDataHeader = 107,
    ShapeNamedGeometry = 108,
    ShapeGeomRef = 109,
    MaterialPalette = 110,
    BlendConfig = 111,
    BlendConfigHeader = 112,
    FiltermodeCfgs = 113,
    FilterModeCfg = 114,
    BlendModeCfgs = 115,
    BlendModeCfg = 116,
    TextureStageProgs = 117,
    TextureStageProg = 118,
    BlendModeCfgRefs = 119,
    ShaderCfgs = 120,
    ShaderCfg = 121,
    TextureSlots = 122,
    TextureSlot = 123,
    NamedFilterModes = 124,
    NamedFilterMode = 125,
    FiltermodeCfgRefs = 126,
    FiltermodeCfgRef = 127,
    NamedShaders = 128,
    NamedShader = 129,
    ShaderCfgRefs = 130,
    ShaderCfgRef = 131,
    MaxData = 245,
    MaxDlevData = 246,
    MaxSmoothingData = 247,
    MaxSortPriorities = 248,
    UvOpDiffusemap = 249,
};

// The text name of a token ("vertex_idxs"); empty for Unknown or unnamed values.
std::string_view tokenName(Token token);

// Whether each token number has a name, as tokenName says: a table for readers that ask
// for every block they open, to keep at hand.
const std::array<bool, 256>& namedTokens();

inline bool isKnownToken(Token token) {
    const auto index = static_cast<std::size_t>(token);
    return index < namedTokens().size() && namedTokens()[index];
}

// The token a text name stands for, ignoring letter case; nothing when the name is unknown.
std::optional<Token> tokenFromName(std::string_view name);

} // namespace msts
