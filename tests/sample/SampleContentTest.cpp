// The sample content as the programs meet it: written by the build, read back through the
// simulator file readers from the disk, drawn by the renderer.

#include "RenderModel.h"
#include "Vehicles.h"

#include "msts/Ace.h"
#include "msts/Container.h"
#include "msts/ShapeMesh.h"
#include "msts/ShapeReader.h"
#include "render/Renderer.h"
#include "render/ShapeModel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <numbers>
#include <optional>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const fs::path trainset = fs::path(PICTELLE_SAMPLE_DIR) / "MSTS" / "TRAINS" / "TRAINSET";

std::vector<std::byte> readBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<char> chars{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::vector<std::byte> bytes(chars.size());
    std::transform(chars.begin(), chars.end(), bytes.begin(),
                   [](char c) { return static_cast<std::byte>(c); });
    return bytes;
}

std::string lower(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// The file of a folder whose name equals `name` without regard to case, as the program's
// file layer finds it.
std::optional<fs::path> findIgnoringCase(const fs::path& folder, const std::string& name) {
    for (const auto& entry : fs::directory_iterator(folder))
        if (lower(entry.path().filename().string()) == lower(name))
            return entry.path();
    return std::nullopt;
}

// A definition file's text: UTF-16 after a byte-order mark, else one byte a character.
std::string definitionText(const std::vector<std::byte>& bytes, bool& utf16) {
    utf16 = bytes.size() >= 2 && bytes[0] == std::byte{0xff} && bytes[1] == std::byte{0xfe};
    std::string text;
    if (utf16) {
        for (std::size_t i = 2; i + 1 < bytes.size(); i += 2)
            text += bytes[i + 1] == std::byte{0} ? static_cast<char>(bytes[i]) : '?';
    } else {
        for (std::byte b : bytes)
            text += static_cast<char>(b);
    }
    return text;
}

struct FreightFiles {
    std::string named; // as the definition writes it
    fs::path shape;
    float height = 0; // where it is drawn: a tender's full level, else the origin
};

struct VehicleFiles {
    fs::path definition;
    bool utf16Definition = false;
    std::string shapeNamed; // as the definition writes it
    fs::path shape;
    fs::path texture;
    std::string textureNamed; // as the shape writes it
    std::vector<FreightFiles> freight;
};

VehicleFiles filesOf(const sample::Vehicle& v) {
    VehicleFiles f;
    const std::string fileName = v.name + (v.engine ? ".eng" : ".wag");
    for (const auto& folder : fs::directory_iterator(trainset))
        if (fs::exists(folder.path() / fileName))
            f.definition = folder.path() / fileName;
    if (f.definition.empty())
        return f;
    const std::string text = definitionText(readBytes(f.definition), f.utf16Definition);
    std::smatch match;
    if (std::regex_search(text, match, std::regex(R"(WagonShape \( (\S+) \))")))
        f.shapeNamed = match[1];
    if (auto shape = findIgnoringCase(f.definition.parent_path(), f.shapeNamed))
        f.shape = *shape;
    const bool tender = std::regex_search(text, std::regex(R"(Type \( Tender \))"));
    const std::regex freight(R"re(FreightAnim \( "?([^" ]+)"? ([-0-9.]+) ([-0-9.]+)( 1)? \))re");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), freight);
         it != std::sregex_iterator(); ++it) {
        FreightFiles load;
        load.named = (*it)[1];
        if (auto path = findIgnoringCase(f.definition.parent_path(), load.named))
            load.shape = *path;
        load.height = tender ? std::stof((*it)[2]) : 0.f;
        f.freight.push_back(load);
    }
    f.textureNamed = v.texture;
    if (auto texture = findIgnoringCase(f.definition.parent_path(), v.texture))
        f.texture = *texture;
    return f;
}

// A shape file of the vehicle's folder as a render model, its textures beside it.
// `options` choose the texture levels decoded: by default every level the files store.
// Unless `shareVertices`, every triangle corner is a vertex of its own.
render::Model modelFromFiles(const fs::path& shapePath, const fs::path& folder,
                             const msts::AceOptions& options, bool shareVertices = true) {
    const msts::ShapeResult shape = msts::readShape(readBytes(shapePath));
    msts::Mesh mesh = msts::buildMesh(shape.shape);
    if (!shareVertices)
        mesh.vertexCount = 0;
    return render::modelFromMesh(mesh,
                                 [&](const std::string& name) -> std::optional<msts::AceImage> {
                                     const auto path = findIgnoringCase(folder, name);
                                     if (!path)
                                         return std::nullopt;
                                     msts::AceResult ace = msts::readAce(readBytes(*path), options);
                                     if (!ace.ok())
                                         return std::nullopt;
                                     return std::move(ace.image);
                                 });
}

const render::Mat4 halfTurn = render::Mat4::rotationY(std::numbers::pi_v<float>);

// A model drawn as the preview draws a vehicle, framed on `sphere`.
render::RgbImage drawThumbnail(const render::Model& model, const render::BoundingSphere& sphere,
                               float length, float referenceRadius, bool shadeEverySample) {
    render::RenderSettings settings;
    settings.width = std::max(16, static_cast<int>(length * 7.415f));
    settings.height = 96;
    settings.background = {148, 198, 239};
    settings.shadeEverySample = shadeEverySample;
    return render::renderModel(
        model, halfTurn, render::Camera::sideView(sphere.centre, 2.4f * referenceRadius), settings);
}

// The thumbnail of a vehicle drawn from its files, as the preview draws it: framed on its own
// shape, its freight shapes in place when `withFreight`.
render::RgbImage thumbnailFromFiles(const VehicleFiles& f, float length, float referenceRadius,
                                    bool withFreight = true, const msts::AceOptions& options = {},
                                    bool shadeEverySample = false) {
    render::Model model = modelFromFiles(f.shape, f.definition.parent_path(), options);
    const render::BoundingSphere sphere = render::boundingSphere(model, halfTurn);
    if (withFreight)
        for (const FreightFiles& load : f.freight)
            render::appendModel(model,
                                modelFromFiles(load.shape, f.definition.parent_path(), options),
                                {0, load.height, 0});
    return drawThumbnail(model, sphere, length, referenceRadius, shadeEverySample);
}

const sample::Vehicle* byName(const std::vector<sample::Vehicle>& all, const std::string& name) {
    for (const sample::Vehicle& v : all)
        if (v.name == name)
            return &v;
    return nullptr;
}

class SampleContent : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        vehicles_ = new std::vector<sample::Vehicle>(sample::sampleVehicles());
    }
    static void TearDownTestSuite() {
        delete vehicles_;
        vehicles_ = nullptr;
    }
    static const std::vector<sample::Vehicle>& vehicles() { return *vehicles_; }
    static float referenceRadius() {
        return sample::thumbnailRadius(vehicles().front().model, vehicles().front().picture);
    }

