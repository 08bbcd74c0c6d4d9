#pragma once

// The trainset walk: builds the catalog from the simulator's TRAINS\TRAINSET folder.
//
// ListTrainsetFolders lists the folders directly inside the trainset folder; FindVehicleFiles
// then makes three passes: the locomotive files (*.eng) of every folder, the wagon files
// (*.wag, "default.wag" left out in any letter case) of every folder, and last the shape and
// length of every file found. Each file pass ends with the trainset folder itself, so files
// lying directly in it are found too (with an empty Folder). A shape file that cannot be
// opened leaves the entry's Shape empty; such an entry stays in the catalog but is not a
// vehicle the list shows.
//
// Running a scan:
//
//     platform::FileSystem::ScanCache cache(fs);   // listings cached for this scan only
//     QStringList folders = ListTrainsetFolders(fs, mstsPath);
//     FindVehicleFiles(fs, mstsPath, folders, catalog, &progress);
//
// or simply ScanTrainset(fs, mstsPath, catalog, &progress), which does the same.

#include "catalog/Catalog.h"
#include "shared/Messages.h"

#include <QString>
#include <QStringList>

namespace platform {
class FileSystem;
}

namespace catalog {

// What the walk reports while it runs; the progress window implements it. The walk calls the
// two steps only while isOpen() holds, and in this order at every step: ShowProgressStep with
// the pass's message (LocomotivePass, WagonPass, ShapePass), then DrawProgressBar.
class ScanProgress {
public:
    virtual ~ScanProgress() = default;

    // False once the window is closed: the walk then draws nothing.
    virtual bool isOpen() const = 0;
    // The text of message `step` is the step in progress.
    virtual void ShowProgressStep(app::MessageId step) = 0;
    // Step current of first..last has been reached. In the file passes: once per folder
    // (last = number of folders, current = the folder's index, the trainset folder itself
    // last); in the shape pass: once per catalog entry (last = upper index).
    virtual void DrawProgressBar(qsizetype first, qsizetype last, double current) = 0;
    // Asked after every DrawProgressBar: true stops the walk where it is (the catalog is then
    // incomplete and FindVehicleFiles returns false).
    virtual bool stopRequested() const { return false; }
};

// The trainset folder of a simulator folder: mstsPath + "\TRAINS\TRAINSET\", no separator
// added or removed.
QString TrainsetPath(const QString& mstsPath);

// Names of the folders directly inside the trainset folder, in listing order, followed by
// one empty name that stands for the trainset folder itself. Hidden folders are not listed.
// A missing trainset folder gives the empty name alone.
QStringList ListTrainsetFolders(const platform::FileSystem& fs, const QString& mstsPath);

// Builds the catalog from the folder names of ListTrainsetFolders (trailing empty name
// included): resets it to one empty entry, adds every .eng file, then every .wag file, then
// fills Shape and Length of each entry. Clears trainsetFolders to its one empty name at the
// end. progress may be null. False only when progress asked the walk to stop.
bool FindVehicleFiles(const platform::FileSystem& fs, const QString& mstsPath,
                      QStringList& trainsetFolders, Catalog& catalog, ScanProgress* progress);

// Reads an entry's definition file into it, as the walk does for every entry: the shape as
// the file names it (the walk then clears it when that file is missing), the length and the
// freight entries. False, the entry unchanged, when the file cannot be read.
bool ReadEntryValues(const platform::FileSystem& fs, CatalogEntry& entry);

// ListTrainsetFolders then FindVehicleFiles under one listing cache.
bool ScanTrainset(const platform::FileSystem& fs, const QString& mstsPath, Catalog& catalog,
                  ScanProgress* progress);

} // namespace catalog
