#pragma once

// Program-wide values, alive for the whole run. One Global is created at start-up and
// handed to every window; tests build their own. Nothing here is static.

#include "catalog/Catalog.h"
#include "inventory/ThumbnailInventory.h"
#include "platform/WinePrefixes.h"
#include "preview/OverwritePolicy.h"

#include <QString>

namespace platform {
class FileSystem;
}

namespace app {

class SettingsStore;

// The standing overwrite answer is a core type; the program-wide value below holds one.
using preview::OverwriteChoice;

struct Global {
    Global(platform::FileSystem& files, SettingsStore& settings)
        : Files(files), Settings(settings) {}

    // Services the windows and the core reach the disk and the settings through.
    platform::FileSystem& Files;
    SettingsStore& Settings;

    // Folder of the simulator; never stored.
    QString MstsPath;
    // Folder of the Rametta program; stored at every start.
    QString RamettaPath;
    // False until the vehicle list has been coloured during start-up.
    bool MainWindowReady = false;
    preview::OverwriteChoice OverwriteChoice = preview::OverwriteChoice::Ask;
    // The system's program files folder, once the folder dialogs have looked it up.
    QString ProgramFilesFolder;
    // Where Wine prefixes are looked for; empty (the default, and in tests): nowhere.
    // main() fills it from the process's environment.
    platform::WineEnvironment Wine;
    // The Wine prefix the simulator was found in, whose drive letters the folder dialogs
    // offer; empty: the default prefix.
    QString WinePrefix;

    // Every definition file found by the start-up scan; read-only once the scan is done.
    catalog::Catalog Catalog;
    // Which vehicles already have a thumbnail; loaded once, before the scan.
    inventory::ThumbnailInventory Thumbnails;
};

} // namespace app
