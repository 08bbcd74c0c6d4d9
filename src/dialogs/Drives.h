#pragma once

// The "drives" of the folder dialogs on a system without drive letters: the mounted
// volumes and the user's home folder, each standing for the folder tree below its root.

#include <QList>
#include <QString>

namespace dialogs {

struct Drive {
    QString root;  // native folder, no trailing separator except "/"
    QString label; // what the drive list shows
};

// The mounted volumes that are ready and are folders, then the home folder, without
// repeats, in the order the drive list shows them.
QList<Drive> AvailableDrives();

// Index of the drive holding a native path: the one whose root is the longest leading
// part of the path, component by component. -1 when none holds it.
qsizetype DriveIndexOf(const QString& nativePath, const QList<Drive>& drives);

} // namespace dialogs
