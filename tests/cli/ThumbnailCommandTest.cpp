// pictelle-cli thumbnail run as a file manager runs it, on the sample content: the pictures it
// writes, what it refuses, and the sandbox it must live in.

#include "PictureCompare.h"

#include "support/TestFiles.h"

#include <QDir>
#include <QDirIterator>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

using testsupport::contentOf;

namespace {

const QString kTrainset = QStringLiteral(PICTELLE_SAMPLE_DIR "/MSTS/TRAINS/TRAINSET/");

struct CommandRun {
    bool finished = false;
    int status = -1;
    QString errors;
};

CommandRun
thumbnail(const QStringList& arguments,
          const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment()) {
    QProcess p;
    p.setProcessEnvironment(environment);
    p.start(QStringLiteral(PICTELLE_CLI), QStringList{"thumbnail"} + arguments);
    CommandRun run;
    run.finished = p.waitForFinished(60000);
    if (!run.finished)
        p.kill();
    run.status = p.exitCode();
    run.errors = QString::fromLocal8Bit(p.readAllStandardError());
    return run;
}

struct Picture {
    render::RgbaImage image;
    int channels = 0;
    int transparent = 0; // pixels of alpha 0
    int opaque = 0;      // pixels of alpha 255
};

Picture readPicture(const QString& path) {
    const QByteArray bytes = contentOf(path);
    Picture p;
    p.image = testscene::readPng(reinterpret_cast<const unsigned char*>(bytes.constData()),
                                 std::size_t(bytes.size()), &p.channels);
    for (std::size_t i = 3; i < p.image.rgba.size(); i += 4) {
        p.transparent += p.image.rgba[i] == 0;
        p.opaque += p.image.rgba[i] == 255;
    }
    return p;
}

QStringList filesIn(const QString& folder) {
    QStringList names;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        names.append(it.next().mid(folder.size()));
    names.sort();
    return names;
}

class ThumbnailCommandTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(tmp.isValid()); }
    QString out(const QString& name = QStringLiteral("out.png")) const {
        return tmp.path() + "/out/" + name;
    }
    void makeOutFolder() const { QDir().mkpath(tmp.path() + "/out"); }

    QTemporaryDir tmp;
};

} // namespace

TEST_F(ThumbnailCommandTest, SampleFilesGiveTransparentPicturesOfTheAskedSize) {
    makeOutFolder();
    struct Case {
        const char* file;
        bool scene;        // a drawn vehicle or shape: transparent around it
        bool textureAlpha; // a texture with transparent texels
    };
    const Case cases[] = {
        {"CR_Box/CRBox_4101.wag", true, false}, // a vehicle with a freight shape
        {"CR_Steam/CR_460_Tender.wag", true, false},
        {"CR_Cattle/CRVAN_CATTLE.S", true, false}, // a compressed shape alone
        {"CR_Diesel/CR_D400.ACE", false, false},   // DXT1 without alpha
        {"CR_Cattle/cr_cattle.ace", false, true},  // planar with alpha
    };
    for (const Case& c : cases)
        for (const int side : {128, 512}) {
            SCOPED_TRACE(std::string(c.file) + " at " + std::to_string(side));
            const QString target = out(QString::number(side) + ".png");
            const CommandRun run =
                thumbnail({"-s", QString::number(side), kTrainset + c.file, target});
            ASSERT_EQ(run.status, 0) << run.errors.toStdString();
            const Picture p = readPicture(target);
            ASSERT_TRUE(p.image.valid());
            EXPECT_EQ(p.channels, 4);
            EXPECT_EQ(std::max(p.image.width, p.image.height), side);
            EXPECT_GT(std::min(p.image.width, p.image.height), side / 3);
            EXPECT_GT(p.opaque, 0);
            const int pixels = p.image.width * p.image.height;
            if (c.scene) {
                // The background is gone, the vehicle is there.
                EXPECT_EQ(p.image.rgba[3], 0);
                EXPECT_GT(p.transparent, pixels / 20);
                EXPECT_GT(p.opaque, pixels / 8);
            } else {
                EXPECT_EQ(p.transparent > 0, c.textureAlpha);
            }
        }
}

TEST_F(ThumbnailCommandTest, FreightShapesAreDrawnWithTheVehicle) {
    // The two box vans share their body; only their number, a freight shape, differs.
    makeOutFolder();
    ASSERT_EQ(thumbnail({"-s", "256", kTrainset + "CR_Box/CRBox_4101.wag", out("a.png")}).status,
              0);
    ASSERT_EQ(
        thumbnail({"--size", "256", kTrainset + "CR_Box/CRBox_4102.wag", out("b.png")}).status, 0);
    const Picture a = readPicture(out("a.png")), b = readPicture(out("b.png"));
    ASSERT_EQ(a.image.width, b.image.width);
    ASSERT_EQ(a.image.height, b.image.height);
    std::size_t differing = 0;
    for (std::size_t i = 0; i < a.image.rgba.size(); i += 4)
        differing += !std::equal(&a.image.rgba[i], &a.image.rgba[i] + 4, &b.image.rgba[i]);
    EXPECT_GT(differing, 50u);
    EXPECT_LT(differing, a.image.rgba.size() / 4 / 4);
}

