// Runs pictelle-cli list as a user would, on trainsets built for each case.

#include "TrainsetFixture.h"

#include "shared/Version.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <cstdio>

#include <gtest/gtest.h>

namespace {

struct CliRun {
    int status = -1;
    QStringList out;
    QStringList err;
};

class ListCommandTest : public ::testing::Test {
protected:
    fixture::Trainset set;

    // A copy of the program in the test's own folder, so that its own Thumbnails folder is
    // the test's; settings and the Wine prefix are the test's too.
    QString program() {
        const QString copy = set.root() + "/bin/pictelle-cli";
        if (!QFile::exists(copy)) {
            fixture::makeFolder(set.root() + "/bin");
            EXPECT_TRUE(QFile::copy(PICTELLE_CLI_PATH, copy));
        }
        return copy;
    }
    QString ownThumbnails() const { return set.root() + "/bin/Thumbnails"; }

    CliRun run(const QStringList& arguments, const QString& home = QString()) {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        if (!home.isEmpty())
            env.insert("HOME", home);
        env.insert("XDG_CONFIG_HOME", set.root() + "/config");
        env.insert("XDG_DATA_HOME", set.root() + "/data");
        env.insert("WINEPREFIX", set.root() + "/wine");
        process.setProcessEnvironment(env);
        process.start(program(), arguments);
        EXPECT_TRUE(process.waitForFinished(60000));
        CliRun r;
        r.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        r.out = QString::fromUtf8(process.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
        r.err = QString::fromUtf8(process.readAllStandardError()).split('\n', Qt::SkipEmptyParts);
        return r;
    }
    CliRun list() { return run({"list", "--msts", set.msts(), "--rametta", set.rametta()}); }
};

TEST_F(ListCommandTest, ListsLocomotivesOfEveryFolderThenWagons) {
    for (const char* f : {"A", "B", "C"}) {
        set.vehicle(f, QString(f).toLower() + "loco.eng", "loco.s", "3m 4m 20.5m");
        set.vehicle(f, QString(f).toLower() + "car.wag", "car.s", "10ft 14ft 60ft");
    }
    const CliRun r = list();
    ASSERT_EQ(r.status, 0) << r.err.join('\n').toStdString();
    EXPECT_TRUE(r.err.isEmpty());
    EXPECT_EQ(r.out, (QStringList{
                         "0\tToMake\t../A/aloco.eng\tloco.s\t20.5",
                         "1\tToMake\t../B/bloco.eng\tloco.s\t20.5",
                         "2\tToMake\t../C/cloco.eng\tloco.s\t20.5",
                         "3\tToMake\t../A/acar.wag\tcar.s\t18.29268293",
                         "4\tToMake\t../B/bcar.wag\tcar.s\t18.29268293",
                         "5\tToMake\t../C/ccar.wag\tcar.s\t18.29268293",
                     }));
}

// A simulator copied into a Wine prefix, with no registration anywhere, is found without
// --msts; so is one in a Bottles prefix.
TEST_F(ListCommandTest, WithoutMstsASimulatorInAWinePrefixIsFound) {
    set.vehicle("ACELA", "acela.eng", "acela.s");
    const QString home = set.root() + "/home";
    const QStringList places{"/.wine/drive_c/Program Files/Microsoft Games",
                             "/.local/share/bottles/bottles/Trains/drive_c/Program Files "
                             "(x86)/Microsoft Games"};
    for (const QString& place : places) {
        SCOPED_TRACE(place.toStdString());
        QDir().mkpath(home + place);
        ASSERT_TRUE(QFile::link(set.msts(), home + place + "/Train Simulator"));
        const CliRun r = run({"list", "--rametta", set.rametta()}, home);
        ASSERT_EQ(r.status, 0) << r.err.join('\n').toStdString();
        ASSERT_EQ(r.out.size(), 1);
        EXPECT_TRUE(r.out[0].contains("\t../ACELA/acela.eng\tacela.s\t")) << r.out[0].toStdString();
        QDir(home).removeRecursively();
    }
    // Nothing to be found: the user is told how to give it.
    const CliRun r = run({"list"}, home);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err.size(), 1);
}

// Names left in Windows-1252 by an archive made on Windows are listed with their shape.
TEST_F(ListCommandTest, AFolderAndAVehicleNamedInWindows1252AreListedWithTheirShape) {
    set.vehicle("CAFE", "cafe.wag", "cafe.s");
    const QByteArray trainset = QFile::encodeName(set.trainset());
    ASSERT_EQ(::rename(trainset + "/CAFE/cafe.wag", trainset + "/CAFE/Caf\xe9.wag"), 0);
    ASSERT_EQ(::rename(trainset + "/CAFE", trainset + "/Caf\xe9"), 0);
    const CliRun r = list();
    ::rename(trainset + "/Caf\xe9/Caf\xe9.wag", trainset + "/Caf\xe9/cafe.wag");
    ::rename(trainset + "/Caf\xe9", trainset + "/CAFE");
    ASSERT_EQ(r.status, 0) << r.err.join('\n').toStdString();
    ASSERT_EQ(r.out.size(), 1);
    EXPECT_TRUE(
        r.out[0].startsWith(QStringLiteral("0\tToMake\t../Caf\u00e9/Caf\u00e9.wag\tcafe.s\t")))
        << r.out[0].toStdString();
}

TEST_F(ListCommandTest, ShowsEachStatusAndTheEntriesWithoutShape) {
    set.vehicle("OEBARCAR2", "oebarcar2.wag", "o.s");
    set.vehicle("OEBARCA", "oebarca.wag", "o.s");
    set.vehicle("DASH9B", "DASH9B.eng", "dash9b.s");
    set.vehicle("DASH9B", "Default.WAG", "dash9b.s");
    set.vehicle("DASH9B", "default.eng", "dash9b.s");
    set.vehicle("MADE", "made.eng", "made.s", "3m 4m 1,5m");
    set.definition("MADE", "noshape.eng", "Wagon ( x )");
    set.vehicle(".hidden", "hidden.eng", "h.s");
    fixture::makeFolder(set.trainset() + "/MADE/x.eng");
    set.vehicle("", "loose.wag", "loose.s");
    fixture::writeFile(set.rametta() + "/Thumbnails/DASH.bmp", "BM");
    fixture::writeFile(set.rametta() + "/Thumbnails/Bitmaps.ini", "dash\r\n");
    fixture::writeFile(ownThumbnails() + "/MADE.bmp", "BM");
    const CliRun r = list();
    ASSERT_EQ(r.status, 0) << r.err.join('\n').toStdString();
    EXPECT_EQ(r.out, (QStringList{
                         "0\tInRamettaFolder\t../DASH9B/DASH9B.eng\tdash9b.s\t20",
                         "1\tToMake\t../DASH9B/default.eng\tdash9b.s\t20",
                         "2\tCreatedHere\t../MADE/made.eng\tmade.s\t1",
                         "3\tNoShape\t../MADE/noshape.eng\t\t0",
                         "4\tToMake\t../OEBARCA/oebarca.wag\to.s\t20",
                         "5\tBuiltIntoRametta\t../OEBARCAR2/oebarcar2.wag\to.s\t20",
                         "6\tToMake\t..//loose.wag\tloose.s\t20",
                     }));

    // With a blank after the name the line no longer serves DASH9B.
    fixture::writeFile(set.rametta() + "/Thumbnails/Bitmaps.ini", "dash \r\n");
    EXPECT_TRUE(list().out.first().startsWith("0\tToMake\t"));
}

TEST_F(ListCommandTest, FoldersComeFromTheSettingsStoreWithoutOptions) {
    set.vehicle("A", "gp38.eng", "gp38.s");
    set.vehicle("A", "dash8.eng", "dash8.s");
    fixture::writeFile(set.rametta() + "/Thumbnails/dash8.bmp", "BM");
    fixture::writeFile(set.root() + "/config/Pictelle/registry.ini",
                       ("[SOFTWARE\\Microsoft\\Microsoft Games\\Train Simulator\\1.0]\n"
                        "Path=" +
                        set.msts() +
                        "\n"
                        "[SOFTWARE\\Pictelle]\n"
                        "Rametta_Path=" +
                        set.rametta() + "\n")
                           .toUtf8());
    const CliRun r = run({"list"});
    ASSERT_EQ(r.status, 0) << r.err.join('\n').toStdString();
    EXPECT_EQ(r.out, (QStringList{"0\tInRamettaFolder\t../A/dash8.eng\tdash8.s\t20",
                                  "1\tBuiltIntoRametta\t../A/gp38.eng\tgp38.s\t20"}));
    // An option overrides the stored folder.
    fixture::makeFolder(set.root() + "/Empty/TRAINS/TRAINSET");
    const CliRun other = run({"list", "--msts", set.root() + "/Empty"});
    EXPECT_EQ(other.status, 0);
    EXPECT_TRUE(other.out.isEmpty());
}

TEST_F(ListCommandTest, AFolderWithoutATrainsetTreeIsOneErrorLine) {
    fixture::makeFolder(set.root() + "/NotMsts");
    const CliRun r = run({"list", "--msts", set.root() + "/NotMsts"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err.size(), 1);
    EXPECT_TRUE(r.out.isEmpty());
    // No folder anywhere: nothing stored, no option.
    const CliRun none = run({"list"});
    EXPECT_EQ(none.status, 1);
    EXPECT_EQ(none.err.size(), 1);
}

TEST_F(ListCommandTest, NoCommandOrAnUnknownOnePrintsTheUsage) {
    for (const QStringList& arguments : QList<QStringList>{{}, {"lister"}}) {
        const CliRun r = run(arguments);
        EXPECT_EQ(r.status, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_TRUE(r.err.join('\n').contains("pictelle-cli list"))
            << arguments.join(' ').toStdString();
    }
}

// Asked-for help goes to standard output and succeeds, before a subcommand or after it. A
// mistake is one line on standard error that names the argument as written, so that a
// script's log says what went wrong; a value that looks like an option is still a value.
TEST_F(ListCommandTest, HelpVersionAndRefusedArguments) {
    const CliRun help = run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.err.isEmpty());
    ASSERT_FALSE(help.out.isEmpty());
    EXPECT_EQ(help.out.first(), "utilisation :");
    EXPECT_TRUE(help.out.join('\n').contains("pictelle-cli make"))
        << help.out.join('\n').toStdString();
    for (const QStringList& arguments :
         QList<QStringList>{{"-h"}, {"make", "--help"}, {"list", "-h"}, {"render", "--help"}}) {
        const CliRun r = run(arguments);
        EXPECT_EQ(r.status, 0) << arguments.join(' ').toStdString();
        EXPECT_TRUE(r.err.isEmpty()) << arguments.join(' ').toStdString();
        EXPECT_EQ(r.out.join('\n').toStdString(), help.out.join('\n').toStdString())
            << arguments.join(' ').toStdString();
    }
    const CliRun version = run({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_TRUE(version.err.isEmpty());
    EXPECT_EQ(version.out, QStringList{QStringLiteral("pictelle-cli ") + app::VersionText});

    const QList<std::pair<QStringList, QString>> refused = {
        {{"--bogus"}, "option inconnue : --bogus"},
        {{"--bogus", "list"}, "option inconnue : --bogus"},
        {{"make", "--bogus"}, "option inconnue : --bogus"},
        {{"list", "--bogus=1", "x"}, "option inconnue : --bogus"},
        {{"make", "-bogus"}, "option inconnue : -bogus"},
        {{"--version=2"}, "valeur inattendue pour --version"},
        {{"make", "--jobs"}, "valeur manquante après --jobs"},
        {{"make", "--jobs", "2", "--jobs", "3"}, "option répétée : --jobs"},
        {{"list", "--msts", set.msts(), "--msts", set.msts()}, "option répétée : --msts"},
        {{"list", "--msts="}, "valeur vide pour --msts"},
        {{"list", "--rametta", ""}, "valeur vide pour --rametta"},
        {{"list", "stray"}, "argument inattendu : stray"},
        {{"make", "--jobs", "-2"}, "--jobs attend un nombre entier d'au moins 1 : -2"},
        {{"make", "--overwrite", "sometimes"},
         "--overwrite attend ask, always ou never : sometimes"},
        {{"render", "--zoom", "-3", "a.s", "b.bmp"}, "zoom invalide (de -2 à 2) : -3"},
    };
    for (const auto& [arguments, line] : refused) {
        const CliRun r = run(arguments);
        EXPECT_EQ(r.status, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << arguments.join(' ').toStdString();
        // Exactly that one line.
        EXPECT_EQ(r.err.join('\n').toStdString(), line.toStdString())
            << arguments.join(' ').toStdString();
    }
}

} // namespace
