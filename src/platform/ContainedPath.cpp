#include "platform/ContainedPath.h"

#include "platform/FileSystem.h"

namespace platform {

namespace {

bool isAbsolute(const QString& path) {
    return path.startsWith(u'/') || path.startsWith(u'\\') || FileSystem::isDrivePath(path);
}

// The components of a path text with ".." resolved as the file layer resolves it: above the
// root of an absolute text it stays at the root; a relative text keeps the ".." it starts
// with, since both texts compared start from the same folder.
QStringList resolvedParts(const QString& path) {
    QStringList parts;
    const bool absolute = isAbsolute(path);
    for (const QString& part : FileSystem::splitPath(path)) {
        if (part != QLatin1String(".."))
            parts.append(part);
        else if (!parts.isEmpty() && parts.last() != QLatin1String(".."))
            parts.removeLast();
        else if (!absolute)
            parts.append(part);
    }
    return parts;
}

} // namespace

bool StaysInside(const QString& root, const QString& path) {
    if (root.trimmed().isEmpty() || isAbsolute(root) != isAbsolute(path))
        return false;
    const QStringList rootParts = resolvedParts(root);
    const QStringList pathParts = resolvedParts(path);
    if (pathParts.size() < rootParts.size())
        return false;
    for (qsizetype i = 0; i < rootParts.size(); ++i)
        if (QString::compare(rootParts[i], pathParts[i], Qt::CaseInsensitive) != 0)
            return false;
    return true;
}

} // namespace platform
