#pragma once

// The main window over a private copy of the sample content, driven offscreen the way a user
// would: the set-up the preview and creation tests share, and the controls found by name.

#include "app/VehicleListView.h"
#include "app/frmPrincipal.h"
#include "platform/FileSystem.h"
#include "preview/ShapePreview.h"
#include "preview/VehicleScene.h"
#include "render/Bitmap.h"
#include "shared/Global.h"
#include "shared/SettingsStore.h"
#include "support/PresetOverwritePolicy.h"
#include "support/RecordedReports.h"
#include "support/TestFiles.h"

#include <QColor>
#include <QCoreApplication>
#include <QDir>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace previewtest {

// The main window with the folder dialogs answered by the test's folders.
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

inline QByteArray bytesOf(const render::RgbImage& picture) {
    const std::vector<std::uint8_t> bmp = render::encodeBmp(picture);
    return QByteArray(reinterpret_cast<const char*>(bmp.data()), qsizetype(bmp.size()));
}

// One run of the program over a private copy of the sample content.
class SampleWindowTest : public ::testing::Test {
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
        testsupport::copyTree(QStringLiteral(PICTELLE_SAMPLE_DIR) + "/MSTS", msts());
        QDir().mkpath(own());
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

    // Controls found by their names, as a user's script would.
    template <typename Widget> Widget& control(const char* name) {
        auto* found = window->findChild<Widget*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return *found;
    }
    app::VehicleListView& list() { return control<app::VehicleListView>("lsvMATERIEL"); }
    QScrollBar& zoomBar() { return control<QScrollBar>("hscSCALE"); }
    QPushButton& createButton() { return control<QPushButton>("cmdCREATE"); }

    int rowOf(const QString& fileName) {
        for (qsizetype row = 0; row < list().count(); ++row)
            if (list().item(row)->text == fileName)
                return int(row);
        return -1;
    }
    void clickRow(int row, Qt::KeyboardModifiers keys = {}) {
        const QRect place = list().visualRect(list().listModel().index(row, 0));
        QTest::mouseClick(list().viewport(), Qt::LeftButton, keys, place.center());
    }
    void create() { QTest::mouseClick(&createButton(), Qt::LeftButton); }
    QColor colourOf(int row) {
        return list()
            .listModel()
            .data(list().listModel().index(row, 0), Qt::ForegroundRole)
            .value<QColor>();
    }
    // The thumbnail pictelle-cli would write for the vehicle at this zoom, drawn without the
    // window.
    QByteArray pictureAt(int row, float cameraFactor) {
        preview::VehicleScene maker(files);
        maker.measureReference(
            preview::ReferenceCandidates(global.Catalog, list().item(0)->catalogIndex));
        maker.setCameraFactor(cameraFactor);
        EXPECT_TRUE(maker.show(global.Catalog[list().item(row)->catalogIndex]));
        return bytesOf(maker.picture());
    }
};

} // namespace previewtest
