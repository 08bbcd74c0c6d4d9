#include "ProgressHarness.h"

#include "catalog/ProgressPicture.h"

#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace progresstest;

namespace {

const QRgb black = qRgb(0, 0, 0);
const QRgb grey = qRgb(192, 192, 192);
const QRgb heading = qRgb(255, 255, 192);
const QRgb cyan = qRgb(0, 255, 255);

// Bounds of the pixels of one colour inside a band of rows.
QRect extentOf(const QImage& picture, QRgb colour, int top, int bottom) {
    QRect box;
    for (int y = top; y <= bottom; ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            if (picture.pixel(x, y) == colour) {
                box |= QRect(x, y, 1, 1);
            }
        }
    }
    return box;
}

} // namespace

TEST(frmProgress, LoadTitlesCentresAndArmsTheWindowWithBusyPointers) {
    Harness h;
    catalog::frmProgress& w = *h.window;
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Pictelle - Recherche du mat\u00e9riel"));
    EXPECT_EQ(w.size(), QSize(480, 136));
    EXPECT_TRUE(w.isModal());
    EXPECT_TRUE(w.isOpen());
    EXPECT_TRUE(w.readyToScan());
    EXPECT_TRUE(w.Timer1->isActive());
    EXPECT_EQ(w.Timer1->interval(), 100);
    EXPECT_EQ(w.cursor().shape(), Qt::WaitCursor);
    EXPECT_EQ(h.mainWindow.cursor().shape(), Qt::WaitCursor);
}

TEST(frmProgress, FrameAndHeadingAreDrawnAtTheirPlaces) {
    Harness h;
    const QImage& p = h.window->picture();
    for (const QPoint at : {QPoint(16, 68), QPoint(465, 68), QPoint(16, 95), QPoint(465, 95),
                            QPoint(240, 68), QPoint(16, 80), QPoint(465, 80)}) {
        EXPECT_EQ(p.pixel(at), black) << at.x() << "," << at.y();
    }
    for (const QPoint at :
         {QPoint(17, 69), QPoint(464, 69), QPoint(17, 94), QPoint(464, 94), QPoint(240, 94)}) {
        EXPECT_EQ(p.pixel(at), grey) << at.x() << "," << at.y();
    }
    // Inside and outside the frames the background shows.
    for (const QPoint at : {QPoint(18, 70), QPoint(463, 93), QPoint(15, 68), QPoint(466, 96)}) {
        EXPECT_EQ(p.pixel(at), plain) << at.x() << "," << at.y();
    }
    // Two centred heading lines from y = 10, above the frame.
    const QRect text = extentOf(p, heading, 0, 135);
    ASSERT_FALSE(text.isEmpty());
    EXPECT_GE(text.top(), 10);
    EXPECT_LT(text.bottom(), 68);
    EXPECT_GT(text.height(), 24) << "two lines";
    EXPECT_LE(std::abs(text.left() - (479 - text.right())), 2);
}

TEST(frmProgress, BarIsAndedOverWhatLiesBeneathAndKeepsTheStepTextVisible) {
    Harness h;
    catalog::frmProgress& w = *h.window;
    w.ShowProgressStep(QStringLiteral("Recherche des fichiers de formes..."));
    const QRect text = extentOf(w.picture(), cyan, 70, 93);
    ASSERT_FALSE(text.isEmpty());
    EXPECT_GE(text.top(), 75);
    EXPECT_LE(std::abs(text.left() - (479 - text.right())), 2);

    w.DrawProgressBar(0, 4, 2);
    // 445 / 4 * 2 = 222.5, to even: columns 18 to 240.
    EXPECT_EQ(h.barRight(), 240);
    EXPECT_EQ(w.picture().pixel(18, 70), plainUnderBar);
    EXPECT_EQ(w.picture().pixel(240, 93), plainUnderBar);
    EXPECT_EQ(w.picture().pixel(241, 93), plain);
    EXPECT_EQ(w.picture().pixel(18, 69), grey);
    // The text's pure cyan pixels are all still there, under the bar as beside it.
    EXPECT_EQ(extentOf(w.picture(), cyan, 70, 93), text);

    const QImage once = w.picture().copy();
    w.DrawProgressBar(0, 4, 2);
    EXPECT_EQ(w.picture(), once) << "drawing the bar again changes nothing";

    w.DrawProgressBar(0, 4, 4);
    EXPECT_EQ(h.barRight(), 463);
    EXPECT_EQ(w.picture().pixel(464, barRow), grey);
}

TEST(frmProgress, PrintingTheSameStepTextAtEveryStepLeavesItAsPrintedOnce) {
    Harness h;
    catalog::frmProgress& w = *h.window;
    const QString text = QStringLiteral("Recherche des fichiers de motrices...");
    w.ShowProgressStep(text);
    const QImage once = w.picture().copy();
    for (int step = 0; step < 5; ++step) {
        w.ShowProgressStep(text);
    }
    EXPECT_EQ(w.picture(), once);
}

