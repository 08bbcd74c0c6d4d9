#pragma once

#include <QFile>
#include <QString>

#include <unistd.h>

#include <utility>

// Makes a folder refuse new names, renames and deletions for the test's lifetime. ok() is false
// when it still takes them: the tests using this run without root's powers (CTest runs them
// through tests/support/without-root-powers.sh), where a folder's permissions hold for root too.
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(QString path) : path_(std::move(path)) {
        changed_ = QFile::setPermissions(path_, QFile::ReadOwner | QFile::ExeOwner);
    }
    ~ReadOnlyFolder() {
        if (changed_)
            QFile::setPermissions(path_, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    bool ok() const {
        return changed_ && ::access(QFile::encodeName(path_).constData(), W_OK) != 0;
    }

private:
    QString path_;
    bool changed_ = false;
};

// Why ok() is false: what the test is missing, said where it fails.
inline constexpr const char* ReadOnlyFolderRefused =
    "the folder still takes writing: run this test without root's powers, as CTest does";
