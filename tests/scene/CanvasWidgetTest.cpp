#include "CanvasFixtures.h"

#include "platform/FileSystem.h"
#include "preview/PreviewGeometry.h"
#include "preview/SceneView.h"
#include "preview/sfCanvas.h"
#include "preview/sfShape.h"
#include "render/Bitmap.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace canvastest;
using namespace preview;

namespace {

class CanvasWidgetTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(tmp.isValid());
        writeFile(tmp.path() + "/TRAINSET/LOCO/loco.s",
                  fixtures::writeShape(bogieVehicle(), fixtures::ShapeForm::CompressedBinary));
        fixtures::AceWriteOptions options;
        options.layout = fixtures::AceLayout::Dxt1;
        options.mipmaps = true;
        writeFile(tmp.path() + "/TRAINSET/TEXTURES/body.ace",
                  fixtures::writeAce(solidPicture(90, 90, 200), options));
        writeFile(tmp.path() + "/TRAINSET/LOCO/bogie.ace",
                  fixtures::writeAce(solidPicture(220, 0, 0), options));
        QDir().mkpath(tmp.path() + "/Thumbnails");
        canvas.setFileSystem(&fs);
    }

    // The preview's set-up and first redraw, in its order, with this shape as reference.
    void setUpLikeThePreview(sfShape& shape) {
        ASSERT_TRUE(canvas.InitialiseDevice());
        ASSERT_TRUE(canvas.InitialiseScene());
        canvas.SceneValueA(PreviewSceneValueA);
        canvas.SceneValueB(PreviewSceneValueB);
        shape.AttachDevice(canvas.Device());
        shape.TexturePath("..\\textures\\");
        shape.ShapeFile(shapePath());
        canvas.BackColor(PreviewBackColor);
        canvas.Top(CanvasTop);
        canvas.Height(CanvasHeight);
        canvas.Left(255.5f);
        canvas.Width(145);
        shape.SetWorldMatrix(HalfTurnWorldMatrix().m);
        float x = 0, y = 0, z = 0, r = 0;
        shape.GetBoundingSphere(x, y, z, r);
        canvas.SetCamera(BaseCameraFactor * r, 2, 0, x, y, z, 0, 1, 0);
        ASSERT_TRUE(canvas.BeginFrame());
        int level = 1;
        float detail = -1.0f;
        shape.Draw(level, detail);
        canvas.EndFrame();
    }

    QString shapePath() const { return tmp.path() + "\\TRAINSET\\LOCO\\LOCO.S"; }

    QTemporaryDir tmp;
    platform::FileSystem fs{platform::FileSystem::Options{{}, {}, {}}};
    sfCanvas canvas;
};

} // namespace

TEST_F(CanvasWidgetTest, NothingIsDrawnBeforeTheDeviceExists) {
    EXPECT_EQ(canvas.objectName(), "sfCanvas1");
    EXPECT_EQ(canvas.Device(), nullptr);
    canvas.Width(40);
    canvas.Height(20);
    EXPECT_FALSE(canvas.BeginFrame());
    ASSERT_TRUE(canvas.InitialiseDevice());
    EXPECT_EQ(canvas.Device(), &canvas);
    EXPECT_TRUE(canvas.BeginFrame());
}

TEST_F(CanvasWidgetTest, ShownPictureIsTheSceneRenderedAtTheCanvasSize) {
    sfShape shape;
    setUpLikeThePreview(shape);
    ASSERT_EQ(shape.Scene().status(), ShapeLoadStatus::Loaded);
    const render::RgbImage& picture = canvas.Picture();
    ASSERT_EQ(picture.width, 145);
    ASSERT_EQ(picture.height, 96);
    EXPECT_EQ(picture.rgb, canvas.View().render(shape.Scene(), 145, 96).rgb);

    // The widget shows exactly that picture.
    const QImage shown = canvas.grab().toImage().convertToFormat(QImage::Format_RGB888);
    ASSERT_EQ(shown.size(), QSize(145, 96));
    for (int y : {0, 40, 60, 95})
        for (int x : {0, 30, 72, 144}) {
            const QColor c = shown.pixelColor(x, y);
            const render::Rgb p = picture.pixel(x, y);
            EXPECT_EQ(c.red(), p.r);
            EXPECT_EQ(c.green(), p.g);
            EXPECT_EQ(c.blue(), p.b);
        }
}

