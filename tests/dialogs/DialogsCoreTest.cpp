#include "dialogs/AboutText.h"
#include "dialogs/Drives.h"
#include "dialogs/StartFolder.h"
#include "dialogs/SystemInformation.h"
#include "dialogs/TypedPath.h"
#include "platform/FileSystem.h"
#include "shared/Messages.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace dialogs;

using testsupport::write;

namespace {

// Start folder sources over a fixed set of existing folders, counting setting reads.
struct FakeSources {
    QString setting;
    QStringList existing;
    int reads = 0;

    StartFolderSources sources() {
        StartFolderSources s;
        s.readProgramFilesSetting = [this] {
            ++reads;
            return setting;
        };
        s.folderExists = [this](const QString& p) {
            return existing.contains(p);
        };
        s.ownFolder = QStringLiteral("/opt/pictelle");
        return s;
    }
};

TEST(StartFolder, EmptyTargetOpensInProgramFilesReadOnceForTheRun) {
    FakeSources fake{QStringLiteral("/wine/Program Files"),
                     {QStringLiteral("/wine/Program Files"), QStringLiteral("/opt/pictelle")}};
    QString cache;
    QString msts;
    ChooseStartFolder(msts, cache, fake.sources());
    EXPECT_EQ(msts, "/wine/Program Files");
    EXPECT_EQ(cache, "/wine/Program Files");

    // The second dialog of the run uses the cached value, even if the setting changed.
    fake.setting = QStringLiteral("/elsewhere");
    QString rametta;
    ChooseStartFolder(rametta, cache, fake.sources());
    EXPECT_EQ(rametta, "/wine/Program Files");
    EXPECT_EQ(fake.reads, 1);
}

TEST(StartFolder, FallsBackToTheHomeFolderBeforeTheOwnFolder) {
    FakeSources fake{QString(), {QStringLiteral("/opt/pictelle"), QStringLiteral("/home/u")}};
    QString cache;
    QString target;
    StartFolderSources sources = fake.sources();
    sources.homeFolder = QStringLiteral("/home/u");
    ChooseStartFolder(target, cache, sources);
    EXPECT_EQ(target, "/home/u");
    EXPECT_EQ(cache, "/home/u");
    target = QStringLiteral("/gone/MSTS");
    ChooseStartFolder(target, cache, sources);
    EXPECT_EQ(target, "/home/u");
}

// Without a home folder, the own folder stands in.
TEST(StartFolder, FallsBackToTheOwnFolder) {
    // No program-files setting at all.
    FakeSources unset{QString(), {QStringLiteral("/opt/pictelle")}};
    QString cache;
    QString target;
    ChooseStartFolder(target, cache, unset.sources());
    EXPECT_EQ(target, "/opt/pictelle");

    // A setting naming a folder that does not exist.
    FakeSources missing{QStringLiteral("C:\\Program Files"), {QStringLiteral("/opt/pictelle")}};
    cache.clear();
    target.clear();
    ChooseStartFolder(target, cache, missing.sources());
    EXPECT_EQ(target, "/opt/pictelle");
    EXPECT_EQ(cache, "C:\\Program Files");

    // A target that is already set but gone.
    target = QStringLiteral("/gone/MSTS");
    ChooseStartFolder(target, cache, missing.sources());
    EXPECT_EQ(target, "/opt/pictelle");
}

TEST(StartFolder, AnExistingTargetIsKeptWithoutReadingTheSetting) {
    FakeSources fake{QStringLiteral("/wine/Program Files"), {QStringLiteral("/games/MSTS")}};
    QString cache;
    QString target = QStringLiteral("/games/MSTS");
    ChooseStartFolder(target, cache, fake.sources());
    EXPECT_EQ(target, "/games/MSTS");
    EXPECT_EQ(fake.reads, 0);
    EXPECT_TRUE(cache.isEmpty());
}

TEST(Drives, APathBelongsToTheDriveWithTheLongestRoot) {
    const QList<Drive> drives{{"/", "/"}, {"/home/user", "/home/user"}, {"/media/usb", "usb"}};
    EXPECT_EQ(DriveIndexOf("/home/user/MSTS", drives), 1);
    EXPECT_EQ(DriveIndexOf("/home/user", drives), 1);
    EXPECT_EQ(DriveIndexOf("/home/user/", drives), 1);
    // A sibling that merely starts with the same letters is not on that drive.
    EXPECT_EQ(DriveIndexOf("/home/username", drives), 0);
    EXPECT_EQ(DriveIndexOf("/media/usb/Rametta", drives), 2);
    EXPECT_EQ(DriveIndexOf("/usr", drives), 0);
    EXPECT_EQ(DriveIndexOf("relative/path", drives), -1);
    EXPECT_EQ(DriveIndexOf("/media/usb", {{"/media/usb/x", "x"}}), -1);
}

TEST(Drives, TheMachineOffersItsHomeFolderAndReadyVolumes) {
    const QList<Drive> drives = AvailableDrives();
    ASSERT_FALSE(drives.isEmpty());
    EXPECT_GE(DriveIndexOf(QDir::homePath(), drives), 0);
    for (const Drive& d : drives) {
        EXPECT_TRUE(QFileInfo(d.root).isDir()) << d.root.toStdString();
        EXPECT_EQ(std::count_if(drives.begin(), drives.end(),
                                [&d](const Drive& o) { return o.root == d.root; }),
                  1);
    }
}

const QByteArray Registry = "WINE REGISTRY Version 2\n"
                            ";; All keys relative to \\\\Machine\n"
                            "\n"
                            "[Software\\\\Microsoft\\\\Shared Tools\\\\MSINFO] 1700000000\n"
                            "#time=1d9f\n"
                            "\"Path\"=\"C:\\\\Program Files\\\\Common Files\\\\Microsoft "
                            "Shared\\\\MSInfo\\\\msinfo32.exe\"\n"
                            "\"Quoted\"=\"say \\\"hi\\\"\\x00e9\"\n"
                            "\"Expand\"=str(2):\"%ProgramFiles%\\\\msinfo32.exe\"\n"
                            "\"Number\"=dword:00000001\n"
                            "\"Wide\"=hex(1):43,00,3a,00,\\\n"
                            "  5c,00,00,00\n"
                            "@=\"default\"\n"
                            "\n"
                            "[Software\\\\Other] 1700000000\n"
                            "\"OnlyHere\"=\"other\"\n";

TEST(ReadSystemValue, ReadsTextValuesWithTheirEscapes) {
    const SystemValue path =
        ReadSystemValue(Registry, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH");
    EXPECT_TRUE(path.found);
    EXPECT_EQ(path.type, 1u);
    EXPECT_EQ(path.text, "C:\\Program Files\\Common Files\\Microsoft Shared\\MSInfo\\msinfo32.exe");

    const SystemValue quoted =
        ReadSystemValue(Registry, "\\software\\microsoft\\shared tools\\msinfo", "quoted");
    EXPECT_EQ(quoted.text, QStringLiteral("say \"hi\"é"));

    const SystemValue wide =
        ReadSystemValue(Registry, "Software\\Microsoft\\Shared Tools\\MSINFO", "Wide");
    EXPECT_TRUE(wide.found);
    EXPECT_EQ(wide.type, 1u);
    EXPECT_EQ(wide.text, "C:\\");

    EXPECT_EQ(ReadSystemValue(Registry, "Software\\Microsoft\\Shared Tools\\MSINFO", "").text,
              "default");
}

TEST(ReadSystemValue, OtherKindsAreFoundButCarryNoText) {
    const QString key = QStringLiteral("Software\\Microsoft\\Shared Tools\\MSINFO");
    const SystemValue expand = ReadSystemValue(Registry, key, "Expand");
    EXPECT_TRUE(expand.found);
    EXPECT_EQ(expand.type, 2u);
    EXPECT_TRUE(expand.text.isEmpty());
    EXPECT_EQ(ReadSystemValue(Registry, key, "Number").type, 4u);
}

TEST(ReadSystemValue, MissingKeysValuesAndOverlongTextsAreNotFound) {
    EXPECT_FALSE(
        ReadSystemValue(Registry, "Software\\Microsoft\\Shared Tools\\MSINFO", "OnlyHere").found);
    EXPECT_FALSE(ReadSystemValue(Registry, "Software\\Microsoft\\Shared Tools", "Path").found);
    EXPECT_FALSE(ReadSystemValue(QByteArray(), "Software\\Other", "OnlyHere").found);

    // 1,023 characters and the terminator fill the 1,024-byte buffer; one more does not fit.
    const QByteArray fits = "[K] 1\n\"V\"=\"" + QByteArray(1023, 'a') + "\"\n";
    const QByteArray tooLong = "[K] 1\n\"V\"=\"" + QByteArray(1024, 'a') + "\"\n";
    EXPECT_EQ(ReadSystemValue(fits, "K", "V").text.size(), 1023);
    EXPECT_FALSE(ReadSystemValue(tooLong, "K", "V").found);

    // A damaged line (unterminated text) reads as nothing rather than as a partial value.
    EXPECT_FALSE(ReadSystemValue("[K] 1\n\"V\"=\"unterminated\n", "K", "V").found);
}

TEST(ReadSystemValue, PrefersThe32BitViewOfAPrefixFile) {
    QTemporaryDir tmp;
    const QString file = tmp.path() + "/system.reg";
    write(file, "[Software\\\\Microsoft\\\\Shared Tools\\\\MSINFO] 1\n\"Path\"=\"C:\\\\64.exe\"\n"
                "[Software\\\\Wow6432Node\\\\Microsoft\\\\Shared Tools\\\\MSINFO] 1\n"
                "\"Path\"=\"C:\\\\32.exe\"\n"
                "[Software\\\\Microsoft\\\\Shared Tools Location] 1\n\"MSINFO\"=\"C:\\\\Tools\"\n");
    const platform::FileSystem fs(platform::FileSystem::Options{{}, tmp.path(), tmp.path()});
    EXPECT_EQ(ReadSystemValue(fs, file, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH").text,
              "C:\\32.exe");
    EXPECT_EQ(
        ReadSystemValue(fs, file, "SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO").text,
        "C:\\Tools");
    EXPECT_FALSE(ReadSystemValue(fs, tmp.path() + "/none.reg",
                                 "SOFTWARE\\Microsoft\\Shared Tools"
                                 "\\MSINFO",
                                 "PATH")
                     .found);
}

// System information tools over a fixed table of values and files, recording what starts.
struct FakeTools {
    QMap<QString, SystemValue> values; // key + "|" + value name
    QStringList files;
    bool startWorks = true;
    QStringList reads;
    QStringList started;

    SystemInformationTools tools() {
        SystemInformationTools t;
        t.readSystemValue = [this](const QString& key, const QString& name) {
            reads.push_back(key + "|" + name);
            return values.value(key + "|" + name);
        };
        t.fileExists = [this](const QString& p) {
            return files.contains(p);
        };
        t.startProgram = [this](const QString& p) {
            started.push_back(p);
            return startWorks;
        };
        return t;
    }
};

const QString ToolPath = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO|PATH");
const QString Location = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location|MSINFO");

TEST(StartSystemInformation, NothingRegisteredStartsNothing) {
    FakeTools fake;
    EXPECT_FALSE(StartSystemInformation(fake.tools()));
    EXPECT_TRUE(fake.started.isEmpty());
}

TEST(StartSystemInformation, TheToolsOwnPathComesFirst) {
    FakeTools fake;
    fake.values[ToolPath] = {true, 1, "C:\\Tools\\msinfo32.exe"};
    fake.values[Location] = {true, 1, "C:\\Shared"};
    fake.files = {"C:\\Shared\\MSINFO32.EXE"};
    EXPECT_TRUE(StartSystemInformation(fake.tools()));
    EXPECT_EQ(fake.started, QStringList{"C:\\Tools\\msinfo32.exe"});

    // A start that fails is a failure, not a reason to try the other place.
    fake.started.clear();
    fake.startWorks = false;
    EXPECT_FALSE(StartSystemInformation(fake.tools()));
    EXPECT_EQ(fake.started.size(), 1);
}

TEST(StartSystemInformation, APathOfAnotherKindEndsTheSearch) {
    FakeTools fake;
    fake.values[ToolPath] = {true, 2, {}};
    fake.values[Location] = {true, 1, "C:\\Shared"};
    fake.files = {"C:\\Shared\\MSINFO32.EXE"};
    EXPECT_FALSE(StartSystemInformation(fake.tools()));
    EXPECT_TRUE(fake.started.isEmpty());
    EXPECT_EQ(fake.reads, QStringList{ToolPath});
}

TEST(StartSystemInformation, TheSharedLocationNeedsTheProgramFile) {
    FakeTools fake;
    fake.values[Location] = {true, 1, "C:\\Shared"};
    EXPECT_FALSE(StartSystemInformation(fake.tools()));
    EXPECT_TRUE(fake.started.isEmpty());

    fake.files = {"C:\\Shared\\MSINFO32.EXE"};
    EXPECT_TRUE(StartSystemInformation(fake.tools()));
    EXPECT_EQ(fake.started, QStringList{"C:\\Shared\\MSINFO32.EXE"});
}

TEST(StartSystemInformation, TheRealStarterRefusesAProgramThatIsNotThere) {
    QTemporaryDir tmp;
    const platform::FileSystem fs(platform::FileSystem::Options{{}, tmp.path(), tmp.path()});
    const SystemInformationTools tools = SystemInformationToolsFor(fs, tmp.path() + "/system.reg");
    EXPECT_FALSE(tools.startProgram(tmp.path() + "/msinfo32.exe"));
    EXPECT_FALSE(StartSystemInformation(tools));
}

TEST(AboutText, DescriptionReadsLineByLine) {
    const QStringList lines = AboutDescription().split("\r\n");
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0], "Version 1.1.0");
    EXPECT_EQ(lines[1],
              QStringLiteral("Développement : ") + app::LoadMessage(app::MessageId::Toolchain));
    EXPECT_EQ(lines[2], "Graphismes : Paint Shop Pro 7.00");
    EXPECT_EQ(lines[3], "Copyright " + app::LoadMessage(app::MessageId::Copyright));
    EXPECT_EQ(AboutDescription({2, 10, 3}).split("\r\n").front(), "Version 2.10.3");
}

TEST(AboutText, NoticeAndMailLink) {
    const QString notice = AboutDisclaimer();
    EXPECT_TRUE(notice.contains("\r\n"));
    EXPECT_FALSE(notice.contains("|1"));
    // The terms a distribution checks for: a free licence, its version, no warranty.
    for (const char* term : {"logiciel libre", "GNU GPL version 3", "ultérieure", "garantie"})
        EXPECT_TRUE(notice.contains(QString::fromUtf8(term))) << term;

    const QString link = AuthorMailLink("me@example.org", "Pictelle");
    EXPECT_EQ(link, "mailto:me@example.org?Subject=" +
                        app::LoadMessage(app::MessageId::AboutSubject, {"|1", "PICTELLE"}));
    EXPECT_TRUE(link.contains("PICTELLE"));
    EXPECT_FALSE(link.contains("Pictelle"));
}

} // namespace

