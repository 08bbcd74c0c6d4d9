#include "dialogs/TypedPath.h"

#include <QUrl>

namespace dialogs {

QString TypedFolder(const QString& typed, const QString& home) {
    QString text = typed.trimmed();
    if (text.size() >= 2 && ((text.front() == u'"' && text.back() == u'"') ||
                             (text.front() == u'\'' && text.back() == u'\'')))
        text = text.mid(1, text.size() - 2).trimmed();
    if (text.startsWith(QLatin1String("file://"), Qt::CaseInsensitive)) {
        const QUrl url(text);
        text = url.isLocalFile() ? url.toLocalFile() : QString();
    }
    if (text == u"~")
        return home;
    if ((text.startsWith(QLatin1String("~/")) || text.startsWith(QLatin1String("~\\"))) &&
        !home.isEmpty())
        return home + text.mid(1);
    return text;
}

} // namespace dialogs
