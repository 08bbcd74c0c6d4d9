#pragma once

#include <QFile>
#include <QString>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <utility>

// Makes a folder refuse new names, renames and deletions for the test's lifetime, also for
// root (through the immutable flag) when the file system allows it.
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(QString path) : path_(std::move(path)) {
        if (geteuid() != 0) {
            ok_ = QFile::setPermissions(path_, QFile::ReadOwner | QFile::ExeOwner);
            return;
        }
        ok_ = setImmutable(true);
    }
    ~ReadOnlyFolder() {
        if (!ok_)
            return;
        if (geteuid() != 0)
            QFile::setPermissions(path_, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        else
            setImmutable(false);
    }
    bool ok() const { return ok_; }

private:
    bool setImmutable(bool on) {
        const int fd = ::open(QFile::encodeName(path_).constData(), O_RDONLY | O_DIRECTORY);
        if (fd < 0)
            return false;
        int flags = 0;
        bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        if (done) {
            flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
            done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        }
        ::close(fd);
        return done;
    }
    QString path_;
    bool ok_ = false;
};
