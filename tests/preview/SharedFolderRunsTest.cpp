// Thumbnails that must never be wrong, blank or lost: two runs placing into one folder at
// once, pictures in which nothing of the vehicle was drawn, and a broken reference shape.

#include "catalog/Catalog.h"
#include "platform/FileSystem.h"
#include "preview/OverwritePolicy.h"
#include "preview/SceneView.h"
#include "preview/ThumbnailPlacing.h"
#include "preview/VehicleScene.h"
#include "render/Bitmap.h"
#include "support/PresetOverwritePolicy.h"
#include "support/ShapeBuilder.h"
#include "support/ShapeWriter.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <limits>
#include <thread>

using preview::OverwriteChoice;
using namespace preview;

using testsupport::contentOf;
using testsupport::write;

namespace {

// The picture a run would draw for vehicle `i`: its bytes tell which vehicle it shows.
render::RgbImage pictureOf(int i) {
    render::RgbImage image(3, 2, {std::uint8_t(i), std::uint8_t(i >> 8), 7});
    return image;
}

QByteArray bmpOf(int i) {
    const std::vector<std::uint8_t> bmp = render::encodeBmp(pictureOf(i));
    return QByteArray(reinterpret_cast<const char*>(bmp.data()), qsizetype(bmp.size()));
}

class SharedFolderRunsTest : public ::testing::Test {
protected:
    QTemporaryDir tmp;
    QString own() const { return tmp.path() + "/own"; }
    QString thumbs() const { return own() + "/Thumbnails"; }
    void SetUp() override { QDir().mkpath(own()); }

    // One run: its own file layer and program-wide values, creating the thumbnails of
    // vehicles first..last in order with a standing answer.
    void run(int first, int last, OverwriteChoice standing, std::atomic<int>& failures) {
        const platform::FileSystem fs(platform::FileSystem::Options{{}, own(), {}});
        OverwriteChoice choice = standing;
        QString pending;
        PresetOverwritePolicy nobody;
        for (int i = first; i <= last; ++i) {
            catalog::CatalogEntry entry;
            entry.FileName = QStringLiteral("V%1.eng").arg(i);
            const CreateOutcome outcome = CreateThumbnail(
                fs, entry, [&](const QString& at) { return writeScreenshot(fs, at, pictureOf(i)); },
                PlacingState{choice, pending}, nobody);
            if (!IsSuccess(outcome.Result))
                ++failures;
        }
    }

    void runTogether(int firstA, int lastA, int firstB, int lastB, OverwriteChoice standing) {
        std::atomic<int> failures{0};
        std::thread a([&] { run(firstA, lastA, standing, failures); });
        std::thread b([&] { run(firstB, lastB, standing, failures); });
        a.join();
        b.join();
        EXPECT_EQ(failures, 0);
    }

