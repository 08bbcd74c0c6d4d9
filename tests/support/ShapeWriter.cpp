#include "support/ShapeWriter.h"

#include "msts/Token.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace fixtures {

using msts::Token;

namespace {

// The same calls write text or binary, so both forms are built from one walk of the shape.
class Sink {
public:
    virtual ~Sink() = default;
    virtual void open(Token token, const std::string& label = {}) = 0;
    virtual void close() = 0;
    virtual void integer(std::int64_t v) = 0;
    virtual void dword(std::uint32_t v) = 0;
    virtual void real(float v) = 0;
    virtual void string(const std::string& v) = 0;
    virtual void lineBreak() {}
};

class TextSink final : public Sink {
public:
    explicit TextSink(int digits) : digits_(digits) {}

    void open(Token token, const std::string& label) override {
        if (!fresh_)
            newLine();
        out_ += msts::tokenName(token);
        if (!label.empty())
            out_ += " " + label;
        out_ += " (";
        ++depth_;
        fresh_ = false;
    }
    void close() override {
        --depth_;
        out_ += " )";
    }
    void integer(std::int64_t v) override { out_ += " " + std::to_string(v); }
    void dword(std::uint32_t v) override {
        char buf[16];
        std::snprintf(buf, sizeof buf, " %08x", v);
        out_ += buf;
    }
    void real(float v) override {
        char buf[48];
        std::snprintf(buf, sizeof buf, "%.*g", digits_, static_cast<double>(v));
        // Write exponents the way the simulator's tools do: three digits.
        std::string text = buf;
        const auto e = text.find('e');
        if (e != std::string::npos) {
            const std::string sign = text.substr(e + 1, 1);
            std::string digits = text.substr(e + 2);
            while (digits.size() < 3)
                digits = "0" + digits;
            text = text.substr(0, e + 1) + sign + digits;
        }
        out_ += " " + text;
    }
    void string(const std::string& v) override {
        const bool bare = !v.empty() && v.find_first_of(" \t\r\n()\"") == std::string::npos;
        if (bare) {
            out_ += " " + v;
            return;
        }
        out_ += " \"";
        for (char c : v) {
            if (c == '"' || c == '\\')
                out_ += '\\';
            out_ += c;
        }
        out_ += "\"";
    }
    void lineBreak() override { newLine(); }

    std::string take() {
        out_ += "\r\n";
        return std::move(out_);
    }

private:
    void newLine() {
        out_ += "\r\n";
        out_.append(static_cast<std::size_t>(depth_), '\t');
    }

    int digits_;
    int depth_ = 0;
    bool fresh_ = true;
    std::string out_;
};

class BinarySink final : public Sink {
public:
    void open(Token token, const std::string& label) override {
        appendU16(out_, static_cast<std::uint16_t>(token));
        appendU16(out_, 0);
        starts_.push_back(out_.size());
        appendU32(out_, 0); // patched by close()
        const Bytes units = utf16le(label);
        out_.push_back(static_cast<std::byte>(units.size() / 2));
        appendBytes(out_, units);
    }
    void close() override {
        const std::size_t at = starts_.back();
        starts_.pop_back();
        const auto length = static_cast<std::uint32_t>(out_.size() - at - 4);
        for (int i = 0; i < 4; ++i)
            out_[at + static_cast<std::size_t>(i)] =
                static_cast<std::byte>((length >> (8 * i)) & 0xFF);
    }
    void integer(std::int64_t v) override { appendU32(out_, static_cast<std::uint32_t>(v)); }
    void dword(std::uint32_t v) override { appendU32(out_, v); }
    void real(float v) override {
        std::uint32_t bits;
        std::memcpy(&bits, &v, 4);
        appendU32(out_, bits);
    }
    void string(const std::string& v) override {
        const Bytes units = utf16le(v);
        appendU16(out_, static_cast<std::uint16_t>(units.size() / 2));
        appendBytes(out_, units);
    }

    Bytes take() { return std::move(out_); }

private:
    Bytes out_;
    std::vector<std::size_t> starts_;
};

class ShapeEmitter {
public:
    explicit ShapeEmitter(Sink& sink) : o_(sink) {}

