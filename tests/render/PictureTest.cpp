#include "PictureCompare.h"
#include "SceneBuilder.h"

#include "render/Renderer.h"
#include "support/PixelBlob.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>

using namespace render;
using namespace testscene;

namespace {

bool near(Rgb a, Rgb b, int tolerance) {
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
           std::abs(a.b - b.b) <= tolerance;
}

using fixtures::Blob;

// Mean position of the pixels close to a colour; count 0 when there are none.
Blob find(const RgbImage& image, Rgb colour, int tolerance) {
    return fixtures::blobWhere(image, [&](Rgb p) { return near(p, colour, tolerance); });
}

Material unlit(Rgb colour, BlendMode blend = BlendMode::Opaque) {
    Material m;
    m.colour = colour;
    m.lit = false;
    m.blend = blend;
    return m;
}

// A square facing +X (the camera of a side view from +X), `size` metres, centred on
// (x, 0, zOffset); its texture reads left to right for that viewer (+Z is to the right).
void addFacingQuad(Model& m, float x, float size, std::uint32_t material, float zOffset = 0) {
    const float h = size / 2;
    addQuad(m, {x, h, zOffset - h}, {x, h, zOffset + h}, {x, -h, zOffset + h}, {x, -h, zOffset - h},
            {1, 0, 0}, material);
}

// Settings of a side view from +X at `distance`, looking at the origin.
View frontView(float distance, int width, int height, int samples = 4) {
    View v;
    v.world = Mat4::identity();
    v.camera = Camera::sideView({0, 0, 0}, distance);
    v.settings.width = width;
    v.settings.height = height;
    v.settings.background = kBackground;
    v.settings.samplesPerAxis = samples;
    return v;
}

RgbImage draw(const Model& m, const View& v) {
    return renderModel(m, v.world, v.camera, v.settings);
}

const Rgb kRed{220, 20, 20};
const Rgb kBlue{20, 20, 220};
const Rgb kGreen{20, 200, 20};

} // namespace

// --- Which way the picture faces -------------------------------------------------------

TEST(PictureOrientationTest, VehicleFrontIsAtTheLeftAndItsRoofAtTheTop) {
    Model m = vehicle();
    // A red marker standing on the roof at the front end (+Z) of the vehicle, on both sides.
    const auto marker = addMaterial(m, unlit(kRed));
    addQuad(m, {-1.6f, 5, 10}, {-1.6f, 5, 7}, {-1.6f, 4, 7}, {-1.6f, 4, 10}, {-1, 0, 0}, marker);
    addQuad(m, {1.6f, 5, 7}, {1.6f, 5, 10}, {1.6f, 4, 10}, {1.6f, 4, 7}, {1, 0, 0}, marker);

    const RgbImage image = renderPreview(m);
    const Blob front = find(image, kRed, 3);
    ASSERT_GT(front.count, 10);
    EXPECT_LT(front.x, image.width / 4.0) << "the front end should be at the left";
    const Blob skirt = find(image, Rgb{230, 200, 0}, 60);
    ASSERT_GT(skirt.count, 10);
    EXPECT_LT(front.y, skirt.y) << "the roof should be above the skirt";
}

TEST(PictureOrientationTest, SideLetteringReadsLeftToRight) {
    // The side texture has its lettering in the upper-left quarter, as an author paints it
    // for a reader standing outside the vehicle's left side.
    VehicleColours colours;
    const RgbImage image = renderPreview(vehicle(colours));
    const Blob lettering = find(image, Rgb{176, 26, 26}, 40); // red, lit
    const Blob body = find(image, Rgb{35, 35, 141}, 40);
    ASSERT_GT(lettering.count, 50);
    ASSERT_GT(body.count, 50);
    EXPECT_LT(lettering.x, body.x) << "lettering is mirrored";
}

