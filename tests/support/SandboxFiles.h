#pragma once

// A file layer that keeps a test inside its temporary folder: the Wine drive table, the
// program's own folder and the user's data folder all lie under `root`.

#include "platform/FileSystem.h"

#include <QString>

namespace fixtures {

inline platform::FileSystem::Options SandboxOptions(const QString& root) {
    platform::FileSystem::Options options;
    options.dosDevices = root + QStringLiteral("/wine/dosdevices");
    options.ownFolder = root;
    options.dataHome = root + QStringLiteral("/data");
    return options;
}

} // namespace fixtures
