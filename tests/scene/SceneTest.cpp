#include "CanvasFixtures.h"
#include "PictureCompare.h"

#include "inventory/ThumbnailFile.h"
#include "platform/FileSystem.h"
#include "preview/PreviewGeometry.h"
#include "preview/SceneShape.h"
#include "preview/SceneView.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cctype>
#include <functional>

#include <gtest/gtest.h>

using namespace canvastest;
using namespace preview;

namespace {

class SceneTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(tmp.isValid()); }
    QString root() const { return tmp.path(); }
    // Path text as the program builds it: backslashes.
    QString text(const QString& relative) const { return root() + u'\\' + relative; }

    void writeVehicle(const QString& folder, const msts::Shape& shape) {
        writeFile(root() + "/" + folder + "/vehicle.s",
                  fixtures::writeShape(shape, fixtures::ShapeForm::CompressedBinary));
    }
    void writeTexture(const QString& relative, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
        fixtures::AceWriteOptions options;
        options.layout = fixtures::AceLayout::Dxt1;
        options.mipmaps = true;
        writeFile(root() + "/" + relative, fixtures::writeAce(solidPicture(r, g, b), options));
    }

    // Renders like the preview does with the shape as its own reference.
    render::RgbImage preview(const SceneShape& shape, int width = 145) {
        return ownSpherePicture(shape, width);
    }

    // The bogie vehicle with its grey body and red bogie textures, as the preview draws it.
    void drawTexturedBogieVehicle(render::RgbImage& image) {
        writeVehicle("A", bogieVehicle());
        writeTexture("A/body.ace", 90, 90, 200);
        writeTexture("A/bogie.ace", 220, 0, 0);
        SceneShape shape(&fs);
        shape.setWorldMatrix(HalfTurnWorldMatrix());
        ASSERT_TRUE(shape.load(text("A\\vehicle.s")));
        image = preview(shape);
    }

    QTemporaryDir tmp;
    platform::FileSystem fs{platform::FileSystem::Options{{}, {}, {}}};
};

const render::Rgb kBack{PreviewBackRed, PreviewBackGreen, PreviewBackBlue};

// Pixels where red clearly dominates: the bogie's texture.
Blob reddish(const render::RgbImage& image) {
    return blobWhere(image, [](render::Rgb p) { return p.r > 150 && p.g < 80 && p.b < 80; });
}

} // namespace

TEST_F(SceneTest, TexturesAreFoundNextToTheShapeThenThroughTheTexturePathIgnoringCase) {
    writeVehicle("TRAINSET/ONE", bogieVehicle("Body.ace", "bogie.ace"));
    writeTexture("TRAINSET/ONE/BODY.ACE", 90, 90, 200);     // next to it, other case
    writeTexture("TRAINSET/TEXTURES/Bogie.Ace", 220, 0, 0); // through ..\textures\ only

    SceneShape shape(&fs);
    shape.setTexturePath("..\\textures\\");
    ASSERT_TRUE(shape.load(text("TRAINSET\\ONE\\VEHICLE.S")));
    EXPECT_EQ(shape.status(), ShapeLoadStatus::Loaded);
    EXPECT_TRUE(shape.missingTextures().isEmpty())
        << shape.missingTextures().join(",").toStdString();
    ASSERT_EQ(shape.model().textures.size(), 2u);

    // Next to the shape wins over the texture folder.
    writeTexture("TRAINSET/TEXTURES/body.ace", 0, 255, 0);
    ASSERT_TRUE(shape.load(text("TRAINSET\\ONE\\vehicle.s")));
    (void)preview(shape);
    ASSERT_TRUE(shape.model().textures[0]);
    const render::Texture& body = *shape.model().textures[0];
    EXPECT_LT(body.levels[0].rgba[1], 120) << "the texture folder's green body was taken";
}

TEST_F(SceneTest, MissingTextureDrawsNeutralGreyAndIsListed) {
    writeVehicle("A", bogieVehicle("nothere.ace", "bogie.dds"));
    writeTexture("A/bogie.ace", 220, 0, 0); // a .dds name falls back to the .ace file
    SceneShape shape(&fs);
    ASSERT_TRUE(shape.load(text("A\\vehicle.s")));
    EXPECT_EQ(shape.missingTextures(), QStringList{"nothere.ace"});
    const render::RgbImage image = preview(shape);
    // The lit grey body: equal channels, neither background nor black.
    const render::Rgb centre = image.pixel(72, 40);
    EXPECT_EQ(centre.r, centre.g);
    EXPECT_EQ(centre.g, centre.b);
    EXPECT_GT(centre.r, 60);
    EXPECT_GT(reddish(image).count, 20);
}

