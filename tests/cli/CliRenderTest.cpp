#include "CanvasFixtures.h"

#include "platform/FileSystem.h"
#include "preview/PreviewGeometry.h"
#include "preview/SceneShape.h"
#include "preview/SceneView.h"
#include "render/Bitmap.h"
#include "support/TestFiles.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace canvastest;

using testsupport::contentOf;

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
    preview::SceneView view = preview::SceneView::Preview();
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

namespace {

// The load the definition files below carry: a green box standing on its own origin.
msts::Shape loadOnly() {
    fixtures::ShapeBuilder b;
    const std::int32_t root = b.addPart("LOAD", {1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0}, -1);
    b.addBox(b.addMaterial("load.ace", "TexDiff", root), {-1, 0, -4}, {1, 1.5f, 2});
    return b.build();
}

// The same vehicle with the load built into its own shape, raised by `height`: the scene a
// definition file's render must give, made without any freight machinery.
msts::Shape vehicleWithLoad(float height) {
    fixtures::ShapeBuilder b;
    const std::int32_t body = b.addPart("BODY", {1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0}, -1);
    const std::int32_t bogie = b.addPart("BOGIE1", {1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 6}, body);
    const std::int32_t load = b.addPart("LOAD", {1, 0, 0, 0, 1, 0, 0, 0, 1, 0, height, 0}, body);
    b.addBox(b.addMaterial("Body.ace", "TexDiff", body), {-1.5f, 1, -10}, {1.5f, 4, 10});
    b.addBox(b.addMaterial("bogie.ace", "Tex", bogie), {-1.2f, 0, -1.5f}, {1.2f, 1, 1.5f});
    b.addBox(b.addMaterial("load.ace", "TexDiff", load), {-1, 0, -4}, {1, 1.5f, 2});
    return b.build();
}

QString definition(const QString& type, const QString& freight) {
    return "SIMISA@@@@@@@@@@JINX0D0t______\r\n\r\nWagon ( car\r\n\tType ( " + type +
           " )\r\n\tWagonShape ( loco.s )\r\n\tSize ( 3m 5m 18.5m )\r\n" + freight + ")\r\n";
}

void writeText(const QString& path, const QString& text) {
    const QByteArray bytes = text.toLatin1();
    writeFile(path, fixtures::Bytes(reinterpret_cast<const std::byte*>(bytes.constData()),
                                    reinterpret_cast<const std::byte*>(bytes.constData()) +
                                        bytes.size()));
}

} // namespace

// A definition file renders as its shape and its freight shape in one scene, framed on the
// shape alone (as render of the shape is), as wide as its Size says: the same picture as the
// load built into the shape by hand.
TEST_F(CliRenderTest, DefinitionFileDrawsTheShapeWithItsFreightInPlace) {
    writeFile(tmp.path() + "/LOCO/LOAD.S",
              fixtures::writeShape(loadOnly(), fixtures::ShapeForm::Utf16Text));
    fixtures::AceWriteOptions options;
    options.layout = fixtures::AceLayout::Rgb;
    writeFile(tmp.path() + "/LOCO/load.ace", fixtures::writeAce(solidPicture(0, 200, 0), options));

    const platform::FileSystem fs;
    for (const auto& [type, height] :
         {std::pair{QString("Tender"), 4.5f}, {QString("Freight"), 0.0f}}) {
        SCOPED_TRACE(type.toStdString());
        writeText(tmp.path() + "/LOCO/car.wag",
                  definition(type, "\tFreightAnim ( load.s 4.5 2 )\r\n"));
        writeFile(tmp.path() + "/HAND/loco.s",
                  fixtures::writeShape(vehicleWithLoad(height), fixtures::ShapeForm::Binary));
        for (const char* texture : {"Body.ace", "bogie.ace", "load.ace"})
            QFile::copy(tmp.path() + "/LOCO/" + QString(texture).toLower(),
                        tmp.path() + "/HAND/" + texture);
        QFile::remove(out());
        const CliResult run = cli({tmp.path() + "/LOCO/car.wag", out(), "--zoom", "0.5"});
        ASSERT_EQ(run.status, 0) << run.errors.toStdString();
        EXPECT_TRUE(run.errors.isEmpty()) << run.errors.toStdString();

        preview::SceneShape alone(&fs);
        alone.setWorldMatrix(preview::HalfTurnWorldMatrix());
        ASSERT_TRUE(alone.load(shape()));
        const render::BoundingSphere s = alone.boundingSphere();
        preview::SceneShape hand(&fs);
        hand.setWorldMatrix(preview::HalfTurnWorldMatrix());
        ASSERT_TRUE(hand.load(tmp.path() + "/HAND/loco.s"));
        ASSERT_TRUE(hand.missingTextures().isEmpty());
        preview::SceneView view = preview::SceneView::Preview();
        view.setCamera(preview::CameraFactorForOffset(0.5) * s.radius, s.centre);
        // 18.5 m at 7.415 pixels a metre.
        const std::vector<std::uint8_t> expected = render::encodeBmp(view.render(hand, 137, 96));
        EXPECT_EQ(contentOf(out()), QByteArray(reinterpret_cast<const char*>(expected.data()),
                                               qsizetype(expected.size())));
    }
}

