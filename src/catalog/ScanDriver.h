#pragma once

// The start-up scan: walks the trainset folders into the catalog, reporting to the progress
// window, then hands over to the vehicle list.

#include "catalog/Catalog.h"
#include "catalog/TrainsetWalk.h"

#include <QString>

#include <functional>

namespace platform {
class FileSystem;
}

namespace catalog {

// Nothing at all when mstsPath is empty (the catalog, the list and the status line keep
// their state). Otherwise lists the trainset folders and builds the catalog from them
// (progress may be null), then runs fillVehicleList. When the progress asks the walk to stop
// (the program is ending), the list is not filled. Returns whether the list was filled.
bool ScanRollingStock(const platform::FileSystem& fs, const QString& mstsPath, Catalog& catalog,
                      ScanProgress* progress, const std::function<void()>& fillVehicleList);

} // namespace catalog