private:
    static inline std::vector<sample::Vehicle>* vehicles_ = nullptr;
};

TEST_F(SampleContent, EveryVehicleReadsBackFromFilesNamedInAnotherCase) {
    ASSERT_EQ(vehicles().size(), 8u);
    for (const sample::Vehicle& v : vehicles()) {
        SCOPED_TRACE(v.name);
        const VehicleFiles f = filesOf(v);
        ASSERT_FALSE(f.definition.empty()) << "no definition file";
        ASSERT_FALSE(f.shape.empty()) << "shape " << f.shapeNamed << " not found";
        ASSERT_FALSE(f.texture.empty()) << "texture " << f.textureNamed << " not found";
        // On disk, the names differ in case from those the files give each other.
        EXPECT_NE(f.shape.filename().string(), f.shapeNamed);
        EXPECT_NE(f.texture.filename().string(), f.textureNamed);

        const msts::ShapeResult shape = msts::readShape(readBytes(f.shape));
        ASSERT_TRUE(shape.ok());
        ASSERT_EQ(shape.shape.images.size(), 1u);
        EXPECT_EQ(shape.shape.images[0], v.texture);
        EXPECT_EQ(msts::buildMesh(shape.shape).triangles.size(), v.model.triangleCount());

        const msts::AceResult ace = msts::readAce(readBytes(f.texture));
        ASSERT_TRUE(ace.ok());
        EXPECT_EQ(ace.image.width, 512u);
        EXPECT_EQ(ace.image.height, 512u);

        // Each freight shape the design carries is named by the definition and found.
        ASSERT_EQ(f.freight.size(), v.freight.size());
        for (std::size_t k = 0; k < v.freight.size(); ++k) {
            EXPECT_EQ(f.freight[k].named, v.freight[k].shape);
            ASSERT_FALSE(f.freight[k].shape.empty()) << v.freight[k].shape << " not found";
            EXPECT_NE(f.freight[k].shape.filename().string(), f.freight[k].named);
            const msts::ShapeResult load = msts::readShape(readBytes(f.freight[k].shape));
            ASSERT_TRUE(load.ok());
            EXPECT_EQ(msts::buildMesh(load.shape).triangles.size(),
                      v.freight[k].model.triangleCount());
        }
    }
}

