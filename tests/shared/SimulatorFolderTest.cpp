// Finding the simulator's folder at start: registration, stored choice, Wine prefixes.

#include "shared/SimulatorFolder.h"
#include "platform/FileSystem.h"
#include "platform/WinePrefixes.h"
#include "shared/Messages.h"
#include "shared/RememberedFolders.h"
#include "shared/SettingsStore.h"
#include "shared/ThumbnailsNote.h"
#include "support/TestFiles.h"
#include "support/UnreadableFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <ostream>

using testsupport::write;

namespace {

using platform::FileSystem;

QByteArray registration(const QByteArray& path) {
    return "WINE REGISTRY Version 2\n\n"
           "[Software\\\\Microsoft\\\\Microsoft Games\\\\Train Simulator\\\\1.0] 1\n"
           "\"Path\"=\"" +
           path + "\"\n";
}

// A home folder of our own with prefixes where Wine, PlayOnLinux and Bottles keep them.
class WineHomeTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(tmp.isValid()); }
    QString home() const { return tmp.path() + "/home"; }
    // A prefix with a drive C (and its drive table entry).
    QString prefix(const QString& path) const {
        const QString p = home() + path;
        QDir().mkpath(p + "/drive_c/Program Files");
        QDir().mkpath(p + "/dosdevices");
        QFile::link("../drive_c", p + "/dosdevices/c:");
        return p;
    }
    // A simulator copied into a prefix, under the given program-files spelling.
    QString copySimulator(const QString& prefixPath, const QString& below) const {
        const QString folder = prefixPath + "/drive_c/" + below;
        QDir().mkpath(folder + "/TRAINS/TRAINSET");
        return folder;
    }
    QStringList prefixes(const QString& winePrefix = {}) const {
        return platform::KnownWinePrefixes(fs, {home(), winePrefix});
    }

    QTemporaryDir tmp;
    FileSystem fs{FileSystem::Options{{}, tmp.path() + "/own", tmp.path() + "/data"}};
};

TEST_F(WineHomeTest, PrefixesComeInTheirOrderEachOnceAndLoopsAreLeftOut) {
    const QString bottles = prefix("/.local/share/bottles/bottles/Jeux");
    const QString flatpak = prefix("/.var/app/com.usebottles.bottles/data/bottles/bottles/Autre");
    const QString pol = prefix("/.PlayOnLinux/wineprefix/MSTS");
    const QString named2 = prefix("/.local/share/wineprefixes/zeta");
    const QString named1 = prefix("/.local/share/wineprefixes/Alpha");
    const QString wine = prefix("/.wine");
    const QString custom = prefix("/custom");
    // Not prefixes: an empty folder, a link to a prefix already listed, a link to itself,
    // and a link back up to the home folder (which holds no drive_c).
    QDir().mkpath(home() + "/.local/share/wineprefixes/empty");
    QFile::link(wine, home() + "/.local/share/wineprefixes/same-as-wine");
    QFile::link(home() + "/.PlayOnLinux/wineprefix/loop", home() + "/.PlayOnLinux/wineprefix/loop");
    QFile::link(home(), home() + "/.local/share/bottles/bottles/up");

    EXPECT_EQ(prefixes(custom), (QStringList{custom, wine, named1, named2, pol, bottles, flatpak}));
    // $WINEPREFIX naming ~/.wine does not list it twice.
    EXPECT_EQ(prefixes(wine).mid(0, 2), (QStringList{wine, named1}));
    // Nothing at all in an empty home.
    EXPECT_TRUE(platform::KnownWinePrefixes(fs, {tmp.path() + "/nobody", {}}).isEmpty());
}