// A missing freight shape or a malformed entry does not stop the vehicle: it is drawn alone,
// and standard error names what was left out.
TEST_F(CliRenderTest, DefinitionFileWithMissingFreightIsDrawnAloneAndSaysWhat) {
    writeText(tmp.path() + "/LOCO/car.wag",
              definition("Freight",
                         "\tFreightAnim ( absent_numbers.s 0 0 )\r\n\tFreightAnim ( x.s )\r\n"));
    const CliResult run = cli({tmp.path() + "/LOCO/car.wag", out()});
    ASSERT_EQ(run.status, 0) << run.errors.toStdString();
    EXPECT_TRUE(run.errors.contains("absent_numbers.s")) << run.errors.toStdString();
    EXPECT_TRUE(run.errors.contains("ligne 8")) << run.errors.toStdString();
    // The entry is told by its line, never quoted.
    EXPECT_FALSE(run.errors.contains("( x.s")) << run.errors.toStdString();

    const QString alone = tmp.path() + "/alone.bmp";
    ASSERT_EQ(cli({shape(), alone, "--length", "18.5"}).status, 0);
    EXPECT_EQ(contentOf(out()), contentOf(alone));

    // A definition file without a shape is an error, and nothing is written.
    QFile::remove(out());
    writeText(tmp.path() + "/LOCO/none.eng", "Wagon ( x\r\n\tSize ( 1m 1m 10m )\r\n)\r\n");
    const CliResult none = cli({tmp.path() + "/LOCO/none.eng", out()});
    EXPECT_EQ(none.status, 1);
    EXPECT_EQ(none.errors.trimmed().count('\n'), 0) << none.errors.toStdString();
    EXPECT_FALSE(QFile::exists(out()));
}

// A vehicle's file is taken to lie in a trainset's vehicle folder: what it names may reach the
// simulator's folder above, never further, and its length must be a vehicle's.
TEST_F(CliRenderTest, DefinitionFileNamesStayInTheSimulatorFolderAndItsLengthIsBounded) {
    const QString msts = tmp.path() + "/MSTS";
    const QString vehicle = msts + "/TRAINS/TRAINSET/CAR";
    writeFile(tmp.path() + "/secret.s",
              fixtures::writeShape(bogieVehicle(), fixtures::ShapeForm::Binary));
    writeFile(msts + "/common.s",
              fixtures::writeShape(bogieVehicle(), fixtures::ShapeForm::Binary));
    const auto wagon = [](const QString& shape, const QString& size) {
        return "SIMISA@@@@@@@@@@JINX0D0t______\r\n\r\nWagon ( car\r\n\tWagonShape ( " + shape +
               " )\r\n\tSize ( " + size + " )\r\n)\r\n";
    };

    writeText(vehicle + "/out.wag", wagon("..\\..\\..\\..\\secret.s", "3m 4m 20m"));
    CliResult run = cli({vehicle + "/out.wag", out()});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.errors.startsWith("forme hors du dossier du simulateur, non ouverte : "))
        << run.errors.toStdString();
    EXPECT_FALSE(QFile::exists(out()));

    writeText(vehicle + "/in.wag", wagon("..\\..\\..\\common.s", "3m 4m 20m"));
    run = cli({vehicle + "/in.wag", out()});
    EXPECT_EQ(run.status, 0) << run.errors.toStdString();

    QFile::remove(out());
    writeText(vehicle + "/typo.wag", wagon("..\\..\\..\\common.s", "3m 4m 1945m"));
    run = cli({vehicle + "/typo.wag", out()});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.errors.trimmed().toStdString(),
              ("longueur de 1945 m refusée dans " + vehicle +
               "/typo.wag : un véhicule mesure au plus 150 m (ligne Size)")
                  .toStdString());
    EXPECT_FALSE(QFile::exists(out()));
    // Given on the command line, any width is the user's own choice.
    run = cli({vehicle + "/typo.wag", out(), "--length", "200"});
    EXPECT_EQ(run.status, 0) << run.errors.toStdString();
}
