// The file layer against what a damaged or hostile tree holds: named pipes and device nodes
// where files are expected, names that climb out of the simulator's folder, pictures left by
// runs that died, and a Thumbnails folder that stops taking files part way through a run.

#include "platform/ContainedPath.h"
#include "platform/FileSystem.h"
#include "platform/StaleTemporaries.h"
#include "support/OpenWatch.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

using platform::FileSystem;

namespace {

class HostileFilesTest : public ::testing::Test {
protected:
    QTemporaryDir tmp;
    QString root() const { return tmp.path(); }
    FileSystem::Options options() const {
        return FileSystem::Options{{}, root() + "/own", root() + "/data"};
    }
    FileSystem fs{options()};

    QString fifo() {
        const QString path = root() + "/pipe.eng";
        EXPECT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        return path;
    }
    // A character device of our own (the kernel's zero device), which only this test opens;
    // empty when this user may not make one.
    QString device() {
        const QString path = root() + "/zero.ace";
        if (::mknod(QFile::encodeName(path).constData(), S_IFCHR | 0600, makedev(1, 5)) != 0)
            return {};
        return path;
    }
};

TEST_F(HostileFilesTest, PipesAndDevicesBehindAnyNameAreNeverOpened) {
    QStringList specials{fifo()};
    const QString node = device();
    if (!node.isEmpty())
        specials.append(node);
    for (const QString& special : specials) {
        SCOPED_TRACE(special.toStdString());
        // Reached directly, and through a link named like a definition file.
        const QString link = root() + "/TRAINSET/BAD/" + QFileInfo(special).fileName();
        QDir().mkpath(QFileInfo(link).path());
        ASSERT_TRUE(QFile::link(special, link));
        testsupport::OpenWatch watch(special);
        ASSERT_TRUE(watch.ok());

        for (const QString& path : {special, link}) {
            EXPECT_FALSE(fs.readFile(path).has_value());
            EXPECT_FALSE(fs.canRead(path));
            EXPECT_FALSE(fs.isFile(path));
            EXPECT_TRUE(fs.fileIdentity(path).isEmpty());
        }
        {
            // A scan knows the kind from the listing; still nothing is opened.
            const FileSystem::ScanCache cache(fs);
            EXPECT_FALSE(fs.canRead(link));
            EXPECT_FALSE(fs.readFile(link).has_value());
        }
        EXPECT_EQ(watch.opens(), 0);
    }
}

TEST_F(HostileFilesTest, NamesStayInsideTheirFolderOnlyOnceDotDotIsResolved) {
    const QString msts = "/games/MSTS";
    const QString vehicle = msts + "\\TRAINS\\TRAINSET\\ACELA\\";
    // Inside: beside the vehicle, in a common folder, back down after climbing, any case.
    EXPECT_TRUE(platform::StaysInside(msts, vehicle + "acela.s"));
    EXPECT_TRUE(platform::StaysInside(msts, vehicle + "..\\COMMON\\coal.s"));
    EXPECT_TRUE(platform::StaysInside(msts, vehicle + "..\\..\\..\\..\\MSTS\\GLOBAL\\x.ace"));
    EXPECT_TRUE(platform::StaysInside(msts, "/games/msts/trains/a.s"));
    EXPECT_TRUE(platform::StaysInside(vehicle + "..\\..", vehicle + "..\\x.s"));
    // Outside: climbing past the folder, to /etc, into a sibling whose name merely starts
    // the same, or to an absolute name.
    EXPECT_FALSE(platform::StaysInside(msts, vehicle + "..\\..\\..\\..\\etc\\shadow"));
    EXPECT_FALSE(platform::StaysInside(msts, vehicle + "../../../../../../../../etc/shadow"));
    EXPECT_FALSE(platform::StaysInside(msts, "/games/MSTS2/x.s"));
    EXPECT_FALSE(platform::StaysInside(msts, "/etc/passwd"));
    EXPECT_FALSE(platform::StaysInside(msts, "MSTS/x.s"));
    EXPECT_FALSE(platform::StaysInside(QString(), "/games/MSTS/x.s"));
    // A folder given relative to the current one, even above it, holds its own files only.
    EXPECT_TRUE(platform::StaysInside("../games/MSTS/TRAINS/TRAINSET/..\\..",
                                      "../games/MSTS/TRAINS/TRAINSET/A/../A/a.s"));
    EXPECT_FALSE(platform::StaysInside("../games/MSTS", "../games/MSTS/../../etc/passwd"));
    EXPECT_FALSE(platform::StaysInside("MSTS", "MSTS/../../MSTS2/x.s"));
    // Drive-letter texts compare the same way.
    EXPECT_TRUE(platform::StaysInside("C:\\MSTS", "c:\\msts\\TRAINS\\x.s"));
    EXPECT_FALSE(platform::StaysInside("C:\\MSTS", "C:\\MSTS\\..\\Windows\\x.ini"));
}

// The id of a process that has ended.
qint64 deadProcess() {
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    int status = 0;
    ::waitpid(child, &status, 0);
    return child;
}

TEST_F(HostileFilesTest, LeftoverTemporariesOfDeadRunsGoThoseOfLiveRunsStay) {
    const QString folder = root() + "/own/Thumbnails";
    const qint64 dead = deadProcess();
    ASSERT_FALSE(platform::ProcessIsAlive(dead));
    ASSERT_TRUE(platform::ProcessIsAlive(::getpid()));
    const QString deadName = QString("SFCANVAS_%1_a1b2c3.bmp").arg(dead);
    const QString liveName = QString("SFCANVAS_%1_d4e5f6.bmp").arg(::getpid());
    // Parent of this test: another live run sharing the folder.
    const QString otherLive = QString("sfcanvas_%1_x.BMP").arg(::getppid());
    testsupport::write(folder + "/" + deadName, "torn");
    testsupport::write(folder + "/" + liveName, "x");
    testsupport::write(folder + "/" + otherLive, "x");
    // Thumbnails and names that only look alike are no temporaries.
    for (const QString& name :
         {QString("acela.bmp"), QString("SFCANVAS_.bmp"), QString("SFCANVAS_12x_a.bmp"),
          QString("SFCANVAS_-4_a.bmp"), QString("SFCANVAS_%1_a.ace").arg(dead)})
        testsupport::write(folder + "/" + name, "x");

    const QStringList removed = platform::RemoveStaleTemporaries(fs, folder, "SFCANVAS_", ".bmp");

    EXPECT_EQ(removed, QStringList{deadName});
    EXPECT_FALSE(QFile::exists(folder + "/" + deadName));
    QStringList left = QDir(folder).entryList(QDir::Files);
    EXPECT_EQ(left.size(), 7) << left.join(", ").toStdString();
    EXPECT_EQ(platform::TemporaryOwner(liveName, "SFCANVAS_", ".bmp"), ::getpid());
    EXPECT_FALSE(platform::TemporaryOwner("SFCANVAS_12x_a.bmp", "SFCANVAS_", ".bmp"));
}

TEST_F(HostileFilesTest, AThumbnailsFolderChosenForTheRunIsKeptWhenItStopsTakingFiles) {
    const QString own = root() + "/own/Thumbnails";
    QDir().mkpath(own);
    const FileSystem run = FileSystem::forOneRun(options());
    ASSERT_EQ(run.thumbnailsFolder(), own);
    // Part way through, the folder is replaced by a file (root ignores permission bits).
    ASSERT_TRUE(QDir(own).removeRecursively());
    testsupport::write(own, "x");
    // A file layer that chooses at each call moves on to the per-user folder, unsaid…
    EXPECT_EQ(fs.thumbnailsFolder(), root() + "/data/Pictelle/Thumbnails");
    // …the run's stays where it started, so that what cannot be written there fails.
    EXPECT_EQ(run.thumbnailsFolder(), own);
    platform::FileError error;
    EXPECT_TRUE(run.writeExclusiveFile(run.thumbnailsFolder(), "SFCANVAS_", ".bmp", "BM", &error)
                    .isEmpty());
    EXPECT_TRUE(error.failed());
}

} // namespace