TEST_F(SampleContent, HoldsEveryStorageFormTheReadersAccept) {
    std::set<std::pair<msts::Encoding, bool>> shapeForms;
    std::set<std::pair<msts::AceFormat, bool>> textureForms; // format, has alpha
    bool compressedTexture = false, utf16Definition = false, plainDefinition = false;
    for (const sample::Vehicle& v : vehicles()) {
        const VehicleFiles f = filesOf(v);
        ASSERT_FALSE(f.shape.empty()) << v.name;
        (f.utf16Definition ? utf16Definition : plainDefinition) = true;
        const auto shapeBytes = readBytes(f.shape);
        const msts::ContainerResult shape = msts::openContainer(shapeBytes);
        ASSERT_TRUE(shape.ok()) << v.name;
        shapeForms.insert({shape.container.encoding, shape.container.compressed});
        const auto textureBytes = readBytes(f.texture);
        const msts::ContainerResult texture = msts::openContainer(textureBytes);
        ASSERT_TRUE(texture.ok()) << v.name;
        compressedTexture |= texture.container.compressed;
        const msts::AceResult ace = msts::readAce(textureBytes);
        textureForms.insert({ace.image.format, ace.image.hasAlpha});
    }
    EXPECT_TRUE(utf16Definition);
    EXPECT_TRUE(plainDefinition);
    for (auto form :
         {std::pair{msts::Encoding::Utf16Text, false}, std::pair{msts::Encoding::Text8, false},
          std::pair{msts::Encoding::Binary, false}, std::pair{msts::Encoding::Binary, true},
          std::pair{msts::Encoding::Text8, true}})
        EXPECT_TRUE(shapeForms.count(form))
            << "shape form missing: encoding " << static_cast<int>(form.first) << " compressed "
            << form.second;
    EXPECT_TRUE(textureForms.count({msts::AceFormat::Dxt1, false}));
    EXPECT_TRUE(textureForms.count({msts::AceFormat::Planar, true}));
    EXPECT_TRUE(compressedTexture);
}

TEST_F(SampleContent, FilesDrawLikeTheDesigns) {
    const float reference = referenceRadius();
    for (const sample::Vehicle& v : vehicles()) {
        SCOPED_TRACE(v.name);
        const render::RgbImage fromFiles = thumbnailFromFiles(filesOf(v), v.length, reference);
        const render::RgbImage designed =
            sample::thumbnail(sample::drawnParts(v), v.length, reference);
        ASSERT_EQ(fromFiles.width, designed.width);
        ASSERT_EQ(fromFiles.height, designed.height);
        // DXT1 loses a little colour; a wrong winding, uv, part placement or alpha cut loses
        // whole areas.
        double total = 0;
        int far = 0;
        for (std::size_t i = 0; i < designed.rgb.size(); ++i) {
            const int d = std::abs(int(fromFiles.rgb[i]) - int(designed.rgb[i]));
            total += d;
            far += d > 64;
        }
        EXPECT_LT(total / double(designed.rgb.size()), 4.0);
        EXPECT_LT(far, int(designed.rgb.size() / 100));
    }
}

// Corners of one vertex are placed once for all their triangles: the same bytes as placing
// every corner on its own, from fewer vertices.
TEST_F(SampleContent, SharedVerticesDrawTheSameBytesAsAVertexPerCorner) {
    const float reference = referenceRadius();
    for (const sample::Vehicle& v : vehicles()) {
        SCOPED_TRACE(v.name);
        const VehicleFiles f = filesOf(v);
        const fs::path folder = f.definition.parent_path();
        const render::Model shared = modelFromFiles(f.shape, folder, {});
        const render::Model perCorner = modelFromFiles(f.shape, folder, {}, false);
        EXPECT_LT(shared.vertices.size(), perCorner.vertices.size());
        ASSERT_EQ(shared.triangleCount(), perCorner.triangleCount());
        const render::BoundingSphere sphere = render::boundingSphere(perCorner, halfTurn);
        EXPECT_EQ(drawThumbnail(shared, sphere, v.length, reference, false).rgb,
                  drawThumbnail(perCorner, sphere, v.length, reference, false).rgb);
    }
}

