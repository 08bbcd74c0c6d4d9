#include "dialogs/AboutText.h"

#include "shared/Messages.h"

namespace dialogs {

namespace {

const QString LineBreak = QStringLiteral("\r\n");

} // namespace

QString ProgramComments() {
    return QStringLiteral("Créateur de pictelles pour l'éditeur de rames Rametta");
}

QString AboutDescription(const ProgramVersion& version) {
    const QString number = QString::number(version.major) + u'.' + QString::number(version.minor) +
                           u'.' + QString::number(version.revision);
    return app::LoadMessage(119, {"|1", number}) +
           app::LoadMessage(120, {"|1", LineBreak, "|2", app::LoadMessage(121) + LineBreak, "|3",
                                  app::LoadMessage(122) + LineBreak}) +
           QStringLiteral("Copyright ") + app::LoadMessage(159);
}

QString AboutDisclaimer() {
    return app::LoadMessage(124, {"|1", LineBreak});
}

QString AuthorMailLink(const QString& address, const QString& applicationTitle) {
    return QStringLiteral("mailto:") + address + QStringLiteral("?Subject=") +
           app::LoadMessage(207, {"|1", applicationTitle.toUpper()});
}

} // namespace dialogs