TEST_F(SceneTest, BogieUnderTheBodyIsDrawnWhereItsMatricesPutItFrontAtLeft) {
    render::RgbImage image;
    ASSERT_NO_FATAL_FAILURE(drawTexturedBogieVehicle(image));
    ASSERT_EQ(image.width, 145);
    ASSERT_EQ(image.height, 96);
    const Blob bogie = reddish(image);
    ASSERT_GT(bogie.count, 30);
    // z = +6 of 20 m is 80% of the way to the front, and the front is at the left.
    EXPECT_NEAR(bogie.x, 145 * 0.2, 8);
    EXPECT_GT(bogie.y, 55) << "the bogie hangs below the body";
    EXPECT_EQ(image.pixel(0, 0), kBack);
    EXPECT_EQ(image.pixel(144, 95), kBack);
}

TEST_F(SceneTest, BoundingSphereIsTheDrawnShapesWithTheWorldMatrixApplied) {
    writeVehicle("A", bogieVehicle());
    SceneShape shape(&fs);
    ASSERT_TRUE(shape.load(text("A\\vehicle.s")));
    const render::BoundingSphere plain = shape.boundingSphere();
    // Box from (-1.5, 0, -10) to (1.5, 4, 10): centre (0, 2, 0).
    EXPECT_NEAR(plain.centre.y, 2.0f, 1e-4f);
    EXPECT_NEAR(plain.centre.z, 0.0f, 1e-4f);
    EXPECT_NEAR(plain.radius, std::sqrt(1.5f * 1.5f + 2.0f * 2.0f + 10.0f * 10.0f), 1e-3f);
    EXPECT_NEAR(shape.lengthAlongZ(), 20.0f, 1e-4f);

    shape.setWorldMatrix(render::Mat4::translation({5, 0, 0}));
    EXPECT_NEAR(shape.boundingSphere().centre.x, 5.0f, 1e-4f);
    EXPECT_NEAR(shape.boundingSphere().radius, plain.radius, 1e-4f);
}

TEST_F(SceneTest, NewFileKeepsTheWorldMatrixAndAnUnreadableOneLeavesTheShapeEmpty) {
    writeVehicle("A", bogieVehicle());
    writeFile(root() + "/B/broken.s", fixtures::Bytes(40, std::byte{0x41}));
    SceneShape shape(&fs);
    const render::Mat4 world = HalfTurnWorldMatrix();
    shape.setWorldMatrix(world);
    ASSERT_TRUE(shape.load(text("A\\vehicle.s")));
    EXPECT_FALSE(shape.model().empty());

    EXPECT_FALSE(shape.load(text("B\\broken.s")));
    EXPECT_EQ(shape.status(), ShapeLoadStatus::Invalid);
    EXPECT_TRUE(shape.diagnostics().hasErrors());
    EXPECT_TRUE(shape.model().empty());
    EXPECT_EQ(shape.boundingSphere().radius, 0.0f);
    EXPECT_EQ(shape.worldMatrix(), world);

    EXPECT_FALSE(shape.load(text("B\\absent.s")));
    EXPECT_EQ(shape.status(), ShapeLoadStatus::NotFound);

    // An empty shape renders as the background alone.
    const render::RgbImage image = preview(shape, 16);
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            ASSERT_EQ(image.pixel(x, y), kBack);
}

TEST_F(SceneTest, EveryShapeFormGivesTheSamePicture) {
    const msts::Shape shape = bogieVehicle();
    writeTexture("A/body.ace", 90, 90, 200);
    writeTexture("A/bogie.ace", 220, 0, 0);
    std::vector<std::uint8_t> first;
    for (fixtures::ShapeForm form : {fixtures::ShapeForm::Utf16Text, fixtures::ShapeForm::Binary,
                                     fixtures::ShapeForm::CompressedBinary}) {
        writeFile(root() + "/A/vehicle.s", fixtures::writeShape(shape, form));
        SceneShape scene(&fs);
        scene.setWorldMatrix(HalfTurnWorldMatrix());
        ASSERT_TRUE(scene.load(text("A\\vehicle.s")));
        const render::RgbImage image = preview(scene);
        if (first.empty())
            first = image.rgb;
        else
            EXPECT_EQ(image.rgb, first);
    }
}

