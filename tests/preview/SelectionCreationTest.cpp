// The main window making the thumbnails of several selected vehicles, driven offscreen over a
// copy of the sample content: the progress window, the items' colours, the files, the
// overwrite answers, Annuler, and a vehicle that cannot be drawn.

#include "app/VehicleListView.h"
#include "app/frmPrincipal.h"
#include "platform/FileSystem.h"
#include "preview/BatchCreation.h"
#include "preview/OverwritePolicy.h"
#include "preview/ReportBoxes.h"
#include "preview/ShapePreview.h"
#include "preview/VehicleScene.h"
#include "preview/frmCreationProgress.h"
#include "preview/sfCanvas.h"
#include "render/Bitmap.h"
#include "shared/Global.h"
#include "shared/Messages.h"
#include "shared/SettingsStore.h"
#include "support/PresetOverwritePolicy.h"
#include "support/RecordedReports.h"
#include "support/TestFiles.h"

#include "SampleWindow.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

using preview::frmCreationProgress;
using preview::OverwriteChoice;

using testsupport::contentOf;

namespace {

const QColor magenta(255, 0, 255);
const QColor blue(0, 0, 255);

// Hands the creation progress window to a test as soon as it opens.
class ProgressWatch : public QObject {
public:
    explicit ProgressWatch(std::function<void(frmCreationProgress&)> opened)
        : opened_(std::move(opened)) {
        connect(&timer_, &QTimer::timeout, this, [this] {
            if (auto* window =
                    qobject_cast<frmCreationProgress*>(QApplication::activeModalWidget())) {
                timer_.stop();
                opened_(*window);
            }
        });
        timer_.start(0);
    }

private:
    QTimer timer_;
    std::function<void(frmCreationProgress&)> opened_;
};

class SelectionCreationTest : public previewtest::SampleWindowTest {
protected:
    float cameraFactor() {
        return preview::CameraFactorForOffset(preview::ZoomOffset(zoomBar().value()));
    }
    void selectAll() {
        list().setFocus();
        QTest::keyClick(&list(), Qt::Key_A, Qt::ControlModifier);
    }
    QString thumbnailOf(int row) {
        return thumbs() + "/" + list().item(row)->text.chopped(4) + ".bmp";
    }
    // The thumbnail pictelle-cli make writes for the vehicle at the zoom at rest.
    QByteArray cliPicture(int row) { return pictureAt(row, preview::CameraFactorForOffset(0.0)); }
    QStringList thumbnailFiles() const {
        QStringList names = QDir(thumbs()).entryList(QDir::Files);
        names.sort(Qt::CaseInsensitive);
        return names;
    }
};

TEST_F(SelectionCreationTest, CtrlAThenCreerMakesEveryThumbnailBehindTheProgressWindow) {
    start();
    const int current = rowOf("CR_D400.eng");
    clickRow(current);
    selectAll();
    const QList<qsizetype> all = list().selectedRows();
    ASSERT_EQ(all.size(), list().count());

    QStringList captions;
    QStringList counts;
    bool watched = false;
    ProgressWatch watch([&](frmCreationProgress& progress) {
        watched = true;
        EXPECT_EQ(progress.parentWidget(), window.get());
        EXPECT_TRUE(progress.isModal());
        EXPECT_EQ(progress.windowTitle(),
                  app::LoadMessage(app::MessageId::CreationTitle, {"|1", "Pictelle"}));
        EXPECT_EQ(progress.cmdCancel->text(), "Annuler");
        EXPECT_EQ(progress.prgCREATION->maximum(), list().count());
        captions.append(progress.lblIMAGE->text());
        QObject::connect(&progress.run(), &preview::BatchCreation::itemStarted, &progress,
                         [&] { captions.append(progress.lblIMAGE->text()); });
        QObject::connect(&progress.run(), &preview::BatchCreation::itemFinished, &progress,
                         [&] { counts.append(progress.lblCOUNT->text()); });
    });
    create();

    ASSERT_TRUE(watched);
    captions.removeDuplicates();
    QStringList expected;
    for (qsizetype row = 0; row < list().count(); ++row)
        expected.append(
            app::LoadMessage(app::MessageId::Creating, {"|1", list().item(row)->text.chopped(4)}));
    EXPECT_EQ(captions, expected);
    ASSERT_FALSE(counts.isEmpty());
    EXPECT_EQ(counts.back(), app::LoadMessage(app::MessageId::CreationCount,
                                              {"|1", list().count(), "|2", list().count()}));

    ASSERT_EQ(reports.entries.size(), 1);
    EXPECT_EQ(reports.entries[0].text, app::LoadMessage(app::MessageId::CreateFinished));
    EXPECT_EQ(reports.entries[0].icon, preview::ReportIcon::Information);
    for (int row = 0; row < list().count(); ++row) {
        EXPECT_EQ(contentOf(thumbnailOf(row)), cliPicture(row)) << row;
        EXPECT_EQ(colourOf(row), magenta) << row;
        EXPECT_TRUE(list().item(row)->bold);
    }
    EXPECT_EQ(thumbnailFiles().size(), list().count());
    // The selection and the preview are as they were.
    EXPECT_EQ(list().selectedRows(), all);
    EXPECT_EQ(list().selectedRow(), current);
    EXPECT_EQ(window->preview().ShapePath(),
              global.Catalog[list().item(current)->catalogIndex].shapePath());
    EXPECT_TRUE(control<preview::sfCanvas>("sfCanvas1").isVisible());
    EXPECT_TRUE(control<QPushButton>("cmdCREATE").isEnabled());
    EXPECT_TRUE(policy.questions().isEmpty());
}

TEST_F(SelectionCreationTest, TheMenuSelectsTheBlueItemsAndCreatesThemOnly) {
    start();
    QList<qsizetype> blueRows;
    for (int row = 0; row < list().count(); ++row)
        if (colourOf(row) == blue)
            blueRows.append(row);
    // The sample lists one red and one green vehicle besides the blue ones.
    ASSERT_GE(blueRows.size(), 2);
    ASSERT_LT(blueRows.size(), list().count());
    QList<QColor> before;
    for (int row = 0; row < list().count(); ++row)
        before.append(colourOf(row));

    list().findChild<QAction*>("mnuSELECT_TO_MAKE")->trigger();
    EXPECT_EQ(list().selectedRows(), blueRows);
    EXPECT_EQ(list().selectedRow(), blueRows.front());
    EXPECT_TRUE(
        control<QLabel>("lblQTE_FILES").text().endsWith(list().item(blueRows.front())->text));

    list().findChild<QAction*>("mnuCREATE_SELECTION")->trigger();
    ASSERT_EQ(reports.entries.size(), 1);
    EXPECT_EQ(reports.entries[0].text, app::LoadMessage(app::MessageId::CreateFinished));
    for (int row = 0; row < list().count(); ++row) {
        const bool chosen = blueRows.contains(row);
        EXPECT_EQ(colourOf(row), chosen ? magenta : before[row]) << row;
        EXPECT_EQ(QFileInfo::exists(thumbnailOf(row)), chosen) << row;
    }
    // Nothing is left to make.
    list().findChild<QAction*>("mnuSELECT_TO_MAKE")->trigger();
    EXPECT_TRUE(list().selectedRows().isEmpty());
}

TEST_F(SelectionCreationTest, EachExistingThumbnailIsAskedAboutUntilAnAlwaysAnswer) {
    start();
    // Three thumbnails made one at a time, as before.
    const int first = 0;
    const int second = 1;
    const int third = rowOf("CR_CoachA1.wag");
    ASSERT_GT(third, second);
    for (int row : {first, second, third}) {
        clickRow(row);
        create();
    }
    ASSERT_EQ(reports.entries.size(), 3);
    ASSERT_TRUE(policy.questions().isEmpty());
    const QByteArray firstBefore = contentOf(thumbnailOf(first));

    // A nearer camera draws other pictures.
    zoomBar().setValue(12);
    policy.addAnswer(OverwriteChoice::KeepOnce);
    policy.addAnswer(OverwriteChoice::OverwriteAlways);
    selectAll();
    create();
    ASSERT_EQ(policy.questions().size(), 2);
    EXPECT_TRUE(policy.questions()[0].endsWith("\\" + QFileInfo(thumbnailOf(first)).fileName()));
    EXPECT_TRUE(policy.questions()[1].endsWith("\\" + QFileInfo(thumbnailOf(second)).fileName()));
    EXPECT_EQ(contentOf(thumbnailOf(first)), firstBefore);
    EXPECT_EQ(contentOf(thumbnailOf(second)), pictureAt(second, cameraFactor()));
    EXPECT_EQ(contentOf(thumbnailOf(third)), pictureAt(third, cameraFactor()));
    EXPECT_EQ(global.OverwriteChoice, OverwriteChoice::OverwriteAlways);
    EXPECT_EQ(reports.entries.back().text, app::LoadMessage(app::MessageId::CreateFinished));
    EXPECT_EQ(colourOf(first), magenta);

    // The standing answer holds for later selections and single creations alike.
    zoomBar().setValue(28);
    create();
    EXPECT_EQ(contentOf(thumbnailOf(first)), pictureAt(first, cameraFactor()));
    clickRow(third);
    zoomBar().setValue(30);
    create();
    EXPECT_EQ(contentOf(thumbnailOf(third)), pictureAt(third, cameraFactor()));
    EXPECT_EQ(policy.questions().size(), 2);
    EXPECT_EQ(thumbnailFiles().size(), list().count());
}

// Annuler, Escape and the close box all stop the run once the vehicle in hand is placed.
class StoppingTest : public SelectionCreationTest,
                     public ::testing::WithParamInterface<const char*> {};

TEST_P(StoppingTest, StopsAfterTheVehicleInHandAndLeavesTheOthersUntouched) {
    start();
    const int kept = list().count() - 1;
    QDir().mkpath(thumbs());
    QFile old(thumbnailOf(kept));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old");
    old.close();
    QList<QColor> before;
    for (int row = 0; row < list().count(); ++row)
        before.append(colourOf(row));

    const QString how = GetParam();
    bool stillOpen = false;
    ProgressWatch watch([&](frmCreationProgress& progress) {
        QObject::connect(&progress.run(), &preview::BatchCreation::itemStarted, &progress,
                         [&](qsizetype at) {
                             if (at != 1)
                                 return;
                             if (how == "button")
                                 QTest::mouseClick(progress.cmdCancel, Qt::LeftButton);
                             else if (how == "escape")
                                 QTest::keyClick(&progress, Qt::Key_Escape);
                             else
                                 progress.close();
                             stillOpen = progress.isVisible();
                             EXPECT_FALSE(progress.cmdCancel->isEnabled());
                         });
    });
    selectAll();
    create();

    EXPECT_TRUE(stillOpen);
    QStringList expected{list().item(0)->text.chopped(4) + ".bmp",
                         list().item(1)->text.chopped(4) + ".bmp",
                         list().item(kept)->text.chopped(4) + ".bmp"};
    expected.sort(Qt::CaseInsensitive);
    EXPECT_EQ(thumbnailFiles(), expected);
    EXPECT_EQ(contentOf(thumbnailOf(kept)), "old");
    for (int row = 0; row < list().count(); ++row)
        EXPECT_EQ(colourOf(row), row < 2 ? magenta : before[row]) << row;
    ASSERT_EQ(reports.entries.size(), 1);
    EXPECT_EQ(reports.entries[0].text,
              app::LoadMessage(app::MessageId::CreationStopped, {"|1", 2, "|2", list().count()}));
    EXPECT_TRUE(policy.questions().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Ways, StoppingTest, ::testing::Values("button", "escape", "closeBox"));

TEST_F(SelectionCreationTest, AVehicleThatCannotBeDrawnIsNamedAndTheOthersAreMade) {
    QFile::resize(msts() + "/TRAINS/TRAINSET/CR_Steam/CR_460.S", 40);
    start();
    const int broken = rowOf("CR_460.eng");
    const QColor brokenBefore = colourOf(broken);
    selectAll();
    create();

    ASSERT_EQ(reports.entries.size(), 1);
    EXPECT_EQ(reports.entries[0].icon, preview::ReportIcon::Exclamation);
    EXPECT_EQ(reports.entries[0].text,
              app::LoadMessage(app::MessageId::CreateFailed) + "\r\n\r\n" +
                  app::LoadMessage(app::MessageId::FailureCount, {"|1", 1}) + "\r\nCR_460");
    for (int row = 0; row < list().count(); ++row) {
        if (row == broken) {
            EXPECT_EQ(colourOf(row), brokenBefore);
            EXPECT_FALSE(QFileInfo::exists(thumbnailOf(row)));
        } else {
            EXPECT_EQ(colourOf(row), magenta) << row;
            EXPECT_EQ(contentOf(thumbnailOf(row)), cliPicture(row)) << row;
        }
    }
    EXPECT_FALSE(thumbnailFiles().join(' ').contains("SFCANVAS_"));
}

} // namespace
