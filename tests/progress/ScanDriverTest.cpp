#include "ProgressHarness.h"
#include "TrainsetFixture.h"

#include "catalog/ScanDriver.h"

#include <QDir>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

using namespace progresstest;

namespace {

// Passes the walk's calls on to the window and writes down each step with the bar's right
// edge as the window then shows it.
class Recorder : public catalog::ScanProgress {
public:
    Recorder(catalog::frmProgress& window, const Harness& harness, int pauseMs = 0)
        : window_(window), harness_(harness), pauseMs_(pauseMs) {}

    bool isOpen() const override { return window_.isOpen(); }
    void ShowProgressStep(app::MessageId step) override {
        message_ = static_cast<int>(step);
        window_.ShowProgressStep(step);
    }
    void DrawProgressBar(qsizetype first, qsizetype last, double current) override {
        if (pauseMs_ > 0) {
            QThread::msleep(pauseMs_);
        }
        window_.DrawProgressBar(first, last, current);
        steps << QString("%1:%2..%3@%4=%5")
                     .arg(message_)
                     .arg(first)
                     .arg(last)
                     .arg(current)
                     .arg(harness_.barRight());
    }
    bool stopRequested() const override { return window_.stopRequested(); }

    QStringList steps;

private:
    catalog::frmProgress& window_;
    const Harness& harness_;
    int pauseMs_;
    int message_ = 0;
};

// Three vehicle folders A, B, C with a locomotive and a wagon each.
void threeFolders(fixture::Trainset& t) {
    for (const QString folder : {"A", "B", "C"}) {
        t.vehicle(folder, folder.toLower() + ".eng", folder.toLower() + ".s");
        t.vehicle(folder, folder.toLower() + "car.wag", folder.toLower() + "car.s");
    }
}

QString mstsPathOf(const fixture::Trainset& t) {
    return QDir::toNativeSeparators(t.msts());
}

} // namespace

TEST(ScanRollingStock, DrawsEachPassFromEmptyToFullAtTheWalksSteps) {
    fixture::Trainset t;
    threeFolders(t);
    Harness h;
    Recorder recorder(*h.window, h);
    catalog::Catalog catalog;
    int fills = 0;
    EXPECT_TRUE(catalog::ScanRollingStock(t.fs(), mstsPathOf(t), catalog, &recorder,
                                          [&fills] { ++fills; }));
    EXPECT_EQ(fills, 1);
    EXPECT_EQ(catalog::CatalogCount(catalog), 6);
    // Bar right edge: 18 + 445 / last * current, to even; none on the first step.
    EXPECT_EQ(recorder.steps.join(' ').toStdString(),
              "110:0..3@0=-1 110:0..3@1=166 110:0..3@2=315 110:0..3@3=463 "
              "111:0..3@0=-1 111:0..3@1=166 111:0..3@2=315 111:0..3@3=463 "
              "132:0..5@0=-1 132:0..5@1=107 132:0..5@2=196 132:0..5@3=285 132:0..5@4=374 "
              "132:0..5@5=463");
}

TEST(ScanRollingStock, NoFolderAndASingleEntryDrawNoBarAtAll) {
    fixture::Trainset t;
    t.vehicle("", "loose.eng", "loose.s");
    Harness h;
    Recorder recorder(*h.window, h);
    const QImage frame = h.window->picture().copy();
    catalog::Catalog catalog;
    catalog::ScanRollingStock(t.fs(), mstsPathOf(t), catalog, &recorder, {});
    EXPECT_EQ(recorder.steps.join(' ').toStdString(), "110:0..0@0=-1 111:0..0@0=-1 132:0..0@0=-1");
    EXPECT_EQ(catalog::CatalogCount(catalog), 1);
    EXPECT_EQ(h.barRight(), -1);
    EXPECT_NE(h.window->picture(), frame) << "the step text is printed";
}

TEST(ScanRollingStock, AnEmptySimulatorFolderRunsNothing) {
    Harness h;
    Recorder recorder(*h.window, h);
    catalog::Catalog catalog;
    int fills = 0;
    EXPECT_FALSE(catalog::ScanRollingStock(h.services.files, QString(), catalog, &recorder,
                                           [&fills] { ++fills; }));
    EXPECT_EQ(fills, 0);
    EXPECT_EQ(catalog::CatalogCount(catalog), 0);
    EXPECT_TRUE(recorder.steps.isEmpty());
}

TEST(frmProgressTimer, FirstTickRunsTheScanOnceThenTheWindowClosesItself) {
    fixture::Trainset t;
    threeFolders(t);
    catalog::Catalog catalog;
    int scans = 0;
    int fills = 0;
    Harness* harness = nullptr;
    // Slow steps: several ticks fall due while the scan lets the event queue run.
    Harness h([&](catalog::frmProgress& window) {
        ++scans;
        Recorder recorder(window, *harness, 60);
        catalog::ScanRollingStock(t.fs(), mstsPathOf(t), catalog, &recorder, [&] { ++fills; });
    });
    harness = &h;
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, h.window.get(), &QDialog::reject);
    watchdog.start(20000);

    const int result = h.window->exec();
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(scans, 1);
    EXPECT_EQ(fills, 1);
    EXPECT_FALSE(h.window->isOpen());
    EXPECT_FALSE(h.window->Timer1->isActive());
    EXPECT_FALSE(h.window->isVisible());
    EXPECT_EQ(h.mainWindow.cursor().shape(), Qt::ArrowCursor) << "default pointer again";
    EXPECT_EQ(h.window->cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(h.endRequests, 0);
}

TEST(frmProgressTimer, WithoutASimulatorFolderTheWindowClosesByItself) {
    catalog::Catalog catalog;
    int fills = 0;
    Harness* harness = nullptr;
    Harness h([&](catalog::frmProgress& window) {
        Recorder recorder(window, *harness);
        catalog::ScanRollingStock(harness->services.files, QString(), catalog, &recorder,
                                  [&] { ++fills; });
    });
    harness = &h;
    EXPECT_EQ(h.window->exec(), QDialog::Accepted);
    EXPECT_EQ(fills, 0);
    EXPECT_EQ(catalog::CatalogCount(catalog), 0);
}

TEST(frmProgressTimer, ClosingDuringTheScanStopsItBeforeTheListIsFilled) {
    fixture::Trainset t;
    threeFolders(t);
    catalog::Catalog catalog;
    int fills = 0;
    Harness* harness = nullptr;
    Harness h([&](catalog::frmProgress& window) {
        Recorder recorder(window, *harness);
        QTimer::singleShot(0, &window, &QWidget::close);
        catalog::ScanRollingStock(t.fs(), mstsPathOf(t), catalog, &recorder, [&] { ++fills; });
        // Only the first step ran: the close was seen at once.
        EXPECT_EQ(recorder.steps.size(), 1) << recorder.steps.join(' ').toStdString();
    });
    harness = &h;
    h.window->exec();
    EXPECT_EQ(h.endRequests, 1);
    EXPECT_EQ(fills, 0);
}
