// The main window's preview and create command, driven offscreen over a copy of the sample
// content, with the overwrite question and the report boxes answered in place.

#include "app/Global.h"
#include "app/Messages.h"
#include "app/SettingsStore.h"
#include "app/VehicleListView.h"
#include "app/frmPrincipal.h"
#include "platform/FileSystem.h"
#include "preview/OverwritePolicy.h"
#include "preview/ReportBoxes.h"
#include "preview/ShapePreview.h"
#include "preview/ThumbnailMaker.h"
#include "preview/sfCanvas.h"
#include "preview/sfShape.h"
#include "render/Bitmap.h"

#include "ReadOnlyFolder.h"

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

using app::OverwriteChoice;

inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace {

void copyTree(const QString& from, const QString& to) {
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = to + source.mid(from.size());
        QDir().mkpath(QFileInfo(target).path());
        QFile::copy(source, target);
    }
}

QByteArray contentOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray bytesOf(const render::RgbImage& picture) {
    const std::vector<std::uint8_t> bmp = render::encodeBmp(picture);
    return QByteArray(reinterpret_cast<const char*>(bmp.data()), qsizetype(bmp.size()));
}

// The main window with the folders answered in place of the dialogs.
class TestWindow : public app::frmPrincipal {
public:
    TestWindow(app::Global& global, QString msts, QString rametta)
        : frmPrincipal(global), msts_(std::move(msts)), rametta_(std::move(rametta)) {}

protected:
    void askMstsFolder() override { global().MstsPath = msts_; }
    void askRamettaFolder() override { global().RamettaPath = rametta_; }

private:
    QString msts_;
    QString rametta_;
};

// One run of the program over a private copy of the sample content.
class PreviewWindowTest : public ::testing::Test {
protected:
    QTemporaryDir tmp;
    QString msts() const { return tmp.path() + "/MSTS"; }
    QString own() const { return tmp.path() + "/own"; }
    QString thumbs() const { return own() + "/Thumbnails"; }
    platform::FileSystem files{platform::FileSystem::Options{{}, own(), tmp.path() + "/data"}};
    app::SettingsStore settings{{tmp.path() + "/registry.ini", QString()}, files};
    app::Global global{files, settings};
    preview::PresetOverwritePolicy policy;
    preview::RecordedReports reports;
    std::unique_ptr<TestWindow> window;

    void SetUp() override {
        QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
        copyTree(QStringLiteral(PICTELLE_SAMPLE_DIR) + "/MSTS", msts());
        QDir().mkpath(own());
    }
    void TearDown() override {
        window.reset();
        QLocale::setDefault(QLocale::c());
    }

    void start() {
        window = std::make_unique<TestWindow>(global, QDir::toNativeSeparators(msts()),
                                              QStringLiteral(PICTELLE_SAMPLE_DIR) + "/Rametta");
        window->preview().setOverwritePolicy(&policy);
        window->preview().setReportBoxes(&reports);
        window->Load();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        QCoreApplication::processEvents();
    }

    app::VehicleListView& list() { return *window->lsvMATERIEL; }
    preview::sfCanvas& canvas() { return *window->sfCanvas1; }

    int rowOf(const QString& fileName) {
        for (qsizetype row = 0; row < list().count(); ++row)
            if (list().item(row)->text == fileName)
                return int(row);
        return -1;
    }
    void clickRow(int row) {
        const QRect place = list().visualRect(list().listModel().index(row, 0));
        QTest::mouseClick(list().viewport(), Qt::LeftButton, {}, place.center());
    }
    void create() { QTest::mouseClick(window->cmdCREATE, Qt::LeftButton); }
    QColor colourOf(int row) {
        return list()
            .listModel()
            .data(list().listModel().index(row, 0), Qt::ForegroundRole)
            .value<QColor>();
    }
    // The thumbnail pictelle-cli would write for the same vehicle and zoom.
    QByteArray windowLessPicture(int row, float cameraFactor) {
        preview::ThumbnailMaker maker(files);
        maker.setUp(preview::ReferenceCandidates(global.Catalog, list().item(0)->catalogIndex));
        maker.setCameraFactor(cameraFactor);
        EXPECT_TRUE(maker.show(global.Catalog[list().item(row)->catalogIndex]));
        return bytesOf(maker.picture());
    }
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
    EXPECT_TRUE(window->cmdCREATE->isEnabled());

    // Seen from CameraFactor × the first vehicle's sphere radius, at its centre.
    const preview::ReferenceSphere& reference = window->preview().Reference();
    ASSERT_TRUE(reference.isUsable());
    EXPECT_FLOAT_EQ(canvas().CameraDistance(), 2.4f * reference.Radius);
    EXPECT_FLOAT_EQ(canvas().CameraTarget()[1], reference.Centre.y);
    // Background at the corner, vehicle in the middle.
    EXPECT_EQ(canvas().Picture().pixel(0, 0), (render::Rgb{148, 198, 239}));
    EXPECT_NE(canvas().Picture().pixel(77, 60), (render::Rgb{148, 198, 239}));
    EXPECT_FALSE(window->preview().lblFORME->isVisible());
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
    EXPECT_TRUE(window->cmdCREATE->isEnabled());
    EXPECT_FLOAT_EQ(canvas().CameraDistance(), distance);
    EXPECT_TRUE(window->lblQTE_FILES->text().contains("CR_460_Tender.wag"));
    EXPECT_EQ(window->preview().ShapePath(),
              global.Catalog[list().item(tender)->catalogIndex].shapePath());
}

