// Finding the simulator's folder at start: registration, stored choice, Wine prefixes.

#include "shared/SimulatorFolder.h"
#include "platform/FileSystem.h"
#include "platform/WinePrefixes.h"
#include "shared/Messages.h"
#include "shared/SettingsStore.h"
#include "shared/ThumbnailsNote.h"
#include "support/TestFiles.h"

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