TEST(PictureOrientationTest, TextureIsNotMirroredOnAQuadFacingTheCamera) {
    Model m;
    m.textures.push_back(makeTexture(8, 8, [](int x, int y) {
        if (y < 4)
            return x < 4 ? kRed : kBlue;
        return kGreen;
    }));
    Material textured = unlit({255, 255, 255});
    textured.texture = 0;
    addFacingQuad(m, 0, 2, addMaterial(m, textured));
    const RgbImage image = draw(m, frontView(6, 64, 64));
    const Blob red = find(image, kRed, 10), blue = find(image, kBlue, 10),
               green = find(image, kGreen, 10);
    ASSERT_GT(red.count, 0);
    ASSERT_GT(blue.count, 0);
    ASSERT_GT(green.count, 0);
    EXPECT_LT(red.x, blue.x);
    EXPECT_LT(red.y, green.y);
}

// --- Coverage, size and background -----------------------------------------------------

TEST(PictureCoverageTest, PictureHasExactlyTheRequestedSize) {
    const Model m = vehicle();
    for (auto [w, h] :
         {std::pair{145, 96}, std::pair{16, 96}, std::pair{1, 1}, std::pair{333, 7}}) {
        const RgbImage image = renderPreview(m, w, h);
        EXPECT_EQ(image.width, w);
        EXPECT_EQ(image.height, h);
        EXPECT_EQ(image.rgb.size(), std::size_t(w) * std::size_t(h) * 3);
    }
    EXPECT_EQ(renderPreview(m, 0, 96).rgb.size(), 0u);
}

TEST(PictureCoverageTest, UncoveredPixelsHoldExactlyTheBackground) {
    const RgbImage empty = renderPreview(Model{});
    for (int y = 0; y < empty.height; ++y)
        for (int x = 0; x < empty.width; ++x)
            ASSERT_EQ(empty.pixel(x, y), kBackground);

    // The vehicle spans 0.5 m to 4 m around a centre at 2.25 m: rows well above its roof and
    // below its floor are untouched.
    const View v = previewView(vehicle());
    const RgbImage image = draw(vehicle(), v);
    // The near long edges (world +X after the half-turn) stand out farthest.
    const int roof = int(std::floor(projectToPixels({1.5f, 4, 0}, v.camera, 145, 96).y));
    const int floor = int(std::ceil(projectToPixels({1.5f, 0.5f, 0}, v.camera, 145, 96).y));
    ASSERT_GT(roof, 5);
    ASSERT_LT(floor, 90);
    for (int x = 0; x < image.width; ++x) {
        for (int y = 0; y < roof - 1; ++y)
            ASSERT_EQ(image.pixel(x, y), kBackground) << x << "," << y;
        for (int y = floor + 1; y < image.height; ++y)
            ASSERT_EQ(image.pixel(x, y), kBackground) << x << "," << y;
    }
}

TEST(PictureCoverageTest, EdgesAreSmoothedWithAtLeastSixteenSamplesAPixel) {
    // A black quad whose left edge falls a quarter of the way into pixel column 10: that
    // pixel is three quarters black. Without supersampling it would be all or nothing.
    const int size = 40;
    const float distance = 6;
    const float focal = (size / 2.0f) / std::tan(15.0f * 3.14159265f / 180.0f);
    const float edgeZ = (10.25f - size / 2.0f) * distance / focal; // +Z is to the right
    Model m;
    const auto black = addMaterial(m, unlit({0, 0, 0}));
    addQuad(m, {0, 1, edgeZ}, {0, 1, 1}, {0, -1, 1}, {0, -1, edgeZ}, {1, 0, 0}, black);
    const View v = frontView(distance, size, size);
    const Rgb p = draw(m, v).pixel(10, 20);
    const Rgb quarterBackground{std::uint8_t(std::lround(kBackground.r * 0.25)),
                                std::uint8_t(std::lround(kBackground.g * 0.25)),
                                std::uint8_t(std::lround(kBackground.b * 0.25))};
    EXPECT_TRUE(near(p, quarterBackground, 1)) << int(p.r) << " " << int(p.g) << " " << int(p.b);

    View single = v;
    single.settings.samplesPerAxis = 1;
    const Rgb hard = draw(m, single).pixel(10, 20);
    EXPECT_TRUE((hard == kBackground || hard == Rgb{0, 0, 0}));
}

