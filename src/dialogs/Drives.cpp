#include "dialogs/Drives.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

#include <algorithm>

namespace dialogs {

namespace {

bool holds(const QString& root, const QString& path) {
    if (root == QLatin1String("/"))
        return path.startsWith(u'/');
    return path == root || (path.startsWith(root) && path.at(root.size()) == u'/');
}

QString cleanRoot(const QString& path) {
    return QDir::cleanPath(path);
}

} // namespace

bool IsUserVolume(const Volume& volume) {
    static const QByteArray pseudo[] = {
        "proc",      "sysfs",         "tmpfs",       "devtmpfs",        "devpts",   "squashfs",
        "overlay",   "cgroup",        "cgroup2",     "securityfs",      "pstore",   "debugfs",
        "tracefs",   "bpf",           "mqueue",      "hugetlbfs",       "fusectl",  "configfs",
        "autofs",    "binfmt_misc",   "nsfs",        "ramfs",           "efivarfs", "rpc_pipefs",
        "selinuxfs", "fuse.snapfuse", "fuse.portal", "fuse.gvfsd-fuse", "none"};
    if (std::find(std::begin(pseudo), std::end(pseudo), volume.type) != std::end(pseudo))
        return false;
    const QString root = cleanRoot(volume.root);
    return root != QLatin1String("/boot/efi") && !root.startsWith(QLatin1String("/snap/")) &&
           !root.startsWith(QLatin1String("/proc/")) && !root.startsWith(QLatin1String("/sys/"));
}

QList<Drive> WineDrives(const QString& dosDevices) {
    QList<Drive> drives;
    if (dosDevices.isEmpty())
        return drives;
    for (char letter = 'a'; letter <= 'z'; ++letter) {
        const QFileInfo link(dosDevices + u'/' + QChar(letter) + u':');
        const QString target = link.canonicalFilePath();
        if (target.isEmpty() || !QFileInfo(target).isDir())
            continue;
        drives.push_back({target, QChar(letter).toUpper() + QStringLiteral(":  ") + target});
    }
    return drives;
}

QList<Drive> ListDrives(const QList<Drive>& wineDrives, const QString& home,
                        QList<Volume> volumes) {
    QList<Drive> drives;
    auto add = [&drives](const QString& root, const QString& label) {
        const QString clean = cleanRoot(root);
        if (clean.isEmpty() || std::any_of(drives.begin(), drives.end(),
                                           [&clean](const Drive& d) { return d.root == clean; }))
            return;
        drives.push_back({clean, label});
    };
    for (const Drive& d : wineDrives)
        add(d.root, d.label);
    if (!home.isEmpty())
        add(home, home);
    std::sort(volumes.begin(), volumes.end(),
              [](const Volume& a, const Volume& b) { return a.root < b.root; });
    for (const Volume& v : volumes) {
        if (!IsUserVolume(v))
            continue;
        const QString root = cleanRoot(v.root);
        add(root, v.name.isEmpty() || v.name == root ? root
                                                     : root + QStringLiteral(" [") + v.name + u']');
    }
    return drives;
}

QList<Drive> AvailableDrives(const QString& winePrefix, const QString& home) {
    QList<Volume> volumes;
    for (const QStorageInfo& v : QStorageInfo::mountedVolumes()) {
        if (v.isValid() && v.isReady() && QFileInfo(v.rootPath()).isDir())
            volumes.push_back({v.rootPath(), v.fileSystemType(), v.displayName()});
    }
    const QString homeFolder = home.isEmpty() ? QDir::homePath() : home;
    return ListDrives(
        WineDrives(winePrefix.isEmpty() ? QString() : winePrefix + QStringLiteral("/dosdevices")),
        QFileInfo(homeFolder).isDir() ? homeFolder : QString(), std::move(volumes));
}

qsizetype DriveIndexOf(const QString& nativePath, const QList<Drive>& drives) {
    const QString path = QDir::cleanPath(nativePath);
    qsizetype best = -1;
    for (qsizetype i = 0; i < drives.size(); ++i) {
        if (holds(drives[i].root, path) &&
            (best < 0 || drives[i].root.size() > drives[best].root.size()))
            best = i;
    }
    return best;
}

} // namespace dialogs
