// The main window's preview and create command, driven offscreen over a copy of the sample
// content, with the overwrite question and the report boxes answered in place.

#include "app/VehicleListView.h"
#include "app/frmPrincipal.h"
#include "platform/FileSystem.h"
#include "preview/OverwritePolicy.h"
#include "preview/ReportBoxes.h"
#include "preview/ShapePreview.h"
#include "preview/VehicleScene.h"
#include "preview/sfCanvas.h"
#include "preview/sfShape.h"
#include "render/Bitmap.h"
#include "shared/Global.h"
#include "shared/Messages.h"
#include "shared/SettingsStore.h"
#include "support/ShapeBuilder.h"
#include "support/ShapeWriter.h"

#include "ReadOnlyFolder.h"
#include "SampleWindow.h"
#include "support/PresetOverwritePolicy.h"
#include "support/RecordedReports.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <limits>

using preview::OverwriteChoice;

using previewtest::bytesOf;
using testsupport::contentOf;

namespace {

// One run of the program over a private copy of the sample content, in a French locale.
class PreviewWindowTest : public previewtest::SampleWindowTest {
protected:
    void SetUp() override {
        QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
        SampleWindowTest::SetUp();
    }
    void TearDown() override {
        window.reset();
        QLocale::setDefault(QLocale::c());
    }

