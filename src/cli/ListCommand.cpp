// pictelle-cli list: the catalog with each vehicle's thumbnail status, one line per entry.

#include "app/SettingsStore.h"
#include "catalog/Catalog.h"
#include "catalog/TrainsetWalk.h"
#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/SimulatorLookup.h"
#include "inventory/ThumbnailInventory.h"
#include "platform/FileSystem.h"

#include <QLocale>

namespace cli {

namespace {

QString formatLength(double metres) {
    return QLocale::c().toString(metres, 'g', 10);
}

} // namespace

int RunListCommand(const QStringList& arguments) {
    OptionParser options({QStringLiteral("msts"), QStringLiteral("rametta")});
    if (!options.parse(arguments)) {
        printError(options.error());
        return 2;
    }
    // A folder not given on the command line comes from the settings store, as in the window.
    const platform::FileSystem fs;
    const app::SettingsStore settings(app::SettingsStore::defaultLocations(), fs);
    const QString mstsPath = SimulatorFolder(options.value(QStringLiteral("msts")), settings, fs);
    const QString ramettaPath =
        options.value(QStringLiteral("rametta"))
            .value_or(settings.ReadSetting(app::SettingsRoot::LocalMachine,
                                           QString::fromUtf16(app::PictelleSettingsKey),
                                           QString::fromUtf16(app::RamettaPathValue)));

    if (mstsPath.isEmpty()) {
        printError(QStringLiteral("dossier du simulateur inconnu : indiquez-le avec --msts"));
        return 1;
    }
    const QString trainsetPath = catalog::TrainsetPath(mstsPath);
    if (!fs.isFolder(trainsetPath)) {
        printError(NoTrainsetMessage(mstsPath));
        return 1;
    }

    const inventory::ThumbnailInventory thumbnails =
        inventory::LoadThumbnailInventory(fs, ramettaPath);
    catalog::Catalog table;
    catalog::ScanTrainset(fs, mstsPath, table, nullptr);

    for (qsizetype i = 0; i < table.count(); ++i) {
        const catalog::CatalogEntry& entry = table[i];
        if (entry.FileName.isEmpty())
            continue; // the table's single empty entry: nothing was found
        const QString status = entry.Shape.isEmpty()
                                   ? QStringLiteral("NoShape")
                                   : inventory::ThumbnailStatusName(inventory::ClassifyVehicle(
                                         thumbnails, entry.vehicleName()));
        printLine(QString::number(i) + u'\t' + status + u'\t' +
                  platform::FileSystem::displayPath(entry.relativeDisplayPath()) + u'\t' +
                  entry.Shape + u'\t' + formatLength(entry.Length));
    }
    return 0;
}

} // namespace cli