namespace {

TEST(TypedFolder, BlanksQuotesHomeAndAddressesAreUnderstood) {
    EXPECT_EQ(dialogs::TypedFolder("  /games/MSTS \t", "/home/u"), "/games/MSTS");
    EXPECT_EQ(dialogs::TypedFolder("\"/games/Train Simulator\"", "/home/u"),
              "/games/Train Simulator");
    EXPECT_EQ(dialogs::TypedFolder("'~/.wine'", "/home/u"), "/home/u/.wine");
    EXPECT_EQ(dialogs::TypedFolder("~", "/home/u"), "/home/u");
    EXPECT_EQ(dialogs::TypedFolder("file:///home/u/Mes%20jeux", "/home/u"), "/home/u/Mes jeux");
    EXPECT_EQ(dialogs::TypedFolder("C:\\Program Files", "/home/u"), "C:\\Program Files");
    // "~user" is not ours to expand.
    EXPECT_EQ(dialogs::TypedFolder("~other/x", "/home/u"), "~other/x");
}

TEST(Drives, WineLettersThenHomeThenUserVolumesEachRootOnce) {
    QTemporaryDir tmp;
    const QString prefix = tmp.path() + "/.wine";
    QDir().mkpath(prefix + "/drive_c");
    QDir().mkpath(prefix + "/dosdevices");
    QDir().mkpath(tmp.path() + "/media/usb");
    QFile::link("../drive_c", prefix + "/dosdevices/c:");
    QFile::link("/", prefix + "/dosdevices/z:");
    QFile::link(tmp.path() + "/gone", prefix + "/dosdevices/d:");
    const QList<Drive> wine = dialogs::WineDrives(prefix + "/dosdevices");
    ASSERT_EQ(wine.size(), 2);
    EXPECT_EQ(wine[0].root, QFileInfo(prefix + "/drive_c").canonicalFilePath());
    EXPECT_TRUE(wine[0].label.startsWith("C:"));
    EXPECT_TRUE(wine[0].label.contains(wine[0].root));
    EXPECT_EQ(wine[1].root, "/");

    const QList<dialogs::Volume> volumes{
        {"/proc", "proc", ""},
        {"/", "ext4", ""},
        {"/run", "tmpfs", ""},
        {"/snap/core/1", "squashfs", ""},
        {"/var/lib/docker/x", "overlay", ""},
        {"/boot/efi", "vfat", ""},
        {"/sys/fs/cgroup", "cgroup2", ""},
        {"/media/usb", "vfat", "CLE"},
        {"/mnt/data", "ext4", ""},
    };
    const QList<Drive> drives = dialogs::ListDrives(wine, "/home/u", volumes);
    QStringList roots;
    for (const Drive& d : drives)
        roots << d.root;
    // "/" is Z: already; the pseudo and loop file systems and /boot/efi are left out.
    EXPECT_EQ(roots, (QStringList{wine[0].root, "/", "/home/u", "/media/usb", "/mnt/data"}));
    EXPECT_EQ(drives[3].label, "/media/usb [CLE]");
}

} // namespace
