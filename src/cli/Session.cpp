#include "cli/Session.h"

#include "catalog/TrainsetWalk.h"
#include "cli/SimulatorLookup.h"
#include "shared/Messages.h"
#include "shared/SettingsStore.h"

namespace cli {

namespace {

QString setting(const app::SettingsStore& settings, const char16_t* key, const char16_t* value) {
    return settings.ReadSetting(app::SettingsRoot::LocalMachine, QString::fromUtf16(key),
                                QString::fromUtf16(value));
}

} // namespace

bool OpenSession(const CommandOptions& options, Session& session) {
    const platform::FileSystem& fs = session.fs;
    const app::SettingsStore settings(app::SettingsStore::defaultLocations(), fs);
    session.mstsPath = SimulatorFolder(options.value(QStringLiteral("msts")), settings, fs);
    session.ramettaPath =
        options.value(QStringLiteral("rametta"))
            .value_or(setting(settings, app::PictelleSettingsKey, app::RamettaPathValue));
    if (session.mstsPath.isEmpty()) {
        printError(app::LoadMessage(app::MessageId::NoSimulatorFolder));
        return false;
    }
    if (!fs.isFolder(catalog::TrainsetPath(session.mstsPath))) {
        printError(NoTrainsetMessage(session.mstsPath));
        return false;
    }
    session.thumbnails = inventory::LoadThumbnailInventory(fs, session.ramettaPath);
    catalog::ScanTrainset(fs, session.mstsPath, session.table, nullptr);
    return true;
}

} // namespace cli