    // Exactly V0..V(count-1), each showing its own vehicle, and nothing else.
    void expectExactlyTheRightPictures(int count) {
        const QStringList files = QDir(thumbs()).entryList(QDir::Files | QDir::Hidden);
        EXPECT_EQ(files.size(), count) << files.filter("SFCANVAS_").join(",").toStdString();
        for (int i = 0; i < count; ++i)
            EXPECT_EQ(contentOf(thumbs() + QStringLiteral("/V%1.bmp").arg(i)), bmpOf(i))
                << "V" << i << " is missing or shows another vehicle";
    }
};

TEST_F(SharedFolderRunsTest, TwoRunsOnTheTwoHalvesGiveEveryVehicleItsOwnPicture) {
    // The folder does not exist yet: both runs make it at once.
    runTogether(0, 199, 200, 399, OverwriteChoice::OverwriteAlways);
    expectExactlyTheRightPictures(400);
}

TEST_F(SharedFolderRunsTest, TwoRunsOverTheSameVehiclesNeverFailNorLeaveTemporaries) {
    // Both place every vehicle: whichever comes second meets the first's thumbnail, either
    // before its rename or during it, and replaces it (always) or keeps it (never).
    runTogether(0, 149, 0, 149, OverwriteChoice::OverwriteAlways);
    expectExactlyTheRightPictures(150);
    QDir(thumbs()).removeRecursively();
    runTogether(0, 149, 0, 149, OverwriteChoice::KeepAlways);
    expectExactlyTheRightPictures(150);
}

TEST_F(SharedFolderRunsTest, AThumbnailThatAppearsDuringPlacingIsAConflictNotLost) {
    // Another run places V1 between this run's look and its rename: the rename refuses, and
    // the answer to the conflict decides as for a thumbnail that was there before.
    const platform::FileSystem fs(platform::FileSystem::Options{{}, own(), {}});
    QDir().mkpath(thumbs());
    PresetOverwritePolicy ask({OverwriteChoice::KeepOnce});
    OverwriteChoice choice = OverwriteChoice::Ask;
    QString pending;
    QString name = "V1.bmp";
    const QString location = ScreenshotLocationFor(thumbs());
    const QString mine = writeScreenshot(fs, location, pictureOf(1));
    // What the other run placed, written after this run found no V1.bmp: through a name the
    // lookup resolves only by case, which the rename meets all the same.
    write(thumbs() + "/v1.BMP", "theirs");
    const PlaceResult result = PlaceScreenshot(fs, location, mine, name, {choice, pending}, ask);
    EXPECT_EQ(result, PlaceResult::Kept);
    EXPECT_EQ(ask.questions().size(), 1);
    EXPECT_EQ(contentOf(thumbs() + "/v1.BMP"), "theirs");
    EXPECT_TRUE(QDir(thumbs()).entryList({"SFCANVAS_*"}, QDir::Files).isEmpty());
}

// --- Pictures with nothing of the vehicle -------------------------------------------------

QByteArray shapeBytes(const msts::Shape& shape) {
    const fixtures::Bytes bytes = fixtures::writeShape(shape, fixtures::ShapeForm::Binary);
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
}

// A 20 m box, with `stray` adding one far point in a tiny triangle of its own.
msts::Shape box(float stray = 0) {
    fixtures::ShapeBuilder b;
    const std::int32_t grey = b.addMaterial("", "TexDiff", 0);
    b.addBox(grey, {-1.5f, 0.5f, -10}, {1.5f, 4, 10});
    if (stray != 0)
        b.addTriangle(grey, {msts::Vec3{0, 2, stray}, {0, 2.01f, stray}, {0.01f, 2, stray}},
                      {msts::Vec2{0, 0}, {0, 0}, {0, 0}});
    return b.build();
}

class NothingDrawnTest : public ::testing::Test {
protected:
    QTemporaryDir tmp;
    platform::FileSystem fs{platform::FileSystem::Options{{}, tmp.path(), tmp.path() + "/data"}};
    QString trainset() const { return tmp.path() + "\\TRAINS\\TRAINSET\\"; }
    void shape(const QString& name, const msts::Shape& s) {
        write(tmp.path() + "/TRAINS/TRAINSET/" + name + "/" + name + ".s", shapeBytes(s));
    }
    catalog::CatalogEntry entry(const QString& name) {
        catalog::CatalogEntry e;
        e.TrainsetPath = trainset();
        e.Folder = name;
        e.FileName = name + ".eng";
        e.Shape = name + ".s";
        e.Length = 20;
        return e;
    }
    QString path(const QString& name) { return trainset() + name + "\\" + name + ".s"; }
};

TEST_F(NothingDrawnTest, ABlankPictureIsNeitherWrittenNorPlaced) {
    shape("good", box());
    msts::Shape noTriangle = box();
    for (msts::LodControl& lod : noTriangle.lodControls)
        for (auto& level : lod.levels)
            for (auto& sub : level.subObjects)
                sub.primitives.clear();
    shape("empty", noTriangle);
    msts::Shape nanPoints = box();
    for (msts::Vec3& p : nanPoints.points)
        p = {std::numeric_limits<float>::quiet_NaN(), 0, 0};
    shape("nan", nanPoints);

    VehicleScene maker(fs);
    maker.measureReference({path("good")});
    ASSERT_TRUE(maker.reference().isUsable());
    QDir().mkpath(tmp.path() + "/Thumbnails");
    for (const char* name : {"empty", "nan"}) {
        ASSERT_TRUE(maker.show(entry(name))) << name << " loads: it is a valid shape";
        EXPECT_TRUE(maker.takeScreenshot(tmp.path() + "\\Thumbnails\\SFCANVAS_").isEmpty());
        EXPECT_EQ(maker.problem(), VehicleScene::Problem::NothingDrawn) << name;

        OverwriteChoice choice = OverwriteChoice::OverwriteAlways;
        QString pending;
        PresetOverwritePolicy nobody;
        const CreateOutcome outcome = CreateThumbnail(
            fs, entry(name), [&](const QString& at) { return maker.takeScreenshot(at); },
            {choice, pending}, nobody);
        EXPECT_EQ(outcome.Result, PlaceResult::NoPicture) << name;
        EXPECT_FALSE(IsSuccess(outcome.Result));
    }
    EXPECT_TRUE(QDir(tmp.path() + "/Thumbnails").entryList(QDir::Files).isEmpty());

    ASSERT_TRUE(maker.show(entry("good")));
    EXPECT_FALSE(maker.takeScreenshot(tmp.path() + "\\Thumbnails\\SFCANVAS_").isEmpty());
    EXPECT_EQ(maker.problem(), VehicleScene::Problem::None);
}

TEST_F(NothingDrawnTest, APoisonedReferenceShapeGivesWayAndDoesNotBlankTheOthers) {
    // A stray point 1e30 m away, or merely 600 m (the far plane), would put the camera so far
    // that every vehicle of the run is a blank picture.
    shape("good", box());
    shape("huge", box(1e30f));
    shape("far", box(600));
    msts::Shape nanBox = box();
    nanBox.points.back() = {std::numeric_limits<float>::infinity(), 0, 0};
    shape("inf", nanBox);

    VehicleScene direct(fs);
    direct.measureReference({path("good")});
    VehicleScene maker(fs);
    maker.measureReference({path("huge"), path("far"), path("inf"), path("good")});
    ASSERT_TRUE(maker.reference().isUsable());
    EXPECT_FLOAT_EQ(maker.reference().Radius, direct.reference().Radius);
    EXPECT_LE(maker.reference().Radius, MaximumReferenceRadius);

    ASSERT_TRUE(maker.show(entry("good")));
    render::RenderStats stats;
    const render::RgbImage picture = maker.picture(&stats);
    EXPECT_GT(stats.drawnSamples, std::size_t(picture.width * picture.height)) << "not blank";

    // Nothing usable at all: no sphere is taken rather than a poisoned one.
    VehicleScene none(fs);
    none.measureReference({path("huge"), path("far")});
    EXPECT_FALSE(none.reference().isUsable());
}

} // namespace
