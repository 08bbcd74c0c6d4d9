// Freight shapes drawn with the vehicle: where they go (a tender's load at its full height,
// other vehicles' at the origin, under the vehicle's world matrix), where their textures come
// from, and what happens when one cannot be had.

#include "CanvasFixtures.h"

#include "catalog/Catalog.h"
#include "platform/FileSystem.h"
#include "preview/PreviewGeometry.h"
#include "preview/SceneShape.h"
#include "preview/SceneView.h"
#include "preview/VehicleScene.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace canvastest;
using namespace preview;

namespace {

// A green load 2 m wide, 1 m high, 6 m long, standing on its own origin; `z` moves it along.
msts::Shape loadShape(const std::string& image = "load.ace", float z = 0) {
    fixtures::ShapeBuilder b;
    const std::int32_t root = b.addPart("LOAD", {1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0}, -1);
    const std::int32_t material = b.addMaterial(image, "TexDiff", root);
    b.addBox(material, {-1, 0, z - 3}, {1, 1, z + 3});
    return b.build();
}

// Pixels where green clearly dominates: the load's texture.
Blob greenish(const render::RgbImage& image) {
    return blobWhere(image, [](render::Rgb p) { return p.g > 130 && p.r < 90 && p.b < 90; });
}

class FreightSceneTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(tmp.isValid());
        writeFile(root() + "/V/vehicle.s",
                  fixtures::writeShape(bogieVehicle(), fixtures::ShapeForm::Binary));
        writeTexture("V/body.ace", 90, 90, 200);
        writeTexture("V/bogie.ace", 220, 0, 0);
    }
    QString root() const { return tmp.path(); }
    QString text(const QString& relative) const { return root() + u'\\' + relative; }
    void writeTexture(const QString& relative, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
        fixtures::AceWriteOptions options;
        options.layout = fixtures::AceLayout::Rgb;
        writeFile(root() + "/" + relative, fixtures::writeAce(solidPicture(r, g, b), options));
    }
    void writeLoad(const QString& relative, const msts::Shape& shape = loadShape()) {
        writeFile(root() + "/" + relative,
                  fixtures::writeShape(shape, fixtures::ShapeForm::Utf16Text));
    }

    // The vehicle, turned as the preview turns it, with these freight shapes.
    SceneShape vehicle(const QList<FreightPlacement>& freight) const {
        SceneShape shape(&fs);
        shape.setTexturePath("..\\textures\\");
        shape.setWorldMatrix(HalfTurnWorldMatrix());
        EXPECT_TRUE(shape.load(text("V\\vehicle.s")));
        shape.setFreightShapes(freight);
        return shape;
    }
    // Framed on the vehicle's own sphere, as render does with a shape.
    static render::RgbImage picture(const SceneShape& shape) {
        return ownSpherePicture(shape, 148);
    }

    QTemporaryDir tmp;
    platform::FileSystem fs{platform::FileSystem::Options{{}, {}, {}}};
};

} // namespace

// The body spans 1 to 4 m. A load at the origin hangs below it, amid the bogies; raised by a
// tender's 4 m it sits on the roof. Front at the left: a load 6 m forward is drawn left of the
// middle, as the vehicle's own parts are.
TEST_F(FreightSceneTest, HeightRaisesTheLoadUnderTheVehiclesWorldMatrix) {
    writeTexture("V/load.ace", 0, 200, 0);
    writeLoad("V/load.s");
    writeLoad("V/forward.s", loadShape("load.ace", 6));

    const Blob atOrigin = greenish(picture(vehicle({{text("V\\load.s"), 0.0f}})));
    const Blob onRoof = greenish(picture(vehicle({{text("V\\load.s"), 4.0f}})));
    const Blob forward = greenish(picture(vehicle({{text("V\\forward.s"), 4.0f}})));
    ASSERT_GT(atOrigin.count, 20);
    ASSERT_GT(onRoof.count, 20);
    ASSERT_GT(forward.count, 20);
    EXPECT_GT(atOrigin.y, 55) << "a load at the origin is drawn below the body";
    EXPECT_LT(onRoof.y, 30) << "a load raised 4 m is drawn above the body";
    EXPECT_NEAR(onRoof.x, 74, 3);
    EXPECT_NEAR(forward.x, 148 * 0.2, 8);
    EXPECT_NEAR(forward.y, onRoof.y, 2);

    // The vehicle's own sphere frames the picture: the freight leaves the camera where it was.
    EXPECT_EQ(vehicle({{text("V\\load.s"), 4.0f}}).boundingSphere().radius,
              vehicle({}).boundingSphere().radius);
}