TEST_F(CanvasWidgetTest, ShapeKeepsItsWorldMatrixWhenANewFileIsPut) {
    sfShape shape;
    setUpLikeThePreview(shape);
    float x1 = 0, y1 = 0, z1 = 0, r1 = 0;
    shape.GetBoundingSphere(x1, y1, z1, r1);
    shape.ShapeFile(shapePath());
    EXPECT_EQ(shape.WorldMatrix(), HalfTurnWorldMatrix().m);
    float x2 = 0, y2 = 0, z2 = 0, r2 = 0;
    shape.GetBoundingSphere(x2, y2, z2, r2);
    EXPECT_EQ(z1, z2);
    // The bogie sits towards +Z; turned end for end the sphere's centre moves towards -Z.
    shape.SetWorldMatrix(render::Mat4::identity().m);
    shape.GetBoundingSphere(x2, y2, z2, r2);
    EXPECT_NEAR(z1, -z2, 1e-5f);
    EXPECT_NEAR(r1, r2, 1e-4f);
}

TEST_F(CanvasWidgetTest, ScreenshotWritesTheShownPictureAndReportsItsPath) {
    sfShape shape;
    setUpLikeThePreview(shape);
    const QString location = tmp.path() + "\\Thumbnails\\SFCANVAS_";
    canvas.ScreenshotLocation(location);
    EXPECT_EQ(canvas.ScreenshotLocation(), location);

    const QString written = canvas.TakeScreenshot();
    ASSERT_FALSE(written.isEmpty());
    EXPECT_TRUE(written.startsWith(location));
    EXPECT_TRUE(written.endsWith(".bmp"));
    const QStringList files =
        QDir(tmp.path() + "/Thumbnails").entryList(QDir::Files | QDir::Hidden);
    ASSERT_EQ(files.size(), 1) << "no temporary file may be left";

    QFile file(fs.resolve(written));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    // Byte for byte what pictelle-cli writes for the same scene.
    const std::vector<std::uint8_t> expected =
        render::encodeBmp(canvas.View().render(shape.Scene(), 145, 96));
    EXPECT_EQ(bytes, QByteArray(reinterpret_cast<const char*>(expected.data()),
                                qsizetype(expected.size())));

    canvas.ScreenshotLocation(tmp.path() + "\\Missing\\SFCANVAS_");
    EXPECT_TRUE(canvas.TakeScreenshot().isEmpty());
}

TEST_F(CanvasWidgetTest, UnreadableShapeDrawsTheBackgroundAndSaysWhy) {
    writeFile(tmp.path() + "/TRAINSET/LOCO/loco.s", fixtures::Bytes(64, std::byte{0x20}));
    sfShape shape;
    setUpLikeThePreview(shape);
    EXPECT_EQ(shape.Scene().status(), ShapeLoadStatus::Invalid);
    const render::RgbImage& picture = canvas.Picture();
    ASSERT_EQ(picture.width, 145);
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
            ASSERT_EQ(picture.pixel(x, y),
                      (render::Rgb{PreviewBackRed, PreviewBackGreen, PreviewBackBlue}));
}

TEST_F(CanvasWidgetTest, ShowingAndResizingAskForARepaintOnceABurst) {
    ASSERT_TRUE(canvas.InitialiseDevice());
    QSignalSpy spy(&canvas, &sfCanvas::RepaintNeeded);
    canvas.Visible(true);
    ASSERT_TRUE(spy.wait(1000));
    spy.clear();
    canvas.Width(60);
    canvas.Width(70);
    ASSERT_TRUE(spy.wait(1000));
    QCoreApplication::processEvents();
    EXPECT_EQ(spy.count(), 1) << "a burst of changes asks once";
}