TEST(PictureCoverageTest, SharedEdgesAreNeitherOpenNorDrawnTwice) {
    // Half-transparent white over the background: a sample covered twice along the quad's
    // diagonal would come out lighter, a sample left open darker.
    Model m;
    m.textures.push_back(makeTexture(
        2, 2,
        [](int, int) {
            return Rgb{255, 255, 255};
        },
        [](int, int) { return 128; }));
    Material half = unlit({255, 255, 255}, BlendMode::AlphaBlend);
    half.texture = 0;
    addFacingQuad(m, 0, 2, addMaterial(m, half));
    // A slanted copy rotated in its plane, so that its diagonal crosses samples at odd places.
    const RgbImage image = draw(m, frontView(4, 64, 64));
    const Rgb centre = image.pixel(32, 32);
    for (int y = 20; y < 44; ++y)
        for (int x = 20; x < 44; ++x)
            ASSERT_EQ(image.pixel(x, y), centre) << x << "," << y;
}

TEST(PictureCoverageTest, SameInputGivesTheSameBytes) {
    const Model m = vehicle();
    EXPECT_EQ(renderPreview(m).rgb, renderPreview(m).rgb);
}

// --- Depth, alpha test, blending ---------------------------------------------------------

TEST(PictureDepthTest, NearerSurfaceHidesFartherOneWhateverTheOrder) {
    for (bool nearFirst : {true, false}) {
        Model m;
        const auto green = addMaterial(m, unlit(kGreen));
        const auto red = addMaterial(m, unlit(kRed));
        if (nearFirst) {
            addFacingQuad(m, 1, 2, green);
            addFacingQuad(m, 0, 3, red);
        } else {
            addFacingQuad(m, 0, 3, red);
            addFacingQuad(m, 1, 2, green);
        }
        const RgbImage image = draw(m, frontView(8, 32, 32));
        EXPECT_EQ(image.pixel(16, 16), kGreen) << "near first: " << nearFirst;
    }
}

TEST(PictureDepthTest, CoplanarSurfacesShowTheFirstListed) {
    // Each sample is shaded once, at the nearest depth: a later surface at exactly that depth
    // must not replace the one listed first.
    for (bool redFirst : {true, false}) {
        Model m;
        const auto green = addMaterial(m, unlit(kGreen));
        const auto red = addMaterial(m, unlit(kRed));
        addFacingQuad(m, 0, 3, redFirst ? red : green);
        addFacingQuad(m, 0, 3, redFirst ? green : red);
        const RgbImage image = draw(m, frontView(8, 32, 32));
        EXPECT_EQ(image.pixel(16, 16), redFirst ? kRed : kGreen) << "red first: " << redFirst;
    }
}

TEST(PictureAlphaTest, AlphaTestedHoleShowsTheBackgroundAndOpaqueIgnoresAlpha) {
    auto hole = [](int x, int y) -> std::uint8_t {
        return (x >= 4 && x < 12 && y >= 4 && y < 12) ? 0 : 255;
    };
    for (BlendMode mode : {BlendMode::AlphaTest, BlendMode::Opaque}) {
        Model m;
        m.textures.push_back(makeTexture(
            16, 16, [](int, int) { return kRed; }, hole));
        Material fence = unlit({255, 255, 255}, mode);
        fence.texture = 0;
        addFacingQuad(m, 0, 2, addMaterial(m, fence));
        const RgbImage image = draw(m, frontView(4, 64, 64));
        if (mode == BlendMode::AlphaTest)
            EXPECT_EQ(image.pixel(32, 32), kBackground);
        else
            EXPECT_EQ(image.pixel(32, 32), kRed);
        EXPECT_EQ(image.pixel(6, 32), kRed); // the frame around the hole
    }
}

TEST(PictureAlphaTest, AlphaTestedHoleShowsWhatLiesBehind) {
    Model m;
    m.textures.push_back(makeTexture(
        16, 16, [](int, int) { return kRed; },
        [](int x, int y) -> std::uint8_t {
            return (x >= 4 && x < 12 && y >= 4 && y < 12) ? 0 : 255;
        }));
    Material fence = unlit({255, 255, 255}, BlendMode::AlphaTest);
    fence.texture = 0;
    addFacingQuad(m, 1, 2, addMaterial(m, fence)); // in front, drawn first
    addFacingQuad(m, 0, 3, addMaterial(m, unlit(kBlue)));
    const RgbImage image = draw(m, frontView(6, 64, 64));
    EXPECT_EQ(image.pixel(32, 32), kBlue);
}