// Through a catalog entry: the height the reader gave, the shape beside the vehicle's.
TEST_F(FreightSceneTest, VehicleSceneDrawsTheEntrysFreightAtItsHeight) {
    writeTexture("V/load.ace", 0, 200, 0);
    writeLoad("V/load.s");
    catalog::CatalogEntry entry;
    entry.TrainsetPath = root() + u'\\';
    entry.Folder = "V";
    entry.FileName = "v.wag";
    entry.Shape = "vehicle.s";
    entry.Length = 20;
    entry.FreightAnims = {{"LOAD.S", 4.0}};
    ASSERT_EQ(FreightPlacements(entry), (QList<FreightPlacement>{{text("V\\LOAD.S"), 4.0f}}));

    VehicleScene maker(fs);
    maker.measureReference({entry.shapePath()});
    ASSERT_TRUE(maker.show(entry));
    EXPECT_TRUE(maker.shape().freightProblems().isEmpty());
    const Blob roof = greenish(maker.picture());
    ASSERT_GT(roof.count, 20);
    EXPECT_LT(roof.y, 30);

    entry.FreightAnims = {{"load.s", 0.0}};
    ASSERT_TRUE(maker.show(entry));
    EXPECT_GT(greenish(maker.picture()).y, 55);

    // "1945m" typed for 19.45 m: drawn as a length unknown, not 14,000 pixels wide.
    entry.Length = 1945;
    ASSERT_TRUE(maker.show(entry));
    EXPECT_EQ(maker.picture().width, MinimumCanvasWidth);
}

// Textures of a freight shape: beside it first, then the texture path from its own folder (not
// the vehicle's), and each shape's materials keep their own textures in the shared scene.
TEST_F(FreightSceneTest, FreightTexturesAreLookedUpFromTheFreightShapesFolder) {
    writeLoad("COMMON/beside.s");
    writeTexture("COMMON/load.ace", 0, 200, 0);
    writeLoad("SHARED/loads/far.s");
    writeTexture("SHARED/textures/load.ace", 0, 200, 0);
    writeTexture("textures/load.ace", 200, 0, 200); // the vehicle's texture folder: not used

    for (const QString& path : {text("COMMON\\beside.s"), text("SHARED\\loads\\far.s")}) {
        SCOPED_TRACE(path.toStdString());
        const SceneShape shape = vehicle({{path, 4.0f}});
        EXPECT_TRUE(shape.missingTextures().isEmpty())
            << shape.missingTextures().join(",").toStdString();
        const render::RgbImage image = picture(shape);
        EXPECT_GT(greenish(image).count, 20);
        // The body kept its blue texture and the bogies their red one.
        const render::Rgb body = image.pixel(74, 50);
        EXPECT_GT(body.b, body.r + 40);
    }

    // A freight texture that is nowhere draws grey and is listed with the vehicle's own.
    writeLoad("LONE/bare.s", loadShape("nowhere.ace"));
    SceneShape shape = vehicle({{text("LONE\\bare.s"), 4.0f}});
    EXPECT_EQ(shape.missingTextures(), QStringList{"nowhere.ace"});
    EXPECT_EQ(greenish(picture(shape)).count, 0);
    // Another set of freight shapes replaces the listing and what is drawn.
    shape.setFreightShapes({{text("COMMON\\beside.s"), 4.0f}});
    EXPECT_TRUE(shape.missingTextures().isEmpty());
    EXPECT_GT(greenish(picture(shape)).count, 20);
}

// A freight shape that is missing or unreadable is left out: the vehicle is drawn exactly as
// alone, the others still are, and the problem names each one.
TEST_F(FreightSceneTest, MissingOrUnreadableFreightLeavesTheVehicleDrawnAlone) {
    writeFile(root() + "/V/broken.s", fixtures::Bytes(64, std::byte{0x41}));
    const render::RgbImage alone = picture(vehicle({}));

    const SceneShape missing = vehicle({{text("V\\absent.s"), 4.0f}, {text("V\\broken.s"), 0.0f}});
    EXPECT_EQ(missing.status(), ShapeLoadStatus::Loaded);
    ASSERT_EQ(missing.freightProblems().size(), 2);
    EXPECT_EQ(missing.freightProblems()[0].path, text("V\\absent.s"));
    EXPECT_EQ(missing.freightProblems()[0].status, ShapeLoadStatus::NotFound);
    EXPECT_EQ(missing.freightProblems()[1].status, ShapeLoadStatus::Invalid);
    EXPECT_EQ(picture(missing).rgb, alone.rgb);

    const QString said = FreightProblemText(missing.freightProblems());
    EXPECT_TRUE(said.contains("absent.s")) << said.toStdString();
    EXPECT_TRUE(said.contains("broken.s")) << said.toStdString();
    EXPECT_EQ(said.count('\n'), 1) << "one line for missing, one for unreadable";
    EXPECT_TRUE(FreightProblemText({}).isEmpty());

    // One missing among good ones: the good one is still drawn.
    writeTexture("V/load.ace", 0, 200, 0);
    writeLoad("V/load.s");
    const SceneShape partly = vehicle({{text("V\\absent.s"), 0.0f}, {text("V\\load.s"), 4.0f}});
    EXPECT_EQ(partly.freightProblems().size(), 1);
    EXPECT_GT(greenish(picture(partly)).count, 20);

    // Loading another file drops the freight shapes and their problems.
    SceneShape reloaded = vehicle({{text("V\\absent.s"), 0.0f}});
    ASSERT_TRUE(reloaded.load(text("V\\vehicle.s")));
    EXPECT_TRUE(reloaded.freightShapes().isEmpty());
    EXPECT_TRUE(reloaded.freightProblems().isEmpty());
    EXPECT_EQ(picture(reloaded).rgb, alone.rgb);
}
