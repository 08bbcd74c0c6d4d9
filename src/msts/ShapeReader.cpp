#include "msts/ShapeReader.h"

#include "msts/BlockReader.h"
#include "msts/Container.h"
#include "msts/WithBlockReader.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <span>
#include <string>
#include <type_traits>

namespace msts {

namespace {

// Smallest binary size of a child block: 8-byte header and the label length byte.
constexpr std::size_t minBlockBytes = 9;
// Smallest binary vertex: its header and five values.
constexpr std::size_t vertexBytes = minBlockBytes + 5 * 4;

// Made for each concrete reader, so that its many small calls per vertex are direct.
template <typename Reader> class ShapeParser {
public:
    ShapeParser(Reader& reader, Diagnostics& diagnostics, Shape& shape)
        : r_(reader), d_(diagnostics), s_(shape) {}

    void parseFile() {
        bool found = false;
        while (auto h = r_.openBlock()) {
            if (h->token == Token::Shape && !found) {
                found = true;
                shape();
            } else if (h->token != Token::MaxData && h->token != Token::Shape) {
                unknown(*h);
            }
            r_.endBlock();
        }
        if (!found)
            throw ReadError(DiagCode::UnexpectedToken, r_.position(), "no shape block");
    }

private:
    void unknown(const BlockHeader& h) {
        d_.warn(DiagCode::UnknownBlock, h.position,
                h.name.empty() ? std::string(tokenName(h.token)) : h.name);
    }

    // A list block: a count, then that many child blocks of one kind. Others are skipped.
    // `prepare` hears the count first, already checked against the bytes left, and returns how
    // many items it read itself in bulk; they count with those read here.
    template <typename F, typename P>
    void list(const BlockHeader& parent, Token child, F&& readItem, P&& prepare) {
        const std::uint32_t count = r_.readCount(minBlockBytes);
        const std::size_t first = prepare(count);
        checkCount(parent, count, first + items(child, readItem));
    }

    // Reads the child blocks `child` of the current block with `readItem` and skips others;
    // returns how many it read. An item that needs no header (`readItem` takes none) is
    // opened without one.
    template <typename F> std::size_t items(Token child, F& readItem) {
        std::size_t seen = 0;
        for (;;) {
            if constexpr (std::is_invocable_v<F&>) {
                if (r_.openBlockIf(child)) {
                    readItem();
                    ++seen;
                    r_.endBlock();
                    continue;
                }
            }
            const auto h = r_.openBlock();
            if (!h)
                return seen;
            if (h->token == child) {
                if constexpr (std::is_invocable_v<F&>)
                    readItem();
                else
                    readItem(*h);
                ++seen;
            } else {
                unknown(*h);
            }
            r_.endBlock();
        }
    }

    void checkCount(const BlockHeader& parent, std::uint32_t count, std::size_t seen) {
        if (seen != count)
            d_.warn(DiagCode::CountMismatch, parent.position,
                    std::string(tokenName(parent.token)) + ": " + std::to_string(count) +
                        " declared, " + std::to_string(seen) + " found");
    }

    static std::size_t noBulk(std::uint32_t) { return 0; }

    // `minBinaryItemBytes`, when given, is the least an item takes in binary: room is then
    // made at once for as many items as the bytes left could hold, at most. `bulk`, when
    // given, then hears the count and reads a first run of items straight into `out`,
    // returning how many.
    template <typename T, typename F, typename B = decltype(&noBulk)>
    void table(const BlockHeader& parent, Token child, std::vector<T>& out, F&& readItem,
               std::size_t minBinaryItemBytes = 0, B bulk = &noBulk) {
        out.clear();
        // Bounded, so that a lying count cannot reserve far more than the file holds.
        const auto prepare = [&](std::uint32_t count) -> std::size_t {
            out.reserve(minBinaryItemBytes > 0 && r_.isBinary()
                            ? std::min<std::size_t>(count, r_.maxItemsLeft(minBinaryItemBytes))
                            : std::min<std::uint32_t>(count, 1u << 16));
            return bulk(count);
        };
        if constexpr (std::is_invocable_v<F&>)
            list(
                parent, child, [&] { out.push_back(readItem()); }, prepare);
        else
            list(
                parent, child, [&](const BlockHeader& h) { out.push_back(readItem(h)); }, prepare);
    }

    // A table of points, texture coordinates or vectors: blocks of floats only. Plain ones
    // come in bulk as far as they run, what follows them one by one.
    template <typename T, typename F>
    void floatTable(const BlockHeader& parent, Token child, std::vector<T>& out, F&& readItem) {
        static_assert(std::is_trivially_copyable_v<T> && sizeof(T) % sizeof(float) == 0);
        constexpr std::size_t floats = sizeof(T) / sizeof(float);
        constexpr std::size_t plainBytes = minBlockBytes + 4 * floats;
        table(parent, child, out, readItem, plainBytes, [&](std::uint32_t count) -> std::size_t {
            if (!r_.isBinary())
                return 0;
            out.resize(std::min<std::size_t>(count, r_.maxItemsLeft(plainBytes)));
            const std::size_t n =
                r_.readFloatBlocks(child, floats, std::as_writable_bytes(std::span(out)));
            out.resize(n);
            return n;
        });
    }

    Vec2 vec2() {
        Vec2 uv;
        uv.u = r_.readFloat();
        uv.v = r_.readFloat();
        return uv;
    }

    Vec3 vec3() { return {r_.readFloat(), r_.readFloat(), r_.readFloat()}; }

    void intList(std::vector<std::int32_t>& out) { r_.readInts(r_.readCount(4), out); }

    void shape() {
        while (auto h = r_.openBlock()) {
            switch (h->token) {
            case Token::ShapeHeader:
                s_.flags1 = r_.readDword();
                if (!r_.atBlockEnd())
                    s_.flags2 = r_.readDword();
                break;
            case Token::Volumes:
                table(*h, Token::VolSphere, s_.volumes, [&](const BlockHeader&) {
                    VolumeSphere v;
                    r_.expectBlock(Token::Vector);
                    v.centre = vec3();
                    r_.endBlock();
                    v.radius = r_.readFloat();
                    return v;
                });
                break;
            case Token::ShaderNames:
                table(*h, Token::NamedShader, s_.shaderNames,
                      [&](const BlockHeader&) { return r_.readString(); });
                break;
            case Token::TextureFilterNames:
                table(*h, Token::NamedFilterMode, s_.filterNames,
                      [&](const BlockHeader&) { return r_.readString(); });
                break;
            case Token::Points:
                floatTable(*h, Token::Point, s_.points, [&] { return vec3(); });
                break;
            case Token::UvPoints:
                floatTable(*h, Token::UvPoint, s_.uvPoints, [&] { return vec2(); });
                break;
            case Token::Normals:
                floatTable(*h, Token::Vector, s_.normals, [&] { return vec3(); });
                break;
            case Token::SortVectors:
                floatTable(*h, Token::Vector, s_.sortVectors, [&] { return vec3(); });
                break;
            case Token::Colours:
                table(*h, Token::Colour, s_.colours, [&](const BlockHeader&) {
                    Colour c;
                    c.a = r_.readFloat();
                    c.r = r_.readFloat();
                    c.g = r_.readFloat();
                    c.b = r_.readFloat();
                    return c;
                });
                break;
            case Token::Matrices:
                table(*h, Token::Matrix, s_.matrices, [&](const BlockHeader& m) {
                    Matrix matrix;
                    matrix.name = m.label;
                    for (auto& v : matrix.m)
                        v = r_.readFloat();
                    return matrix;
                });
                break;
            case Token::Images:
                table(*h, Token::Image, s_.images,
                      [&](const BlockHeader&) { return r_.readString(); });
                break;
            case Token::Textures:
                table(*h, Token::Texture, s_.textures, [&](const BlockHeader&) {
                    Texture t;
                    t.imageIndex = r_.readInt();
                    t.filterIndex = r_.readInt();
                    t.mipLodBias = r_.readFloat();
                    if (!r_.atBlockEnd())
                        t.borderColour = r_.readDword();
                    return t;
                });
                break;
            case Token::LightMaterials:
                table(*h, Token::LightMaterial, s_.lightMaterials, [&](const BlockHeader&) {
                    LightMaterial m;
                    m.flags = r_.readDword();
                    m.diffuseColour = r_.readInt();
                    m.ambientColour = r_.readInt();
                    m.specularColour = r_.readInt();
                    m.emissiveColour = r_.readInt();
                    m.specularPower = r_.readFloat();
                    return m;
                });
                break;
            case Token::LightModelCfgs:
                table(*h, Token::LightModelCfg, s_.lightModelConfigs,
                      [&](const BlockHeader&) { return lightModelConfig(); });
                break;
            case Token::VtxStates:
                table(*h, Token::VtxState, s_.vtxStates, [&](const BlockHeader&) {
                    VtxState v;
                    v.flags = r_.readDword();
                    v.matrixIndex = r_.readInt();
                    v.lightMaterialIndex = r_.readInt();
                    v.lightConfigIndex = r_.readInt();
                    v.lightFlags = r_.readDword();
                    if (!r_.atBlockEnd())
                        v.matrix2Index = r_.readInt();
                    return v;
                });
                break;
            case Token::PrimStates:
                table(*h, Token::PrimState, s_.primStates,
                      [&](const BlockHeader& p) { return primState(p); });
                break;
            case Token::LodControls:
                table(*h, Token::LodControl, s_.lodControls,
                      [&](const BlockHeader&) { return lodControl(); });
                break;
            case Token::Animations:
                s_.animationCount = r_.readCount(minBlockBytes);
                break;
            default:
                unknown(*h);
                break;
            }
            r_.endBlock();
        }
    }

    LightModelConfig lightModelConfig() {
        LightModelConfig c;
        c.flags = r_.readDword();
        while (auto h = r_.openBlock()) {
            if (h->token == Token::UvOps) {
                const std::uint32_t count = r_.readCount(minBlockBytes);
                c.uvOps.reserve(count);
                while (auto op = r_.openBlock()) {
                    UvOp u;
                    u.kind = static_cast<std::uint16_t>(op->token);
                    if (!r_.atBlockEnd())
                        u.textureAddressMode = r_.readInt();
                    if (op->token == Token::UvOpCopy && !r_.atBlockEnd())
                        u.sourceUv = r_.readInt();
                    c.uvOps.push_back(u);
                    r_.endBlock();
                }
            } else {
                unknown(*h);
            }
            r_.endBlock();
        }
        return c;
    }

    PrimState primState(const BlockHeader& h) {
        PrimState p;
        p.name = h.label;
        p.flags = r_.readDword();
        p.shaderIndex = r_.readInt();
        r_.expectBlock(Token::TexIdxs);
        intList(p.textureIndices);
        r_.endBlock();
        p.zBias = r_.readFloat();
        p.vtxStateIndex = r_.readInt();
        if (r_.atBlockEnd())
            return p;
        p.alphaTestMode = r_.readInt();
        if (r_.atBlockEnd())
            return p;
        p.lightConfigIndex = r_.readInt();
        if (r_.atBlockEnd())
            return p;
        p.zBufferMode = r_.readInt();
        return p;
    }

    LodControl lodControl() {
        LodControl lod;
        while (auto h = r_.openBlock()) {
            if (h->token == Token::DistanceLevelsHeader) {
                lod.bias = r_.readInt();
            } else if (h->token == Token::DistanceLevels) {
                table(*h, Token::DistanceLevel, lod.levels,
                      [&](const BlockHeader&) { return distanceLevel(); });
            } else {
                unknown(*h);
            }
            r_.endBlock();
        }
        return lod;
    }

    DistanceLevel distanceLevel() {
        DistanceLevel level;
        while (auto h = r_.openBlock()) {
            if (h->token == Token::DistanceLevelHeader) {
                while (auto inner = r_.openBlock()) {
                    if (inner->token == Token::DlevelSelection)
                        level.selection = r_.readFloat();
                    else if (inner->token == Token::Hierarchy)
                        intList(level.hierarchy);
                    else
                        unknown(*inner);
                    r_.endBlock();
                }
            } else if (h->token == Token::SubObjects) {
                table(*h, Token::SubObject, level.subObjects,
                      [&](const BlockHeader&) { return subObject(); });
            } else {
                unknown(*h);
            }
            r_.endBlock();
        }
        return level;
    }

    SubObject subObject() {
        SubObject sub;
        while (auto h = r_.openBlock()) {
            switch (h->token) {
            case Token::SubObjectHeader:
                subObjectHeader(sub);
                break;
            case Token::Vertices:
                table(
                    *h, Token::Vertex, sub.vertices,
                    [&] {
                        // Braced, the values are read in the order written.
                        Vertex v{.flags = r_.readDword(),
                                 .pointIndex = r_.readInt(),
                                 .normalIndex = r_.readInt(),
                                 .colour1 = r_.readDword(),
                                 .colour2 = r_.readDword()};
                        if (r_.openBlockIf(Token::VertexUvs)) {
                            vertexUvs(v);
                            r_.endBlock();
                        } else if (auto uvs = r_.openBlockIfAny()) {
                            if (uvs->token == Token::VertexUvs)
                                vertexUvs(v);
                            r_.endBlock();
                        }
                        return v;
                    },
                    vertexBytes,
                    [&](std::uint32_t) -> std::size_t {
                        if constexpr (std::is_same_v<Reader, BinaryReader>)
                            return plainVertices(sub.vertices);
                        return 0;
                    });
                break;
            case Token::VertexSets:
                table(*h, Token::VertexSet, sub.vertexSets, [&](const BlockHeader&) {
                    VertexSet v;
                    v.vtxStateIndex = r_.readInt();
                    v.firstVertex = r_.readInt();
                    v.vertexCount = r_.readInt();
                    return v;
                });
                break;
            case Token::Primitives:
                primitives(*h, sub);
                break;
            default:
                unknown(*h);
                break;
            }
            r_.endBlock();
        }
        return sub;
    }

    // Binary vertices of the form nearly every file writes, taken straight from the bytes: a
    // `vertex` block without a label, holding its five values and then only a `vertex_uvs`
    // block without a label and with exactly its listed indices. The first block of any other
    // form stops the run and is read block by block from there, as it would have been.
    std::size_t plainVertices(std::vector<Vertex>& out) {
        // Stepping over two levels of blocks; openBlock would refuse a deeper one.
        if (r_.depth() + 2 > static_cast<std::size_t>(BlockReader::maxDepth))
            return 0;
        const std::span<const std::byte> bytes = r_.unreadBytes();
        const auto word = [&](std::size_t at) {
            std::uint32_t w;
            std::memcpy(&w, bytes.data() + at, 4);
            return w;
        };
        constexpr std::size_t valuesAt = 9, uvsAt = valuesAt + 20, indicesAt = uvsAt + 13;
        std::size_t at = 0, n = 0;
        while (bytes.size() - at >= indicesAt &&
               word(at) == static_cast<std::uint16_t>(Token::Vertex) &&
               word(at + uvsAt) == static_cast<std::uint16_t>(Token::VertexUvs) &&
               bytes[at + 8] == std::byte{0} && bytes[at + uvsAt + 8] == std::byte{0}) {
            const std::uint64_t length = word(at + 4), uvLength = word(at + uvsAt + 4);
            const std::uint64_t uvCount = word(at + uvsAt + 9);
            if (uvLength != 5 + 4 * uvCount || length != 1 + 20 + 8 + uvLength ||
                length + 8 > bytes.size() - at)
                break;
            Vertex v{.flags = word(at + valuesAt),
                     .pointIndex = static_cast<std::int32_t>(word(at + valuesAt + 4)),
                     .normalIndex = static_cast<std::int32_t>(word(at + valuesAt + 8)),
                     .colour1 = word(at + valuesAt + 12),
                     .colour2 = word(at + valuesAt + 16)};
            v.uvCount = static_cast<std::uint32_t>(uvCount);
            if (uvCount > 0)
                v.uvIndex = static_cast<std::int32_t>(word(at + indicesAt));
            out.push_back(v);
            at += 8 + length;
            ++n;
        }
        r_.skipBytes(at);
        return n;
    }

    void vertexUvs(Vertex& v) {
        v.uvCount = r_.readCount(4);
        if (v.uvCount > 0)
            v.uvIndex = r_.readInt();
    }

    void subObjectHeader(SubObject& sub) {
        sub.flags = r_.readDword();
        sub.sortVectorIndex = r_.readInt();
        sub.volumeIndex = r_.readInt();
        sub.sourceVertexFormat = r_.readDword();
        sub.destinationVertexFormat = r_.readDword();
        while (!r_.atBlockEnd()) {
            auto h = r_.openBlockIfAny();
            if (!h) {
                sub.id = r_.readInt();
                continue;
            }
            if (h->token == Token::SubobjectShaders)
                intList(sub.shaders);
            else if (h->token == Token::SubobjectLightCfgs)
                intList(sub.lightConfigs);
            else if (h->token != Token::GeometryInfo)
                unknown(*h);
            r_.endBlock();
        }
    }

    void primitives(const BlockHeader& parent, SubObject& sub) {
        const std::uint32_t count = r_.readCount(minBlockBytes);
        std::uint32_t seen = 0;
        std::int32_t current = -1;
        std::vector<std::int32_t> pairs;
        while (auto h = r_.openBlock()) {
            ++seen;
            if (h->token == Token::PrimStateIdx) {
                current = r_.readInt();
            } else if (h->token == Token::IndexedTrilist) {
                Primitive p;
                p.primStateIndex = current;
                while (auto part = r_.openBlock()) {
                    if (part->token == Token::VertexIdxs) {
                        r_.readUInts(r_.readCount(4), p.indices);
                    } else if (part->token == Token::NormalIdxs) {
                        // Each triangle: its face normal, then a constant 3.
                        const std::uint32_t triangles = r_.readCount(8);
                        r_.readInts(std::size_t{triangles} * 2, pairs);
                        p.faceNormalIndices.resize(triangles);
                        for (std::size_t t = 0; t < triangles; ++t)
                            p.faceNormalIndices[t] = pairs[t * 2];
                    } else if (part->token == Token::Flags) {
                        r_.readUInts(r_.readCount(4), p.flags);
                    } else {
                        unknown(*part);
                    }
                    r_.endBlock();
                }
                sub.primitives.push_back(std::move(p));
            } else {
                unknown(*h);
            }
            r_.endBlock();
        }
        if (seen != count)
            d_.warn(DiagCode::CountMismatch, parent.position,
                    "primitives: " + std::to_string(count) + " declared, " + std::to_string(seen) +
                        " found");
    }

    Reader& r_;
    Diagnostics& d_;
    Shape& s_;
};

} // namespace

ShapeResult readShape(std::span<const std::byte> bytes) {
    ShapeResult result;
    auto opened = openContainer(bytes);
    result.diagnostics.append(opened.diagnostics);
    if (!opened.ok())
        return result;
    const Container& container = opened.container;
    if (container.kind != PayloadKind::Jinx || container.fileType != 's') {
        result.diagnostics.error(DiagCode::WrongFileType, 0,
                                 container.kind == PayloadKind::Ace
                                     ? std::string("shape expected, texture found")
                                     : std::string("shape expected"));
        return result;
    }
    try {
        withBlockReader(container, result.diagnostics, [&](auto& reader) {
            ShapeParser(reader, result.diagnostics, result.shape).parseFile();
        });
    } catch (const ReadError& e) {
        result.diagnostics.error(e.code, e.position, e.what());
        result.shape = Shape{};
        return result;
    } catch (const std::bad_alloc&) {
        result.diagnostics.error(DiagCode::CountTooLarge, 0, "out of memory");
        result.shape = Shape{};
        return result;
    }
    validateShape(result.shape, result.diagnostics);
    return result;
}

} // namespace msts
