#pragma once

// The start that list and make share: the folders (from --msts and --rametta, else as the
// window finds them, without its dialogs), the check that the simulator's folder holds
// TRAINS\TRAINSET, the thumbnail inventory and the catalog scan.

#include "catalog/Catalog.h"
#include "cli/CommandLine.h"
#include "inventory/ThumbnailInventory.h"
#include "platform/FileSystem.h"

#include <QString>

namespace cli {

struct Session {
    // The Thumbnails folder is chosen once, for the whole run.
    const platform::FileSystem fs = platform::FileSystem::forOneRun();
    QString mstsPath;
    QString ramettaPath;
    inventory::ThumbnailInventory thumbnails;
    catalog::Catalog table;
};

// Fills `session` from parsed options that know "msts" and "rametta". Returns true when the
// catalog was scanned; false after printing one line on standard error.
bool OpenSession(const CommandOptions& options, Session& session);

} // namespace cli
