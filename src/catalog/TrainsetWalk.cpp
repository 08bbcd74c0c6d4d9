#include "catalog/TrainsetWalk.h"

#include "catalog/VehicleFile.h"
#include "platform/ContainedPath.h"
#include "platform/FileSystem.h"

namespace catalog {

namespace {

using platform::FileSystem;

bool reportStep(ScanProgress* progress, app::MessageId message, qsizetype last, qsizetype current) {
    if (!progress || !progress->isOpen())
        return true;
    progress->ShowProgressStep(message);
    progress->DrawProgressBar(0, last, static_cast<double>(current));
    return !progress->stopRequested();
}

// One file pass: the files matching the pattern in every folder, the trainset folder last.
bool filePass(const FileSystem& fs, const QString& trainsetPath, const QStringList& folders,
              const QString& pattern, bool skipDefaultWagon, app::MessageId message,
              Catalog& catalog, ScanProgress* progress) {
    const qsizetype last = folders.size() - 1;
    for (qsizetype i = 0; i < folders.size(); ++i) {
        const QString& folder = folders[i];
        const QStringList names =
            fs.list(trainsetPath + folder + u'\\', pattern, FileSystem::EntryKind::Files);
        for (const QString& name : names) {
            if (skipDefaultWagon &&
                name.compare(QLatin1String("default.wag"), Qt::CaseInsensitive) == 0)
                continue;
            catalog.addFile(trainsetPath, folder, name);
        }
        if (!reportStep(progress, message, last, i))
            return false;
    }
    return true;
}

} // namespace

QString TrainsetPath(const QString& mstsPath) {
    return mstsPath + QStringLiteral("\\TRAINS\\TRAINSET\\");
}

QStringList ListTrainsetFolders(const FileSystem& fs, const QString& mstsPath) {
    // The listing never returns "." or "..", nor anything that is not a folder.
    QStringList folders =
        fs.list(TrainsetPath(mstsPath), QStringLiteral("*"), FileSystem::EntryKind::Folders);
    folders.append(QString());
    return folders;
}

bool FindVehicleFiles(const FileSystem& fs, const QString& mstsPath, QStringList& trainsetFolders,
                      Catalog& catalog, ScanProgress* progress) {
    catalog.reset();
    const QString trainsetPath = TrainsetPath(mstsPath);
    if (trainsetFolders.isEmpty())
        trainsetFolders.append(QString());
    const auto finish = [&trainsetFolders](bool completed) {
        trainsetFolders = QStringList{QString()};
        return completed;
    };

    if (!filePass(fs, trainsetPath, trainsetFolders, QStringLiteral("*.eng"), false,
                  app::MessageId::LocomotivePass, catalog, progress))
        return finish(false);
    if (!filePass(fs, trainsetPath, trainsetFolders, QStringLiteral("*.wag"), true,
                  app::MessageId::WagonPass, catalog, progress))
        return finish(false);

    const qsizetype upper = catalog.count() - 1;
    for (qsizetype j = 0; j <= upper; ++j) {
        CatalogEntry& entry = catalog[j];
        if (!entry.FileName.isEmpty()) {
            ReadEntryValues(fs, entry);
            // A name leading out of the simulator's folder is not even looked at.
            if (!entry.Shape.isEmpty() &&
                !platform::StaysInside(entry.simulatorFolder(), entry.shapePath())) {
                entry.ShapeOutside = entry.Shape;
                entry.Shape.clear();
            } else if (!FileExists(fs, entry.shapePath())) {
                entry.Shape.clear();
            }
        }
        if (!reportStep(progress, app::MessageId::ShapePass, upper, j))
            return finish(false);
    }
    return finish(true);
}

bool ReadEntryValues(const FileSystem& fs, CatalogEntry& entry) {
    // One reading gives every value.
    const VehicleValues values = ReadVehicleFile(fs, entry.definitionPath());
    if (!values.readable)
        return false;
    entry.Shape = values.shape;
    entry.Length = values.length;
    // A missing freight shape is told when the vehicle is drawn; it hides nothing.
    entry.FreightAnims = values.freight.Anims;
    entry.FreightAnimProblems = values.freight.Problems;
    return true;
}

bool ScanTrainset(const FileSystem& fs, const QString& mstsPath, Catalog& catalog,
                  ScanProgress* progress) {
    const FileSystem::ScanCache cache(fs);
    QStringList folders = ListTrainsetFolders(fs, mstsPath);
    return FindVehicleFiles(fs, mstsPath, folders, catalog, progress);
}

} // namespace catalog
