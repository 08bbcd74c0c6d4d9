#include "shared/SettingsStore.h"

#include "platform/FileSystem.h"
#include "support/SandboxFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>

#include <sys/stat.h>

using app::SettingsRoot;
using app::SettingsStore;

namespace {

constexpr SettingsRoot HKLM = SettingsRoot::LocalMachine;
const QString own = QString::fromUtf16(app::PictelleSettingsKey);
const QString rametta = QString::fromUtf16(app::RamettaPathValue);
const QString msts = QString::fromUtf16(app::MstsSettingsKey);
const QString path = QString::fromUtf16(app::MstsPathValue);
const QString windows = QString::fromUtf16(app::WindowsSettingsKey);
const QString programFiles = QString::fromUtf16(app::ProgramFilesDirValue);

// A configuration folder and a Wine prefix of our own, with drive C: linked the way Wine
// links it.
class SettingsStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        root = dir.path();
        QDir(root).mkpath(QStringLiteral("wine/dosdevices"));
        QDir(root).mkpath(QStringLiteral("wine/drive_c/Program Files/Microsoft Games/"
                                         "Train Simulator"));
        std::filesystem::create_directory_symlink("../drive_c",
                                                  (root + "/wine/dosdevices/c:").toStdString());
        locations.iniFile = root + QStringLiteral("/config/Pictelle/registry.ini");
        locations.wineRegistry = root + QStringLiteral("/wine/system.reg");
        files = std::make_unique<platform::FileSystem>(fixtures::SandboxOptions(root));
    }

    SettingsStore store() const { return SettingsStore(locations, *files); }

    void writeFile(const QString& name, const QByteArray& bytes) {
        QDir().mkpath(QFileInfo(name).path());
        QFile f(name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray readFile(const QString& name) {
        QFile f(name);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void writeSystemReg(const QByteArray& body) {
        writeFile(locations.wineRegistry,
                  "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n" + body);
    }
    QString driveC() const { return QDir(root + "/wine/drive_c").canonicalPath(); }

    QTemporaryDir dir;
    QString root;
    SettingsStore::Locations locations;
    std::unique_ptr<platform::FileSystem> files;
};

} // namespace

TEST_F(SettingsStoreTest, MissingFileKeyOrValueReadsEmpty) {
    EXPECT_EQ(store().ReadSetting(HKLM, own, rametta), QString());
    store().WriteSetting(HKLM, own, QStringLiteral("Other"), QStringLiteral("x"));
    EXPECT_EQ(store().ReadSetting(HKLM, own, rametta), QString());
    EXPECT_EQ(store().ReadSetting(HKLM, QStringLiteral("SOFTWARE\\Nobody"), rametta), QString());
    EXPECT_EQ(store().ReadSetting(HKLM, msts, path), QString());
}

TEST_F(SettingsStoreTest, WrittenTextsReadBackUnchanged) {
    const QStringList texts = {
        QStringLiteral("/home/me/Rametta"),
        QString::fromUtf16(u"/home/me/Jeux/Cr\u00e9ateur \u00e0 essayer"),
        QStringLiteral("C:\\Program Files\\Rametta, old"),
        QStringLiteral("  leading and trailing  "),
        QStringLiteral("\"quoted\" = ; # [x]"),
        QStringLiteral("line\nbreak\ttab\\n"),
        QStringLiteral("@Invalid()"),
        QString(),
    };
    for (const QString& text : texts) {
        store().WriteSetting(HKLM, own, rametta, text);
        EXPECT_EQ(store().ReadSetting(HKLM, own, rametta), text);
    }
    // The first write created the folder and the file.
    EXPECT_TRUE(QFileInfo::exists(locations.iniFile));
}

TEST_F(SettingsStoreTest, KeyAndValueNamesIgnoreCase) {
    store().WriteSetting(HKLM, own, rametta, QStringLiteral("/r"));
    EXPECT_EQ(store().ReadSetting(HKLM, own.toLower(), rametta.toUpper()), QStringLiteral("/r"));
    store().WriteSetting(HKLM, own.toLower(), rametta.toLower(), QStringLiteral("/s"));
    EXPECT_EQ(store().ReadSetting(HKLM, own, rametta), QStringLiteral("/s"));
    // One value, not two spellings of it.
    EXPECT_EQ(readFile(locations.iniFile).count("/"), 1);
}

TEST_F(SettingsStoreTest, TextsLongerThan1023CharactersReadEmpty) {
    const QString fits(1023, u'a');
    store().WriteSetting(HKLM, own, rametta, fits);
    EXPECT_EQ(store().ReadSetting(HKLM, own, rametta), fits);
    store().WriteSetting(HKLM, own, rametta, fits + u'b');
    EXPECT_EQ(store().ReadSetting(HKLM, own, rametta), QString());
    // A value stored with its own terminator loses it, and the terminator fits the buffer.
    store().WriteSetting(HKLM, own, rametta, fits + QChar(0));
    EXPECT_EQ(store().ReadSetting(HKLM, own, rametta), fits);
    store().WriteSetting(HKLM, own, rametta, QStringLiteral("abc") + QChar(0));
    EXPECT_EQ(store().ReadSetting(HKLM, own, rametta), QStringLiteral("abc"));
}

TEST_F(SettingsStoreTest, ClearingRemovesEveryValueOfTheKeyOnly) {
    store().WriteSetting(HKLM, own, rametta, QStringLiteral("/r"));
    store().WriteSetting(HKLM, own, QStringLiteral("Other"), QStringLiteral("o"));
    store().WriteSetting(HKLM, QStringLiteral("SOFTWARE\\Elsewhere"), rametta, QStringLiteral("e"));
    store().ClearSettingKey(HKLM, own, rametta);
    EXPECT_EQ(store().ReadSetting(HKLM, own, rametta), QString());
    EXPECT_EQ(store().ReadSetting(HKLM, own, QStringLiteral("Other")), QString());
    EXPECT_EQ(store().ReadSetting(HKLM, QStringLiteral("SOFTWARE\\Elsewhere"), rametta),
              QStringLiteral("e"));
    EXPECT_FALSE(readFile(locations.iniFile).contains("[SOFTWARE\\Pictelle]"));
}

TEST_F(SettingsStoreTest, ClearingAMissingKeyLeavesNoKey) {
    store().ClearSettingKey(HKLM, own, rametta);
    EXPECT_EQ(store().ReadSetting(HKLM, own, rametta), QString());
    EXPECT_FALSE(readFile(locations.iniFile).contains("Pictelle"));
}

TEST_F(SettingsStoreTest, HandWrittenFileIsReadAsWritten) {
    writeFile(locations.iniFile, "; written by hand\n"
                                 "[SOFTWARE\\Microsoft\\Microsoft Games\\Train Simulator\\1.0]\n"
                                 "Path = /home/me/Jeux/Train Simulator, copie\r\n"
                                 "\n"
                                 "[software\\microsoft\\windows\\currentversion]\n"
                                 "ProgramFilesDir=C:\\Program Files\n"
                                 "Quoted=\"C:\\Jeux\\\"MSTS\\\"\"\n");
    EXPECT_EQ(store().ReadSetting(HKLM, msts, path),
              QStringLiteral("/home/me/Jeux/Train Simulator, copie"));
    EXPECT_EQ(store().ReadSetting(HKLM, windows, programFiles),
              QStringLiteral("C:\\Program Files"));
    // Quoted by hand: backslashes that escape nothing stay.
    EXPECT_EQ(store().ReadSetting(HKLM, windows, QStringLiteral("Quoted")),
              QStringLiteral("C:\\Jeux\"MSTS\""));
    // Writing our own value keeps the hand-written ones.
    store().WriteSetting(HKLM, own, rametta, QStringLiteral("/r"));
    EXPECT_EQ(store().ReadSetting(HKLM, msts, path),
              QStringLiteral("/home/me/Jeux/Train Simulator, copie"));
}

TEST_F(SettingsStoreTest, SimulatorFolderComesFromTheWinePrefix) {
    writeSystemReg("[Software\\\\Microsoft\\\\Microsoft Games\\\\Train Simulator\\\\1.0] 1\n"
                   "\"Path\"=\"C:\\\\Program Files\\\\Microsoft Games\\\\Train Simulator\"\n");
    EXPECT_EQ(store().ReadSetting(HKLM, msts, path),
              driveC() + QStringLiteral("/Program Files/Microsoft Games/Train Simulator"));
}

TEST_F(SettingsStoreTest, SixtyFourBitPrefixIsReadThroughItsThirtyTwoBitView) {
    writeSystemReg("#arch=win64\n\n"
                   "[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion] 1\n"
                   "\"ProgramFilesDir\"=\"C:\\\\Program Files\"\n\n"
                   "[Software\\\\Wow6432Node\\\\Microsoft\\\\Microsoft Games\\\\Train "
                   "Simulator\\\\1.0] 1\n"
                   "\"Path\"=\"C:\\\\program files\\\\microsoft games\\\\train simulator\"\n\n"
                   "[Software\\\\Wow6432Node\\\\Microsoft\\\\Windows\\\\CurrentVersion] 1\n"
                   "\"ProgramFilesDir\"=\"C:\\\\Program Files (x86)\"\n");
    // The existing folder is found whatever the case of the registered text.
    EXPECT_EQ(store().ReadSetting(HKLM, msts, path),
              driveC() + QStringLiteral("/Program Files/Microsoft Games/Train Simulator"));
    EXPECT_EQ(store().ReadSetting(HKLM, windows, programFiles),
              driveC() + QStringLiteral("/Program Files (x86)"));
}

TEST_F(SettingsStoreTest, TheFileIsReadBeforeTheWinePrefix) {
    writeSystemReg("[Software\\\\Microsoft\\\\Microsoft Games\\\\Train Simulator\\\\1.0] 1\n"
                   "\"Path\"=\"C:\\\\Program Files\\\\Microsoft Games\\\\Train Simulator\"\n");
    store().WriteSetting(HKLM, msts, path, QStringLiteral("/elsewhere/MSTS"));
    EXPECT_EQ(store().ReadSetting(HKLM, msts, path), QStringLiteral("/elsewhere/MSTS"));
}

TEST_F(SettingsStoreTest, ForgottenRamettaFolderIsNotReadFromTheWinePrefix) {
    writeSystemReg("[Software\\\\Pictelle] 1\n\"Rametta_Path\"=\"C:\\\\Rametta\"\n");
    store().WriteSetting(HKLM, own, rametta, QStringLiteral("/r"));
    store().ClearSettingKey(HKLM, own, rametta);
    EXPECT_EQ(store().ReadSetting(HKLM, own, rametta), QString());
}

TEST_F(SettingsStoreTest, UnusableWineValuesReadEmpty) {
    writeSystemReg("[Software\\\\Microsoft\\\\Microsoft Games\\\\Train Simulator\\\\1.0] 1\n"
                   "\"Path\"=\"E:\\\\MSTS\"\n"
                   "[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion] 1\n"
                   "\"ProgramFilesDir\"=str(2):\"C:\\\\Program Files\"\n");
    // No drive E: in the prefix, and an expandable text is not a plain one.
    EXPECT_EQ(store().ReadSetting(HKLM, msts, path), QString());
    EXPECT_EQ(store().ReadSetting(HKLM, windows, programFiles), QString());
}

TEST_F(SettingsStoreTest, WineRegistryBeyondTheSizeLimitIsNotRead) {
    const QByteArray key =
        "[Software\\\\Microsoft\\\\Microsoft Games\\\\Train Simulator\\\\1.0] 1\n"
        "\"Path\"=\"C:\\\\MSTS\"\n";
    writeSystemReg(key + QByteArray(4096, ';'));
    locations.maxWineRegistryBytes = 1024;
    EXPECT_EQ(store().ReadSetting(HKLM, msts, path), QString());
    locations.maxWineRegistryBytes = 1 << 20;
    EXPECT_EQ(store().ReadSetting(HKLM, msts, path), driveC() + QStringLiteral("/MSTS"));
}

TEST_F(SettingsStoreTest, HugeOrBrokenWineRegistryNeitherCrashesNorHangs) {
    // One 48 MB line without a line break, then the key: read within the default limit.
    QByteArray huge(48 * 1024 * 1024, '"');
    huge += "\n[Software\\\\Microsoft\\\\Microsoft Games\\\\Train "
            "Simulator\\\\1.0]\n\"Path\"=\"C:\\\\X\"";
    writeSystemReg(huge);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(store().ReadSetting(HKLM, msts, path), driveC() + QStringLiteral("/X"));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
    writeSystemReg(QByteArray("\0\xff[\\\\\"=\n", 9).repeated(1000));
    EXPECT_EQ(store().ReadSetting(HKLM, msts, path), QString());
}

TEST_F(SettingsStoreTest, ASettingsFileThatIsAPipeIsNeitherOpenedNorReplaced) {
    // Opening a named pipe for reading waits for a writer that never comes.
    QDir().mkpath(QFileInfo(locations.iniFile).path());
    ASSERT_EQ(::mkfifo(QFile::encodeName(locations.iniFile).constData(), 0600), 0);
    writeSystemReg("[Software\\\\Microsoft\\\\Microsoft Games\\\\Train Simulator\\\\1.0] 1\n"
                   "\"Path\"=\"C:\\\\MSTS\"\n");

    // Other software's keys still come from the Wine registry.
    EXPECT_EQ(store().ReadSetting(HKLM, msts, path), driveC() + QStringLiteral("/MSTS"));
    EXPECT_EQ(store().ReadSetting(HKLM, own, rametta), QString());
    store().WriteSetting(HKLM, own, rametta, QStringLiteral("/r"));
    store().ClearSettingKey(HKLM, own, rametta);
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(locations.iniFile).constData(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode)) << "left as it was";
}

TEST_F(SettingsStoreTest, UnwritableStoreChangesNothingAndReportsNothing) {
    // The configuration folder is a file: nothing can be written below it.
    writeFile(root + QStringLiteral("/blocked"), "x");
    locations.iniFile = root + QStringLiteral("/blocked/Pictelle/registry.ini");
    store().WriteSetting(HKLM, own, rametta, QStringLiteral("/r"));
    store().ClearSettingKey(HKLM, own, rametta);
    EXPECT_EQ(store().ReadSetting(HKLM, own, rametta), QString());
    EXPECT_EQ(readFile(root + QStringLiteral("/blocked")), QByteArray("x"));
}

TEST_F(SettingsStoreTest, OversizedFileIsNeitherReadNorReplaced) {
    QByteArray big = "[SOFTWARE\\Pictelle]\nRametta_Path=/kept\n";
    big += QByteArray(SettingsStore::MaxIniBytes, ';');
    writeFile(locations.iniFile, big);
    EXPECT_EQ(store().ReadSetting(HKLM, own, rametta), QString());
    store().WriteSetting(HKLM, own, rametta, QStringLiteral("/new"));
    store().ClearSettingKey(HKLM, own, rametta);
    EXPECT_EQ(readFile(locations.iniFile), big);
}
