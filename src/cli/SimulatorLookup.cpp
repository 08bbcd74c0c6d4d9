#include "cli/SimulatorLookup.h"

#include "platform/FileSystem.h"
#include "platform/WinePrefixes.h"
#include "shared/Messages.h"
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
    // The user's folder last: no later marker is looked for in it.
    return app::LoadMessage(app::MessageId::NoTrainsetFolder,
                            {"|1",
                             platform::FileSystem::displayPath(QStringLiteral("TRAINS\\TRAINSET")),
                             "|2", platform::FileSystem::displayPath(mstsPath)});
}

} // namespace cli