TEST(PictureBlendTest, BlendedPartsMixWithWhatLiesBehindEvenWhenListedFirst) {
    Model m;
    m.textures.push_back(makeTexture(
        2, 2,
        [](int, int) {
            return Rgb{255, 0, 0};
        },
        [](int, int) { return 128; }));
    Material glass = unlit({255, 255, 255}, BlendMode::AlphaBlend);
    glass.texture = 0;
    addFacingQuad(m, 1, 2, addMaterial(m, glass));                  // listed first, in front
    addFacingQuad(m, 0, 3, addMaterial(m, unlit({0, 0, 255})));     // opaque, behind
    addFacingQuad(m, -1, 0.5f, addMaterial(m, unlit({0, 255, 0}))); // hidden far behind
    const RgbImage image = draw(m, frontView(8, 32, 32));
    const Rgb mixed = image.pixel(16, 16);
    EXPECT_TRUE(near(mixed, Rgb{128, 0, 127}, 2))
        << int(mixed.r) << " " << int(mixed.g) << " " << int(mixed.b);
}

TEST(PictureBlendTest, BlendedLayersAreDrawnFarthestFirst) {
    // Two half-transparent layers: red in front of green. Back to front gives more red than
    // green; the other order would give the reverse.
    Model m;
    for (Rgb c : {Rgb{255, 0, 0}, Rgb{0, 255, 0}})
        m.textures.push_back(makeTexture(
            2, 2, [c](int, int) { return c; }, [](int, int) { return 128; }));
    Material red = unlit({255, 255, 255}, BlendMode::AlphaBlend);
    red.texture = 0;
    Material green = red;
    green.texture = 1;
    addFacingQuad(m, 1, 2, addMaterial(m, red));
    addFacingQuad(m, 0, 2, addMaterial(m, green));
    const RgbImage image = draw(m, frontView(8, 32, 32));
    const Rgb p = image.pixel(16, 16);
    EXPECT_GT(p.r, p.g);
}

// --- Lighting ----------------------------------------------------------------------------

TEST(PictureLightingTest, LightComesFromTheCameraSideAndFromAbove) {
    Model m;
    Material grey;
    grey.colour = {200, 200, 200};
    const auto mat = addMaterial(m, grey);
    // Left square faces the camera, right square faces away (normal only; same plane).
    addQuad(m, {0, 1, -2.5f}, {0, 1, -0.5f}, {0, -1, -0.5f}, {0, -1, -2.5f}, {1, 0, 0}, mat);
    addQuad(m, {0, 1, 0.5f}, {0, 1, 2.5f}, {0, -1, 2.5f}, {0, -1, 0.5f}, {-1, 0, 0}, mat);
    View v = frontView(12, 64, 32);
    const RgbImage lit = draw(m, v);
    const Rgb facing = lit.pixel(24, 16), away = lit.pixel(40, 16);
    EXPECT_GT(facing.r, away.r + 40);
    EXPECT_GT(away.r, 40) << "ambient light keeps the far side visible";

    // With the light straight overhead both vertical faces get only the ambient light.
    v.settings.lightElevationDegrees = 90;
    const RgbImage overhead = draw(m, v);
    EXPECT_NEAR(overhead.pixel(24, 16).r, overhead.pixel(40, 16).r, 1);
    EXPECT_LT(overhead.pixel(24, 16).r, facing.r);
}

TEST(PictureLightingTest, UnlitMaterialsKeepTheirTextureColour) {
    Model m;
    addFacingQuad(m, 0, 2, addMaterial(m, unlit({90, 140, 210})));
    const RgbImage image = draw(m, frontView(4, 16, 16));
    EXPECT_EQ(image.pixel(8, 8), (Rgb{90, 140, 210}));
}

// --- Textures ----------------------------------------------------------------------------

TEST(PictureTextureTest, FineDetailFarAwayAveragesInsteadOfFlickering) {
    // A one-texel black and white checker seen from far away: mip-mapping turns it grey.
    Model m;
    m.textures.push_back(makeTexture(256, 256, [](int x, int y) {
        return ((x + y) % 2) ? Rgb{255, 255, 255} : Rgb{0, 0, 0};
    }));
    Material checker = unlit({255, 255, 255});
    checker.texture = 0;
    addFacingQuad(m, 0, 2, addMaterial(m, checker));
    const RgbImage image = draw(m, frontView(60, 64, 64));
    for (int y = 30; y < 34; ++y)
        for (int x = 30; x < 34; ++x)
            EXPECT_NEAR(image.pixel(x, y).r, 128, 12) << x << "," << y;
}

