#include "catalog/ScanDriver.h"

#include "platform/FileSystem.h"

namespace catalog {

bool ScanRollingStock(const platform::FileSystem& fs, const QString& mstsPath, Catalog& catalog,
                      ScanProgress* progress, const std::function<void()>& fillVehicleList) {
    if (mstsPath.isEmpty()) {
        return false;
    }
    if (!ScanTrainset(fs, mstsPath, catalog, progress)) {
        return false;
    }
    if (fillVehicleList) {
        fillVehicleList();
    }
    return true;
}

} // namespace catalog