TEST_F(WineHomeTest, ACopiedSimulatorIsFoundInAnyLetterCaseFirstPrefixFirst) {
    const QString wine = prefix("/.wine");
    const QString bottles = prefix("/.local/share/bottles/bottles/Jeux");
    // In ~/.wine a Train Simulator folder without its trainset tree does not count.
    QDir().mkpath(wine + "/drive_c/Program Files/Microsoft Games/Train Simulator/TRAINS");
    const QString copied = bottles + "/drive_c/program files (x86)/MICROSOFT GAMES/train simulator";
    QDir().mkpath(copied + "/Trains/trainSet");

    EXPECT_EQ(platform::FindSimulatorFolder(fs, prefixes()), copied);
    const app::MstsFolder found = app::DiscoverSimulator(fs, prefixes());
    EXPECT_EQ(found.path, copied);
    EXPECT_EQ(found.source, app::MstsFolderSource::Discovered);
    EXPECT_EQ(found.prefix, bottles);
    EXPECT_EQ(found.programFiles, bottles + "/drive_c/Program Files");

    // Once ~/.wine holds one too, it comes first.
    QDir().mkpath(wine + "/drive_c/Program Files/Microsoft Games/Train Simulator/TRAINS/TRAINSET");
    EXPECT_EQ(app::DiscoverSimulator(fs, prefixes()).prefix, wine);
    EXPECT_TRUE(app::DiscoverSimulator(fs, {}).path.isEmpty());
}

TEST_F(WineHomeTest, ARegistrationInAnyPrefixComesBeforeACopiedFolder) {
    const QString wine = prefix("/.wine");
    const QString pol = prefix("/.PlayOnLinux/wineprefix/MSTS");
    copySimulator(wine, "Program Files/Microsoft Games/Train Simulator");
    const QString installed = pol + "/drive_c/Jeux/MSTS";
    QDir().mkpath(installed + "/TRAINS/TRAINSET");
    write(pol + "/system.reg", registration("C:\\\\Jeux\\\\MSTS"));
    // A registration naming a folder that is gone is passed over.
    write(wine + "/system.reg", registration("C:\\\\Disparu"));

    const app::MstsFolder found = app::DiscoverSimulator(fs, prefixes());
    EXPECT_EQ(found.path, installed);
    EXPECT_EQ(found.prefix, pol);
}

TEST_F(WineHomeTest, StartOrderIsRegistrationThenStoredChoiceThenDiscovery) {
    const QString wine = prefix("/.wine");
    const QString copied = copySimulator(wine, "Program Files/Microsoft Games/Train Simulator");
    const QString ini = tmp.path() + "/config/registry.ini";
    const QString registered = tmp.path() + "/registered";
    app::SettingsStore settings({ini, tmp.path() + "/default/system.reg"}, fs);

    app::MstsFolder folder = app::ReadMstsFolder(settings, fs, prefixes());
    EXPECT_EQ(folder.path, copied);
    EXPECT_EQ(folder.source, app::MstsFolderSource::Discovered);

    app::StoreMstsChoice(settings, tmp.path() + "/chosen");
    folder = app::ReadMstsFolder(settings, fs, prefixes());
    EXPECT_EQ(folder.path, tmp.path() + "/chosen");
    EXPECT_EQ(folder.source, app::MstsFolderSource::StoredChoice);

    write(tmp.path() + "/default/system.reg", registration(registered.toUtf8()));
    folder = app::ReadMstsFolder(settings, fs, prefixes());
    EXPECT_EQ(folder.path, registered);
    EXPECT_EQ(folder.source, app::MstsFolderSource::Registration);

    // Forgetting our key forgets the choice with it.
    QFile::remove(tmp.path() + "/default/system.reg");
    settings.ClearSettingKey(app::SettingsRoot::LocalMachine,
                             QString::fromUtf16(app::PictelleSettingsKey),
                             QString::fromUtf16(app::RamettaPathValue));
    EXPECT_EQ(app::ReadMstsFolder(settings, fs, prefixes()).source,
              app::MstsFolderSource::Discovered);
}

} // namespace

namespace {

TEST(ThumbnailsFolderNote, NamesTheRealFolderWhenItIsNotTheProgramsOwn) {
    QTemporaryDir tmp;
    QDir().mkpath(tmp.path() + "/own");
    const platform::FileSystem own{{{}, tmp.path() + "/own", tmp.path() + "/data"}};
    EXPECT_EQ(app::ThumbnailsFolderNote(own), app::LoadMessage(app::MessageId::ThumbnailsNote));
    // A file where the Thumbnails folder would go: they go to the per-user folder instead.
    QFile blocker(tmp.path() + "/own/Thumbnails");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_EQ(app::ThumbnailsFolderNote(own), "Les pictelles sont créées dans le dossier " +
                                                  tmp.path() + "/data/Pictelle/Thumbnails.");
}

} // namespace