TEST_F(SceneTest, ScreenshotIsAUniqueBitmapWrittenWithoutATemporaryLeftBehind) {
    QDir().mkpath(root() + "/Thumbnails");
    const QString location = text("Thumbnails\\SFCANVAS_");
    render::RgbImage picture(145, 96, kBack);
    picture.setPixel(0, 95, {1, 2, 3});

    const QString first = inventory::ThumbnailFile::WriteTemporary(fs, location, picture);
    const QString second = inventory::ThumbnailFile::WriteTemporary(fs, location, picture);
    ASSERT_FALSE(first.isEmpty());
    ASSERT_FALSE(second.isEmpty());
    EXPECT_NE(first, second);
    EXPECT_TRUE(first.startsWith(location));
    EXPECT_TRUE(first.endsWith(".bmp"));

    const QStringList files = QDir(root() + "/Thumbnails").entryList(QDir::Files | QDir::Hidden);
    EXPECT_EQ(files.size(), 2) << files.join(",").toStdString();
    for (const QString& f : files)
        EXPECT_TRUE(f.startsWith("SFCANVAS_") && f.endsWith(".bmp")) << f.toStdString();

    QFile file(fs.resolve(first));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bmp = file.readAll();
    const int rowBytes = (145 * 3 + 3) / 4 * 4;
    ASSERT_EQ(bmp.size(), 54 + rowBytes * 96);
    EXPECT_EQ(bmp.left(2), QByteArray("BM"));
    EXPECT_EQ(quint8(bmp[28]), 24);
    // Bottom-up: the bottom-left pixel is the first stored, blue first.
    EXPECT_EQ(quint8(bmp[54]), 3);
    EXPECT_EQ(quint8(bmp[56]), 1);

    EXPECT_TRUE(
        inventory::ThumbnailFile::WriteTemporary(fs, text("NoSuchFolder\\SFCANVAS_"), picture)
            .isEmpty());
    EXPECT_TRUE(
        inventory::ThumbnailFile::WriteTemporary(fs, location, render::RgbImage{}).isEmpty());
}

TEST_F(SceneTest, BogieVehicleFromRealFilesMatchesItsGolden) {
    // End to end: shape and texture files through the reader, the mesh builder and the
    // renderer. Tolerance as for the renderer's own goldens.
    render::RgbImage image;
    ASSERT_NO_FATAL_FAILURE(drawTexturedBogieVehicle(image));
    const testscene::Comparison c = testscene::compareWithGolden(image, "bogie_vehicle_145x96", 3,
                                                                 image.width * image.height / 50);
    EXPECT_TRUE(c.matches) << c.message;
}

namespace {

// A vehicle side of 96 strips, each naming `images(i)`, whose texture coordinates cover a
// small corner of the texture so that the picture needs its finest level.
msts::Shape stripVehicle(const std::function<std::string(int)>& images) {
    fixtures::ShapeBuilder b;
    const std::int32_t part = b.addPart("BODY", {1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0}, -1);
    for (int i = 0; i < 96; ++i) {
        const std::int32_t material = b.addMaterial(images(i), "Tex", part); // unlit
        const float z0 = -10 + 20.0f * float(i) / 96, z1 = z0 + 20.0f / 96;
        b.addQuad(material, {{{1.5f, 4, z0}, {1.5f, 4, z1}, {1.5f, 1, z1}, {1.5f, 1, z0}}},
                  {{{0, 0}, {0.005f, 0}, {0.005f, 0.02f}, {0, 0.02f}}});
    }
    return b.build();
}

// "bigtexture.ace" with its letters upper-cased after the bits of i: 96 spellings.
std::string spelling(int i) {
    std::string name = "bigtexture.ace";
    for (std::size_t k = 0; k < 10; ++k)
        if ((i >> k) & 1)
            name[k] = char(std::toupper(static_cast<unsigned char>(name[k])));
    return name;
}

} // namespace