TEST(PictureTextureTest, FootprintsTellHowFinelyEachTextureIsSampled) {
    // A 2 m square facing the camera 10 m away, in a picture of 64 × 64 pixels of 4 × 4
    // samples: the 30° view is 2·10·tan 15° = 5.36 m high, so the square spans 95.5 samples
    // and its texture coordinates step by 1/95.5 from one sample to the next.
    Model m;
    for (int i = 0; i < 4; ++i)
        m.textures.push_back(makeTexture(4, 4, [](int, int) { return kRed; }));
    std::uint32_t material[4];
    for (int i = 0; i < 4; ++i) {
        Material textured = unlit({255, 255, 255});
        textured.texture = i;
        material[i] = addMaterial(m, textured);
    }
    addFacingQuad(m, 0, 2, material[0]);
    addFacingQuad(m, 0, 2, material[2], 40); // far off to the side: outside the picture
    // From 5 m before the eye to 2 m behind it: across the near plane.
    addQuad(m, {5, 1, 0.5f}, {12, 1, 0.5f}, {12, -1, 0.5f}, {5, -1, 0.5f}, {0, 0, 1}, material[3]);
    const View v = frontView(10, 64, 64);
    const std::vector<float> steps = textureFootprints(m, v.world, v.camera, v.settings);
    ASSERT_EQ(steps.size(), 4u);
    EXPECT_NEAR(steps[0], 1 / 95.5, 1 / 95.5 * 0.02);
    EXPECT_TRUE(std::isinf(steps[1])) << "no triangle uses it";
    EXPECT_TRUE(std::isinf(steps[2])) << "drawn nowhere in the picture";
    EXPECT_EQ(steps[3], 0.0f) << "a triangle through the near plane can be sampled at any rate";

    // Seen at a slant, the nearest corner's step counts: the square turned 60° about Y steps
    // twice as fast along the picture's width, but its near edge is closer to the eye.
    Model slanted;
    slanted.textures.push_back(m.textures[0]);
    slanted.materials.push_back(m.materials[0]);
    const float c = 0.5f, s = 0.866f;
    addQuad(slanted, {-s, 1, -c}, {s, 1, c}, {s, -1, c}, {-s, -1, -c}, {c, 0, -s}, 0);
    const float slant = textureFootprints(slanted, v.world, v.camera, v.settings)[0];
    EXPECT_GT(slant, steps[0] * 1.6f);
    EXPECT_LT(slant, steps[0] * 2.0f);

    // The level decoded: the one the rasterizer picks at that step, one finer as a margin.
    EXPECT_EQ(finestMipLevel(steps[0], 256, 256), 0);   // 2.7 texels a sample: level 1, less 1
    EXPECT_EQ(finestMipLevel(steps[0], 1024, 1024), 2); // 10.7: level 3, less 1
    EXPECT_EQ(finestMipLevel(steps[0], 1024, 256), 0);  // the shorter side counts
    EXPECT_EQ(finestMipLevel(0, 4096, 4096), 0);
    EXPECT_EQ(finestMipLevel(std::numeric_limits<float>::infinity(), 64, 64), -1);
    EXPECT_EQ(finestMipLevel(std::numeric_limits<float>::quiet_NaN(), 64, 64), 0);
}

TEST(PictureTextureTest, CoordinatesOutsideZeroToOneWrap) {
    Model m;
    m.textures.push_back(makeTexture(4, 4, [](int x, int) { return x < 2 ? kRed : kBlue; }));
    Material wrapped = unlit({255, 255, 255});
    wrapped.texture = 0;
    addFacingQuad(m, 0, 2, addMaterial(m, wrapped));
    for (Vertex& v : m.vertices)
        v.u += 7.0f; // same picture, seven repeats further on
    const RgbImage shifted = draw(m, frontView(4, 32, 32));
    for (Vertex& v : m.vertices)
        v.u -= 7.0f;
    const RgbImage plain = draw(m, frontView(4, 32, 32));
    EXPECT_EQ(shifted.rgb, plain.rgb);
}

