#include "cli/SimulatorLookup.h"

#include "platform/FileSystem.h"
#include "platform/WinePrefixes.h"
#include "shared/SimulatorFolder.h"

namespace cli {

QString SimulatorFolder(const std::optional<QString>& option, const app::SettingsStore& settings,
                        const platform::FileSystem& fs) {
    if (option)
        return *option;
    return app::ReadMstsFolder(settings, fs,
                               platform::KnownWinePrefixes(fs, platform::CurrentWineEnvironment()))
        .path;
}

QString NoTrainsetMessage(const QString& mstsPath) {
    return QStringLiteral("pas de dossier %1 dans %2")
        .arg(platform::FileSystem::displayPath(QStringLiteral("TRAINS\\TRAINSET")),
             platform::FileSystem::displayPath(mstsPath));
}

} // namespace cli