// The smaller mip levels the files store (DXT-compressed each on its own) against levels
// averaged down from the full-size picture, as thumbnails were drawn before: the stated
// tolerance is a step of at most 12 in any channel on at most 5% of the pixels.
TEST_F(SampleContent, StoredMipLevelsDrawWithinToleranceOfLevelsBuiltFromTheFullPicture) {
    const float reference = referenceRadius();
    msts::AceOptions fullPictureOnly;
    fullPictureOnly.firstLevelOnly = true;
    int differing = 0, pixels = 0, worst = 0;
    for (const sample::Vehicle& v : vehicles()) {
        const VehicleFiles files = filesOf(v);
        const render::RgbImage stored = thumbnailFromFiles(files, v.length, reference);
        const render::RgbImage built =
            thumbnailFromFiles(files, v.length, reference, true, fullPictureOnly);
        ASSERT_EQ(stored.rgb.size(), built.rgb.size());
        for (std::size_t i = 0; i < stored.rgb.size(); i += 3) {
            int d = 0;
            for (std::size_t c = 0; c < 3; ++c)
                d = std::max(d, std::abs(int(stored.rgb[i + c]) - int(built.rgb[i + c])));
            worst = std::max(worst, d);
            differing += d > 0;
            ++pixels;
        }
    }
    EXPECT_LE(worst, 12);
    EXPECT_LE(differing, pixels / 20);
    EXPECT_GT(differing, 0) << "the stored levels are not used";
}

// Opaque surfaces shaded once per 2 × 2 square of samples against every sample shaded on its
// own, as thumbnails were drawn before. The stated tolerance, per vehicle: a mean difference
// of at most 0.75 of 255 per channel, at most 5% of the pixels off by more than 8 in some
// channel (texel edges of lettering and lining), and no pixel off by more than 96.
TEST_F(SampleContent, SharedShadingStaysWithinToleranceOfShadingEverySample) {
    const float reference = referenceRadius();
    int differing = 0;
    for (const sample::Vehicle& v : vehicles()) {
        SCOPED_TRACE(v.name);
        const VehicleFiles files = filesOf(v);
        const render::RgbImage shared = thumbnailFromFiles(files, v.length, reference);
        const render::RgbImage every =
            thumbnailFromFiles(files, v.length, reference, true, {}, true);
        ASSERT_EQ(shared.rgb.size(), every.rgb.size());
        int worst = 0, far = 0;
        double sum = 0;
        for (std::size_t i = 0; i < shared.rgb.size(); i += 3) {
            int d = 0;
            for (std::size_t c = 0; c < 3; ++c) {
                const int step = std::abs(int(shared.rgb[i + c]) - int(every.rgb[i + c]));
                d = std::max(d, step);
                sum += step;
            }
            worst = std::max(worst, d);
            far += d > 8;
            differing += d > 0;
        }
        EXPECT_LE(sum / double(shared.rgb.size()), 0.75);
        EXPECT_LE(far, int(shared.rgb.size() / 3 / 20));
        EXPECT_LE(worst, 96);
    }
    EXPECT_GT(differing, 0) << "both drawings shaded every sample";
}

// Front at the left: the diesel's yellow nose and the steam engine's red buffer beam.
TEST_F(SampleContent, ThumbnailsShowTheFrontAtTheLeft) {
    const float reference = referenceRadius();
    auto count = [](const render::RgbImage& p, int x0, int x1, auto match) {
        int n = 0;
        for (int y = 0; y < p.height; ++y)
            for (int x = x0; x < x1; ++x)
                n += match(p.pixel(x, y));
        return n;
    };
    const sample::Vehicle& diesel = vehicles()[0];
    const render::RgbImage d =
        sample::thumbnail(diesel.model, diesel.picture, diesel.length, reference);
    const auto yellow = [](render::Rgb c) {
        return c.r > 180 && c.g > 130 && c.b < 90;
    };
    EXPECT_GT(count(d, 0, d.width / 5, yellow), 3 * count(d, d.width * 4 / 5, d.width, yellow));
    EXPECT_GT(count(d, 0, d.width / 5, yellow), 20);

    const sample::Vehicle& steam = vehicles()[1];
    ASSERT_EQ(steam.name, "CR_460");
    const render::RgbImage s =
        sample::thumbnail(steam.model, steam.picture, steam.length, reference);
    const auto red = [](render::Rgb c) {
        return c.r > 110 && c.g < 50 && c.b < 50;
    };
    EXPECT_GT(count(s, 0, s.width / 6, red), 0);
    EXPECT_EQ(count(s, s.width / 2, s.width, red), 0);
}

