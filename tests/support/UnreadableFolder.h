#pragma once

#include <QFile>
#include <QString>

#include <sys/stat.h>
#include <unistd.h>

#include <utility>

// Makes a folder impossible to list while it lives. Permissions do not stop root, so a root
// process acts as the unprivileged user "nobody" meanwhile: the folders above it must then
// be open to everyone (0755), and nothing else the test needs may be private to root.
class UnreadableFolder {
public:
    explicit UnreadableFolder(QString path) : path_(std::move(path)) {
        if (::chmod(QFile::encodeName(path_).constData(), 0) != 0)
            return;
        if (geteuid() == 0)
            asNobody_ = ::setegid(Nobody) == 0 && ::seteuid(Nobody) == 0;
        ok_ = geteuid() != 0;
    }
    ~UnreadableFolder() {
        if (asNobody_) {
            (void)::seteuid(0);
            (void)::setegid(0);
        }
        ::chmod(QFile::encodeName(path_).constData(), 0755);
    }
    UnreadableFolder(const UnreadableFolder&) = delete;
    UnreadableFolder& operator=(const UnreadableFolder&) = delete;
    bool ok() const { return ok_; }

private:
    static constexpr uid_t Nobody = 65534;
    QString path_;
    bool asNobody_ = false;
    bool ok_ = false;
};