TEST_F(PreviewWindowTest, TheZoomBarMovesTheCameraByTenthsOfTheReferenceRadius) {
    start();
    const float radius = window->preview().Reference().Radius;
    const render::RgbImage before = canvas().Picture();

    window->hscSCALE->setValue(19);
    EXPECT_EQ(window->lblSCALEvalue->text(), "-0,1");
    EXPECT_NEAR(canvas().CameraDistance(), 2.3f * radius, 1e-4f * radius);
    EXPECT_NE(canvas().Picture().rgb, before.rgb);

    window->hscSCALE->setValue(23);
    EXPECT_EQ(window->lblSCALEvalue->text(), "0,3");
    EXPECT_NEAR(canvas().CameraDistance(), 2.7f * radius, 1e-4f * radius);

    // The zoom holds for the next vehicle.
    clickRow(rowOf("CR_460.eng"));
    EXPECT_NEAR(canvas().CameraDistance(), 2.7f * radius, 1e-4f * radius);
    window->hscSCALE->setValue(20);
    EXPECT_EQ(window->lblSCALEvalue->text(), "0");
    EXPECT_FLOAT_EQ(window->CameraFactor, 2.4f);
}

TEST_F(PreviewWindowTest, ZoomBeforeTheWindowIsReadyChangesNothing) {
    start();
    global.MainWindowReady = false;
    const float distance = canvas().CameraDistance();
    window->hscSCALE->setValue(5);
    EXPECT_FLOAT_EQ(canvas().CameraDistance(), distance);
    EXPECT_EQ(window->lblSCALEvalue->text(), "0");
    const QRect place = canvas().geometry();
    clickRow(rowOf("CR_460.eng"));
    EXPECT_EQ(canvas().geometry(), place);
}

TEST_F(PreviewWindowTest, CreateWritesWhatTheCanvasShowsAndMarksTheItem) {
    start();
    const int row = rowOf("CR_460.eng");
    clickRow(row);
    window->hscSCALE->setValue(17);
    const QByteArray shown = bytesOf(canvas().Picture());
    ASSERT_FALSE(QFileInfo::exists(thumbs()));

    create();

    ASSERT_EQ(reports.entries.size(), 1);
    EXPECT_EQ(reports.entries[0].text, app::LoadMessage(139));
    EXPECT_EQ(reports.entries[0].icon, preview::ReportIcon::Information);
    const QByteArray written = contentOf(thumbs() + "/CR_460.bmp");
    EXPECT_EQ(written, shown);
    EXPECT_EQ(std::uint8_t(written[28]), 24); // bits a pixel
    EXPECT_EQ(std::uint8_t(written[18]), 97); // 13.1 m: 97 pixels wide
    EXPECT_EQ(std::uint8_t(written[22]), 96);
    // pictelle-cli's picture for the same vehicle and zoom is the same file.
    EXPECT_EQ(written, windowLessPicture(row, window->CameraFactor));
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
    window->hscSCALE->setValue(25);
    policy.addAnswer(OverwriteChoice::OverwriteOnce);
    create();
    ASSERT_EQ(policy.questions().size(), 1);
    EXPECT_EQ(QDir::fromNativeSeparators(policy.questions()[0]).replace("\\", "/"), target);
    EXPECT_EQ(global.PendingTargetPath, policy.questions()[0]);
    const QByteArray second = contentOf(target);
    EXPECT_NE(second, first);
    EXPECT_EQ(second, bytesOf(canvas().Picture()));

    // Keep once: unchanged, asked again.
    window->hscSCALE->setValue(30);
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
        window->hscSCALE->setValue(value);
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
    EXPECT_TRUE(window->preview().lblFORME->isVisible());
    EXPECT_TRUE(window->preview().lblFORME->text().contains("cr_460.s", Qt::CaseInsensitive));

    create();
    ASSERT_EQ(reports.entries.size(), 1);
    EXPECT_EQ(reports.entries[0].text, app::LoadMessage(140));
    EXPECT_EQ(reports.entries[0].icon, preview::ReportIcon::Exclamation);
    EXPECT_TRUE(QDir(thumbs()).entryList(QDir::Files).isEmpty());
    EXPECT_EQ(colourOf(row), before);

    // Another vehicle clears the explanation.
    clickRow(rowOf("CR_D400.eng"));
    EXPECT_FALSE(window->preview().lblFORME->isVisible());
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
    window->hscSCALE->setValue(30);
    create();
    clickRow(other);
    create();

    ASSERT_EQ(reports.entries.size(), 2);
    for (const auto& entry : reports.entries) {
        EXPECT_EQ(entry.text, app::LoadMessage(140));
        EXPECT_EQ(entry.icon, preview::ReportIcon::Exclamation);
    }
    EXPECT_EQ(contentOf(thumbs() + "/CR_D400.bmp"), old);
    EXPECT_EQ(QDir(thumbs()).entryList(QDir::Files), QStringList{"CR_D400.bmp"});
    EXPECT_EQ(colourOf(other), before);
}

} // namespace