namespace {

// Folders remembered from an earlier run, checked at the next start.
class StartFoldersTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(tmp.isValid());
        // Open to everyone, so that a check made as another user reaches the folders.
        QFile::setPermissions(tmp.path(), QFileDevice::Permissions(0x7755));
    }
    QString folder(const QString& name, bool simulator) const {
        const QString path = tmp.path() + u'/' + name;
        QDir().mkpath(simulator ? path + "/TRAINS/TRAINSET" : path);
        return path;
    }
    void remember(const char16_t* value, const QString& path) {
        settings.WriteSetting(app::SettingsRoot::LocalMachine,
                              QString::fromUtf16(app::PictelleSettingsKey),
                              QString::fromUtf16(value), path);
    }
    app::StartFolders read() const { return app::ReadStartFolders(settings, fs, {}); }

    QTemporaryDir tmp;
    FileSystem fs{FileSystem::Options{{}, tmp.path() + "/own", tmp.path() + "/data"}};
    app::SettingsStore settings{{tmp.path() + "/config/registry.ini", tmp.path() + "/system.reg"},
                                fs};
};

TEST_F(StartFoldersTest, GoodRememberedFoldersAreTakenWithoutAWord) {
    const QString msts = folder("MSTS", true);
    const QString rametta = folder("Rametta", false);
    remember(app::MstsChoiceValue, msts);
    remember(app::RamettaPathValue, rametta);
    const app::StartFolders folders = read();
    EXPECT_EQ(folders.Msts.path, msts);
    EXPECT_EQ(folders.Rametta, rametta);
    EXPECT_EQ(folders.Report, QString());
}

TEST_F(StartFoldersTest, FoldersThatCannotServeAreSetAsideAndToldInOneMessage) {
    // A simulator folder chosen by mistake (no trainset) and a Rametta folder since removed.
    const QString notSimulator = folder("Documents", false);
    remember(app::MstsChoiceValue, notSimulator);
    remember(app::RamettaPathValue, tmp.path() + "/Gone");
    const app::StartFolders folders = read();
    EXPECT_EQ(folders.Msts.path, QString());
    EXPECT_EQ(folders.Rametta, QString());
    EXPECT_EQ(folders.Report,
              "Un dossier enregistré ne convient plus ; il va vous être demandé à nouveau.\n\n"
              "Microsoft Train Simulator : " +
                  notSimulator +
                  " (aucun dossier TRAINS/TRAINSET)\n"
                  "Rametta : " +
                  tmp.path() + "/Gone (dossier introuvable)");

    // A folder without a trainset is still a readable Rametta folder.
    remember(app::RamettaPathValue, notSimulator);
    EXPECT_EQ(read().Rametta, notSimulator);
}

TEST_F(StartFoldersTest, AStaleRegistrationGivesWayToTheFolderTheUserConfirmed) {
    const QString msts = folder("MSTS", true);
    write(tmp.path() + "/system.reg", registration(QByteArray("/nowhere/Train Simulator")));
    app::StartFolders folders = read();
    EXPECT_EQ(folders.Msts.path, QString());
    EXPECT_TRUE(folders.Report.contains("/nowhere/Train Simulator (dossier introuvable)"))
        << folders.Report.toStdString();

    // Once a simulator has been confirmed, the stale registration is no longer asked about.
    remember(app::MstsChoiceValue, msts);
    folders = read();
    EXPECT_EQ(folders.Msts.path, msts);
    EXPECT_EQ(folders.Msts.source, app::MstsFolderSource::StoredChoice);
    EXPECT_EQ(folders.Report, QString());
}

TEST_F(StartFoldersTest, AFolderThatCannotBeListedIsTold) {
    const QString msts = folder("MSTS", true);
    UnreadableFolder unreadable(msts);
    ASSERT_TRUE(unreadable.ok());
    EXPECT_EQ(app::ReadableFolderFault(fs, msts), app::FolderFault::Unreadable);
    EXPECT_EQ(app::SimulatorFolderFault(fs, msts), app::FolderFault::Unreadable);
    EXPECT_EQ(app::ReadableFolderFault(fs, tmp.path()), app::FolderFault::None);
    EXPECT_EQ(app::ReadableFolderFault(fs, tmp.path() + "/Gone"), app::FolderFault::Missing);
}

} // namespace