TEST(frmProgress, ALongRangeRepaintsOnlyWhenTheBarGrowsByAPixel) {
    Harness h;
    catalog::frmProgress& w = *h.window;
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    struct PaintCounter : QObject {
        int paints = 0;
        bool eventFilter(QObject*, QEvent* event) override {
            paints += event->type() == QEvent::Paint ? 1 : 0;
            return false;
        }
    } counter;
    w.installEventFilter(&counter);
    const QString text = QStringLiteral("Recherche des fichiers de formes...");
    for (int step = 0; step <= 4000; ++step) {
        w.ShowProgressStep(text);
        w.DrawProgressBar(0, 4000, step);
    }
    EXPECT_EQ(h.barRight(), 463);
    EXPECT_FALSE(extentOf(w.picture(), cyan, 70, 93).isEmpty());
    // A few for the frame and the text, then one per pixel the bar grows; without the
    // check every one of the 8,002 steps would repaint.
    EXPECT_LE(counter.paints, 460);
    EXPECT_GE(counter.paints, 400);
    w.removeEventFilter(&counter);
}

TEST(frmProgress, FirstStepOfARangeRedrawsTheFrameAndClearsTheStepText) {
    Harness h;
    catalog::frmProgress& w = *h.window;
    w.ShowProgressStep(QStringLiteral("Recherche des fichiers de wagons..."));
    w.DrawProgressBar(0, 3, 3);
    ASSERT_EQ(h.barRight(), 463);

    w.ShowProgressStep(QStringLiteral("Recherche des fichiers de formes..."));
    w.DrawProgressBar(0, 5, 0);
    EXPECT_EQ(h.barRight(), -1) << "empty bar";
    EXPECT_TRUE(extentOf(w.picture(), cyan, 70, 93).isEmpty()) << "text cleared";
    EXPECT_EQ(w.picture().pixel(16, 68), black);

    w.ShowProgressStep(QStringLiteral("Recherche des fichiers de formes..."));
    w.DrawProgressBar(0, 5, 1);
    EXPECT_EQ(h.barRight(), 18 + 89);
    EXPECT_FALSE(extentOf(w.picture(), cyan, 70, 93).isEmpty());
}

TEST(frmProgress, AnEmptyRangeDrawsNothingAndLetsNoEventRun) {
    Harness h;
    catalog::frmProgress& w = *h.window;
    bool ran = false;
    QTimer::singleShot(0, [&ran] { ran = true; });
    const QImage before = w.picture().copy();
    w.DrawProgressBar(0, 0, 0);
    EXPECT_FALSE(ran);
    EXPECT_EQ(w.picture(), before);

    w.DrawProgressBar(0, 1, 0);
    EXPECT_TRUE(ran) << "a real step gives the event queue its turn";
}

TEST(frmProgress, ClosingBeforeTheMainWindowIsReadyEndsTheProgram) {
    Harness h;
    catalog::frmProgress& w = *h.window;
    QTimer::singleShot(0, &w, &QWidget::close);
    w.show();
    w.DrawProgressBar(0, 3, 1);
    EXPECT_FALSE(w.isOpen());
    EXPECT_EQ(h.endRequests, 1);
    EXPECT_TRUE(w.stopRequested());
}

TEST(frmProgress, ClosingOnceTheMainWindowIsReadyOnlyStopsTheDrawing) {
    Harness h;
    catalog::frmProgress& w = *h.window;
    h.services.global.MainWindowReady = true;
    w.show();
    QTimer::singleShot(0, &w, &QWidget::close);
    const QImage before = w.picture().copy();
    w.DrawProgressBar(0, 3, 2);
    EXPECT_FALSE(w.isOpen());
    EXPECT_EQ(h.endRequests, 0);
    EXPECT_FALSE(w.stopRequested());
    EXPECT_EQ(w.picture(), before) << "no bar once closed";
}

TEST(frmProgress, ClosingEndsTheProcessItself) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            Services services;
            QWidget mainWindow;
            catalog::frmProgress w(&mainWindow, services.global.MainWindowReady, {});
            w.show();
            QTimer::singleShot(0, &w, &QWidget::close);
            w.DrawProgressBar(0, 3, 1);
            std::fprintf(stderr, "still running\n");
            std::exit(3);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST(ProgressPicture, GoodsTrainSceneFillsTheClientArea) {
    EXPECT_EQ(catalog::ProgressBackgroundPicture().size(), QSize(480, 136));
    const QImage picture = catalog::PaintGoodsTrainScene(QSize(480, 136));
    // Dark sky under the heading, so that its pale text reads; a varied scene below.
    const QColor sky = picture.pixelColor(240, 20);
    EXPECT_LT(sky.lightness(), 100);
    QSet<QRgb> colours;
    for (int x = 0; x < 480; x += 4) {
        colours.insert(picture.pixel(x, 108));
    }
    EXPECT_GT(colours.size(), 10);
    EXPECT_EQ(catalog::PaintGoodsTrainScene(QSize(240, 68)).size(), QSize(240, 68));
}