// The pack: two cars on one body shape, told apart by the number each carries on a freight
// shape. Their pictures differ only where the numbers are, and each shows figures there.
TEST_F(SampleContent, PackCarsShareOneBodyAndEachShowsItsOwnNumber) {
    const float reference = referenceRadius();
    const sample::Vehicle* first = byName(vehicles(), "CRBox_4101");
    const sample::Vehicle* second = byName(vehicles(), "CRBox_4102");
    ASSERT_TRUE(first && second);
    const VehicleFiles a = filesOf(*first), b = filesOf(*second);
    ASSERT_FALSE(a.shape.empty());
    EXPECT_EQ(a.shape, b.shape) << "the two cars share one body shape file";
    ASSERT_EQ(a.freight.size(), 1u);
    ASSERT_EQ(b.freight.size(), 1u);
    EXPECT_NE(a.freight[0].shape, b.freight[0].shape);

    const render::RgbImage pa = thumbnailFromFiles(a, first->length, reference);
    const render::RgbImage pb = thumbnailFromFiles(b, second->length, reference);
    const render::RgbImage body = thumbnailFromFiles(a, first->length, reference, false);
    ASSERT_EQ(pa.width, pb.width);
    // Light figures on the darker body: what the number adds to the bare body, per car.
    const auto figures = [&](const render::RgbImage& p, int& minX, int& maxX) {
        int n = 0;
        minX = p.width;
        maxX = -1;
        for (int y = 0; y < p.height; ++y)
            for (int x = 0; x < p.width; ++x) {
                const render::Rgb c = p.pixel(x, y), bare = body.pixel(x, y);
                if (c.r > bare.r + 50 && c.g > bare.g + 50) {
                    ++n;
                    minX = std::min(minX, x);
                    maxX = std::max(maxX, x);
                }
            }
        return n;
    };
    int aMin = 0, aMax = 0, bMin = 0, bMax = 0;
    EXPECT_GT(figures(pa, aMin, aMax), 15);
    EXPECT_GT(figures(pb, bMin, bMax), 15);
    // Toward the rear, which the thumbnail shows at the right.
    EXPECT_GT(aMin, pa.width / 2);
    EXPECT_GT(bMin, pb.width / 2);

    int differing = 0, outside = 0;
    for (int y = 0; y < pa.height; ++y)
        for (int x = 0; x < pa.width; ++x)
            if (!(pa.pixel(x, y) == pb.pixel(x, y))) {
                ++differing;
                outside += x < std::min(aMin, bMin) - 2 || x > std::max(aMax, bMax) + 2;
            }
    EXPECT_GT(differing, 5) << "the two cars got the same picture";
    EXPECT_EQ(outside, 0) << "the cars differ beyond their numbers";
}

// The tender's coal is a freight shape drawn at its full level: it adds to the picture only
// above the tank, and the tender without it shows no coal there.
TEST_F(SampleContent, TenderCoalIsAFreightShapeDrawnFullOnTheTank) {
    const sample::Vehicle* tender = byName(vehicles(), "CR_460_Tender");
    ASSERT_TRUE(tender);
    const VehicleFiles f = filesOf(*tender);
    ASSERT_EQ(f.freight.size(), 1u);
    EXPECT_FLOAT_EQ(f.freight[0].height, 3.3f);

    const float reference = referenceRadius();
    const render::RgbImage full = thumbnailFromFiles(f, tender->length, reference);
    const render::RgbImage bare = thumbnailFromFiles(f, tender->length, reference, false);
    // The top of the green tank side.
    int tankTop = full.height;
    for (int y = 0; y < full.height && tankTop == full.height; ++y)
        for (int x = 0; x < full.width; ++x) {
            const render::Rgb c = full.pixel(x, y);
            if (c.g > c.r + 30 && c.g > c.b + 20 && c.g < 160) {
                tankTop = y;
                break;
            }
        }
    ASSERT_LT(tankTop, full.height);
    int added = 0, below = 0;
    for (int y = 0; y < full.height; ++y)
        for (int x = 0; x < full.width; ++x)
            if (!(full.pixel(x, y) == bare.pixel(x, y))) {
                ++added;
                below += y > tankTop;
            }
    EXPECT_GT(added, 40);
    EXPECT_EQ(below, 0);
}

} // namespace
