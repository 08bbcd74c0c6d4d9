#pragma once

// The "drives" of the folder dialogs on a system without drive letters: the Wine prefix's
// drive letters (C:, Z:... shown with their targets), the user's home folder, then the
// mounted volumes a user keeps files on, each standing for the folder tree below its root.

#include <QList>
#include <QString>

namespace dialogs {

struct Drive {
    QString root;  // native folder, no trailing separator except "/"
    QString label; // what the drive list shows
};

struct Volume {
    QString root;
    QByteArray type; // file system type, as the system names it ("ext4", "tmpfs")
    QString name;
};

// False for pseudo and loop file systems (proc, sysfs, tmpfs, squashfs snap images,
// overlay...) and for the firmware partition: nobody keeps a simulator there.
bool IsUserVolume(const Volume& volume);

// The drive letters of a Wine prefix's drive table (its dosdevices folder), each with the
// real folder it leads to, in letter order; letters whose target is missing are left out.
QList<Drive> WineDrives(const QString& dosDevices);

// The drive list's entries: the Wine drives, the home folder, then the user volumes, each
// root once (the first entry naming it wins), volumes sorted by root.
QList<Drive> ListDrives(const QList<Drive>& wineDrives, const QString& home, QList<Volume> volumes);

// ListDrives over this machine: the given prefix's drives (none when empty), the given home
// folder (the user's when empty) and the mounted volumes that are ready; only folders.
QList<Drive> AvailableDrives(const QString& winePrefix = {}, const QString& home = {});

// Index of the drive holding a native path: the one whose root is the longest leading
// part of the path, component by component. -1 when none holds it.
qsizetype DriveIndexOf(const QString& nativePath, const QList<Drive>& drives);

} // namespace dialogs