TEST_F(ThumbnailCommandTest, AnOutputFileTheCallerHoldsOpenGetsThePicture) {
    // A thumbnail service makes the output file, keeps it open and reads the picture back
    // through its own handle: the picture must land in that file, not in a new one.
    makeOutFolder();
    testsupport::write(out(), QByteArray());
    QFile held(out());
    ASSERT_TRUE(held.open(QIODevice::ReadOnly));
    const CommandRun run = thumbnail({"-s", "128", kTrainset + "CR_Cattle/cr_cattle.ace", out()});
    ASSERT_EQ(run.status, 0) << run.errors.toStdString();
    const QByteArray bytes = held.readAll();
    EXPECT_TRUE(bytes.startsWith("\x89PNG"));
    EXPECT_EQ(bytes, contentOf(out()));
    EXPECT_EQ(filesIn(tmp.path() + "/out"), QStringList{"/out.png"});
}

TEST_F(ThumbnailCommandTest, FilesItCannotDrawFailWithNothingWritten) {
    makeOutFolder();
    const QString dir = tmp.path() + "/in/";
    const QByteArray shape = contentOf(kTrainset + "CR_Box/crbox_n4101.s");
    ASSERT_FALSE(shape.isEmpty());
    testsupport::write(dir + "truncated.s", shape.left(shape.size() / 3));
    testsupport::write(dir + "start.s", "\t.text\n\t.globl main\nmain:\n\tret\n");
    testsupport::write(dir + "garbage.ace",
                       QByteArray("SIMISA@@@@@@@@@@") + QByteArray(64, '\x7f'));
    testsupport::write(dir + "clear.ace",
                       contentOf(kTrainset + "CR_Cattle/cr_cattle.ace").left(40));
    testsupport::write(
        dir + "noshape.wag",
        "SIMISA@@@@@@@@@@JINX0D0t______\r\n\r\nWagon ( x\r\n Size ( 3m 4m 10m )\r\n)\r\n");
    testsupport::write(dir + "lost.wag", "SIMISA@@@@@@@@@@JINX0D0t______\r\n\r\nWagon ( x\r\n"
                                         " WagonShape ( missing.s )\r\n)\r\n");
    testsupport::write(dir + "notes.txt", "text");
    QDir().mkpath(dir + "folder.s");
    for (const char* name : {"truncated.s", "start.s", "garbage.ace", "clear.ace", "noshape.wag",
                             "lost.wag", "notes.txt", "folder.s", "absent.eng"}) {
        SCOPED_TRACE(name);
        const CommandRun run = thumbnail({"-s", "128", dir + name, out()});
        EXPECT_EQ(run.status, 1);
        EXPECT_FALSE(run.errors.trimmed().isEmpty());
        EXPECT_EQ(filesIn(tmp.path() + "/out"), QStringList());
    }
    // A folder that cannot take the picture is a failure too.
    const CommandRun nowhere =
        thumbnail({"-s", "128", kTrainset + "CR_Cattle/cr_cattle.ace", tmp.path() + "/no/out.png"});
    EXPECT_EQ(nowhere.status, 1);
    EXPECT_FALSE(QFileInfo::exists(tmp.path() + "/no"));
}

TEST_F(ThumbnailCommandTest, SizesOutsideOneToTenTwentyFourAndMissingArgumentsAreRefused) {
    makeOutFolder();
    const QString texture = kTrainset + "CR_Cattle/cr_cattle.ace";
    const QList<QStringList> refused = {
        {"-s", "0", texture, out()},
        {"-s", "1025", texture, out()},
        {"-s", "12x", texture, out()},
        {"-s", "128", texture},
        {texture, out()},
        {"-s", "128", "--size", "128", texture, out()},
        {"-s", "128", texture, out(), out("again.png")},
    };
    for (const QStringList& arguments : refused) {
        SCOPED_TRACE(arguments.join(' ').toStdString());
        const CommandRun run = thumbnail(arguments);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.errors.count(u'\n'), 1) << run.errors.toStdString();
    }
    EXPECT_EQ(filesIn(tmp.path() + "/out"), QStringList());
    EXPECT_EQ(thumbnail({"-s", "1", texture, out()}).status, 0);
}

TEST_F(ThumbnailCommandTest, RunsWithoutDisplayOrSettingsAndTouchesOnlyItsOutput) {
    // Settings and the Wine registry are pipes nobody writes to: reading either would hang the
    // command until the test gives up on it.
    const QString home = tmp.path() + "/home";
    for (const QString& pipe : {home + "/.config/Pictelle/registry.ini", home + "/.wine/system.reg",
                                home + "/config/Pictelle/registry.ini"}) {
        QDir().mkpath(QFileInfo(pipe).path());
        ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "WINEPREFIX"})
        environment.remove(QString::fromLatin1(name));
    environment.insert("HOME", home);
    environment.insert("XDG_CONFIG_HOME", home + "/config");
    environment.insert("XDG_DATA_HOME", home + "/data");
    const QStringList before = filesIn(home);

    makeOutFolder();
    const CommandRun run =
        thumbnail({"-s", "256", kTrainset + "CR_Steam/CR_460.eng", out()}, environment);
    ASSERT_TRUE(run.finished) << "the command waited on a settings file";
    EXPECT_EQ(run.status, 0) << run.errors.toStdString();
    EXPECT_EQ(filesIn(tmp.path() + "/out"), QStringList{"/out.png"});
    EXPECT_EQ(filesIn(home), before);
}