// --- Robustness --------------------------------------------------------------------------

TEST(PictureRobustnessTest, CameraInsideTheModelIsClippedAtTheNearPlane) {
    const Model m = vehicle();
    View v = previewView(m);
    v.camera = Camera::sideView({0, 2, 0}, 0.5f); // inside the box
    const RgbImage image = draw(m, v);
    EXPECT_EQ(image.width, 145);
    int covered = 0;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            covered += image.pixel(x, y) != kBackground;
    EXPECT_GT(covered, 145 * 96 / 2) << "the inside of the far wall fills the view";
}

TEST(PictureRobustnessTest, BrokenIndicesAndNonFiniteValuesAreSkipped) {
    Model m;
    const auto red = addMaterial(m, unlit(kRed));
    addFacingQuad(m, 0, 2, red);
    Primitive broken;
    broken.material = 99; // no such material: drawn with the default
    broken.indices = {0, 1, 1000, 2, 3};
    m.primitives.push_back(broken);
    const auto nan = std::numeric_limits<float>::quiet_NaN();
    m.vertices.push_back({{nan, 0, 0}, {1, 0, 0}, 0, 0});
    m.vertices.push_back({{0, 1e30f, 0}, {1, 0, 0}, 0, 0});
    m.vertices.push_back({{0, 0, 1}, {nan, 0, 0}, nan, 0});
    Primitive bad;
    bad.material = red;
    bad.indices = {4, 5, 6, 5, 6, 0};
    m.primitives.push_back(bad);
    m.materials[red].texture = 42; // no such texture: plain colour
    EXPECT_EQ(draw(m, frontView(4, 32, 32)).pixel(16, 16), kRed);
    // A texture whose level lacks its texels is never read: the material's colour is drawn.
    auto hollow = std::make_shared<Texture>();
    hollow->levels.push_back({64, 64, {}});
    m.textures.push_back(hollow);
    m.materials[red].texture = 0;
    EXPECT_EQ(draw(m, frontView(4, 32, 32)).pixel(16, 16), kRed);
}

TEST(PictureRobustnessTest, DrawnSamplesTellAPictureWithNothingOfTheModel) {
    // Each of these gives the background alone, and must be told from a picture that shows
    // something: an empty model, points that are all invalid, everything behind the camera,
    // and a texture whose alpha test cuts every texel away.
    auto drawn = [](const Model& m, const View& v) {
        RenderStats stats;
        stats.drawnSamples = 12345; // reset by the renderer
        const RgbImage image = renderModel(m, v.world, v.camera, v.settings, &stats);
        EXPECT_EQ(image.width, v.settings.width);
        return stats.drawnSamples;
    };
    const View view = frontView(4, 32, 32);
    EXPECT_EQ(drawn(Model{}, view), 0u);

    const auto nan = std::numeric_limits<float>::quiet_NaN();
    Model nanPoints;
    addFacingQuad(nanPoints, 0, 2, addMaterial(nanPoints, unlit(kRed)));
    for (Vertex& v : nanPoints.vertices)
        v.position = {nan, nan, nan};
    EXPECT_EQ(drawn(nanPoints, view), 0u);

    Model behind;
    addFacingQuad(behind, 10, 2, addMaterial(behind, unlit(kRed))); // the camera is at x = 4
    EXPECT_EQ(drawn(behind, view), 0u);

    Model cut;
    cut.textures.push_back(makeTexture(
        4, 4, [](int, int) { return kRed; }, [](int, int) { return std::uint8_t(0); }));
    Material holes = unlit(kRed, BlendMode::AlphaTest);
    holes.texture = 0;
    addFacingQuad(cut, 0, 2, addMaterial(cut, holes));
    EXPECT_EQ(drawn(cut, view), 0u);

    Model quad;
    addFacingQuad(quad, 0, 2, addMaterial(quad, unlit(kRed)));
    const std::size_t samples = drawn(quad, view);
    EXPECT_GT(samples, 0u);
    EXPECT_LT(samples, 32u * 32u * 16u) << "a 2 m square at 4 m does not fill the view";
}

