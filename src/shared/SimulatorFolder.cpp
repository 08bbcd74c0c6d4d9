#include "shared/SimulatorFolder.h"

#include "platform/FileSystem.h"
#include "platform/WinePrefixes.h"
#include "shared/SettingsStore.h"

namespace app {

namespace {

QString read(const SettingsStore& settings, const char16_t* key, const char16_t* value) {
    return settings.ReadSetting(SettingsRoot::LocalMachine, QString::fromUtf16(key),
                                QString::fromUtf16(value));
}

} // namespace

MstsFolder DiscoverSimulator(const platform::FileSystem& fs, const QStringList& prefixes) {
    MstsFolder found;
    for (const QString& prefix : prefixes) {
        // That prefix's registry, its drive letters mapped through its own drive table.
        platform::FileSystem::Options options;
        options.dosDevices = prefix + QStringLiteral("/dosdevices");
        options.ownFolder = fs.ownFolder();
        const platform::FileSystem prefixFiles(options);
        const SettingsStore registry({QString(), prefix + QStringLiteral("/system.reg")},
                                     prefixFiles);
        const QString registered = read(registry, MstsSettingsKey, MstsPathValue);
        if (!registered.isEmpty() && prefixFiles.isFolder(registered)) {
            found = {prefixFiles.resolve(registered), MstsFolderSource::Discovered, prefix, {}};
            break;
        }
    }
    if (found.path.isEmpty()) {
        found.path = platform::FindSimulatorFolder(fs, prefixes);
        if (found.path.isEmpty())
            return {};
        found.source = MstsFolderSource::Discovered;
        for (const QString& prefix : prefixes) {
            if (found.path.startsWith(prefix + u'/')) {
                found.prefix = prefix;
                break;
            }
        }
    }
    found.programFiles = platform::PrefixProgramFiles(fs, found.prefix);
    return found;
}

MstsFolder ReadMstsFolder(const SettingsStore& settings, const platform::FileSystem& fs,
                          const QStringList& prefixes) {
    const QString registered = read(settings, MstsSettingsKey, MstsPathValue);
    if (!registered.isEmpty())
        return {registered, MstsFolderSource::Registration, {}, {}};
    const QString chosen = read(settings, PictelleSettingsKey, MstsChoiceValue);
    if (!chosen.isEmpty())
        return {chosen, MstsFolderSource::StoredChoice, {}, {}};
    return DiscoverSimulator(fs, prefixes);
}

void StoreMstsChoice(SettingsStore& settings, const QString& folder) {
    settings.WriteSetting(SettingsRoot::LocalMachine, QString::fromUtf16(PictelleSettingsKey),
                          QString::fromUtf16(MstsChoiceValue), folder);
}

} // namespace app
