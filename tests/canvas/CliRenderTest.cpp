#include "CanvasFixtures.h"

#include "platform/FileSystem.h"
#include "preview/PreviewGeometry.h"
#include "preview/SceneShape.h"
#include "preview/SceneView.h"
#include "render/Bitmap.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace canvastest;

namespace {

struct CliResult {
    int status = -1;
    QString errors;
};

CliResult cli(const QStringList& arguments) {
    QProcess p;
    p.start(QStringLiteral(PICTELLE_CLI), QStringList{"render"} + arguments);
    p.waitForFinished(60000);
    return {p.exitCode(), QString::fromLocal8Bit(p.readAllStandardError())};
}

QByteArray contentOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

std::int32_t le32(const QByteArray& b, int at) {
    return std::int32_t(quint8(b[at]) | quint8(b[at + 1]) << 8 | quint8(b[at + 2]) << 16 |
                        quint32(quint8(b[at + 3])) << 24);
}

class CliRenderTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(tmp.isValid());
        writeFile(shape(), fixtures::writeShape(bogieVehicle(), fixtures::ShapeForm::Binary));
        fixtures::AceWriteOptions options;
        options.layout = fixtures::AceLayout::Dxt1;
        writeFile(tmp.path() + "/LOCO/body.ace",
                  fixtures::writeAce(solidPicture(90, 90, 200), options));
        writeFile(tmp.path() + "/LOCO/bogie.ace",
                  fixtures::writeAce(solidPicture(220, 0, 0), options));
    }
    QString shape() const { return tmp.path() + "/LOCO/loco.s"; }
    QString out() const { return tmp.path() + "/out.bmp"; }

    QTemporaryDir tmp;
};

} // namespace

TEST_F(CliRenderTest, WidthFollowsTheLengthAtThePreviewsScale) {
    // Without --length, the shape's own extent along Z: 20 m gives 148 pixels.
    for (auto [args, width] :
         {std::pair{QStringList{}, 148}, std::pair{QStringList{"--length", "19.6"}, 145},
          std::pair{QStringList{"--length", "1.5"}, 16}}) {
        QFile::remove(out());
        const CliResult run = cli(QStringList{shape(), out()} + args);
        ASSERT_EQ(run.status, 0) << run.errors.toStdString();
        const QByteArray bmp = contentOf(out());
        ASSERT_GT(bmp.size(), 54);
        EXPECT_EQ(le32(bmp, 18), width) << args.join(' ').toStdString();
        EXPECT_EQ(le32(bmp, 22), 96);
    }
}

TEST_F(CliRenderTest, ThumbnailIsByteForByteWhatTheCanvasSceneRenders) {
    const CliResult run = cli({shape(), out(), "--zoom", "-0.5"});
    ASSERT_EQ(run.status, 0) << run.errors.toStdString();

    const platform::FileSystem fs;
    preview::SceneShape scene(&fs);
    scene.setTexturePath("..\\textures\\");
    scene.setWorldMatrix(preview::HalfTurnWorldMatrix());
    ASSERT_TRUE(scene.load(shape()));
    const render::BoundingSphere s = scene.boundingSphere();
    preview::SceneView view;
    view.setBackColor(preview::PreviewBackColor);
    view.setFarPlane(preview::PreviewSceneValueA);
    view.setLightElevation(preview::PreviewSceneValueB);
    view.setCamera(preview::CameraFactorForOffset(-0.5) * s.radius, s.centre);
    const std::vector<std::uint8_t> expected = render::encodeBmp(view.render(scene, 148, 96));
    EXPECT_EQ(contentOf(out()), QByteArray(reinterpret_cast<const char*>(expected.data()),
                                           qsizetype(expected.size())));
}

TEST_F(CliRenderTest, UnreadableShapeIsOneLineOnStandardErrorAndNoFile) {
    writeFile(tmp.path() + "/bad.s", fixtures::Bytes(100, std::byte{0x42}));
    for (const QString& bad : {tmp.path() + "/bad.s", tmp.path() + "/absent.s"}) {
        const CliResult run = cli({bad, out()});
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.errors.trimmed().count('\n'), 0) << run.errors.toStdString();
        EXPECT_FALSE(run.errors.trimmed().isEmpty());
        EXPECT_FALSE(QFile::exists(out()));
    }
}

TEST_F(CliRenderTest, BadArgumentsAreRefusedWithoutWriting) {
    EXPECT_EQ(cli({shape()}).status, 2);
    EXPECT_EQ(cli({shape(), out(), "--zoom", "2.5"}).status, 2);
    EXPECT_EQ(cli({shape(), out(), "--length", "long"}).status, 2);
    EXPECT_FALSE(QFile::exists(out()));
}