TEST_F(SceneTest, ManySpellingsOfOneTextureDecodeItOnceWithinThePictureBudget) {
    constexpr std::uint32_t side = 1024;
    fixtures::AceWriteOptions o;
    o.layout = fixtures::AceLayout::Dxt1;
    o.mipmaps = true;
    writeFile(root() + "/A/BigTexture.ace", fixtures::writeAce(solidPicture(200, 40, 40, side), o));
    writeVehicle("A", stripVehicle(spelling));
    SceneShape shape(&fs);
    shape.setWorldMatrix(HalfTurnWorldMatrix());
    // Room for the texture once, far from 96 times.
    shape.setTextureBudget(render::mipChainBytes(side, side, 0) * 3 / 2);
    ASSERT_TRUE(shape.load(text("A\\vehicle.s")));
    ASSERT_EQ(shape.model().textures.size(), 96u);
    const render::RgbImage image = preview(shape);
    EXPECT_TRUE(shape.missingTextures().isEmpty());
    EXPECT_TRUE(shape.overBudgetTextures().isEmpty());
    EXPECT_EQ(shape.textureCache()->decodes(), 1u);
    EXPECT_LE(shape.textureCache()->bytesHeld(), render::mipChainBytes(side, side, 0));
    for (const auto& texture : shape.model().textures)
        EXPECT_EQ(texture, shape.model().textures[0]) << "one file, one texture";
    EXPECT_EQ(shape.model().textures[0]->firstLevel, 0) << "the strips need the finest level";
    EXPECT_GT(reddish(image).count, 500);
}

TEST_F(SceneTest, TexturesPastThePictureBudgetAreDrawnGreyAndListed) {
    constexpr std::uint32_t side = 512;
    fixtures::AceWriteOptions o;
    o.layout = fixtures::AceLayout::Dxt1;
    o.mipmaps = true;
    for (const char* name : {"one.ace", "two.ace", "three.ace"})
        writeFile(root() + "/A/" + name, fixtures::writeAce(solidPicture(200, 40, 40, side), o));
    const char* names[] = {"one.ace", "two.ace", "three.ace"};
    writeVehicle("A", stripVehicle([&](int i) { return std::string(names[i / 32]); }));
    SceneShape shape(&fs);
    shape.setWorldMatrix(HalfTurnWorldMatrix());
    shape.setTextureBudget(render::mipChainBytes(side, side, 0) * 5 / 2); // two of three
    ASSERT_TRUE(shape.load(text("A\\vehicle.s")));
    const render::RgbImage image = preview(shape);
    EXPECT_EQ(shape.overBudgetTextures(), QStringList{"three.ace"});
    EXPECT_TRUE(shape.missingTextures().isEmpty());
    EXPECT_FALSE(shape.model().textures[2]) << "the third file is not decoded";
    EXPECT_TRUE(shape.model().textures[0] && shape.model().textures[1]);
    // The third of the side that is over budget, the front one, is grey; the front is at the
    // left.
    const render::Rgb grey = image.pixel(image.width / 6, 40);
    EXPECT_EQ(grey.r, grey.g);
    EXPECT_EQ(grey.g, grey.b);
    const render::Rgb red = image.pixel(image.width * 5 / 6, 40);
    EXPECT_GT(red.r, 2 * red.g);
}

TEST_F(SceneTest, GoingBackAndForthBetweenVehiclesSharingTexturesDecodesNothingAgain) {
    // As the window's preview does: one shape loaded with one vehicle after another.
    writeVehicle("A", bogieVehicle("bodyA.ace", "bogie.ace"));
    writeVehicle("B", bogieVehicle("bodyB.ace", "..\\A\\BOGIE.ACE"));
    writeTexture("A/bodyA.ace", 90, 90, 200);
    writeTexture("B/bodyB.ace", 90, 200, 90);
    writeTexture("A/bogie.ace", 220, 0, 0);
    SceneShape shape(&fs);
    shape.setWorldMatrix(HalfTurnWorldMatrix());
    std::vector<render::RgbImage> first;
    for (int round = 0; round < 3; ++round)
        for (const char* vehicle : {"A\\vehicle.s", "B\\vehicle.s"}) {
            ASSERT_TRUE(shape.load(text(vehicle)));
            const render::RgbImage image = preview(shape);
            EXPECT_TRUE(shape.missingTextures().isEmpty());
            if (round == 0)
                first.push_back(image);
            else
                EXPECT_EQ(image.rgb, first[vehicle[0] == 'A' ? 0 : 1].rgb)
                    << "the same picture whatever the cache holds";
        }
    EXPECT_EQ(shape.textureCache()->decodes(), 3u) << "two bodies and the shared bogie";
}
