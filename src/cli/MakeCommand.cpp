// pictelle-cli make: the thumbnails of the named vehicles, or of every vehicle still to make,
// drawn and placed as the main window's create command does.

#include "app/Global.h"
#include "app/Messages.h"
#include "app/SettingsStore.h"
#include "catalog/Catalog.h"
#include "catalog/TrainsetWalk.h"
#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/SimulatorLookup.h"
#include "inventory/ThumbnailInventory.h"
#include "platform/FileSystem.h"
#include "preview/OverwritePolicy.h"
#include "preview/ThumbnailMaker.h"
#include "preview/ThumbnailPlacing.h"

#include <cstdio>
#include <iostream>
#include <string>

#include <unistd.h>

namespace cli {

namespace {

using app::OverwriteChoice;

// Asks the overwrite question on the terminal with the dialog's four answers; an empty line
// takes the first, as the dialog opens with it selected.
class TerminalPolicy : public preview::OverwritePolicy {
public:
    OverwriteChoice AskOverwrite(const QString& targetPath) override {
        const QString shown = platform::FileSystem::displayPath(targetPath);
        printError(app::LoadMessage(143, {"|1", shown}));
        printError(app::LoadMessage(144, {"|1", "\n"}));
        printError(app::LoadMessage(149));
        for (int answer = 1; answer <= 4; ++answer)
            printError(QStringLiteral("  %1  %2").arg(answer).arg(app::LoadMessage(144 + answer)));
        for (;;) {
            std::fprintf(stderr, "[1-4, 1] : ");
            std::fflush(stderr);
            std::string line;
            if (!std::getline(std::cin, line))
                return OverwriteChoice::KeepOnce; // end of input: lose nothing
            const QString text = QString::fromLocal8Bit(line).trimmed();
            if (text.isEmpty())
                return OverwriteChoice::OverwriteOnce;
            bool ok = false;
            const int value = text.toInt(&ok);
            if (ok && value >= 1 && value <= 4)
                return OverwriteChoice(value);
        }
    }
};

QString setting(const app::SettingsStore& settings, const char16_t* key, const char16_t* value) {
    return settings.ReadSetting(app::SettingsRoot::LocalMachine, QString::fromUtf16(key),
                                QString::fromUtf16(value));
}

QString resultText(preview::PlaceResult result) {
    switch (result) {
    case preview::PlaceResult::Placed:
        return QStringLiteral("créée");
    case preview::PlaceResult::Replaced:
        return QStringLiteral("remplacée");
    case preview::PlaceResult::Kept:
        return QStringLiteral("conservée (fichier existant)");
    case preview::PlaceResult::NoPicture:
        return QStringLiteral("échec : aucune image écrite");
    case preview::PlaceResult::Failed:
        break;
    }
    return QStringLiteral("échec : fichier impossible à renommer ou à supprimer");
}

QString loadFailureText(preview::ShapeLoadStatus status) {
    switch (status) {
    case preview::ShapeLoadStatus::NotFound:
        return QStringLiteral("échec : forme introuvable");
    case preview::ShapeLoadStatus::Unreadable:
        return QStringLiteral("échec : forme illisible");
    default:
        break;
    }
    return QStringLiteral("échec : forme invalide");
}

} // namespace

int RunMakeCommand(const QStringList& arguments) {
    OptionParser options(
        {QStringLiteral("msts"), QStringLiteral("rametta"), QStringLiteral("overwrite")});
    options.allowPositional(true);
    if (!options.parse(arguments)) {
        printError(options.error());
        return 2;
    }
    const QString overwrite = options.value(QStringLiteral("overwrite")).value_or("ask");
    OverwriteChoice choice = OverwriteChoice::Ask;
    if (overwrite == QLatin1String("always")) {
        choice = OverwriteChoice::OverwriteAlways;
    } else if (overwrite == QLatin1String("never")) {
        choice = OverwriteChoice::KeepAlways;
    } else if (overwrite != QLatin1String("ask")) {
        printError(QStringLiteral("--overwrite attend ask, always ou never : %1").arg(overwrite));
        return 2;
    }
    if (choice == OverwriteChoice::Ask && !::isatty(STDIN_FILENO)) {
        // Asked for questions with nobody to answer them: refuse rather than guess.
        if (options.value(QStringLiteral("overwrite"))) {
            printError(QStringLiteral("--overwrite ask demande un terminal : choisissez "
                                      "--overwrite always ou --overwrite never"));
            return 2;
        }
        // Nothing asked for: keep what is there.
        choice = OverwriteChoice::KeepAlways;
    }

    const platform::FileSystem fs;
    const app::SettingsStore settings(app::SettingsStore::defaultLocations(), fs);
    const QString mstsPath = SimulatorFolder(options.value(QStringLiteral("msts")), settings, fs);
    const QString ramettaPath =
        options.value(QStringLiteral("rametta"))
            .value_or(setting(settings, app::PictelleSettingsKey, app::RamettaPathValue));
    if (mstsPath.isEmpty()) {
        printError(QStringLiteral("dossier du simulateur inconnu : indiquez-le avec --msts"));
        return 1;
    }
    if (!fs.isFolder(catalog::TrainsetPath(mstsPath))) {
        printError(NoTrainsetMessage(mstsPath));
        return 1;
    }

    const inventory::ThumbnailInventory thumbnails =
        inventory::LoadThumbnailInventory(fs, ramettaPath);
    catalog::Catalog table;
    catalog::ScanTrainset(fs, mstsPath, table, nullptr);

    // The listed vehicles, in list order; the first is the one selected at start-up.
    QList<qsizetype> listed;
    for (qsizetype i = 0; i < table.count(); ++i)
        if (!table[i].Shape.isEmpty())
            listed.append(i);

    int failed = 0;
    QList<qsizetype> chosen;
    if (options.positional().isEmpty()) {
        for (qsizetype i : listed)
            if (inventory::ClassifyVehicle(thumbnails, table[i].vehicleName()) ==
                inventory::ThumbnailStatus::ToMake)
                chosen.append(i);
    } else {
        for (const QString& name : options.positional()) {
            bool found = false;
            for (qsizetype i : listed)
                if (table[i].vehicleName().compare(name, Qt::CaseInsensitive) == 0) {
                    if (!chosen.contains(i))
                        chosen.append(i);
                    found = true;
                }
            if (!found) {
                printError(QStringLiteral("véhicule inconnu ou sans forme : %1").arg(name));
                ++failed;
            }
        }
    }

    preview::ThumbnailMaker maker(fs);
    maker.setUp(preview::ReferenceCandidates(table, listed.isEmpty() ? -1 : listed.first()));
    maker.setCameraFactor(preview::CameraFactorForOffset(0.0));

    QString pendingTargetPath;
    TerminalPolicy terminal;
    int made = 0;
    int kept = 0;
    for (qsizetype i : chosen) {
        const catalog::CatalogEntry& entry = table[i];
        const QString shown = platform::FileSystem::displayPath(entry.relativeDisplayPath());
        if (!maker.show(entry)) {
            printLine(shown + u'\t' + loadFailureText(maker.shape().status()));
            ++failed;
            continue;
        }
        const preview::CreateOutcome outcome = preview::CreateThumbnail(
            fs, entry, [&](const QString& location) { return maker.takeScreenshot(location); },
            preview::PlacingState{choice, pendingTargetPath}, terminal);
        QString line = shown + u'\t' + resultText(outcome.Result);
        if (!outcome.TargetPath.isEmpty())
            line += u'\t' + platform::FileSystem::displayPath(outcome.TargetPath);
        printLine(line);
        std::fflush(stdout);
        switch (outcome.Result) {
        case preview::PlaceResult::Placed:
        case preview::PlaceResult::Replaced:
            ++made;
            break;
        case preview::PlaceResult::Kept:
            ++kept;
            break;
        default:
            ++failed;
            break;
        }
    }
    printLine(QStringLiteral("créées : %1, conservées : %2, échecs : %3, dossier : %4")
                  .arg(made)
                  .arg(kept)
                  .arg(failed)
                  .arg(platform::FileSystem::displayPath(fs.thumbnailsFolder())));
    return failed > 0 ? 1 : 0;
}

} // namespace cli