    preview::sfCanvas& canvas() { return control<preview::sfCanvas>("sfCanvas1"); }
    QLabel& label(const char* name) { return control<QLabel>(name); }
};

TEST_F(PreviewWindowTest, ShowsTheSelectedVehicleAtThumbnailGeometryFromTheStart) {
    start();
    ASSERT_GT(list().count(), 0);
    ASSERT_EQ(list().selectedRow(), 0);
    // The first vehicle is 21 m long: 155 pixels wide, centred on x 328.
    const catalog::CatalogEntry& first = global.Catalog[list().selectedCatalogIndex()];
    ASSERT_DOUBLE_EQ(first.Length, 21.0);
    EXPECT_TRUE(canvas().isVisible());
    EXPECT_EQ(canvas().geometry(), QRect(251, 30, 155, 96));
    EXPECT_EQ(canvas().Picture().width, 155);
    EXPECT_EQ(canvas().Picture().height, 96);
    EXPECT_TRUE(createButton().isEnabled());

    // Seen from CameraFactor × the first vehicle's sphere radius, at its centre.
    const preview::ReferenceSphere& reference = window->preview().Reference();
    ASSERT_TRUE(reference.isUsable());
    EXPECT_FLOAT_EQ(canvas().CameraDistance(), 2.4f * reference.Radius);
    EXPECT_FLOAT_EQ(canvas().CameraTarget()[1], reference.Centre.y);
    // Background at the corner, vehicle in the middle.
    EXPECT_EQ(canvas().Picture().pixel(0, 0), (render::Rgb{148, 198, 239}));
    EXPECT_NE(canvas().Picture().pixel(77, 60), (render::Rgb{148, 198, 239}));
    EXPECT_FALSE(label("lblFORME").isVisible());
}

TEST_F(PreviewWindowTest, AClickShowsThatVehicleWithTheStartUpCamera) {
    start();
    const float distance = canvas().CameraDistance();
    const int tender = rowOf("CR_460_Tender.wag");
    ASSERT_GE(tender, 0);
    clickRow(tender);
    // 8.7 m: trunc(64.51) = 64 pixels.
    EXPECT_EQ(canvas().geometry(), QRect(296, 30, 64, 96));
    EXPECT_TRUE(canvas().isVisible());
    EXPECT_TRUE(createButton().isEnabled());
    EXPECT_FLOAT_EQ(canvas().CameraDistance(), distance);
    EXPECT_TRUE(label("lblQTE_FILES").text().contains("CR_460_Tender.wag"));
    EXPECT_EQ(window->preview().ShapePath(),
              global.Catalog[list().item(tender)->catalogIndex].shapePath());
}

TEST_F(PreviewWindowTest, TheZoomBarMovesTheCameraByTenthsOfTheReferenceRadius) {
    start();
    const float radius = window->preview().Reference().Radius;
    const render::RgbImage before = canvas().Picture();

    zoomBar().setValue(19);
    EXPECT_EQ(label("lblSCALEvalue").text(), "-0,1");
    EXPECT_NEAR(canvas().CameraDistance(), 2.3f * radius, 1e-4f * radius);
    EXPECT_NE(canvas().Picture().rgb, before.rgb);

    zoomBar().setValue(23);
    EXPECT_EQ(label("lblSCALEvalue").text(), "0,3");
    EXPECT_NEAR(canvas().CameraDistance(), 2.7f * radius, 1e-4f * radius);

    // The zoom holds for the next vehicle.
    clickRow(rowOf("CR_460.eng"));
    EXPECT_NEAR(canvas().CameraDistance(), 2.7f * radius, 1e-4f * radius);
    zoomBar().setValue(20);
    EXPECT_EQ(label("lblSCALEvalue").text(), "0");
    EXPECT_FLOAT_EQ(window->preview().CameraFactor(), 2.4f);
}

TEST_F(PreviewWindowTest, ZoomBeforeTheWindowIsReadyChangesNothing) {
    start();
    global.MainWindowReady = false;
    const float distance = canvas().CameraDistance();
    zoomBar().setValue(5);
    EXPECT_FLOAT_EQ(canvas().CameraDistance(), distance);
    EXPECT_EQ(label("lblSCALEvalue").text(), "0");
    const QRect place = canvas().geometry();
    clickRow(rowOf("CR_460.eng"));
    EXPECT_EQ(canvas().geometry(), place);
}

TEST_F(PreviewWindowTest, CreateWritesWhatTheCanvasShowsAndMarksTheItem) {
    start();
    const int row = rowOf("CR_460.eng");
    clickRow(row);
    zoomBar().setValue(17);
    const QByteArray shown = bytesOf(canvas().Picture());
    ASSERT_FALSE(QFileInfo::exists(thumbs()));

    create();

    ASSERT_EQ(reports.entries.size(), 1);
    EXPECT_EQ(reports.entries[0].text, app::LoadMessage(app::MessageId::CreateDone));
    EXPECT_EQ(reports.entries[0].icon, preview::ReportIcon::Information);
    const QByteArray written = contentOf(thumbs() + "/CR_460.bmp");
    EXPECT_EQ(written, shown);
    EXPECT_EQ(std::uint8_t(written[28]), 24); // bits a pixel
    EXPECT_EQ(std::uint8_t(written[18]), 97); // 13.1 m: 97 pixels wide
    EXPECT_EQ(std::uint8_t(written[22]), 96);
    // pictelle-cli's picture for the same vehicle and zoom is the same file.
    EXPECT_EQ(written, pictureAt(row, window->preview().CameraFactor()));
    EXPECT_EQ(QDir(thumbs()).entryList(QDir::Files), QStringList{"CR_460.bmp"});
    EXPECT_EQ(colourOf(row), QColor(255, 0, 255));
    EXPECT_TRUE(list().item(row)->bold);
    EXPECT_TRUE(policy.questions().isEmpty());
}

TEST_F(PreviewWindowTest, ASecondCreationAsksWithTheFullPathAndEachAnswerHoldsAsItShould) {
    start();
    const int row = rowOf("CR_D400.eng");
    clickRow(row);
    create();
    const QString target = thumbs() + "/CR_D400.bmp";
    const QByteArray first = contentOf(target);

    // Overwrite once: replaced, asked again next time.
    zoomBar().setValue(25);
    policy.addAnswer(OverwriteChoice::OverwriteOnce);
    create();
    ASSERT_EQ(policy.questions().size(), 1);
    EXPECT_EQ(QDir::fromNativeSeparators(policy.questions()[0]).replace("\\", "/"), target);
    EXPECT_EQ(global.PendingTargetPath, policy.questions()[0]);
    const QByteArray second = contentOf(target);
    EXPECT_NE(second, first);
    EXPECT_EQ(second, bytesOf(canvas().Picture()));

    // Keep once: unchanged, asked again.
    zoomBar().setValue(30);
    policy.addAnswer(OverwriteChoice::KeepOnce);
    create();
    EXPECT_EQ(policy.questions().size(), 2);
    EXPECT_EQ(contentOf(target), second);

    // Keep always: never asked again; still a success.
    policy.addAnswer(OverwriteChoice::KeepAlways);
    create();
    create();
    EXPECT_EQ(policy.questions().size(), 3);
    EXPECT_EQ(contentOf(target), second);
    EXPECT_EQ(global.OverwriteChoice, OverwriteChoice::KeepAlways);
    for (const auto& entry : reports.entries)
        EXPECT_EQ(entry.icon, preview::ReportIcon::Information);
    EXPECT_EQ(QDir(thumbs()).entryList(QDir::Files), QStringList{"CR_D400.bmp"});
}

TEST_F(PreviewWindowTest, OverwriteAlwaysHoldsUntilTheProgramEnds) {
    start();
    clickRow(rowOf("CR_D400.eng"));
    create();
    policy.addAnswer(OverwriteChoice::OverwriteAlways);
    for (int value : {10, 30}) {
        zoomBar().setValue(value);
        create();
        EXPECT_EQ(contentOf(thumbs() + "/CR_D400.bmp"), bytesOf(canvas().Picture()));
    }
    EXPECT_EQ(policy.questions().size(), 1);
    EXPECT_EQ(global.OverwriteChoice, OverwriteChoice::OverwriteAlways);

    // A new run asks again.
    window.reset();
    start();
    EXPECT_EQ(global.OverwriteChoice, OverwriteChoice::Ask);
    create();
    EXPECT_EQ(policy.questions().size(), 2);
}

TEST_F(PreviewWindowTest, AnUnreadableShapeIsExplainedAndNeverSavedAsAnEmptyPicture) {
    // The steam locomotive's shape is damaged after the scan found it.
    QFile::remove(msts() + "/TRAINS/TRAINSET/CR_Steam/CR_460.S");
    QFile broken(msts() + "/TRAINS/TRAINSET/CR_Steam/CR_460.S");
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("SIMISA@@@@@@@@@@JINX0s1t______\r\nnot a shape");
    broken.close();
    start();

    const int row = rowOf("CR_460.eng");
    const QColor before = colourOf(row);
    clickRow(row);
    EXPECT_TRUE(label("lblFORME").isVisible());
    EXPECT_TRUE(label("lblFORME").text().contains("cr_460.s", Qt::CaseInsensitive));

    create();
    ASSERT_EQ(reports.entries.size(), 1);
    EXPECT_EQ(reports.entries[0].text, app::LoadMessage(app::MessageId::CreateFailed));
    EXPECT_EQ(reports.entries[0].icon, preview::ReportIcon::Exclamation);
    EXPECT_TRUE(QDir(thumbs()).entryList(QDir::Files).isEmpty());
    EXPECT_EQ(colourOf(row), before);

    // Another vehicle clears the explanation.
    clickRow(rowOf("CR_D400.eng"));
    EXPECT_FALSE(label("lblFORME").isVisible());
}

// Two cars of a pack share one body shape and differ by their number shapes. Creating the
// second while the first is shown (a selection set without a click) must still draw its own
// number, not keep the first car's picture because the body is the same file.
TEST_F(PreviewWindowTest, PackCarsOnOneBodyGetEachItsOwnThumbnail) {
    start();
    const int first = rowOf("CRBox_4101.wag"), second = rowOf("CRBox_4102.wag");
    ASSERT_GE(first, 0);
    ASSERT_GE(second, 0);
    clickRow(first);
    EXPECT_FALSE(label("lblFORME").isVisible());
    create();
    list().setSelectedRow(second);
    create();

    const QByteArray a = contentOf(thumbs() + "/CRBox_4101.bmp");
    const QByteArray b = contentOf(thumbs() + "/CRBox_4102.bmp");
    ASSERT_FALSE(a.isEmpty());
    EXPECT_NE(a, b);
    EXPECT_EQ(a, pictureAt(first, window->preview().CameraFactor()));
    EXPECT_EQ(b, pictureAt(second, window->preview().CameraFactor()));
}

// A freight shape gone after the scan: the car is shown and made without it, and the problem
// label names the missing file.
TEST_F(PreviewWindowTest, AMissingFreightShapeIsNamedAndTheVehicleStillMade) {
    ASSERT_TRUE(QFile::remove(msts() + "/TRAINS/TRAINSET/CR_Box/crbox_n4102.s"));
    start();
    const int row = rowOf("CRBox_4102.wag");
    clickRow(row);
    EXPECT_TRUE(label("lblFORME").isVisible());
    EXPECT_EQ(label("lblFORME").text(),
              app::LoadMessage(app::MessageId::FreightNotFound, {"|1", "CRBox_N4102.s"}));
    EXPECT_NE(canvas().Picture().pixel(32, 45), (render::Rgb{148, 198, 239}));

    create();
    ASSERT_EQ(reports.entries.size(), 1);
    EXPECT_EQ(reports.entries[0].text, app::LoadMessage(app::MessageId::CreateDone));
    EXPECT_EQ(contentOf(thumbs() + "/CRBox_4102.bmp"), bytesOf(canvas().Picture()));

    // The other car of the pack has its number and no problem to tell.
    clickRow(rowOf("CRBox_4101.wag"));
    EXPECT_FALSE(label("lblFORME").isVisible());
}

TEST_F(PreviewWindowTest, AReferenceShapeWithoutASphereGivesWayToTheNextVehicle) {
    // The first listed vehicle's shape cannot be read: the camera must not sit inside.
    QFile::resize(msts() + "/TRAINS/TRAINSET/CR_Diesel/cr_d400.s", 10);
    start();
    const preview::ReferenceSphere& reference = window->preview().Reference();
    ASSERT_TRUE(reference.isUsable());
    EXPECT_GT(canvas().CameraDistance(), 1.0f);
    clickRow(rowOf("CR_460.eng"));
    EXPECT_NE(canvas().Picture().pixel(48, 60), (render::Rgb{148, 198, 239}));
}

// A valid shape file: a 20 m box, with a tiny triangle `stray` metres ahead when not 0, or
// with every point NaN.
void writeBox(const QString& path, float stray, bool nanPoints = false) {
    fixtures::ShapeBuilder b;
    const std::int32_t grey = b.addMaterial("", "TexDiff", 0);
    b.addBox(grey, {-1.5f, 0.5f, -10}, {1.5f, 4, 10});
    if (stray != 0)
        b.addTriangle(grey, {msts::Vec3{0, 2, stray}, {0, 2.01f, stray}, {0.01f, 2, stray}},
                      {msts::Vec2{0, 0}, {0, 0}, {0, 0}});
    msts::Shape shape = b.build();
    if (nanPoints)
        for (msts::Vec3& p : shape.points)
            p = {std::numeric_limits<float>::quiet_NaN(), 0, 0};
    const fixtures::Bytes bytes = fixtures::writeShape(shape, fixtures::ShapeForm::Binary);
    QFile::remove(path);
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
}

TEST_F(PreviewWindowTest, APictureWithNothingOfTheVehicleIsExplainedAndNeverSaved) {
    // The steam locomotive's shape is valid but none of its points can be drawn.
    writeBox(msts() + "/TRAINS/TRAINSET/CR_Steam/CR_460.S", 0, true);
    start();
    const int row = rowOf("CR_460.eng");
    const QColor before = colourOf(row);
    clickRow(row);
    EXPECT_EQ(canvas().DrawnSamples(), 0u);
    EXPECT_TRUE(label("lblFORME").isVisible());
    EXPECT_EQ(label("lblFORME").text().toLower(),
              app::LoadMessage(app::MessageId::NothingDrawn, {"|1", "cr_460.s"}).toLower());

    create();
    ASSERT_EQ(reports.entries.size(), 1);
    EXPECT_EQ(reports.entries[0].text, app::LoadMessage(app::MessageId::CreateFailed));
    EXPECT_EQ(reports.entries[0].icon, preview::ReportIcon::Exclamation);
    EXPECT_TRUE(QDir(thumbs()).entryList(QDir::Files).isEmpty()) << "no blank thumbnail";
    EXPECT_EQ(colourOf(row), before);

    clickRow(rowOf("CR_D400.eng"));
    EXPECT_GT(canvas().DrawnSamples(), 0u);
    EXPECT_FALSE(label("lblFORME").isVisible());
}

TEST_F(PreviewWindowTest, AReferenceShapeWithAFarStrayPointDoesNotBlankTheOthers) {
    // The first listed vehicle is a valid shape 1e30 m long: as reference it would put the
    // camera so far that every preview and thumbnail of the run were blank.
    writeBox(msts() + "/TRAINS/TRAINSET/CR_Diesel/cr_d400.s", 1e30f);
    start();
    const preview::ReferenceSphere& reference = window->preview().Reference();
    ASSERT_TRUE(reference.isUsable());
    EXPECT_LE(reference.Radius, preview::MaximumReferenceRadius);
    clickRow(rowOf("CR_460.eng"));
    EXPECT_GT(canvas().DrawnSamples(), std::size_t(canvas().Picture().width * 96));
}

TEST_F(PreviewWindowTest, AReadOnlyThumbnailsFolderGivesTheFailureAndLosesNothing) {
    start();
    const int row = rowOf("CR_D400.eng");
    clickRow(row);
    create();
    const QByteArray old = contentOf(thumbs() + "/CR_D400.bmp");
    ASSERT_FALSE(old.isEmpty());
    const int other = rowOf("CR_460.eng");
    const QColor before = colourOf(other);

    ReadOnlyFolder readOnly(thumbs());
    if (!readOnly.ok())
        GTEST_SKIP() << "cannot make a folder read-only here";
    // Nor can the per-user folder be made: a file stands where it would go.
    QDir().mkpath(tmp.path() + "/data");
    QFile blocker(tmp.path() + "/data/Pictelle");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    reports.entries.clear();
    global.OverwriteChoice = OverwriteChoice::OverwriteAlways;
    zoomBar().setValue(30);
    create();
    clickRow(other);
    create();

    ASSERT_EQ(reports.entries.size(), 2);
    for (const auto& entry : reports.entries) {
        EXPECT_EQ(entry.text, app::LoadMessage(app::MessageId::CreateFailed));
        EXPECT_EQ(entry.icon, preview::ReportIcon::Exclamation);
    }
    EXPECT_EQ(contentOf(thumbs() + "/CR_D400.bmp"), old);
    EXPECT_EQ(QDir(thumbs()).entryList(QDir::Files), QStringList{"CR_D400.bmp"});
    EXPECT_EQ(colourOf(other), before);
}

} // namespace
