#include "preview/SharedThumbnailNames.h"

#include "inventory/ThumbnailFile.h"
#include "shared/Messages.h"

#include <QHash>

namespace preview {

qsizetype CountSharedThumbnailNames(const QList<catalog::CatalogEntry>& entries) {
    QHash<QString, qsizetype> uses;
    for (const catalog::CatalogEntry& entry : entries)
        ++uses[inventory::ThumbnailFile::NameFor(entry.vehicleName()).toUpper()];
    qsizetype sharing = 0;
    for (const qsizetype count : std::as_const(uses)) {
        if (count > 1)
            sharing += count;
    }
    return sharing;
}

QString SharedThumbnailNamesQuestion(qsizetype sharing, qsizetype total) {
    return app::LoadMessage(
               app::MessageId::SharedNamesFound,
               {"|1", static_cast<long long>(sharing), "|2", static_cast<long long>(total)}) +
           u'\n' + app::LoadMessage(app::MessageId::SharedNamesQuestion);
}

} // namespace preview
