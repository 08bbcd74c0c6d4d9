#include "shared/ThumbnailsNote.h"

#include "platform/FileSystem.h"
#include "shared/Messages.h"

#include <QDir>

namespace app {

QString ThumbnailsFolderNote(const platform::FileSystem& fs) {
    const QString folder = fs.thumbnailsFolder();
    if (!fs.ownFolder().isEmpty() &&
        QDir::cleanPath(folder) ==
            QDir::cleanPath(QDir(fs.ownFolder()).filePath(QStringLiteral("Thumbnails"))))
        return LoadMessage(MessageId::ThumbnailsNote);
    // The home folder as "~", so that the path fits the note's three lines.
    const QString home = QDir::homePath();
    QString shown = QDir::cleanPath(folder);
    if (home != QLatin1String("/") && shown.startsWith(home + u'/'))
        shown = u'~' + shown.mid(home.size());
    return LoadMessage(MessageId::ThumbnailsElsewhere,
                       {"|1", platform::FileSystem::displayPath(shown)});
}

} // namespace app