    void shape(const msts::Shape& s) {
        o_.open(Token::Shape);
        o_.open(Token::ShapeHeader);
        o_.dword(s.flags1);
        o_.dword(s.flags2);
        o_.close();
        list(Token::Volumes, s.volumes, [&](const msts::VolumeSphere& v) {
            o_.open(Token::VolSphere);
            vector(v.centre);
            o_.real(v.radius);
            o_.close();
        });
        stringList(Token::ShaderNames, Token::NamedShader, s.shaderNames);
        stringList(Token::TextureFilterNames, Token::NamedFilterMode, s.filterNames);
        list(Token::Points, s.points, [&](const msts::Vec3& p) {
            o_.open(Token::Point);
            xyz(p);
            o_.close();
        });
        list(Token::UvPoints, s.uvPoints, [&](const msts::Vec2& uv) {
            o_.open(Token::UvPoint);
            o_.real(uv.u);
            o_.real(uv.v);
            o_.close();
        });
        list(Token::Normals, s.normals, [&](const msts::Vec3& n) { vector(n); });
        list(Token::SortVectors, s.sortVectors, [&](const msts::Vec3& n) { vector(n); });
        list(Token::Colours, s.colours, [&](const msts::Colour& c) {
            o_.open(Token::Colour);
            o_.real(c.a);
            o_.real(c.r);
            o_.real(c.g);
            o_.real(c.b);
            o_.close();
        });
        list(Token::Matrices, s.matrices, [&](const msts::Matrix& m) {
            o_.open(Token::Matrix, m.name);
            for (float v : m.m)
                o_.real(v);
            o_.close();
        });
        stringList(Token::Images, Token::Image, s.images);
        list(Token::Textures, s.textures, [&](const msts::Texture& t) {
            o_.open(Token::Texture);
            o_.integer(t.imageIndex);
            o_.integer(t.filterIndex);
            o_.real(t.mipLodBias);
            o_.dword(t.borderColour);
            o_.close();
        });
        list(Token::LightMaterials, s.lightMaterials, [&](const msts::LightMaterial& m) {
            o_.open(Token::LightMaterial);
            o_.dword(m.flags);
            o_.integer(m.diffuseColour);
            o_.integer(m.ambientColour);
            o_.integer(m.specularColour);
            o_.integer(m.emissiveColour);
            o_.real(m.specularPower);
            o_.close();
        });
        list(Token::LightModelCfgs, s.lightModelConfigs, [&](const msts::LightModelConfig& c) {
            o_.open(Token::LightModelCfg);
            o_.dword(c.flags);
            list(Token::UvOps, c.uvOps, [&](const msts::UvOp& op) {
                o_.open(static_cast<Token>(op.kind));
                o_.integer(op.textureAddressMode);
                if (static_cast<Token>(op.kind) == Token::UvOpCopy)
                    o_.integer(op.sourceUv);
                o_.close();
            });
            o_.close();
        });
        list(Token::VtxStates, s.vtxStates, [&](const msts::VtxState& v) {
            o_.open(Token::VtxState);
            o_.dword(v.flags);
            o_.integer(v.matrixIndex);
            o_.integer(v.lightMaterialIndex);
            o_.integer(v.lightConfigIndex);
            o_.dword(v.lightFlags);
            if (v.matrix2Index != -1)
                o_.integer(v.matrix2Index);
            o_.close();
        });
        list(Token::PrimStates, s.primStates, [&](const msts::PrimState& p) {
            o_.open(Token::PrimState, p.name);
            o_.dword(p.flags);
            o_.integer(p.shaderIndex);
            intList(Token::TexIdxs, p.textureIndices);
            o_.real(p.zBias);
            o_.integer(p.vtxStateIndex);
            o_.integer(p.alphaTestMode);
            o_.integer(p.lightConfigIndex);
            o_.integer(p.zBufferMode);
            o_.close();
        });
        list(Token::LodControls, s.lodControls, [&](const msts::LodControl& lod) {
            o_.open(Token::LodControl);
            o_.open(Token::DistanceLevelsHeader);
            o_.integer(lod.bias);
            o_.close();
            list(Token::DistanceLevels, lod.levels,
                 [&](const msts::DistanceLevel& level) { distanceLevel(level); });
            o_.close();
        });
        o_.close();
    }

private:
    template <typename T, typename F>
    void list(Token token, const std::vector<T>& items, F&& item) {
        o_.open(token);
        o_.integer(static_cast<std::int64_t>(items.size()));
        for (const auto& v : items)
            item(v);
        o_.close();
    }

    void stringList(Token token, Token child, const std::vector<std::string>& items) {
        list(token, items, [&](const std::string& v) {
            o_.open(child);
            o_.string(v);
            o_.close();
        });
    }

    template <typename T> void intList(Token token, const std::vector<T>& values) {
        o_.open(token);
        o_.integer(static_cast<std::int64_t>(values.size()));
        for (auto v : values)
            o_.integer(static_cast<std::int64_t>(v));
        o_.close();
    }

    void xyz(const msts::Vec3& v) {
        o_.real(v.x);
        o_.real(v.y);
        o_.real(v.z);
    }

    void vector(const msts::Vec3& v) {
        o_.open(Token::Vector);
        xyz(v);
        o_.close();
    }

    void distanceLevel(const msts::DistanceLevel& level) {
        o_.open(Token::DistanceLevel);
        o_.open(Token::DistanceLevelHeader);
        o_.open(Token::DlevelSelection);
        o_.real(level.selection);
        o_.close();
        intList(Token::Hierarchy, level.hierarchy);
        o_.close();
        list(Token::SubObjects, level.subObjects,
             [&](const msts::SubObject& sub) { subObject(sub); });
        o_.close();
    }

