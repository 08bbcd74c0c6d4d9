// pictelle-cli make: the thumbnails of the named vehicles, or of every vehicle still to make,
// drawn and placed as the main window's create command does.

#include "catalog/VehicleFile.h"
#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/FreightNotes.h"
#include "cli/OutputFields.h"
#include "cli/Session.h"
#include "preview/OverwritePolicy.h"
#include "preview/ShapeReport.h"
#include "preview/ThumbnailMaker.h"
#include "preview/ThumbnailPlacing.h"
#include "shared/Messages.h"

#include <QHash>

#include <cerrno>
#include <cstdio>
#include <iostream>
#include <string>

#include <unistd.h>

namespace cli {

namespace {

using preview::OverwriteChoice;

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

QString loadFailureText(const preview::SceneShape& shape) {
    switch (shape.status()) {
    case preview::ShapeLoadStatus::NotFound:
        return QStringLiteral("échec : forme introuvable");
    case preview::ShapeLoadStatus::Unreadable:
        return QStringLiteral("échec : forme illisible");
    default:
        break;
    }
    return QStringLiteral("échec : forme invalide : %1")
        .arg(preview::InvalidShapeReason(shape.diagnostics()));
}

QString unreadableText(catalog::UnreadableFile file) {
    return file == catalog::UnreadableFile::Definition
               ? QStringLiteral("échec : fichier de définition illisible")
               : QStringLiteral("échec : forme illisible");
}

QString systemFailure(const QString& what, const platform::FileError& error) {
    return QStringLiteral("%1 %2 : %3")
        .arg(what, platform::FileSystem::displayPath(error.path), error.reason());
}

// A failure to write a new file there, told of its folder: the temporary name means nothing
// to a user.
platform::FileError aboutFolder(platform::FileError error) {
    const qsizetype cut = error.path.lastIndexOf(u'/');
    if (cut > 0 && QStringView(error.path).mid(cut + 1).startsWith(u"SFCANVAS_"))
        error.path.truncate(cut);
    return error;
}

// Why no picture was written for a vehicle whose shape loaded.
QString noPictureText(const preview::ThumbnailMaker& maker) {
    if (maker.problem() == preview::ThumbnailMaker::Problem::NothingDrawn)
        return QStringLiteral("échec : image vide, rien du véhicule n'est dessiné");
    if (maker.problem() == preview::ThumbnailMaker::Problem::NotWritten)
        return QStringLiteral("échec : ") +
               systemFailure(QStringLiteral("impossible d'écrire dans le dossier"),
                             aboutFolder(maker.writeError()));
    return QStringLiteral("échec : aucune image écrite");
}

// A write refused by the folder itself: every later vehicle would fail alike.
bool folderRefuses(const platform::FileError& error) {
    return error.code == EACCES || error.code == EPERM || error.code == EROFS;
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

    Session session;
    if (!OpenSession(options, session))
        return 1;
    const platform::FileSystem& fs = session.fs;
    const inventory::ThumbnailInventory& thumbnails = session.thumbnails;
    const catalog::Catalog& table = session.table;

    // The listed vehicles, in list order; the first is the one selected at start-up.
    QList<qsizetype> listed;
    // Also those left out only because one of their files cannot be read: they get a line.
    QList<qsizetype> candidates;
    QHash<qsizetype, catalog::UnreadableFile> unreadable;
    for (qsizetype i = 0; i < table.count(); ++i) {
        if (!table[i].Shape.isEmpty()) {
            listed.append(i);
            candidates.append(i);
        } else if (!table[i].FileName.isEmpty()) {
            const catalog::UnreadableFile file = catalog::FindUnreadableFile(
                fs, table[i].definitionPath(), table[i].TrainsetPath + table[i].Folder);
            if (file != catalog::UnreadableFile::None) {
                unreadable.insert(i, file);
                candidates.append(i);
            }
        }
    }

    int failed = 0;
    QList<qsizetype> chosen;
    if (options.positional().isEmpty()) {
        for (qsizetype i : candidates)
            if (inventory::ClassifyVehicle(thumbnails, table[i].vehicleName()) ==
                inventory::ThumbnailStatus::ToMake)
                chosen.append(i);
    } else {
        for (const QString& name : options.positional()) {
            bool found = false;
            for (qsizetype i : candidates)
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

    // A folder that cannot be made is said once, with the system's reason.
    platform::FileError folderError;
    if (!chosen.isEmpty() && !fs.isFolder(fs.thumbnailsFolder()) &&
        !fs.makeFolder(fs.thumbnailsFolder(), &folderError)) {
        printError(systemFailure(QStringLiteral("impossible de créer le dossier"), folderError));
        return 1;
    }

    QString pendingTargetPath;
    TerminalPolicy terminal;
    int made = 0;
    int kept = 0;
    for (qsizetype n = 0; n < chosen.size(); ++n) {
        const catalog::CatalogEntry& entry = table[chosen[n]];
        const QString shown = platform::FileSystem::displayPath(entry.relativeDisplayPath());
        if (unreadable.contains(chosen[n])) {
            printLine(TabLine({shown, unreadableText(unreadable[chosen[n]])}));
            ++failed;
            continue;
        }
        if (!maker.show(entry)) {
            printLine(TabLine({shown, loadFailureText(maker.shape())}));
            ++failed;
            continue;
        }
        const preview::CreateOutcome outcome = preview::CreateThumbnail(
            fs, entry, [&](const QString& location) { return maker.takeScreenshot(location); },
            preview::PlacingState{choice, pendingTargetPath}, terminal);
        QStringList fields{shown, resultText(outcome.Result)};
        if (outcome.Result == preview::PlaceResult::NoPicture)
            fields.back() = noPictureText(maker);
        else if (outcome.Result == preview::PlaceResult::Failed && outcome.Error.failed())
            fields.back() = QStringLiteral("échec : ") +
                            systemFailure(QStringLiteral("impossible de placer"), outcome.Error);
        if (!outcome.TargetPath.isEmpty())
            fields.append(platform::FileSystem::displayPath(outcome.TargetPath));
        // Drawn without what could not be had of its freight.
        const QString freight =
            FreightNotes(entry.FreightAnimProblems, maker.shape().freightProblems());
        if (!freight.isEmpty())
            fields.append(freight);
        // Textures drawn grey are named even when the thumbnail was made.
        fields += preview::TextureProblems(maker.shape());
        printLine(TabLine(fields));
        std::fflush(stdout);
        if (outcome.Result == preview::PlaceResult::NoPicture &&
            maker.problem() == preview::ThumbnailMaker::Problem::NotWritten &&
            folderRefuses(maker.writeError())) {
            failed += int(chosen.size() - n);
            printError(systemFailure(QStringLiteral("arrêt : écriture refusée dans le dossier"),
                                     aboutFolder(maker.writeError())) +
                       QStringLiteral(" (%1 véhicules non traités)").arg(chosen.size() - n - 1));
            break;
        }
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
