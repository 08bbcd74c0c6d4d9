// Names on disk that are not UTF-8, hidden names in listings, and where thumbnails go.

#include "platform/FileSystem.h"
#include "platform/Windows1252.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using platform::FileSystem;

namespace {

// The raw names of a folder's entries, as the system holds them.
QList<QByteArray> rawNames(const QByteArray& folder) {
    QList<QByteArray> names;
    DIR* dir = ::opendir(folder.constData());
    if (!dir)
        return names;
    while (const dirent* entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (name != "." && name != "..")
            names << name;
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

void writeRaw(const QByteArray& path, const QByteArray& bytes) {
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0) << path.constData();
    ASSERT_EQ(::write(fd, bytes.constData(), size_t(bytes.size())), bytes.size());
    ::close(fd);
}

TEST(Windows1252, EveryByteHasOneCharacterAndBack) {
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    const QString text = platform::DecodeWindows1252(all);
    EXPECT_EQ(text.at(0xE9), QChar(0xE9));
    EXPECT_EQ(text.at(0x80), QChar(0x20AC));
    EXPECT_EQ(text.at(0x81), QChar(0x81)); // undefined in the code page: kept
    EXPECT_EQ(platform::EncodeWindows1252(text), all);
    EXPECT_FALSE(platform::EncodeWindows1252(QStringLiteral("Gare \u0141\u00f3d\u017a")));
}

class LegacyNamesTest : public ::testing::Test {
protected:
    // Qt cannot name what it cannot decode: the raw names go first.
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(std::string(root().constData()), ignored);
    }
    QTemporaryDir tmp;
    QByteArray root() const { return QFile::encodeName(tmp.path()); }
    FileSystem fs{FileSystem::Options{{}, tmp.path() + "/own", tmp.path() + "/data"}};
};

// An archive made on Windows leaves "Caf\xe9": listed, found, read by its real bytes, and a
// new file named after it is written in UTF-8.
TEST_F(LegacyNamesTest, Windows1252NamesAreListedResolvedAndOpenedByTheirBytes) {
    ASSERT_EQ(::mkdir(root() + "/Caf\xe9", 0755), 0);
    writeRaw(root() + "/Caf\xe9/Voiture \x80 caf\xe9.wag", "legacy");
    writeRaw(root() + "/Th\xc3\xa9.wag", "utf8");
    const QString cafe = QStringLiteral("Caf\u00e9");

    EXPECT_EQ(fs.list(tmp.path(), "*", FileSystem::EntryKind::Folders), QStringList{cafe});
    EXPECT_EQ(fs.list(tmp.path(), "*.wag", FileSystem::EntryKind::Files),
              QStringList{QStringLiteral("Th\u00e9.wag")});
    const QString wag = tmp.path() + "\\" + cafe + QStringLiteral("\\VOITURE \u20ac CAF\u00c9.WAG");
    EXPECT_EQ(fs.list(tmp.path() + "/" + cafe, "*.wag", FileSystem::EntryKind::Files),
              QStringList{QStringLiteral("Voiture \u20ac caf\u00e9.wag")});
    EXPECT_TRUE(fs.isFolder(tmp.path() + "/" + cafe));
    EXPECT_TRUE(fs.isFile(wag));
    EXPECT_TRUE(fs.canRead(wag));
    EXPECT_EQ(fs.readFile(wag).value_or(""), "legacy");
    {
        FileSystem::ScanCache cache(fs);
        EXPECT_TRUE(fs.canRead(wag));
        EXPECT_EQ(fs.readFile(wag).value_or(""), "legacy");
    }
    EXPECT_EQ(fs.readFile(tmp.path() + QStringLiteral("/th\u00e9.WAG")).value_or(""), "utf8");

    // A thumbnail named after the vehicle: UTF-8 on disk, in a folder named in Windows-1252.
    ASSERT_TRUE(fs.writeFileAtomically(tmp.path() + "/" + cafe + "/SFCANVAS_1.bmp", "BM"));
    ASSERT_TRUE(fs.renameFile(tmp.path() + "/" + cafe + "/SFCANVAS_1.bmp",
                              tmp.path() + "/" + cafe + QStringLiteral("/Caf\u00e9.bmp")));
    EXPECT_EQ(rawNames(root() + "/Caf\xe9"),
              (QList<QByteArray>{"Caf\xc3\xa9.bmp", "Voiture \x80 caf\xe9.wag"}));
    EXPECT_TRUE(fs.removeFile(tmp.path() + "/" + cafe + QStringLiteral("/caf\u00e9.BMP")));
    EXPECT_TRUE(fs.makeFolder(tmp.path() + "/" + cafe + QStringLiteral("/Sous-\u00e9")));
    EXPECT_EQ(rawNames(root() + "/Caf\xe9"),
              (QList<QByteArray>{"Sous-\xc3\xa9", "Voiture \x80 caf\xe9.wag"}));
}

TEST_F(LegacyNamesTest, HiddenFoldersAreListedOnlyWhenAskedFor) {
    QDir().mkpath(tmp.path() + "/home/.wine");
    QDir().mkpath(tmp.path() + "/home/Documents");
    const QString home = tmp.path() + "/home";
    EXPECT_EQ(fs.list(home, "*", FileSystem::EntryKind::Folders), QStringList{"Documents"});
    EXPECT_EQ(fs.list(home, "*", FileSystem::EntryKind::Folders, FileSystem::Hidden::Include),
              (QStringList{".wine", "Documents"}));
    FileSystem::ScanCache cache(fs);
    EXPECT_EQ(fs.list(home, "*", FileSystem::EntryKind::Folders), QStringList{"Documents"});
}

TEST_F(LegacyNamesTest, TheThumbnailsFolderItselfDecidesWhereThumbnailsGo) {
    const QString own = tmp.path() + "/own";
    const QString fallback = tmp.path() + "/data/Pictelle/Thumbnails";
    QDir().mkpath(own);
    // Missing in a writable folder: it can be created there.
    EXPECT_EQ(fs.thumbnailsFolder(), own + "/Thumbnails");
    // A file in its place: it can never be a folder.
    QFile blocker(own + "/Thumbnails");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_EQ(fs.thumbnailsFolder(), fallback);
    QFile::remove(own + "/Thumbnails");
    EXPECT_EQ(fs.thumbnailsFolder(), own + "/Thumbnails");
}

// Left read-only by a run as another user, in a program folder that is still writable.
TEST_F(LegacyNamesTest, AReadOnlyThumbnailsFolderSendsThumbnailsToTheUserDataFolder) {
    const QString own = tmp.path() + "/own";
    const QString fallback = tmp.path() + "/data/Pictelle/Thumbnails";
    QDir().mkpath(own + "/Thumbnails");
    ASSERT_EQ(::chmod(QFile::encodeName(own + "/Thumbnails").constData(), 0555), 0);
    ASSERT_NE(::access(QFile::encodeName(own + "/Thumbnails").constData(), W_OK), 0)
        << "run this test without root's powers, as CTest does";
    EXPECT_EQ(fs.thumbnailsFolder(), fallback);
    ::chmod(QFile::encodeName(own + "/Thumbnails").constData(), 0755);
    EXPECT_EQ(fs.thumbnailsFolder(), own + "/Thumbnails");
}

} // namespace
