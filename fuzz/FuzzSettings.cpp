// Fuzz target: the settings store's INI file, read through the store as the program reads
// it, then rewritten with one value and read again: the value written must read back.

#include "platform/FileSystem.h"
#include "shared/SettingsStore.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static QTemporaryDir folder;
    static const platform::FileSystem files(
        platform::FileSystem::Options{{}, folder.path(), folder.path()});
    app::SettingsStore::Locations locations;
    locations.iniFile = folder.path() + QStringLiteral("/registry.ini");
    {
        QFile ini(locations.iniFile);
        if (!ini.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        ini.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    app::SettingsStore store(locations, files);
    const QString key = QString::fromUtf16(app::PictelleSettingsKey);
    const QString name = QString::fromUtf16(app::RamettaPathValue);
    (void)store.ReadSetting(app::SettingsRoot::LocalMachine, key, name);
    (void)store.ReadSetting(app::SettingsRoot::LocalMachine,
                            QString::fromUtf16(app::MstsSettingsKey),
                            QString::fromUtf16(app::MstsPathValue));
    const QString written = QStringLiteral(" C:\\Jeux\\\"Rametta\", old\t");
    store.WriteSetting(app::SettingsRoot::LocalMachine, key, name, written);
    // A file too large to rewrite is left alone; any other takes the value.
    if (size <= std::size_t(app::SettingsStore::MaxIniBytes) &&
        store.ReadSetting(app::SettingsRoot::LocalMachine, key, name) != written)
        std::abort();
    return 0;
}
