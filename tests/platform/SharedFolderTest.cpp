// Several writers in one folder at once: names taken exclusively, renames that never replace
// unasked and never copy, and failures that carry the system's reason.

#include "platform/FileSystem.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <thread>
#include <vector>

#include <unistd.h>

using platform::FileError;
using platform::FileSystem;

using testsupport::contentOf;

namespace {

class SharedFolderTest : public ::testing::Test {
protected:
    QTemporaryDir tmp;
    QString folder() const { return tmp.path() + "/Thumbnails"; }
    FileSystem fs{FileSystem::Options{{}, tmp.path() + "/own", tmp.path() + "/data"}};
    void SetUp() override { QDir().mkpath(folder()); }
};

TEST_F(SharedFolderTest, ExclusiveNamesCarryPrefixProcessIdAndNeverMeet) {
    const QString pid = QString::number(::getpid());
    QStringList names;
    for (int i = 0; i < 50; ++i) {
        const QString path =
            fs.writeExclusiveFile(folder() + "\\", "SFCANVAS_", ".bmp", QByteArray::number(i));
        ASSERT_FALSE(path.isEmpty());
        const QString name = QFileInfo(fs.resolve(path)).fileName();
        EXPECT_TRUE(name.startsWith("SFCANVAS_" + pid + "_")) << name.toStdString();
        EXPECT_TRUE(name.endsWith(".bmp"));
        EXPECT_EQ(contentOf(fs.resolve(path)), QByteArray::number(i)) << "each keeps its bytes";
        names.append(name);
    }
    names.removeDuplicates();
    EXPECT_EQ(names.size(), 50);

    FileError error;
    EXPECT_TRUE(
        fs.writeExclusiveFile(tmp.path() + "/nowhere", "SFCANVAS_", ".bmp", "x", &error).isEmpty());
    EXPECT_EQ(error.code, ENOENT);
    EXPECT_FALSE(error.reason().isEmpty());
}

TEST_F(SharedFolderTest, RacingRenamesToOneNameLetExactlyOneWinAndLoseNothing) {
    // Each thread renames its own file to the same thumbnail name. One rename wins; every
    // other fails with EEXIST and keeps its file, and the winner's bytes are whole (a copy
    // or a replacing rename would lose a file or mix them up).
    constexpr int threads = 8;
    for (int round = 0; round < 20; ++round) {
        const QString target = folder() + QStringLiteral("/V%1.bmp").arg(round);
        std::vector<QString> sources;
        for (int t = 0; t < threads; ++t)
            sources.push_back(fs.resolve(fs.writeExclusiveFile(folder(), "SFCANVAS_", ".bmp",
                                                               QByteArray(4096, char('a' + t)))));
        std::atomic<int> ready{0};
        std::vector<int> codes(threads, -1);
        std::vector<std::thread> pool;
        for (int t = 0; t < threads; ++t)
            pool.emplace_back([&, t] {
                const FileSystem own(FileSystem::Options{{}, tmp.path() + "/own", {}});
                ++ready;
                while (ready < threads) {
                }
                FileError error;
                codes[t] = own.renameFile(sources[t], target, &error) ? 0 : error.code;
            });
        for (std::thread& t : pool)
            t.join();
        int winners = 0;
        for (int t = 0; t < threads; ++t) {
            if (codes[t] == 0) {
                ++winners;
                EXPECT_EQ(contentOf(target), QByteArray(4096, char('a' + t)));
                EXPECT_FALSE(QFileInfo::exists(sources[t]));
            } else {
                EXPECT_EQ(codes[t], EEXIST);
                EXPECT_EQ(contentOf(sources[t]), QByteArray(4096, char('a' + t)))
                    << "a loser keeps its file";
            }
        }
        EXPECT_EQ(winners, 1);
    }
}

TEST_F(SharedFolderTest, FailuresNameTheFileAndTheSystemReason) {
    FileError error;
    EXPECT_FALSE(fs.renameFile(folder() + "/gone.bmp", folder() + "/A.bmp", &error));
    EXPECT_EQ(error.code, ENOENT);
    error = {};
    EXPECT_FALSE(fs.replaceFile(folder() + "/gone.bmp", folder() + "/A.bmp", &error));
    EXPECT_EQ(error.code, ENOENT);
    error = {};
    EXPECT_FALSE(fs.removeFile(folder() + "/gone.bmp", &error));
    EXPECT_EQ(error.code, ENOENT);

    // A folder cannot be made inside a file.
    QFile file(tmp.path() + "/plain");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    error = {};
    EXPECT_FALSE(fs.makeFolder(tmp.path() + "/plain/Thumbnails", &error));
    EXPECT_EQ(error.code, ENOTDIR);
    EXPECT_EQ(error.path, tmp.path() + "/plain/Thumbnails");
    EXPECT_FALSE(error.reason().isEmpty());
}

TEST_F(SharedFolderTest, FolderMadeByTwoWritersAtOnceIsNoFailure) {
    for (int round = 0; round < 20; ++round) {
        const QString path = tmp.path() + QStringLiteral("/race%1/Thumbnails").arg(round);
        std::atomic<int> ready{0};
        bool made[2] = {false, false};
        std::vector<std::thread> pool;
        for (int t = 0; t < 2; ++t)
            pool.emplace_back([&, t] {
                const FileSystem own(FileSystem::Options{{}, tmp.path() + "/own", {}});
                ++ready;
                while (ready < 2) {
                }
                made[t] = own.makeFolder(path);
            });
        for (std::thread& t : pool)
            t.join();
        EXPECT_TRUE(made[0] && made[1]);
    }
}

} // namespace