TEST(PictureRobustnessTest, TriangleWithBadTextureCoordinatesIsDrawnUntexturedNotDropped) {
    Model m;
    m.textures.push_back(makeTexture(4, 4, [](int, int) { return kRed; }));
    Material textured = unlit({128, 128, 128});
    textured.texture = 0;
    addFacingQuad(m, 0, 2, addMaterial(m, textured));
    const View view = frontView(4, 32, 32);
    EXPECT_EQ(draw(m, view).pixel(16, 16), kRed);

    // One corner of each triangle without a usable coordinate: the square keeps its place in
    // the picture, in the neutral grey of a missing texture.
    m.vertices[0].u = std::numeric_limits<float>::quiet_NaN();
    m.vertices[2].v = std::numeric_limits<float>::infinity();
    RenderStats stats;
    const RgbImage grey = renderModel(m, view.world, view.camera, view.settings, &stats);
    EXPECT_EQ(grey.pixel(16, 16), (Rgb{128, 128, 128}));
    EXPECT_GT(stats.drawnSamples, 0u);

    // Finite coordinates too large to sample (they overflow once scaled to texels) still
    // draw; the sanitizer build checks that no conversion on the way is undefined.
    for (Vertex& v : m.vertices) {
        v.u = 3e38f;
        v.v = -3e38f;
    }
    const RgbImage huge = renderModel(m, view.world, view.camera, view.settings, &stats);
    EXPECT_GT(stats.drawnSamples, 0u);
    EXPECT_NE(huge.pixel(16, 16), kBackground);
}

TEST(PictureRobustnessTest, FloatToIntegerConversionsSaturate) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(saturatingCast<int>(nan, -7), -7);
    EXPECT_EQ(saturatingCast<int>(inf), std::numeric_limits<int>::max());
    EXPECT_EQ(saturatingCast<int>(-inf), std::numeric_limits<int>::min());
    EXPECT_EQ(saturatingCast<int>(-2.9), -2);
    EXPECT_EQ(saturatingCast<std::uint8_t>(255.9), 255);
    EXPECT_EQ(saturatingCast<std::uint8_t>(-0.5), 0);
    EXPECT_EQ(saturatingCast<std::uint8_t>(300.0), 255);
    EXPECT_EQ(saturatingCast<std::int64_t>(1e300), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(saturatingCast<std::int64_t>(-1e300), std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(saturatingCast<std::int64_t>(-12345.7), -12345);
}

// --- Golden pictures ---------------------------------------------------------------------

TEST(PictureGoldenTest, SmallScenesMatchTheirGoldens) {
    // Tolerance: rounding in a different compiler or library version may move a few
    // edge pixels by a step or two; anything larger is a real change.
    const auto check = [](const RgbImage& image, const char* name) {
        const Comparison c = compareWithGolden(image, name, 3, image.width * image.height / 50);
        EXPECT_TRUE(c.matches) << c.message;
    };
    check(renderPreview(vehicle()), "vehicle_145x96");

    Model fence;
    fence.textures.push_back(makeTexture(
        32, 32,
        [](int x, int y) {
            return Rgb{std::uint8_t(8 * x), 90, std::uint8_t(8 * y)};
        },
        [](int x, int y) -> std::uint8_t { return (x % 8 < 2 || y % 8 < 2) ? 255 : 0; }));
    Material wire;
    wire.texture = 0;
    wire.blend = BlendMode::AlphaTest;
    addFacingQuad(fence, 1, 2, addMaterial(fence, wire), 0.3f);
    Material glassMaterial = unlit({255, 255, 255}, BlendMode::AlphaBlend);
    fence.textures.push_back(makeTexture(
        2, 2,
        [](int, int) {
            return Rgb{255, 255, 120};
        },
        [](int, int) { return 100; }));
    glassMaterial.texture = 1;
    addFacingQuad(fence, 1.5f, 1.2f, addMaterial(fence, glassMaterial), -0.5f);
    addFacingQuad(fence, 0, 3, addMaterial(fence, unlit({30, 60, 30})), 0.8f);
    View v = frontView(7, 48, 32);
    v.camera.eye.y += 1.5f; // a little from above, to see perspective
    check(draw(fence, v), "fence_glass_48x32");
}
