#include "platform/StaleTemporaries.h"

#include "platform/FileSystem.h"

#include <cerrno>

#include <signal.h>

namespace platform {

std::optional<qint64> TemporaryOwner(const QString& fileName, const QString& prefix,
                                     const QString& suffix) {
    if (!fileName.startsWith(prefix, Qt::CaseInsensitive) ||
        !fileName.endsWith(suffix, Qt::CaseInsensitive) ||
        fileName.size() <= prefix.size() + suffix.size())
        return std::nullopt;
    const QStringView middle =
        QStringView(fileName).mid(prefix.size(), fileName.size() - prefix.size() - suffix.size());
    const qsizetype cut = middle.indexOf(u'_');
    if (cut <= 0)
        return std::nullopt;
    bool ok = false;
    const qint64 pid = middle.left(cut).toLongLong(&ok);
    if (!ok || pid <= 0 || middle.left(cut).startsWith(u'+'))
        return std::nullopt;
    return pid;
}

bool ProcessIsAlive(qint64 pid) {
    if (pid <= 0 || pid != qint64(pid_t(pid)))
        return false;
    // Signal 0 only asks; EPERM means the process exists under another user.
    return ::kill(pid_t(pid), 0) == 0 || errno == EPERM;
}

QStringList RemoveStaleTemporaries(const FileSystem& fs, const QString& folder,
                                   const QString& prefix, const QString& suffix,
                                   const std::function<bool(qint64 pid)>& isAlive) {
    QStringList removed;
    const QString separator =
        folder.endsWith(u'\\') || folder.endsWith(u'/') ? QString() : QStringLiteral("\\");
    for (const QString& name :
         fs.list(folder, prefix + u'*' + suffix, FileSystem::EntryKind::Files)) {
        const std::optional<qint64> owner = TemporaryOwner(name, prefix, suffix);
        if (!owner || isAlive(*owner))
            continue;
        if (fs.removeFile(folder + separator + name))
            removed.append(name);
    }
    return removed;
}

} // namespace platform