    void subObject(const msts::SubObject& sub) {
        o_.open(Token::SubObject);
        o_.open(Token::SubObjectHeader);
        o_.dword(sub.flags);
        o_.integer(sub.sortVectorIndex);
        o_.integer(sub.volumeIndex);
        o_.dword(sub.sourceVertexFormat);
        o_.dword(sub.destinationVertexFormat);
        o_.open(Token::GeometryInfo);
        for (int i = 0; i < 10; ++i)
            o_.integer(0);
        o_.open(Token::GeometryNodes);
        o_.integer(1);
        o_.open(Token::GeometryNode);
        for (int i = 0; i < 5; ++i)
            o_.integer(0);
        o_.open(Token::CullablePrims);
        for (int i = 0; i < 3; ++i)
            o_.integer(0);
        o_.close();
        o_.close();
        o_.close();
        intList(Token::GeometryNodeMap, std::vector<std::int32_t>{0});
        o_.close();
        intList(Token::SubobjectShaders, sub.shaders);
        intList(Token::SubobjectLightCfgs, sub.lightConfigs);
        if (sub.id >= 0)
            o_.integer(sub.id);
        o_.close();
        list(Token::Vertices, sub.vertices, [&](const msts::Vertex& v) {
            o_.open(Token::Vertex);
            o_.dword(v.flags);
            o_.integer(v.pointIndex);
            o_.integer(v.normalIndex);
            o_.dword(v.colour1);
            o_.dword(v.colour2);
            o_.open(Token::VertexUvs);
            o_.integer(v.uvCount);
            for (std::uint32_t i = 0; i < v.uvCount; ++i)
                o_.integer(v.uvIndex);
            o_.close();
            o_.close();
        });
        list(Token::VertexSets, sub.vertexSets, [&](const msts::VertexSet& set) {
            o_.open(Token::VertexSet);
            o_.integer(set.vtxStateIndex);
            o_.integer(set.firstVertex);
            o_.integer(set.vertexCount);
            o_.close();
        });
        // prim_state_idx blocks only where the state changes, as the tools write them.
        std::size_t blocks = 0;
        std::int32_t state = -2;
        for (const auto& p : sub.primitives) {
            blocks += p.primStateIndex != state ? 2 : 1;
            state = p.primStateIndex;
        }
        o_.open(Token::Primitives);
        o_.integer(static_cast<std::int64_t>(blocks));
        state = -2;
        for (const auto& p : sub.primitives) {
            if (p.primStateIndex != state) {
                o_.open(Token::PrimStateIdx);
                o_.integer(p.primStateIndex);
                o_.close();
                state = p.primStateIndex;
            }
            o_.open(Token::IndexedTrilist);
            intList(Token::VertexIdxs, p.indices);
            o_.open(Token::NormalIdxs);
            o_.integer(static_cast<std::int64_t>(p.faceNormalIndices.size()));
            for (auto n : p.faceNormalIndices) {
                o_.integer(n);
                o_.integer(3);
            }
            o_.close();
            o_.open(Token::Flags);
            o_.integer(static_cast<std::int64_t>(p.flags.size()));
            for (auto f : p.flags)
                o_.dword(f);
            o_.close();
            o_.close();
        }
        o_.close();
        o_.close();
    }

    Sink& o_;
};

} // namespace

std::string shapeText(const msts::Shape& shape, const ShapeWriteOptions& options) {
    TextSink sink(options.floatDigits);
    ShapeEmitter(sink).shape(shape);
    return sink.take();
}

Bytes wrapShapeText(const std::string& text, bool utf16) {
    const std::string all = "SIMISA@@@@@@@@@@JINX0s1t______\r\n\r\n" + text;
    if (!utf16)
        return cp1252(all);
    Bytes out{std::byte{0xFF}, std::byte{0xFE}};
    appendBytes(out, utf16le(all));
    return out;
}

Bytes writeShape(const msts::Shape& shape, ShapeForm form, const ShapeWriteOptions& options) {
    switch (form) {
    case ShapeForm::Utf16Text:
        return wrapShapeText(shapeText(shape, options), true);
    case ShapeForm::Text8: {
        Bytes out;
        if (options.strayLeadingLineBreak)
            appendAscii(out, "\r\n");
        appendBytes(out, wrapShapeText(shapeText(shape, options), false));
        return out;
    }
    case ShapeForm::CompressedText: {
        Bytes payload;
        appendAscii(payload, "JINX0s1t______\r\n\r\n");
        appendBytes(payload, cp1252(shapeText(shape, options)));
        return simisWrap(payload, true);
    }
    case ShapeForm::Binary:
    case ShapeForm::CompressedBinary: {
        BinarySink sink;
        ShapeEmitter(sink).shape(shape);
        Bytes payload;
        appendAscii(payload, "JINX0s1b______\r\n");
        appendBytes(payload, sink.take());
        return simisWrap(payload, form == ShapeForm::CompressedBinary);
    }
    }
    return {};
}

} // namespace fixtures
