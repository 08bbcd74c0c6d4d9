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

QList<Drive> AvailableDrives() {
    QList<Drive> drives;
    auto add = [&drives](const QString& root, const QString& label) {
        const QString clean = cleanRoot(root);
        if (clean.isEmpty() || !QFileInfo(clean).isDir())
            return;
        if (std::any_of(drives.begin(), drives.end(),
                        [&clean](const Drive& d) { return d.root == clean; }))
            return;
        drives.push_back({clean, label});
    };
    QList<QStorageInfo> volumes = QStorageInfo::mountedVolumes();
    std::sort(volumes.begin(), volumes.end(), [](const QStorageInfo& a, const QStorageInfo& b) {
        return a.rootPath() < b.rootPath();
    });
    for (const QStorageInfo& v : volumes) {
        if (!v.isValid() || !v.isReady())
            continue;
        const QString root = cleanRoot(v.rootPath());
        const QString name = v.displayName();
        add(root,
            name.isEmpty() || name == root ? root : root + QStringLiteral(" [") + name + u']');
    }
    add(QDir::homePath(), QDir::homePath());
    return drives;
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
