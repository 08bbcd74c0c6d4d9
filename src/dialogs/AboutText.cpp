#include "dialogs/AboutText.h"

#include "shared/Messages.h"

#include <algorithm>

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
    return app::LoadMessage(app::MessageId::Version, {"|1", number}) +
           app::LoadMessage(app::MessageId::Credits,
                            {"|1", LineBreak, "|2",
                             app::LoadMessage(app::MessageId::Toolchain) + LineBreak, "|3",
                             app::LoadMessage(app::MessageId::GraphicsTool) + LineBreak}) +
           QStringLiteral("Copyright ") + app::LoadMessage(app::MessageId::Copyright);
}

QString AboutDisclaimer() {
    return app::LoadMessage(app::MessageId::Licence, {"|1", LineBreak});
}

QString AuthorMailLink(const QString& address, const QString& applicationTitle) {
    return QStringLiteral("mailto:") + address + QStringLiteral("?Subject=") +
           app::LoadMessage(app::MessageId::AboutSubject, {"|1", applicationTitle.toUpper()});
}

QRect AddressPlace(const QRect& designed, int textWidth, int boxWidth, int margin) {
    QRect place = designed;
    place.setWidth(std::min(std::max(designed.width(), textWidth), boxWidth - 2 * margin));
    const int overflow = place.right() - (boxWidth - margin - 1);
    if (overflow > 0)
        place.moveLeft(std::max(margin, place.left() - overflow));
    return place;
}

} // namespace dialogs
