#include "platform/FileSystem.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>

#include <sys/stat.h>
#include <unistd.h>

using platform::FileSystem;

namespace {

void touch(const QString& path, const QByteArray& bytes = "x") {
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

class FileSystemTest : public ::testing::Test {
protected:
    QTemporaryDir tmp;
    QString root() const { return tmp.path(); }
    // A file layer whose own folder and data folder live in the temporary folder.
    FileSystem fs{
        FileSystem::Options{root() + "/wine/dosdevices", root() + "/own", root() + "/data"}};
};

TEST_F(FileSystemTest, ResolvesBackslashPathTextsWithoutRegardToCase) {
    touch(root() + "/MSTS/TRAINS/TRAINSET/Acela/ACELA.eng");
    const QString expected = root() + "/MSTS/TRAINS/TRAINSET/Acela/ACELA.eng";

    EXPECT_EQ(fs.resolve(root() + "\\msts\\trains\\trainset\\ACELA\\acela.ENG"), expected);
    // Doubled separators name the same file; ".." is resolved in the text.
    EXPECT_EQ(fs.resolve(root() + "\\MSTS\\\\TRAINS\\TRAINSET\\\\Acela\\ACELA.eng"), expected);
    EXPECT_EQ(fs.resolve(root() + "/MSTS/TRAINS/TRAINSET/Acela/../Acela/./acela.eng"), expected);
    // A trailing separator is harmless on a folder.
    EXPECT_TRUE(fs.isFolder(root() + "\\msts\\TRAINS\\trainset\\"));
    EXPECT_FALSE(fs.isFolder(root() + "\\msts\\TRAINS\\trainset\\acela\\acela.eng"));
    EXPECT_TRUE(fs.isFile(root() + "\\msts\\TRAINS\\trainset\\acela\\acela.eng"));
    EXPECT_TRUE(fs.resolve(root() + "\\MSTS\\nothing.eng").isEmpty());
    EXPECT_TRUE(fs.resolve(QString()).isEmpty());
}

TEST_F(FileSystemTest, ExactSpellingWinsElseFirstInSortedOrder) {
    touch(root() + "/d/shape.S", "upper");
    touch(root() + "/d/Shape.s", "mixed");
    EXPECT_EQ(fs.resolve(root() + "/d/Shape.s"), root() + "/d/Shape.s");
    EXPECT_EQ(fs.resolve(root() + "/d/shape.S"), root() + "/d/shape.S");
    // Neither is exact: "Shape.s" sorts before "shape.S" (ties broken by the exact text).
    EXPECT_EQ(fs.resolve(root() + "/d/SHAPE.S"), root() + "/d/Shape.s");
    // Case is folded beyond ASCII too: a Kelvin sign is a K.
    touch(root() + "/d/\u212Aelvin.ace");
    EXPECT_EQ(fs.resolve(root() + "/d/kELVIN.ace"), root() + "/d/\u212Aelvin.ace");
}

TEST_F(FileSystemTest, ListingsAreSortedFilteredAndMatchPatternsWithoutRegardToCase) {
    for (const char* name : {"b.ENG", "A.eng", "c.wag", ".hidden.eng", "default.WAG"})
        touch(root() + "/t/" + name);
    QDir().mkpath(root() + "/t/x.eng"); // a folder named like a file
    QDir().mkpath(root() + "/t/Zfolder");
    QDir().mkpath(root() + "/t/afolder");
    QDir().mkpath(root() + "/t/.git");
    touch(root() + "/t/evil\\..\\name.eng"); // a legal Linux name that cannot exist on Windows

    EXPECT_EQ(fs.list(root() + "\\t\\", "*.eng", FileSystem::EntryKind::Files),
              (QStringList{"A.eng", "b.ENG"}));
    EXPECT_EQ(fs.list(root() + "\\T", "*.WAG", FileSystem::EntryKind::Files),
              (QStringList{"c.wag", "default.WAG"}));
    EXPECT_EQ(fs.list(root() + "/t", "*", FileSystem::EntryKind::Folders),
              (QStringList{"afolder", "x.eng", "Zfolder"}));
    EXPECT_EQ(fs.list(root() + "/t", "*.*", FileSystem::EntryKind::Folders).size(), 3);
    EXPECT_TRUE(fs.list(root() + "/missing", "*", FileSystem::EntryKind::Files).isEmpty());
    // Never listed, never matched by case, but followed when named exactly (~/.wine).
    EXPECT_TRUE(fs.resolve(root() + "/t/.HIDDEN.eng").isEmpty());
    EXPECT_EQ(fs.resolve(root() + "/t/.hidden.eng"), root() + "/t/.hidden.eng");
    QDir().mkpath(root() + "/.wine/drive_c/MSTS");
    {
        FileSystem::ScanCache cache(fs);
        EXPECT_TRUE(fs.isFolder(root() + "/.wine/drive_c/msts"));
    }
}

TEST_F(FileSystemTest, DriveLetterPathsGoThroughTheWineDriveTable) {
    QDir().mkpath(root() + "/wine/drive_c/Program Files/Microsoft Games/Train Simulator");
    QDir().mkpath(root() + "/wine/dosdevices");
    ASSERT_TRUE(QFile::link(root() + "/wine/drive_c", root() + "/wine/dosdevices/c:"));

    const QString native = QFileInfo(root() + "/wine/drive_c").canonicalFilePath() +
                           "/Program Files/Microsoft Games/Train Simulator";
    EXPECT_EQ(fs.resolve("C:\\program files\\MICROSOFT GAMES\\Train Simulator"), native);
    EXPECT_EQ(fs.mapDrivePath("c:\\Program Files\\Microsoft Games\\Train Simulator\\"), native);
    // A drive the table lacks names nothing.
    EXPECT_TRUE(fs.resolve("D:\\Program Files").isEmpty());
    EXPECT_TRUE(fs.mapDrivePath("D:\\Program Files").isEmpty());
}

TEST_F(FileSystemTest, ScanCacheServesListingsUntilItEnds) {
    touch(root() + "/s/one.eng");
    {
        FileSystem::ScanCache cache(fs);
        EXPECT_EQ(fs.list(root() + "/s", "*.eng", FileSystem::EntryKind::Files).size(), 1);
        touch(root() + "/s/two.eng");
        // Within one scan the folder is listed once.
        EXPECT_EQ(fs.list(root() + "/s", "*.eng", FileSystem::EntryKind::Files).size(), 1);
    }
    EXPECT_EQ(fs.list(root() + "/s", "*.eng", FileSystem::EntryKind::Files).size(), 2);
}

TEST_F(FileSystemTest, ResolvingUnderAScanCacheMatchesResolvingWithout) {
    touch(root() + "/c/Loco/shape.S", "upper");
    touch(root() + "/c/Loco/Shape.s", "mixed");
    touch(root() + "/c/Loco/Only.ace");
    QDir().mkpath(root() + "/c/Loco/sub");
    const QStringList texts = {
        "\\c\\loco\\Shape.s",           "\\c\\LOCO\\shape.S",           "\\C\\loco\\SHAPE.S",
        "\\c\\loco\\only.ACE",          "\\c\\loco\\missing.s",         "\\c\\loco\\SUB\\",
        "\\c\\sub\\..\\loco\\only.ace", "\\c\\loco\\sub\\..\\only.ace", "\\c\\loco\\\\only.ace",
        "\\c\\loco\\.\\only.ace",       "\\c\\missing\\only.ace",       "\\c\\loco\\..",
        "\\c\\loco\\only.ace\\x"};
    QStringList uncached, cached;
    for (const QString& t : texts)
        uncached.append(fs.resolve(root() + t));
    {
        FileSystem::ScanCache cache(fs);
        for (const QString& t : texts)
            cached.append(fs.resolve(root() + t));
    }
    EXPECT_EQ(cached, uncached);
    EXPECT_EQ(cached[2], root() + "/c/Loco/Shape.s");
    EXPECT_EQ(cached[3], root() + "/c/Loco/Only.ace");
    EXPECT_TRUE(cached[4].isEmpty());
}

TEST_F(FileSystemTest, ReadFileReadsRegularFilesOnlyAndNeverBlocks) {
    touch(root() + "/p/file.eng", "content");
    QDir().mkpath(root() + "/p/folder.eng");
    ASSERT_EQ(::mkfifo(QFile::encodeName(root() + "/p/pipe.eng").constData(), 0644), 0);
    EXPECT_EQ(fs.readFile(root() + "\\p\\FILE.eng"), QByteArray("content"));
    EXPECT_EQ(fs.readFile(root() + "\\p\\file.eng\\"), QByteArray("content"));
    EXPECT_FALSE(fs.readFile(root() + "/p/folder.eng"));
    EXPECT_FALSE(fs.readFile(root() + "/p/pipe.eng")); // would wait for a writer if opened
    touch(root() + "/p/empty.eng", "");
    EXPECT_EQ(fs.readFile(root() + "/p/empty.eng"), QByteArray());
    const FileSystem::ScanCache cache(fs);
    EXPECT_EQ(fs.readFile(root() + "/p/file.eng"), QByteArray("content"));
    EXPECT_FALSE(fs.readFile(root() + "/p/pipe.eng"));
}

TEST_F(FileSystemTest, CanReadOnlyFilesThatOpenWithOrWithoutAScanCache) {
    touch(root() + "/r/file.eng");
    touch(root() + "/r/locked.eng");
    QDir().mkpath(root() + "/r/folder.eng");
    ASSERT_EQ(::mkfifo(QFile::encodeName(root() + "/r/pipe.s").constData(), 0644), 0);
    QFile(root() + "/r/locked.eng").setPermissions(QFileDevice::WriteOwner);
    const bool rootUser = ::geteuid() == 0; // root reads everything
    for (const bool cached : {false, true}) {
        SCOPED_TRACE(cached ? "cached" : "uncached");
        std::optional<FileSystem::ScanCache> cache;
        if (cached)
            cache.emplace(fs);
        EXPECT_TRUE(fs.canRead(root() + "\\R\\FILE.ENG"));
        EXPECT_FALSE(fs.canRead(root() + "/r/folder.eng"));
        EXPECT_FALSE(fs.canRead(root() + "/r/missing.eng"));
        EXPECT_FALSE(fs.canRead(root() + "/r/pipe.s"));
        EXPECT_EQ(fs.canRead(root() + "/r/locked.eng"), rootUser);
    }
}

TEST_F(FileSystemTest, WritesAndRenamesNeverLeaveAHalfFile) {
    QDir().mkpath(root() + "/Thumbs");
    const QString target = root() + "\\Thumbs\\a.bmp";
    ASSERT_TRUE(fs.writeFileAtomically(target, "first"));
    EXPECT_EQ(fs.readFile(target).value_or(""), "first");
    // No temporary left, hidden or not; the file as readable as one written in place.
    EXPECT_EQ(QDir(root() + "/Thumbs").entryList(QDir::Files | QDir::Hidden), QStringList{"a.bmp"});
    const mode_t mask = ::umask(0);
    ::umask(mask);
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(root() + "/Thumbs/a.bmp").constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0666 & ~mask);

    // A write into a folder that does not exist fails and creates nothing.
    EXPECT_FALSE(fs.writeFileAtomically(root() + "\\Nowhere\\a.bmp", "x"));
    EXPECT_FALSE(QFileInfo::exists(root() + "/Nowhere"));

    ASSERT_TRUE(fs.writeFileAtomically(root() + "/Thumbs/SFCANVAS_1.bmp", "second"));
    // renameFile never replaces; replaceFile does, in one step.
    EXPECT_FALSE(fs.renameFile(root() + "/Thumbs/SFCANVAS_1.bmp", root() + "/Thumbs/A.BMP"));
    EXPECT_EQ(fs.readFile(target).value_or(""), "first");
    EXPECT_TRUE(fs.replaceFile(root() + "/Thumbs/SFCANVAS_1.bmp", root() + "/Thumbs/A.BMP"));
    EXPECT_EQ(fs.readFile(target).value_or(""), "second");
    // The replacing file takes the spelling it was given; the old spelling is gone.
    EXPECT_EQ(QDir(root() + "/Thumbs").entryList(QDir::Files), QStringList{"A.BMP"});
    EXPECT_FALSE(fs.replaceFile(root() + "/Thumbs/gone.bmp", target));
    EXPECT_TRUE(fs.removeFile(target));
    EXPECT_FALSE(fs.removeFile(target));
}

TEST_F(FileSystemTest, ReadFileRefusesFilesOverTheLimit) {
    touch(root() + "/big.s", QByteArray(100, 'a'));
    EXPECT_TRUE(fs.readFile(root() + "/big.s", 100).has_value());
    EXPECT_FALSE(fs.readFile(root() + "/big.s", 99).has_value());
    EXPECT_FALSE(fs.readFile(root() + "/absent.s").has_value());
}

TEST_F(FileSystemTest, ThumbnailsFolderIsBesideTheProgramWhenWritableElseInUserData) {
    QDir().mkpath(root() + "/own");
    EXPECT_EQ(fs.thumbnailsFolder(), root() + "/own/Thumbnails");
    // An own folder that cannot be written (here: one that does not exist) sends the
    // thumbnails to the user's data folder.
    const FileSystem installed{FileSystem::Options{{}, root() + "/usr-bin", root() + "/data"}};
    EXPECT_EQ(installed.thumbnailsFolder(), root() + "/data/Pictelle/Thumbnails");
}

// Root may write into /usr/bin: the install folder, not the right to write, keeps an installed
// copy out of it, however the program was reached.
TEST_F(FileSystemTest, AnInstalledCopyKeepsItsThumbnailsInTheUserDataFolder) {
    QDir().mkpath(root() + "/prefix/bin");
    QDir().mkpath(root() + "/build/bin");
    ASSERT_TRUE(QFile::link(root() + "/prefix/bin", root() + "/linked-bin"));
    const QString data = root() + "/data";
    const auto thumbnailsOf = [&](const QString& ownFolder) {
        return FileSystem{FileSystem::Options{{}, ownFolder, data, root() + "/prefix/bin"}}
            .thumbnailsFolder();
    };
    EXPECT_EQ(thumbnailsOf(root() + "/prefix/bin"), data + "/Pictelle/Thumbnails");
    EXPECT_EQ(thumbnailsOf(root() + "/prefix/bin/"), data + "/Pictelle/Thumbnails");
    EXPECT_EQ(thumbnailsOf(root() + "/linked-bin"), data + "/Pictelle/Thumbnails");
    EXPECT_EQ(thumbnailsOf(root() + "/prefix/../prefix/bin"), data + "/Pictelle/Thumbnails");
    // A build tree or an unpacked folder elsewhere keeps its pictures beside it.
    EXPECT_EQ(thumbnailsOf(root() + "/build/bin"), root() + "/build/bin/Thumbnails");
    EXPECT_FALSE(QFileInfo::exists(root() + "/prefix/bin/Thumbnails"));
}

TEST_F(FileSystemTest, MakeFolderCreatesMissingLevelsKeepingExistingSpelling) {
    QDir().mkpath(root() + "/Own");
    EXPECT_TRUE(fs.makeFolder(root() + "\\own\\Thumbnails\\"));
    EXPECT_TRUE(QFileInfo(root() + "/Own/Thumbnails").isDir());
    EXPECT_TRUE(fs.makeFolder(root() + "\\OWN\\thumbnails"));
    EXPECT_EQ(QDir(root() + "/Own").entryList(QDir::Dirs | QDir::NoDotAndDotDot),
              QStringList{"Thumbnails"});
}

TEST(FileSystemDisplay, ShowsNativeSeparators) {
    EXPECT_EQ(FileSystem::displayPath("..\\ACELA\\acela.eng"), "../ACELA/acela.eng");
}

} // namespace
