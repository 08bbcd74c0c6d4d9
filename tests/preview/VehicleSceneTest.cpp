#include "preview/VehicleScene.h"
#include "catalog/Catalog.h"
#include "platform/FileSystem.h"
#include "render/Bitmap.h"
#include "support/ShapeBuilder.h"
#include "support/ShapeWriter.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace preview;

using testsupport::write;

namespace {

QByteArray toBytes(const fixtures::Bytes& bytes) {
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
}

class VehicleSceneTest : public ::testing::Test {
protected:
    QTemporaryDir tmp;
    platform::FileSystem fs{platform::FileSystem::Options{{}, tmp.path(), tmp.path() + "/data"}};
    QString trainset() const { return tmp.path() + "\\TRAINS\\TRAINSET\\"; }

    void SetUp() override {
        write(tmp.path() + "/TRAINS/TRAINSET/good/good.s",
              toBytes(fixtures::writeShape(fixtures::sampleShape(),
                                           fixtures::ShapeForm::CompressedBinary)));
        write(tmp.path() + "/TRAINS/TRAINSET/bad/bad.s", "not a shape at all");
        QDir().mkpath(tmp.path() + "/Thumbnails");
    }

    catalog::CatalogEntry entry(const QString& folder, const QString& shape, double length) {
        catalog::CatalogEntry e;
        e.TrainsetPath = trainset();
        e.Folder = folder;
        e.FileName = folder + ".eng";
        e.Shape = shape;
        e.Length = length;
        return e;
    }
};

TEST(FirstUsableSphere, SkipsShapesWithoutASphereAndStopsAtTheFirstThatHasOne) {
    QStringList measured;
    const ReferenceSphere found =
        FirstUsableSphere({"unreadable", "empty", "good", "later"}, [&](const QString& path) {
            measured.append(path);
            if (path == "good")
                return ReferenceSphere{{1, 2, 3}, 4.0f};
            if (path == "later")
                return ReferenceSphere{{9, 9, 9}, 9.0f};
            return ReferenceSphere{};
        });
    EXPECT_FLOAT_EQ(found.Radius, 4.0f);
    EXPECT_FLOAT_EQ(found.Centre.y, 2.0f);
    EXPECT_EQ(measured, (QStringList{"unreadable", "empty", "good"}));

    const ReferenceSphere none =
        FirstUsableSphere({"a", "b"}, [](const QString&) { return ReferenceSphere{}; });
    EXPECT_FALSE(none.isUsable());
}

TEST(ReferenceCandidates, StartWithTheChosenVehicleThenTheOtherListedOnesInOrder) {
    catalog::Catalog table;
    table.addFile("T\\", "a", "a.eng"); // no shape: not listed
    table.addFile("T\\", "b", "b.eng");
    table.addFile("T\\", "c", "c.wag");
    table[1].Shape = "b.s";
    table[2].Shape = "c.s";

    EXPECT_EQ(ReferenceCandidates(table, 2), (QStringList{"T\\c\\c.s", "T\\b\\b.s"}));
    EXPECT_EQ(ReferenceCandidates(table, 1), (QStringList{"T\\b\\b.s", "T\\c\\c.s"}));
    EXPECT_EQ(ReferenceCandidates(table, -1), (QStringList{"T\\b\\b.s", "T\\c\\c.s"}));
    // An empty list: the fixed default shape.
    EXPECT_EQ(ReferenceCandidates(catalog::Catalog{}, -1),
              QStringList{QString::fromUtf16(DefaultShapePath)});
}

TEST_F(VehicleSceneTest, AnUnreadableReferenceShapeGivesWayToTheNextOne) {
    VehicleScene maker(fs);
    maker.measureReference({trainset() + "bad\\bad.s", trainset() + "good\\good.s"});
    ASSERT_TRUE(maker.reference().isUsable());

    VehicleScene direct(fs);
    direct.measureReference({trainset() + "good\\good.s"});
    EXPECT_FLOAT_EQ(maker.reference().Radius, direct.reference().Radius);
    EXPECT_FLOAT_EQ(maker.reference().Centre.z, direct.reference().Centre.z);
}

TEST_F(VehicleSceneTest, WritesThePictureAtThumbnailGeometry) {
    VehicleScene maker(fs);
    maker.measureReference({trainset() + "good\\good.s"});
    ASSERT_TRUE(maker.show(entry("good", "good.s", 19.6)));
    EXPECT_EQ(maker.placement().pixelWidth(), 145);

    const render::RgbImage picture = maker.picture();
    EXPECT_EQ(picture.width, 145);
    EXPECT_EQ(picture.height, 96);
    // The corner is background; the shape covers the middle.
    EXPECT_EQ(picture.pixel(0, 0), (render::Rgb{148, 198, 239}));
    EXPECT_NE(picture.pixel(72, 48), (render::Rgb{148, 198, 239}));

    const QString written = maker.takeScreenshot(tmp.path() + "\\Thumbnails\\SFCANVAS_");
    ASSERT_FALSE(written.isEmpty());
    EXPECT_TRUE(QFileInfo(fs.resolve(written)).fileName().startsWith("SFCANVAS_"));
    const std::vector<std::uint8_t> expected = render::encodeBmp(picture);
    const QByteArray bytes = fs.readFile(written).value_or(QByteArray());
    ASSERT_EQ(bytes.size(), qsizetype(expected.size()));
    EXPECT_EQ(0, std::memcmp(bytes.constData(), expected.data(), expected.size()));
    // 24 bits a pixel, 96 rows.
    EXPECT_EQ(std::uint8_t(bytes[28]), 24);
    EXPECT_EQ(std::uint8_t(bytes[22]), 96);
}

TEST_F(VehicleSceneTest, AShapeThatCannotBeReadWritesNothing) {
    VehicleScene maker(fs);
    maker.measureReference({trainset() + "good\\good.s"});
    EXPECT_FALSE(maker.show(entry("bad", "bad.s", 10)));
    EXPECT_EQ(maker.shape().status(), ShapeLoadStatus::Invalid);
    EXPECT_TRUE(maker.takeScreenshot(tmp.path() + "\\Thumbnails\\SFCANVAS_").isEmpty());
    EXPECT_FALSE(maker.show(entry("gone", "gone.s", 10)));
    EXPECT_EQ(maker.shape().status(), ShapeLoadStatus::NotFound);
    EXPECT_TRUE(maker.takeScreenshot(tmp.path() + "\\Thumbnails\\SFCANVAS_").isEmpty());
    EXPECT_TRUE(QDir(tmp.path() + "/Thumbnails").entryList(QDir::Files).isEmpty());
}

} // namespace
