// pictelle-cli make and list as a user meets them on hostile or unlucky content: every
// failure says why on the vehicle's own line, and every line keeps its columns.

#include "../preview/ReadOnlyFolder.h"
#include "TrainsetFixture.h"
#include "support/AceWriter.h"
#include "support/OpenWatch.h"
#include "support/ShapeBuilder.h"
#include "support/ShapeWriter.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

#include <limits>

#include <sys/wait.h>
#include <unistd.h>

namespace {

QByteArray bytesOf(const fixtures::Bytes& bytes) {
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
}

// A 20 m box textured with `texture`; every point NaN when asked.
QByteArray boxShape(const std::string& texture, bool nanPoints = false) {
    fixtures::ShapeBuilder b;
    b.addBox(b.addMaterial(texture, "TexDiff", 0), {-1.5f, 0.5f, -10}, {1.5f, 4, 10});
    msts::Shape shape = b.build();
    if (nanPoints)
        for (msts::Vec3& p : shape.points)
            p = {std::numeric_limits<float>::quiet_NaN(), 0, 0};
    return bytesOf(fixtures::writeShape(shape, fixtures::ShapeForm::Binary));
}

class MakeDiagnosticsTest : public ::testing::Test {
protected:
    fixture::Trainset set;

    QString ownThumbnails() const { return set.root() + "/bin/Thumbnails"; }
    // Where thumbnails go when the own folder cannot take them.
    QString userThumbnails() const { return set.root() + "/data/Pictelle/Thumbnails"; }

