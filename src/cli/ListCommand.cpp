// pictelle-cli list: the catalog with each vehicle's thumbnail status, one line per entry.

#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/OutputFields.h"
#include "cli/Session.h"

#include <QLocale>

namespace cli {

namespace {

QString formatLength(double metres) {
    return QLocale::c().toString(metres, 'g', 10);
}

} // namespace

int RunListCommand(const CommandOptions& options) {
    Session session;
    if (!OpenSession(options, session))
        return 1;
    const inventory::ThumbnailInventory& thumbnails = session.thumbnails;
    const catalog::Catalog& table = session.table;

    for (qsizetype i = 0; i < table.count(); ++i) {
        const catalog::CatalogEntry& entry = table[i];
        if (entry.FileName.isEmpty())
            continue; // the table's single empty entry: nothing was found
        const QString status = entry.Shape.isEmpty()
                                   ? QStringLiteral("NoShape")
                                   : inventory::ThumbnailStatusName(inventory::ClassifyVehicle(
                                         thumbnails, entry.vehicleName()));
        printLine(TabLine({QString::number(i), status,
                           platform::FileSystem::displayPath(entry.relativeDisplayPath()),
                           entry.Shape, formatLength(entry.Length)}));
    }
    return 0;
}

} // namespace cli
