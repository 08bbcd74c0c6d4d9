#include "platform/ContainedPath.h"

#include "platform/FileSystem.h"

namespace platform {

namespace {

// The components of a path text with ".." resolved; false when ".." climbs above its start,
// which no name inside a folder can do.
bool resolvedParts(const QString& path, QStringList& parts) {
    parts.clear();
    for (const QString& part : FileSystem::splitPath(path)) {
        if (part != QLatin1String("..")) {
            parts.append(part);
            continue;
        }
        if (parts.isEmpty())
            return false;
        parts.removeLast();
    }
    return true;
}

bool isAbsolute(const QString& path) {
    return path.startsWith(u'/') || path.startsWith(u'\\') || FileSystem::isDrivePath(path);
}

} // namespace

bool StaysInside(const QString& root, const QString& path) {
    if (root.trimmed().isEmpty() || isAbsolute(root) != isAbsolute(path))
        return false;
    QStringList rootParts, pathParts;
    if (!resolvedParts(root, rootParts) || !resolvedParts(path, pathParts) ||
        pathParts.size() < rootParts.size())
        return false;
    for (qsizetype i = 0; i < rootParts.size(); ++i)
        if (QString::compare(rootParts[i], pathParts[i], Qt::CaseInsensitive) != 0)
            return false;
    return true;
}

} // namespace platform