    struct Run {
        int status = -1;
        QStringList out;
        QStringList err;
    };
    Run run(const QStringList& arguments) {
        const QString copy = set.root() + "/bin/pictelle-cli";
        if (!QFile::exists(copy)) {
            fixture::makeFolder(set.root() + "/bin");
            EXPECT_TRUE(QFile::copy(PICTELLE_CLI_PATH, copy));
        }
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", set.root() + "/config");
        env.insert("XDG_DATA_HOME", set.root() + "/data");
        env.insert("WINEPREFIX", set.root() + "/wine");
        process.setProcessEnvironment(env);
        process.start(copy,
                      arguments + QStringList{"--msts", set.msts(), "--rametta", set.rametta()});
        process.closeWriteChannel();
        EXPECT_TRUE(process.waitForFinished(60000));
        Run r;
        r.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        r.out = QString::fromUtf8(process.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
        r.err = QString::fromUtf8(process.readAllStandardError()).split('\n', Qt::SkipEmptyParts);
        return r;
    }
    // The make line of a vehicle, split into its fields.
    static QStringList lineOf(const Run& r, const QString& vehicle) {
        for (const QString& line : r.out)
            if (line.startsWith("../" + vehicle + "/"))
                return line.split('\t');
        return {};
    }
};

TEST_F(MakeDiagnosticsTest, EachVehicleLineSaysWhyAndBlankPicturesAreNeverMade) {
    const QByteArray texture =
        bytesOf(fixtures::writeAce(fixtures::testPicture(8, 8), fixtures::AceWriteOptions{}));
    set.vehicle("GOOD", "good.eng", "good.s");
    set.file("GOOD/good.s", boxShape("good.ace"));
    set.file("GOOD/good.ace", texture);
    set.vehicle("GREY", "grey.eng", "grey.s");
    set.file("GREY/grey.s", boxShape("gone.ace"));
    set.vehicle("CORRUPT", "corrupt.eng", "corrupt.s");
    set.file("CORRUPT/corrupt.s", boxShape("bad.ace"));
    set.file("CORRUPT/bad.ace", "SIMISA@@@@@@@@@@ not a texture");
    set.vehicle("BLANK", "blank.eng", "blank.s");
    set.file("BLANK/blank.s", boxShape("", true));
    set.vehicle("BROKEN", "broken.eng", "broken.s");
    set.file("BROKEN/broken.s", "SIMISA@@@@@@@@@@JINX0s1t______\r\nshape ( nonsense");
    // A definition file past the reader's size limit: it exists but cannot be read.
    set.vehicle("HUGE", "huge.eng", "huge.s");
    QFile huge(set.trainset() + "/HUGE/huge.eng");
    ASSERT_TRUE(huge.resize(65 * 1024 * 1024 + 1)); // sparse, no disk used

    const Run r = run({"make"});
    EXPECT_EQ(r.status, 1) << r.out.join('\n').toStdString();

    EXPECT_EQ(lineOf(r, "GOOD").value(1), "créée");
    EXPECT_EQ(lineOf(r, "GOOD").size(), 3) << "no texture problem to name";
    const QStringList grey = lineOf(r, "GREY");
    EXPECT_EQ(grey.value(1), "créée") << "drawn grey, still made";
    EXPECT_EQ(grey.value(3), "texture introuvable, dessinée en gris : gone.ace");
    const QStringList corrupt = lineOf(r, "CORRUPT");
    EXPECT_EQ(corrupt.value(1), "créée");
    EXPECT_EQ(corrupt.value(3), "texture corrompue, dessinée en gris : bad.ace");

    EXPECT_EQ(lineOf(r, "BLANK").value(1), "échec : image vide, rien du véhicule n'est dessiné");
    const QString broken = lineOf(r, "BROKEN").value(1);
    EXPECT_TRUE(broken.startsWith("échec : forme invalide : ")) << broken.toStdString();
    EXPECT_TRUE(broken.contains("à l'octet ")) << broken.toStdString();
    EXPECT_EQ(lineOf(r, "HUGE").value(1), "échec : fichier de définition illisible");

    QStringList made = QDir(ownThumbnails()).entryList(QDir::Files);
    made.sort();
    EXPECT_EQ(made, (QStringList{"corrupt.bmp", "good.bmp", "grey.bmp"}));
    EXPECT_TRUE(r.out.last().startsWith("créées : 3, conservées : 0, échecs : 3, dossier : "))
        << r.out.last().toStdString();
}

TEST_F(MakeDiagnosticsTest, AThumbnailsFolderThatCannotBeMadeIsNamedOnceWithTheReason) {
    set.vehicle("GOOD", "good.eng", "good.s");
    set.file("GOOD/good.s", boxShape(""));
    set.vehicle("OTHER", "other.eng", "other.s");
    set.file("OTHER/other.s", boxShape(""));
    // Neither the own folder nor the per-user one can be made.
    fixture::writeFile(ownThumbnails(), "a file where the folder should be");
    fixture::writeFile(set.root() + "/data/Pictelle", "a file where the folder should be");
    const Run r = run({"make"});
    EXPECT_EQ(r.status, 1);
    ASSERT_EQ(r.err.size(), 1) << r.err.join('\n').toStdString();
    const QString said = "impossible de créer le dossier " + userThumbnails() + " : ";
    EXPECT_TRUE(r.err[0].startsWith(said)) << r.err[0].toStdString();
    EXPECT_GT(r.err[0].size(), said.size());
    EXPECT_TRUE(r.out.isEmpty()) << "no line of \"impossible à renommer\" per vehicle";
}

TEST_F(MakeDiagnosticsTest, AReadOnlyThumbnailsFolderStopsTheRunWithTheReason) {
    for (const char* name : {"a", "b", "c"}) {
        set.vehicle(name, QString(name) + ".eng", QString(name) + ".s");
        set.file(QString(name) + "/" + name + ".s", boxShape(""));
    }
    // Both the own folder and the per-user one refuse writing.
    fixture::makeFolder(ownThumbnails());
    fixture::makeFolder(userThumbnails());
    ReadOnlyFolder readOnly(ownThumbnails());
    ReadOnlyFolder userReadOnly(userThumbnails());
    ASSERT_TRUE(readOnly.ok() && userReadOnly.ok()) << ReadOnlyFolderRefused;
    const Run r = run({"make"});
    EXPECT_EQ(r.status, 1);
    // The first vehicle says why, naming the folder; the others are not tried one by one.
    ASSERT_EQ(r.out.size(), 2) << r.out.join('\n').toStdString();
    const QString prefix =
        "échec : impossible d'écrire dans le dossier " + userThumbnails() + " : ";
    EXPECT_TRUE(lineOf(r, "a").value(1).startsWith(prefix)) << r.out[0].toStdString();
    ASSERT_EQ(r.err.size(), 1);
    EXPECT_TRUE(r.err[0].contains("(2 véhicules non traités)")) << r.err[0].toStdString();
    EXPECT_TRUE(r.out.last().startsWith("créées : 0, conservées : 0, échecs : 3"))
        << r.out.last().toStdString();
}

TEST_F(MakeDiagnosticsTest, TabsAndLineFeedsInNamesKeepEveryLineInItsColumns) {
    set.vehicle("Tab\tFolder", "line\nfeed.eng", "sha\tpe.s");
    set.file("Tab\tFolder/sha\tpe.s", boxShape(""));
    const Run list = run({"list"});
    ASSERT_EQ(list.status, 0);
    ASSERT_EQ(list.out.size(), 1) << list.out.join('|').toStdString();
    EXPECT_EQ(list.out[0], "0\tToMake\t../Tab\\tFolder/line\\nfeed.eng\tsha\\tpe.s\t20");

    const Run make = run({"make"});
    EXPECT_EQ(make.status, 0) << make.out.join('|').toStdString();
    ASSERT_EQ(make.out.size(), 2);
    const QStringList fields = make.out[0].split('\t');
    ASSERT_EQ(fields.size(), 3);
    EXPECT_EQ(fields[0], "../Tab\\tFolder/line\\nfeed.eng");
    EXPECT_EQ(fields[1], "créée");
    EXPECT_TRUE(fields[2].endsWith("/Thumbnails/line\\nfeed.bmp"));
    EXPECT_TRUE(QFile::exists(ownThumbnails() + "/line\nfeed.bmp"));
}

// A definition naming `shape`, sized `size`, with freight entries `extra`.
QString definitionText(const QString& name, const QString& shape, const QString& size = "3m 4m 20m",
                       const QString& extra = QString()) {
    return "SIMISA@@@@@@@@@@JINX0D0t______\r\n\r\nWagon ( " + name + "\r\n\tWagonShape ( " + shape +
           " )\r\n\tSize ( " + size + " )\r\n" + extra + ")\r\n";
}

TEST_F(MakeDiagnosticsTest, NamesLeadingOutOfTheSimulatorFolderAreNeverOpenedNorQuoted) {
    // Files beside the simulator's folder, reached from a vehicle's folder by four "..".
    const QString secret = "root:*:2:SECRET\n";
    fixture::writeFile(set.root() + "/secret.s", secret.toUtf8());
    fixture::writeFile(set.root() + "/secret.ace", secret.toUtf8());
    const QString up = "..\\..\\..\\..\\";
    set.definition("OUT", "out.wag", definitionText("out", up + "secret.s"));
    set.definition("DEEP", "deep.wag",
                   definitionText("deep", "../../../../../../../../../../../../etc/passwd"));
    set.vehicle("TEX", "tex.wag", "tex.s");
    set.file("TEX/tex.s", boxShape((up + "secret.ace").toStdString()));
    set.definition("FRT", "frt.wag",
                   definitionText("frt", "frt.s", "3m 4m 20m",
                                  "\tFreightAnim ( " + up + "secret.s 1 2 )\r\n"));
    set.file("FRT/frt.s", boxShape(""));
    // Inside the folder, a file that is no shape: what is wrong is said, not what it holds.
    set.vehicle("COPY", "copy.wag", "copy.s");
    set.file("COPY/copy.s", secret.toUtf8());

    testsupport::OpenWatch shapeWatch(set.root() + "/secret.s");
    testsupport::OpenWatch textureWatch(set.root() + "/secret.ace");
    ASSERT_TRUE(shapeWatch.ok() && textureWatch.ok());
    const Run r = run({"make"});
    EXPECT_EQ(r.status, 1);

    EXPECT_EQ(lineOf(r, "OUT").value(1),
              "échec : forme hors du dossier du simulateur, non ouverte : " + up + "secret.s");
    EXPECT_TRUE(lineOf(r, "DEEP").value(1).startsWith("échec : forme hors du dossier"));
    const QStringList tex = lineOf(r, "TEX");
    EXPECT_EQ(tex.value(1), "créée");
    EXPECT_EQ(tex.value(3), "texture hors du dossier du simulateur, non ouverte, dessinée en "
                            "gris : " +
                                up + "secret.ace");
    const QStringList frt = lineOf(r, "FRT");
    EXPECT_EQ(frt.value(1), "créée");
    EXPECT_EQ(frt.value(3), "Forme de fret hors du dossier du simulateur, non ouverte : secret.s");
    const QString copy = lineOf(r, "COPY").value(1);
    EXPECT_TRUE(copy.startsWith("échec : forme invalide : UnknownHeader")) << copy.toStdString();
    EXPECT_TRUE(copy.contains("à l'octet 0")) << copy.toStdString();

    for (const QString& line : r.out + r.err)
        EXPECT_FALSE(line.contains("root:") || line.contains("SECRET")) << line.toStdString();
    EXPECT_EQ(shapeWatch.opens(), 0);
    EXPECT_EQ(textureWatch.opens(), 0);
}

TEST_F(MakeDiagnosticsTest, LengthsPastAnyVehicleAreRefusedWithTheLimit) {
    set.vehicle("TYPO", "typo.eng", "typo.s", "3m 4m 1945m");
    set.file("TYPO/typo.s", boxShape(""));
    set.vehicle("HUGE", "huge.eng", "huge.s", "3m 4m 1e300m");
    set.file("HUGE/huge.s", boxShape(""));
    set.vehicle("LONG", "long.eng", "long.s", "3m 4m 150m");
    set.file("LONG/long.s", boxShape(""));

    const Run r = run({"make"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(lineOf(r, "TYPO").value(1),
              "échec : longueur de 1945 m refusée, un véhicule mesure au plus 150 m (ligne Size)");
    EXPECT_TRUE(lineOf(r, "HUGE").value(1).startsWith("échec : longueur de 1e+300 m refusée"));
    EXPECT_EQ(lineOf(r, "LONG").value(1), "créée") << "the limit itself is a length";
    EXPECT_EQ(QDir(ownThumbnails()).entryList(QDir::Files), QStringList{"long.bmp"});

    const Run jobs = run({"make", "--jobs", "100000"});
    EXPECT_EQ(jobs.status, 2);
    ASSERT_EQ(jobs.err.size(), 1);
    EXPECT_TRUE(jobs.err[0].startsWith("--jobs : au plus ")) << jobs.err[0].toStdString();
    EXPECT_TRUE(jobs.err[0].endsWith(" sur cette machine : 100000"));
}

TEST_F(MakeDiagnosticsTest, PicturesLeftByRunsThatDiedAreRemovedThoseOfLiveRunsKept) {
    set.vehicle("GOOD", "good.eng", "good.s");
    set.file("GOOD/good.s", boxShape(""));
    // A run killed before placing its picture, and one (this test) still writing.
    const pid_t ended = ::fork();
    if (ended == 0)
        ::_exit(0);
    ASSERT_GT(ended, 0);
    ::waitpid(ended, nullptr, 0);
    const QString dead = QString("SFCANVAS_%1_q1w2e3.bmp").arg(ended);
    const QString live = QString("SFCANVAS_%1_r4t5y6.bmp").arg(::getpid());
    fixture::writeFile(ownThumbnails() + "/" + dead, "BM torn");
    fixture::writeFile(ownThumbnails() + "/" + live, "BM");

    const Run r = run({"make"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(lineOf(r, "GOOD").value(1), "créée");
    QStringList left = QDir(ownThumbnails()).entryList(QDir::Files);
    left.sort();
    EXPECT_EQ(left, (QStringList{live, "good.bmp"}));
    ASSERT_EQ(r.err.size(), 1);
    EXPECT_TRUE(r.err[0].endsWith(" : " + dead)) << r.err[0].toStdString();
}

} // namespace
